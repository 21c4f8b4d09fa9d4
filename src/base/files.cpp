#include "base/files.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "base/encoding.h"
#include "base/error.h"
#include "base/platform.h"

namespace morvel {

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
  // A folder opens like a file on some systems and then fails while it is read.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::vector<std::string> LoadAnsiTextLines(const std::filesystem::path& path) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) throw EMorvelError("Cannot open file \"" + PathToUtf8(path) + "\"");
  const std::string text = DecodeAnsiOrUtf8(*bytes);
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temp = path;
  temp += ".new~";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  if (!ReplaceFileWith(temp, path, ec)) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
  }
  return true;
}

std::string JoinAnsiLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return Utf8ToCp1251(text);
}

}  // namespace morvel
