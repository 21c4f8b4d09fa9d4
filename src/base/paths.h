// Where the program's folders and shipped files are.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace morvel {

// The folder of the running executable.
std::filesystem::path ProgramFolder();

// The data folder outside portable mode: %APPDATA%\Morvel on Windows,
// $XDG_CONFIG_HOME/Morvel (default ~/.config/Morvel) elsewhere. Empty when the
// user's folder cannot be told.
std::filesystem::path UserDataFolder();

// Where a run keeps its working files when the data folder cannot take them:
// "Morvel" in the user's temporary folder on Windows; elsewhere the temporary
// folder is shared by every user, so "Morvel-<user id>" in it. Empty when the
// system names no temporary folder.
std::filesystem::path UserTempFolder();

// A shipped data file (schema, classifier file, manual): in the program folder
// first, then in the installed data folder. The program folder's path when the
// file is in neither, so that a message can name where it was expected.
std::filesystem::path ShippedDataFile(const std::string& name);

// Whether text can stand inside a file name as it is on every platform: no folder
// separator, no character Windows reserves (":" would open an NTFS stream) and no
// control character.
bool IsPlainFileNamePart(std::string_view text);

// Path text with a trailing separator, as the program shows folders.
std::string WithTrailingSeparator(const std::filesystem::path& folder);

}  // namespace morvel
