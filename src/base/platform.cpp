#include "base/platform.h"

#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#else
#include <dlfcn.h>
#endif

namespace morvel {

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

#ifdef _WIN32

namespace {
std::string WideToUtf8(const wchar_t* text) { return PathToUtf8(std::filesystem::path(text)); }
}  // namespace

std::filesystem::path ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::filesystem::path();
    if (n < buffer.size()) {
      buffer.resize(n);
      return std::filesystem::path(buffer);
    }
    buffer.resize(buffer.size() * 2);  // the name was cut: try again with more room
  }
}

std::tm LocalTime(std::time_t moment) {
  std::tm local{};
  localtime_s(&local, &moment);
  return local;
}

std::string ModuleFileOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(address), &module)) {
    return std::string();
  }
  wchar_t name[MAX_PATH];
  const DWORD n = GetModuleFileNameW(module, name, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return WideToUtf8(name);
}

std::vector<std::string> CommandLineWords(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> words;
  words.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) words.push_back(WideToUtf8(wide[i]));
  LocalFree(wide);
  return words;
}

#else

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::path();
  return exe;
}

std::tm LocalTime(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  return local;
}

std::string ModuleFileOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return std::string();
  return info.dli_fname;
}

std::vector<std::string> CommandLineWords(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

#endif

}  // namespace morvel
