#include "base/platform.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <locale.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
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

std::uintptr_t ModuleBaseOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(address), &module)) {
    return 0;
  }
  return reinterpret_cast<std::uintptr_t>(module);  // a module's handle is its base address
}

std::vector<std::string> CommandLineWords(int argc, char** argv) {
  const wchar_t* line = GetCommandLineW();
  if (line == nullptr) return std::vector<std::string>(argv, argv + argc);
  return SplitWindowsCommandLine(WideToUtf8(line));
}

bool ReplaceFileWith(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec) {
  constexpr int kTries = 20;
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      ec.clear();
      return true;
    }
    const DWORD error = GetLastError();
    ec = std::error_code(static_cast<int>(error), std::system_category());
    const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
    if (!held || attempt == kTries) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

long CurrentProcessId() { return static_cast<long>(GetCurrentProcessId()); }

bool ProcessIsAlive(long pid) {
  if (pid <= 0) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
  DWORD code = 0;
  const bool alive = !GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
  CloseHandle(process);
  return alive;
}

bool CreateNewFile(const std::filesystem::path& file) {
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// The calling system ends a Windows process with TerminateProcess, which no
// handler sees: there is nothing to install.
void NoteTerminationRequests() {}
bool TerminationRequested() { return false; }

TUtf8CharacterScope::TUtf8CharacterScope() = default;
TUtf8CharacterScope::~TUtf8CharacterScope() = default;

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

std::uintptr_t ModuleBaseOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0) return 0;
  return reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

std::vector<std::string> CommandLineWords(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

bool ReplaceFileWith(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec) {
  std::filesystem::rename(from, to, ec);
  return !ec;
}

long CurrentProcessId() { return static_cast<long>(getpid()); }

bool ProcessIsAlive(long pid) {
  if (pid <= 0) return false;
  if (kill(static_cast<pid_t>(pid), 0) == 0) return true;
  return errno != ESRCH;  // EPERM: it lives, as another user's process
}

bool CreateNewFile(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  close(fd);
  return true;
}

namespace {

volatile std::sig_atomic_t gTerminationRequested = 0;

void NoteTermination(int) { gTerminationRequested = 1; }

}  // namespace

void NoteTerminationRequests() {
  struct sigaction action {};
  action.sa_handler = &NoteTermination;
  sigemptyset(&action.sa_mask);
  // Interrupted reads and writes start again; the run looks at the flag itself.
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
}

bool TerminationRequested() { return gTerminationRequested != 0; }

TUtf8CharacterScope::TUtf8CharacterScope() {
  locale_t utf8 = static_cast<locale_t>(nullptr);
  for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
    utf8 = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
    if (utf8 != static_cast<locale_t>(nullptr)) break;
  }
  if (utf8 == static_cast<locale_t>(nullptr)) return;
  fLocale = utf8;
  fPrevious = uselocale(utf8);
}

TUtf8CharacterScope::~TUtf8CharacterScope() {
  if (fLocale == nullptr) return;
  uselocale(static_cast<locale_t>(fPrevious));
  freelocale(static_cast<locale_t>(fLocale));
}

#endif

std::vector<std::string> SplitWindowsCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;  // "" is an empty word of its own
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::optional<std::string> TunablesWithHugePageHeap(const char* current) {
  constexpr std::string_view kTunable = "glibc.malloc.hugetlb";
  const std::string_view value = current != nullptr ? current : "";
  // Entries are "name=value" separated by ":"; the name must match whole.
  for (std::size_t at = 0; at <= value.size();) {
    const std::size_t end = std::min(value.find(':', at), value.size());
    const std::string_view entry = value.substr(at, end - at);
    if (entry.substr(0, entry.find('=')) == kTunable) return std::nullopt;
    at = end + 1;
  }
  std::string result(value);
  if (!result.empty()) result += ':';
  result += kTunable;
  result += "=1";
  return result;
}

void RestartWithHugePageHeap(char** argv) {
#if defined(__GLIBC__) && !defined(MORVEL_SANITIZER_ALLOCATOR)
  const std::optional<std::string> tunables = TunablesWithHugePageHeap(std::getenv("GLIBC_TUNABLES"));
  if (!tunables || argv == nullptr || argv[0] == nullptr) return;
  if (setenv("GLIBC_TUNABLES", tunables->c_str(), 1) != 0) return;
  // The same program file, whatever name or path it was started by.
  execv("/proc/self/exe", argv);
  // Still here: the restart failed; the variable stays set, so a child process
  // started later does not try again.
#else
  (void)argv;
#endif
}

}  // namespace morvel
