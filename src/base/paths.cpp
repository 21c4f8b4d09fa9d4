#include "base/paths.h"

#include <cstdlib>
#include <system_error>

#include <unistd.h>

#include "morvel/version.h"

namespace morvel {

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

std::filesystem::path UserDataFolder() {
#ifdef _WIN32
  const char* appData = std::getenv("APPDATA");
  if (appData == nullptr || *appData == '\0') return std::filesystem::path("Morvel");
  return std::filesystem::path(appData) / "Morvel";
#else
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg != '\0') return std::filesystem::path(xdg) / "Morvel";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return std::filesystem::path("Morvel");
  return std::filesystem::path(home) / ".config" / "Morvel";
#endif
}

std::filesystem::path ShippedDataFile(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path local = ProgramFolder() / name;
  if (std::filesystem::exists(local, ec)) return local;
  const std::filesystem::path installed = std::filesystem::path(MORVEL_INSTALL_DATADIR) / name;
  if (std::filesystem::exists(installed, ec)) return installed;
  return local;
}

std::string WithTrailingSeparator(const std::filesystem::path& folder) {
  std::string text = folder.string();
  if (text.empty() || text.back() != std::filesystem::path::preferred_separator) {
    text += std::filesystem::path::preferred_separator;
  }
  return text;
}

}  // namespace morvel
