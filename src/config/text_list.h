// The two text lists beside the configuration file (the rights list and the
// crossing list) are read and saved the same way: one entry per line, each entry
// reading itself from its line and writing itself back.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace morvel {

// The lines of a list file (windows-1251, or UTF-8 after its byte-order mark);
// raises EMorvelError when the file cannot be read.
std::vector<std::string> LoadTextListLines(const std::string& fileName);
// Replaces the file with the lines, in windows-1251 with CR LF after each, through
// a new file renamed into place; raises EMorvelError when that fails.
void SaveTextListLines(const std::string& fileName, const std::vector<std::string>& lines);

// Appends one entry per line of the file; T::FromLine may raise for a malformed line.
template <class T>
void LoadTextList(const std::string& fileName, std::vector<std::unique_ptr<T>>& list) {
  for (const std::string& line : LoadTextListLines(fileName)) list.push_back(std::make_unique<T>(T::FromLine(line)));
}

// Writes the whole list, one line per entry in list order.
template <class T>
void SaveTextList(const std::string& fileName, const std::vector<std::unique_ptr<T>>& list) {
  std::vector<std::string> lines;
  lines.reserve(list.size());
  for (const auto& entry : list) lines.push_back(entry->ToLine());
  SaveTextListLines(fileName, lines);
}

}  // namespace morvel
