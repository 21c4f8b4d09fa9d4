// The command line of the program and the shared routines of program start.
#pragma once

#include <string>
#include <vector>

#include "config/settings.h"

namespace morvel {

struct TCommandLine {
  bool BPI = false;
  bool Portable = false;
};

// Examines every word from position 0 (the program's own path) on: the first word
// containing "bpi" in any letter case selects the headless mode and takes the next
// word as the registration number ("/bpi") or as the folder of individual records
// (any other form, with the report folder after it); a word equal to "p" in any
// letter case selects portable mode.
TCommandLine ScanCommandLine(const std::vector<std::string>& words, TSettings& settings);

// Whether a word that selects the headless mode is its registration-number form:
// the switch "/bpi" in any letter case, possibly after minus signs.
bool IsRegNumSwitch(const std::string& word);

// Registration numbers found in the names of the *.xml files of a folder (not its
// subfolders), sorted without regard to letter case, without duplicates.
std::vector<std::string> GetRegNumsFromFolder(const std::string& folder);

// Removes a folder with everything in it; failures are ignored.
void DeleteFolder(const std::string& folder);

}  // namespace morvel
