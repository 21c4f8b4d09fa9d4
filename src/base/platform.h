// The few places where the program meets the operating system, each behind one
// function with a branch per platform, so that the rest of the program compiles
// unchanged for Windows and for Linux.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

namespace morvel {

// Paths travel through the program as UTF-8 text. A narrow string given to
// std::filesystem::path directly would be read in the system's ANSI code page on
// Windows, which breaks every folder named in Cyrillic; these two convert through
// the UTF-8 form of the path on every platform. Every file operation on a path
// held as text goes through them.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

// The full name of the running program file; empty when the system does not tell.
std::filesystem::path ExecutablePath();

// The broken-down local time of a moment (the thread-safe form of each platform).
std::tm LocalTime(std::time_t moment);

// The file of the executable or shared library that holds the code at `address`,
// as UTF-8; empty when it cannot be told.
std::string ModuleFileOf(const void* address);

// Where that module starts in memory (0 when it cannot be told): an address less
// this is the offset a map file of the module names.
std::uintptr_t ModuleBaseOf(const void* address);

// The words of the command line as UTF-8, the program's own path first. On Windows
// the arguments handed to main are in the ANSI code page, so they are taken again
// from the wide command line.
std::vector<std::string> CommandLineWords(int argc, char** argv);

// Splits a Windows command line (UTF-8) into words as the program needs them. A
// quote only opens or closes a quoted part and backslashes are always taken as
// they are, so the folder written `"C:\Отчёты\"` ends in a backslash instead of
// swallowing the rest of the line, as the C runtime's rules would have it: a quote
// can never be part of a Windows file name, so nothing is lost by this.
std::vector<std::string> SplitWindowsCommandLine(std::string_view line);

// Moves `from` over `to`, replacing it, as one step of the file system. Windows
// refuses while another program (a browser showing the protocol, an editor with
// the configuration file) holds the target open, so there the move is tried again
// for about two seconds. On failure `to` is unchanged and the result is false.
bool ReplaceFileWith(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

// The identifier of the running process.
long CurrentProcessId();
// Whether a process of that identifier exists now (of any user). A process that
// cannot be asked about counts as alive: callers use this to leave alone what
// may still be in use.
bool ProcessIsAlive(long pid);

// Makes an empty file that must not exist yet, in one step that no other
// process can get between: false when the name is taken or the file cannot be
// made. The caller opens it afterwards as its own.
bool CreateNewFile(const std::filesystem::path& file);

// From this call on, a request to end the process (SIGTERM on POSIX) no longer
// kills it at once but is noted, so that the run can stop at its next step and
// end like any other failure: its temporary files removed, its log entry
// written. On Windows a process is ended without a signal it could catch, so
// nothing is installed there and no request is ever noted.
void NoteTerminationRequests();
bool TerminationRequested();

// While the object lives, the calling thread's multibyte character set is
// UTF-8, whatever the process locale: libarchive converts entry names into that
// set, and the program wants them as UTF-8. Other threads and the process
// locale are not touched. On Windows names are taken wide instead, and the
// object does nothing.
class TUtf8CharacterScope {
 public:
  TUtf8CharacterScope();
  ~TUtf8CharacterScope();
  TUtf8CharacterScope(const TUtf8CharacterScope&) = delete;
  TUtf8CharacterScope& operator=(const TUtf8CharacterScope&) = delete;

 private:
  void* fLocale = nullptr;    // the UTF-8 locale made for the scope
  void* fPrevious = nullptr;  // the thread's locale before it
};

// Builds whose allocator is a sanitizer's own: they check that everything is
// freed, and glibc's tunables mean nothing to them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MORVEL_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define MORVEL_SANITIZER_ALLOCATOR 1
#endif
#endif
#ifdef MORVEL_SANITIZER_ALLOCATOR
inline constexpr bool kSanitizerAllocator = true;
#else
inline constexpr bool kSanitizerAllocator = false;
#endif

// For what a process that is about to end no longer needs: the object is not
// destroyed, and the system takes its memory back when the process ends, at
// once, where freeing a large employer's million small objects one by one
// would cost the caller a second. Only for objects whose destruction has no
// effect beyond memory (no file, no folder, no log). Sanitizer builds destroy
// it as usual, so their leak check still sees everything freed.
template <typename T>
void LeaveToProcessExit(T&& object) {
  using TObject = std::remove_cvref_t<T>;
  if constexpr (kSanitizerAllocator) {
    TObject gone(std::forward<T>(object));
  } else {
    static_cast<void>(std::make_unique<TObject>(std::forward<T>(object)).release());
  }
}

// A whole run of a large employer allocates and touches well over a gigabyte in
// small pieces; with the C library's heap in ordinary 4 KiB pages a third of its
// time goes into page faults and address-translation misses. glibc puts its heap
// into transparent huge pages when the tunable glibc.malloc.hugetlb=1 is in the
// environment at start-up, and only then, so the program starts itself once more
// with it added. Nothing happens when it is set already, on a system without
// glibc's allocator (Windows, sanitizer builds) or when the restart fails: the
// run then goes on as it is, only slower.
void RestartWithHugePageHeap(char** argv);

// The value GLIBC_TUNABLES needs for that, given its current value; none when it
// already names the huge-page tunable (whatever value the caller chose).
std::optional<std::string> TunablesWithHugePageHeap(const char* current);

}  // namespace morvel
