// MorvelConfig.ini with the two text lists beside it, read once at preparation and
// written after windowed runs.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <variant>

#include "config/settings.h"

namespace morvel {

inline constexpr const char* kConfigFileName = "MorvelConfig.ini";
inline constexpr const char* kRightListFileName = "RightList.txt";
inline constexpr const char* kCrossingListFileName = "CrossingList.txt";

// The folder default used for the three folders when the file has none.
std::string DefaultFolderSetting();

using TLogLine = std::function<void(const std::string&)>;

// Where a key's default comes from when the file lacks it or holds a malformed value.
enum class TConfigDefault {
  cdText,         // the key's Default text, read the way the file's value would be
  cdFolder,       // DefaultFolderSetting()
  cdCurrentYear,  // the calendar year of today
};

// The setting a key fills; its type decides how the value is stored: strings as
// they are, Booleans as "1"/"0", integers in decimal, the date as dd.mm.yyyy.
using TConfigField =
    std::variant<std::string TSettings::*, bool TSettings::*, int TSettings::*, TDateTime TSettings::*>;

// One key of MorvelConfig.ini: where it is, which setting it fills, its default and
// the log line its reading writes.
struct TConfigKey {
  const char* Section;
  const char* Key;
  TConfigField Field;
  const char* Default = "";
  TConfigDefault DefaultKind = TConfigDefault::cdText;
  // Read only while the setting is still empty, so a value from the command line wins.
  bool KeepCommandLine = false;
  // Credentials: the value is written only while this setting is on, else empty.
  bool TSettings::*KeptWhen = nullptr;
  // The log line written after the key is read: this prefix and the value in quotes.
  const char* LogPrefix = nullptr;
  // The logged value when it is not the key's own.
  std::string (*LogValue)(const TSettings&) = nullptr;
  // The two text lists are loaded and saved right after this key.
  bool ListsFollow = false;
};

// Every key in the order of the file: a new file gets its keys in this order, and
// reading in it gives the log lines in theirs.
std::span<const TConfigKey> ConfigKeys();

// Fills the settings from the file in `dataFolder` and loads the two text lists
// when they exist. Missing keys and malformed values take their defaults; a
// malformed line in a text list raises EConvertError.
void ReadConfigFile(const std::filesystem::path& dataFolder, TSettings& settings, const TLogLine& log);

// Saves both lists, then the file with every key; false when any step failed. A file whose
// save failed keeps its old contents, and when a list fails the configuration file
// is not written at all; a list saved before the failure stays saved.
bool WriteConfigFile(const std::filesystem::path& dataFolder, TSettings& settings);

// A Boolean as the configuration log lines show it: "-1" or "0".
inline std::string BoolLogText(bool value) { return value ? "-1" : "0"; }

}  // namespace morvel
