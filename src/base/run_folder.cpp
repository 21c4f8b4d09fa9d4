#include "base/run_folder.h"

#include <cstdint>
#include <random>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/error.h"
#include "base/platform.h"

namespace morvel {
namespace {

const char kRunPrefix[] = "run-";
const char kLockSuffix[] = ".lock";

std::filesystem::path LockFileOf(const std::filesystem::path& folder) {
  std::filesystem::path lock = folder;
  lock += kLockSuffix;
  return lock;
}

std::string UniqueRunName() {
  static std::random_device device;
  static std::mt19937_64 generator(device());
#ifdef _WIN32
  const unsigned long pid = GetCurrentProcessId();
#else
  const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
  static const char digits[] = "0123456789abcdef";
  std::uint64_t random = generator();
  std::string suffix;
  for (int i = 0; i < 12; ++i) {
    suffix += digits[random & 15];
    random >>= 4;
  }
  return kRunPrefix + std::to_string(pid) + "-" + suffix;
}

}  // namespace

// ---- The platform's lock ----------------------------------------------------

#ifdef _WIN32

// A handle opened without any sharing: while it is open nobody else can open,
// and so neither lock nor delete, the file.
struct TFileLock::THandle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~THandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

namespace {

std::unique_ptr<TFileLock::THandle> OpenUnshared(const std::filesystem::path& file, DWORD disposition);

}  // namespace

#else

// An open descriptor with an flock on it; the kernel drops the lock when the
// descriptor closes, also when the process dies.
struct TFileLock::THandle {
  int fd = -1;
  ~THandle() {
    if (fd >= 0) close(fd);
  }
};

namespace {

// Whether the descriptor still is the file at `file`: a cleaner may have
// removed the file (and another run made a new one of the same name) between
// our open and our flock.
bool StillThere(int fd, const std::filesystem::path& file) {
  struct stat opened {};
  struct stat named {};
  if (fstat(fd, &opened) != 0 || stat(file.c_str(), &named) != 0) return false;
  return opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

std::unique_ptr<TFileLock::THandle> OpenAndLock(const std::filesystem::path& file, int flags) {
  auto handle = std::make_unique<TFileLock::THandle>();
  handle->fd = open(file.c_str(), flags | O_CLOEXEC, 0600);
  if (handle->fd < 0) return nullptr;
  if (flock(handle->fd, LOCK_EX | LOCK_NB) != 0) return nullptr;
  if (!StillThere(handle->fd, file)) return nullptr;
  return handle;
}

}  // namespace

#endif

TFileLock::TFileLock(std::filesystem::path file, std::unique_ptr<THandle> handle)
    : fFile(std::move(file)), fHandle(std::move(handle)) {}

TFileLock::~TFileLock() = default;

#ifdef _WIN32

namespace {

std::unique_ptr<TFileLock::THandle> OpenUnshared(const std::filesystem::path& file, DWORD disposition) {
  auto handle = std::make_unique<TFileLock::THandle>();
  handle->h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle->h == INVALID_HANDLE_VALUE) return nullptr;
  return handle;
}

}  // namespace

std::unique_ptr<TFileLock> TFileLock::CreateLocked(const std::filesystem::path& file) {
  auto handle = OpenUnshared(file, CREATE_NEW);
  if (!handle) return nullptr;
  return std::unique_ptr<TFileLock>(new TFileLock(file, std::move(handle)));
}

std::unique_ptr<TFileLock> TFileLock::TryLockExisting(const std::filesystem::path& file) {
  auto handle = OpenUnshared(file, OPEN_EXISTING);
  if (!handle) return nullptr;
  return std::unique_ptr<TFileLock>(new TFileLock(file, std::move(handle)));
}

void TFileLock::RemoveAndRelease() {
  if (!fHandle) return;
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  SetFileInformationByHandle(fHandle->h, FileDispositionInfo, &disposition, sizeof(disposition));
  fHandle.reset();
}

#else

std::unique_ptr<TFileLock> TFileLock::CreateLocked(const std::filesystem::path& file) {
  auto handle = OpenAndLock(file, O_RDWR | O_CREAT | O_EXCL);
  if (!handle) return nullptr;
  return std::unique_ptr<TFileLock>(new TFileLock(file, std::move(handle)));
}

std::unique_ptr<TFileLock> TFileLock::TryLockExisting(const std::filesystem::path& file) {
  auto handle = OpenAndLock(file, O_RDONLY);
  if (!handle) return nullptr;
  return std::unique_ptr<TFileLock>(new TFileLock(file, std::move(handle)));
}

void TFileLock::RemoveAndRelease() {
  if (!fHandle) return;
  // Unlinked while still locked, so nobody can take it over in between.
  unlink(fFile.c_str());
  fHandle.reset();
}

#endif

bool TFileLock::IsHeld(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return false;
  return TryLockExisting(file) == nullptr;
}

// ---- The run folder -----------------------------------------------------------

TRunFolder::TRunFolder(const std::filesystem::path& tempFolder) {
  std::error_code ec;
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Again on every attempt: a start-up cleaning may just have removed an
    // empty Temp.
    std::filesystem::create_directories(tempFolder, ec);
    const std::filesystem::path folder = tempFolder / UniqueRunName();
    std::unique_ptr<TFileLock> lock = TFileLock::CreateLocked(LockFileOf(folder));
    if (!lock) continue;
    // A folder of this name without its lock belongs to no live run.
    std::filesystem::remove_all(folder, ec);
    if (std::filesystem::create_directory(folder, ec)) {
      fPath = folder;
      fLock = std::move(lock);
      return;
    }
    lock->RemoveAndRelease();
  }
  throw EMorvelError("Не удается создать рабочий каталог сверки в \"" + PathToUtf8(tempFolder) + "\"");
}

