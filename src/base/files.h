// File helpers shared by the readers and writers of the program's own files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Lines of a text file, split at CR LF, LF or CR; a final line break does not make
// an empty last line. windows-1251 unless the file starts with the UTF-8 mark.
// Raises EMorvelError when the file cannot be read.
std::vector<std::string> LoadAnsiTextLines(const std::filesystem::path& path);

// Writes the bytes to a new file beside `path` and renames it over `path`, so a
// failed save never leaves a truncated file. Returns false on any failure, with
// the old file untouched.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Lines joined with CR LF after each, converted to windows-1251.
std::string JoinAnsiLines(const std::vector<std::string>& lines);

}  // namespace morvel
