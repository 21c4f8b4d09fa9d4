// A small INI file: [Section] headers and key=value lines. Sections and keys are
// found without regard to letter case, values are trimmed, and lines the program
// does not know (other keys, comments) are kept when the file is saved again.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvel {

class TIniFile {
 public:
  // Reads the file if it exists (windows-1251, or UTF-8 with its byte-order mark);
  // a missing or unreadable file gives an empty one.
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fFileName; }

  std::optional<std::string> Value(const std::string& section, const std::string& key) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
  // A decimal integer; the fallback when missing or malformed.
  int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
  // True for any non-zero integer; the fallback when missing or not an integer.
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Saves by writing a new file and renaming it into place: in windows-1251, or,
  // when some value has no windows-1251 form (a folder named in another script),
  // the whole file in UTF-8 with its byte-order mark, which the reader accepts;
  // a value saved as "?" would point the next start at a folder that is not there.
  bool UpdateFile() const;

 private:
  struct Line {
    std::string text;   // the line as read, for lines that are not key=value
    std::string key;    // empty for other lines
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
  };

  const Line* Find(const std::string& section, const std::string& key) const;
  Section& SectionFor(const std::string& section);

  std::string fFileName;
  std::vector<Section> fSections;  // the first one, unnamed, holds lines before any header
};

}  // namespace morvel
