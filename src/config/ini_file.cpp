#include "config/ini_file.h"

#include <filesystem>
#include <system_error>

#include "base/encoding.h"
#include "base/files.h"
#include "base/platform.h"
#include "base/text.h"

namespace morvel {

TIniFile::TIniFile(std::string fileName) : fFileName(std::move(fileName)) {
  fSections.push_back(Section{});
  std::error_code ec;
  const std::filesystem::path path = PathFromUtf8(fFileName);
  if (!std::filesystem::is_regular_file(path, ec)) return;
  std::vector<std::string> lines;
  try {
    lines = LoadAnsiTextLines(path);
  } catch (const std::exception&) {
    return;  // an unreadable file reads as an empty one: every key takes its default
  }
  for (const std::string& raw : lines) {
    const std::string line = Trim(raw);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      fSections.push_back(Section{Trim(line.substr(1, line.size() - 2)), {}});
      continue;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || line.front() == ';' || Trim(line.substr(0, eq)).empty()) {
      fSections.back().lines.push_back(Line{raw, {}, {}});
      continue;
    }
    fSections.back().lines.push_back(Line{raw, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
  }
}

const TIniFile::Line* TIniFile::Find(const std::string& section, const std::string& key) const {
  for (const Section& s : fSections) {
    if (!SameTextCI(s.name, section)) continue;
    for (const Line& l : s.lines) {
      if (!l.key.empty() && SameTextCI(l.key, key)) return &l;
    }
  }
  return nullptr;
}

TIniFile::Section& TIniFile::SectionFor(const std::string& section) {
  for (std::size_t i = 1; i < fSections.size(); ++i) {
    if (SameTextCI(fSections[i].name, section)) return fSections[i];
  }
  fSections.push_back(Section{section, {}});
  return fSections.back();
}

std::optional<std::string> TIniFile::Value(const std::string& section, const std::string& key) const {
  const Line* line = Find(section, key);
  if (line == nullptr) return std::nullopt;
  return line->value;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
  return Value(section, key).value_or(fallback);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
  const std::optional<std::string> v = Value(section, key);
  return v ? StrToIntDef(*v, fallback) : fallback;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  const std::optional<std::string> v = Value(section, key);
  int number = 0;
  if (!v || !TryStrToInt(*v, number)) return fallback;
  return number != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Section& s = SectionFor(section);
  for (Line& l : s.lines) {
    if (!l.key.empty() && SameTextCI(l.key, key)) {
      l.value = value;
      l.text.clear();
      return;
    }
  }
  // New keys go after the section's last key, before any blank lines that end it.
  std::size_t at = s.lines.size();
  while (at > 0 && s.lines[at - 1].key.empty() && Trim(s.lines[at - 1].text).empty()) --at;
  s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), Line{{}, key, value});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::UpdateFile() const {
  std::string text;
  for (std::size_t i = 0; i < fSections.size(); ++i) {
    const Section& s = fSections[i];
    if (i > 0) text += "[" + s.name + "]\r\n";
    for (const Line& l : s.lines) text += (l.key.empty() ? l.text : l.key + "=" + l.value) + "\r\n";
  }
  std::optional<std::string> bytes = TryUtf8ToCp1251(text);
  if (!bytes) bytes = std::string(kUtf8ByteOrderMark) + text;
  return WriteFileAtomically(PathFromUtf8(fFileName), *bytes);
}

}  // namespace morvel