TRunFolder::~TRunFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(fPath, ignored);
  if (fLock) fLock->RemoveAndRelease();
  // The last run out leaves no empty Temp behind, as the start-up cleaning does;
  // a Temp that still holds anything stays (removing a folder that is not empty
  // fails), and a run starting meanwhile makes it again.
  std::filesystem::remove(fPath.parent_path(), ignored);
}

// ---- The start-up cleaning -----------------------------------------------------

bool RunMayBeAlive(const std::filesystem::path& tempFolder, const std::string& runName) {
  const std::string prefix = kRunPrefix;
  if (runName.compare(0, prefix.size(), prefix) != 0) return true;
  const std::size_t dash = runName.find('-', prefix.size());
  if (dash == std::string::npos || dash == prefix.size() || dash - prefix.size() > 10) return true;
  long pid = 0;
  for (std::size_t i = prefix.size(); i < dash; ++i) {
    if (runName[i] < '0' || runName[i] > '9') return true;
    pid = pid * 10 + (runName[i] - '0');
  }
  if (TFileLock::IsHeld(LockFileOf(tempFolder / runName))) return true;
  return ProcessIsAlive(pid);
}

void CleanTempFolder(const std::filesystem::path& tempFolder) {
  std::error_code ec;
  std::vector<std::filesystem::path> entries;
  for (std::filesystem::directory_iterator it(tempFolder, ec), end; !ec && it != end; it.increment(ec)) {
    entries.push_back(it->path());
  }
  if (ec && entries.empty()) return;

  // First the runs that ended: their locks are free. Their folders go while the
  // lock is held by the cleaner, then the lock file itself.
  for (const std::filesystem::path& entry : entries) {
    if (entry.extension() != kLockSuffix) continue;
    std::unique_ptr<TFileLock> lock = TFileLock::TryLockExisting(entry);
    if (!lock) continue;  // a live run holds it
    std::filesystem::path folder = entry;
    folder.replace_extension();
    std::filesystem::remove_all(folder, ec);
    lock->RemoveAndRelease();
  }

  // Then everything else that no lock file stands for: folders of runs that
  // crashed after their lock file was gone, and anything left by older versions.
  for (const std::filesystem::path& entry : entries) {
    if (entry.extension() == kLockSuffix) continue;
    if (std::filesystem::exists(LockFileOf(entry), ec)) continue;
    std::filesystem::remove_all(entry, ec);
  }
  // Temp itself goes when nothing is left in it (removing a folder that is not
  // empty fails, so a run that has just made its lock keeps it).
  std::filesystem::remove(tempFolder, ec);
}

}  // namespace morvel
