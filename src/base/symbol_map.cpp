#include "base/symbol_map.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <memory>

#if defined(__GNUC__)
#include <cxxabi.h>
#endif

namespace morvel {
namespace {

// The image base a PE map of x86-64 uses unless it names its own.
constexpr std::uint64_t kDefaultImageBase = 0x140000000ULL;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
    std::size_t end = at;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

bool ParseHex(std::string_view text, std::uint64_t& value) {
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
  const char* first = text.data() + 2;
  const char* last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(first, last, value, 16);
  return ec == std::errc() && end == last;
}

std::string Demangled(const std::string& name) {
#if defined(__GNUC__)
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> text(abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status),
                                              std::free);
  if (status == 0 && text) return text.get();
#endif
  return name;
}

}  // namespace

TSymbolMap TSymbolMap::Parse(std::string_view text) {
  std::vector<std::pair<std::uint64_t, std::string>> symbols;
  std::uint64_t imageBase = kDefaultImageBase;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::vector<std::string_view> words = Words(text.substr(at, end - at));
    at = end + 1;
    std::uint64_t address = 0;
    if (words.empty() || !ParseHex(words[0], address)) continue;
    if (words.size() >= 2 && words[1] == "__image_base__") {
      imageBase = address;
      continue;
    }
    // A symbol line is an address and a name; a section line has a size and a file.
    if (words.size() != 2 || words[1].front() == '.' || words[1].front() == '*') continue;
    symbols.emplace_back(address, std::string(words[1]));
  }
  TSymbolMap map;
  for (auto& [address, name] : symbols) {
    if (address >= imageBase) map.fSymbols.emplace_back(address - imageBase, std::move(name));
  }
  std::stable_sort(map.fSymbols.begin(), map.fSymbols.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return map;
}

std::string TSymbolMap::NameAt(std::uint64_t offset) const {
  auto after = std::upper_bound(fSymbols.begin(), fSymbols.end(), offset,
                                [](std::uint64_t value, const auto& symbol) { return value < symbol.first; });
  if (after == fSymbols.begin()) return std::string();
  return Demangled(std::prev(after)->second);
}

}  // namespace morvel
