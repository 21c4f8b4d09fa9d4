// MorvelConfig.ini with the two text lists beside it, read once at preparation and
// written after windowed runs.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "config/settings.h"

namespace morvel {

inline constexpr const char* kConfigFileName = "MorvelConfig.ini";
inline constexpr const char* kRightListFileName = "RightList.txt";
inline constexpr const char* kCrossingListFileName = "CrossingList.txt";

// The folder default used for the three folders when the file has none.
std::string DefaultFolderSetting();

using TLogLine = std::function<void(const std::string&)>;

// Fills the settings from the file in `dataFolder` and loads the two text lists
// when they exist. Missing keys and malformed values take their defaults; a
// malformed line in a text list raises EConvertError.
void ReadConfigFile(const std::filesystem::path& dataFolder, TSettings& settings, const TLogLine& log);

// Writes every key and both lists; false when any step failed (files already in
// place stay intact).
bool WriteConfigFile(const std::filesystem::path& dataFolder, TSettings& settings);

// A Boolean as the configuration log lines show it: "-1" or "0".
inline std::string BoolLogText(bool value) { return value ? "-1" : "0"; }

}  // namespace morvel
