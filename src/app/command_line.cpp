#include "app/command_line.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/platform.h"
#include "base/text.h"

namespace morvel {
namespace {

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

// The registration number in a file name: ten digits or 3-3-6 digits with hyphens.
// The greedy leading ".*" makes the capture the right-most candidate of the name.
class TRegNumPattern {
 public:
  TRegNumPattern() {
    static const char kPattern[] = R"(.*(\d{10}|\d{3}-\d{3}-\d{6}).*)";
    int error = 0;
    PCRE2_SIZE offset = 0;
    fCode.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kPattern), PCRE2_ZERO_TERMINATED, 0, &error,
                              &offset, nullptr));
    if (fCode) fMatch.reset(pcre2_match_data_create_from_pattern(fCode.get(), nullptr));
  }

  bool Find(const std::string& name, std::string& number) const {
    if (!fCode || !fMatch) return false;
    const int rc = pcre2_match(fCode.get(), reinterpret_cast<PCRE2_SPTR>(name.data()), name.size(), 0, 0,
                               fMatch.get(), nullptr);
    if (rc < 2) return false;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(fMatch.get());
    number = name.substr(ovector[2], ovector[3] - ovector[2]);
    return true;
  }

 private:
  std::unique_ptr<pcre2_code, CodeDeleter> fCode;
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> fMatch;
};

}  // namespace

bool IsRegNumSwitch(const std::string& word) {
  // The form is the switch "/bpi" as the user types it (in any letter case, with
  // leading minus signs if any). A "/bpi" later in the word is a path separator
  // before a folder or file whose name starts with "bpi": on Linux the program's
  // own path, /opt/bpi-tools/morvel say, would otherwise turn the folder argument
  // into a registration number.
  const std::string lower = LowerCase(word);
  const std::size_t start = lower.find_first_not_of('-');
  return start != std::string::npos && lower.compare(start, 4, "/bpi") == 0;
}

TCommandLine ScanCommandLine(const std::vector<std::string>& words, TSettings& settings) {
  TCommandLine result;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string word = LowerCase(words[i]);
    if (!result.BPI && Contains(word, "bpi")) {
      result.BPI = true;
      if (i + 1 < words.size()) {
        if (IsRegNumSwitch(words[i])) {
          settings.FRegNum = words[i + 1];
        } else {
          settings.FDirPD = words[i + 1];
          const std::vector<std::string> numbers = GetRegNumsFromFolder(settings.FDirPD);
          settings.FRegNum = numbers.empty() ? std::string() : numbers.front();
          if (i + 2 < words.size()) settings.FDirReport = words[i + 2];
        }
      }
    }
    if (!result.Portable && word == "p") result.Portable = true;
  }
  return result;
}

std::vector<std::string> GetRegNumsFromFolder(const std::string& folder) {
  std::vector<std::string> numbers;
  std::error_code ec;
  const std::filesystem::path path = PathFromUtf8(folder);
  if (folder.empty() || !std::filesystem::is_directory(path, ec)) return numbers;
  const TRegNumPattern pattern;
  for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = PathToUtf8(it->path().filename());
    if (name.size() < 4 || !SameTextCI(name.substr(name.size() - 4), ".xml")) continue;
    if (it->is_directory(ec)) continue;
    std::string number;
    if (pattern.Find(name, number)) numbers.push_back(number);
  }
  // Like the locale-aware order of the desktop, hyphens do not count in the first
  // place, so the two written forms of numbers sort by their digits.
  std::stable_sort(numbers.begin(), numbers.end(), [](const std::string& a, const std::string& b) {
    const int digits = CompareTextCI(ReplaceAll(a, "-", ""), ReplaceAll(b, "-", ""));
    return digits != 0 ? digits < 0 : CompareTextCI(a, b) < 0;
  });
  numbers.erase(std::unique(numbers.begin(), numbers.end(),
                            [](const std::string& a, const std::string& b) { return SameTextCI(a, b); }),
                numbers.end());
  return numbers;
}

void DeleteFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(PathFromUtf8(folder), ignored);
}

}  // namespace morvel
