// A folder of one run's own under the data folder's Temp. Every run of the same
// user shares Temp, and headless runs may overlap: one run must never find,
// mix with or delete another run's files. So each run makes a folder with a
// unique name and holds a lock on it while it lives, and the start-up cleaning
// removes only what no live run holds.
//
// Layout in Temp: "run-<unique>.lock" (the lock, held open and locked by the
// run) and "run-<unique>" (the run's folder). The lock file is made and locked
// before the folder and removed only after it, so a run folder without its lock
// file belongs to no live run.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace morvel {

// An exclusive lock held on one file for the life of the object; the platform's
// own means (flock on POSIX, an unshared handle on Windows), so a process that
// ends in any way, a crash included, gives its locks up.
class TFileLock {
 public:
  // Creates the file (it must not exist) and locks it. Empty when the file
  // exists already or cannot be made or locked.
  static std::unique_ptr<TFileLock> CreateLocked(const std::filesystem::path& file);
  // Locks an existing file that nobody holds. Empty when another holder has it
  // (or the file is gone, or cannot be opened: such a file is left alone).
  static std::unique_ptr<TFileLock> TryLockExisting(const std::filesystem::path& file);
  // Whether the existing file is locked by someone; a missing file is not.
  static bool IsHeld(const std::filesystem::path& file);

  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

  const std::filesystem::path& File() const { return fFile; }
  // Removes the file while still holding it, then gives the lock up.
  void RemoveAndRelease();

  struct THandle;  // the platform's open handle

 private:
  TFileLock(std::filesystem::path file, std::unique_ptr<THandle> handle);

  std::filesystem::path fFile;
  std::unique_ptr<THandle> fHandle;
};

class TRunFolder {
 public:
  // Makes a new held run folder under `tempFolder` (created when missing).
  // Raises EMorvelError when no folder can be made.
  explicit TRunFolder(const std::filesystem::path& tempFolder);
  // Removes the folder with everything in it, then its lock.
  ~TRunFolder();
  TRunFolder(const TRunFolder&) = delete;
  TRunFolder& operator=(const TRunFolder&) = delete;

  const std::filesystem::path& Path() const { return fPath; }

 private:
  std::filesystem::path fPath;
  std::unique_ptr<TFileLock> fLock;
};

// Whether the run of that folder name ("run-<process id>-<unique>") may still be
// at work: its lock in `tempFolder` is held, or a process of its id lives (a run
// of another data folder keeps its lock elsewhere). A name of another form is
// taken as a live run's, to be left alone.
bool RunMayBeAlive(const std::filesystem::path& tempFolder, const std::string& runName);

// The start-up cleaning of Temp: removes every entry that no live run holds (the
// folders and lock files of ended runs, and whatever else lies there), keeping
// the folders and lock files of live runs. Failures are ignored: what cannot be
// removed now is tried again at the next start. A missing folder is no error.
void CleanTempFolder(const std::filesystem::path& tempFolder);

}  // namespace morvel
