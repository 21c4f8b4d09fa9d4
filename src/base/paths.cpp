#include "base/paths.h"

#include <cstdlib>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "base/platform.h"
#include "morvel/version.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#endif

namespace morvel {

std::filesystem::path ProgramFolder() {
  const std::filesystem::path exe = ExecutablePath();
  if (!exe.empty()) return exe.parent_path();
  std::error_code ec;
  return std::filesystem::current_path(ec);
}

std::filesystem::path UserDataFolder() {
#ifdef _WIN32
  // The shell's own answer first: %APPDATA% may be missing or stale in the
  // environment a calling system starts the program with. Wide forms throughout,
  // since a user name in Cyrillic does not survive the ANSI ones.
  PWSTR known = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &known)) && known != nullptr) {
    const std::filesystem::path folder = std::filesystem::path(known) / "Morvel";
    CoTaskMemFree(known);
    return folder;
  }
  CoTaskMemFree(known);
  const wchar_t* appData = _wgetenv(L"APPDATA");
  if (appData == nullptr || *appData == L'\0') return std::filesystem::path("Morvel");
  return std::filesystem::path(appData) / "Morvel";
#else
  // File names on Linux are bytes, UTF-8 by convention, like the program's texts.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg != '\0') return PathFromUtf8(xdg) / "Morvel";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return std::filesystem::path("Morvel");
  return PathFromUtf8(home) / ".config" / "Morvel";
#endif
}

std::filesystem::path UserTempFolder() {
  std::error_code ec;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec || temp.empty()) return {};
#ifdef _WIN32
  return temp / "Morvel";
#else
  return temp / ("Morvel-" + std::to_string(static_cast<unsigned long>(getuid())));
#endif
}

std::filesystem::path ShippedDataFile(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path local = ProgramFolder() / PathFromUtf8(name);
  if (std::filesystem::exists(local, ec)) return local;
  const std::filesystem::path installed = PathFromUtf8(MORVEL_INSTALL_DATADIR) / PathFromUtf8(name);
  if (std::filesystem::exists(installed, ec)) return installed;
  return local;
}

bool IsPlainFileNamePart(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) return false;
  }
  return true;
}

std::string WithTrailingSeparator(const std::filesystem::path& folder) {
  std::string text = PathToUtf8(folder);
  if (text.empty() || text.back() != std::filesystem::path::preferred_separator) {
    text += std::filesystem::path::preferred_separator;
  }
  return text;
}

}  // namespace morvel
