#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "support/test_support.h"

namespace morvel {
namespace {

TEST(Files, LinesSplitAtEveryKindOfBreak) {
  test::TempDir dir;
  test::WriteFile(dir / "a.txt", "one\r\ntwo\nthree\r\r\nfive\r\n");
  EXPECT_EQ(LoadAnsiTextLines(dir / "a.txt"),
            (std::vector<std::string>{"one", "two", "three", "", "five"}));
  test::WriteFile(dir / "b.txt", "\xEF\xBB\xBFЖ\r\nlast");
  EXPECT_EQ(LoadAnsiTextLines(dir / "b.txt"), (std::vector<std::string>{"Ж", "last"}));
}

TEST(Files, AtomicWriteReplacesOrLeavesTheOldFile) {
  test::TempDir dir;
  const auto path = dir / "x.ini";
  ASSERT_TRUE(WriteFileAtomically(path, "first"));
  ASSERT_TRUE(WriteFileAtomically(path, "second"));
  EXPECT_EQ(test::ReadFile(path), "second");
  // A folder in the way of the new file's name makes the save fail; the old file stays.
  std::filesystem::create_directory(path.string() + ".new~");
  test::WriteFile(path.string() + ".new~/block", "x");
  EXPECT_FALSE(WriteFileAtomically(path, "third"));
  EXPECT_EQ(test::ReadFile(path), "second");
  EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "x.ini", "y"));
}

TEST(Files, AFolderOrAMissingFileReadsAsNothing) {
  test::TempDir dir;
  EXPECT_FALSE(ReadFileBytes(dir.path()));
  EXPECT_FALSE(ReadFileBytes(dir / "missing"));
  EXPECT_THROW(LoadAnsiTextLines(dir.path()), std::exception);
}

TEST(Files, JoinAnsiLinesEndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinAnsiLines({"a", "Ж"}), "a\r\n\xC6\r\n");
}

}  // namespace
}  // namespace morvel
