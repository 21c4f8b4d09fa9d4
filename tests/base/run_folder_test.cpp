#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "base/run_folder.h"
#include "support/test_support.h"

namespace morvel {
namespace {

using test::TempDir;
using test::WriteFile;

std::vector<std::string> Entries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(RunFolder, EachRunHasItsOwnHeldFolderGoneWithTheRun) {
  TempDir dir;
  const std::filesystem::path temp = dir / "Temp";  // made when missing
  std::filesystem::path firstPath;
  {
    TRunFolder first(temp);
    TRunFolder second(temp);
    firstPath = first.Path();
    EXPECT_NE(first.Path(), second.Path());
    EXPECT_TRUE(std::filesystem::is_directory(first.Path()));
    EXPECT_EQ(first.Path().parent_path(), temp);
    std::filesystem::path lock = first.Path();
    lock += ".lock";
    EXPECT_TRUE(TFileLock::IsHeld(lock));
    WriteFile(first.Path() / "body.part", "x");
    std::filesystem::create_directory(first.Path() / "archive");
    WriteFile(first.Path() / "archive" / "a.xml", "y");
  }
  EXPECT_FALSE(std::filesystem::exists(firstPath));
  EXPECT_FALSE(std::filesystem::exists(temp)) << "the last run out leaves no empty Temp";
}

TEST(RunFolder, CleaningKeepsLiveRunsAndRemovesEverythingElse) {
  TempDir dir;
  const std::filesystem::path temp = dir.path();
  TRunFolder live(temp);
  WriteFile(live.Path() / "init.part", "live");
  // An ended run whose lock file stayed (it was killed): nobody holds the lock.
  std::filesystem::create_directory(temp / "run-1-dead");
  WriteFile(temp / "run-1-dead" / "body.part", "dead");
  WriteFile(temp / "run-1-dead.lock", "");
  // A run folder whose lock file is gone, and what older versions left.
  std::filesystem::create_directory(temp / "run-2-orphan");
  WriteFile(temp / "old.xml", "old");
  std::filesystem::create_directory(temp / "unpacked");
  WriteFile(temp / "unpacked" / "p.xml", "p");

  CleanTempFolder(temp);

  std::filesystem::path liveLock = live.Path();
  liveLock += ".lock";
  EXPECT_EQ(Entries(temp), (std::vector<std::string>{live.Path().filename().string(), liveLock.filename().string()}));
  EXPECT_EQ(test::ReadFile(live.Path() / "init.part"), "live");
  EXPECT_TRUE(TFileLock::IsHeld(liveLock));
}

TEST(RunFolder, CleaningWithoutLiveRunsRemovesTempItself) {
  TempDir dir;
  CleanTempFolder(dir / "none");  // a missing folder is no error
  EXPECT_FALSE(std::filesystem::exists(dir / "none"));
  const std::filesystem::path temp = dir / "Temp";
  { TRunFolder ended(temp); }
  WriteFile(temp / "old.xml", "x");
  CleanTempFolder(temp);
  EXPECT_FALSE(std::filesystem::exists(temp));
}

// Another process's run: held while that process lives, free once it is gone,
// however it ended.
TEST(RunFolder, LockIsAcrossProcessesAndEndsWithTheProcess) {
  TempDir dir;
  const std::filesystem::path temp = dir.path();
  int toParent[2];
  int toChild[2];
  ASSERT_EQ(pipe(toParent), 0);
  ASSERT_EQ(pipe(toChild), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A run that dies without tidying up: no destructor runs.
    auto* run = new TRunFolder(temp);  // NOLINT: deliberately never freed
    (void)run;
    char c = 'r';
    if (write(toParent[1], &c, 1) != 1) _exit(2);
    if (read(toChild[0], &c, 1) != 1) _exit(3);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(toParent[0], &c, 1), 1);
  ASSERT_EQ(Entries(temp).size(), 2u);

  CleanTempFolder(temp);
  EXPECT_EQ(Entries(temp).size(), 2u) << "a live run's folder was removed";
  TRunFolder mine(temp);
  EXPECT_EQ(Entries(temp).size(), 4u);

  ASSERT_EQ(write(toChild[1], &c, 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  CleanTempFolder(temp);
  std::filesystem::path myLock = mine.Path();
  myLock += ".lock";
  EXPECT_EQ(Entries(temp), (std::vector<std::string>{mine.Path().filename().string(), myLock.filename().string()}));
  for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) close(fd);
}

}  // namespace
}  // namespace morvel
