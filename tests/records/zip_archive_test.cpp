// Unpacking of the ZIP archives among the input files: only into the archive's
// own folder, never beyond its size limit, and nothing at all from an archive
// that is refused.
#include "records/zip_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteZip;

std::vector<std::string> Names(const TZipExtraction& x) {
  std::vector<std::string> names;
  for (const fs::path& f : x.files) names.push_back(f.filename().string());
  return names;
}

TEST(ZipArchive, EntriesLandInTheArchivesFolderUnderTheirLastComponent) {
  TempDir dir;
  WriteZip(dir / "a.zip", {{"pack.xml", "<a/>"}, {"sub/deeper/Перечень.xml", "<b/>"}, {"sub/", ""},
                           {"notes.txt", "text"}});
  const TZipExtraction x = ExtractZipArchive(dir / "a.zip", dir / "out");
  ASSERT_TRUE(x.ok) << x.failure;
  EXPECT_EQ(Names(x), (std::vector<std::string>{"pack.xml", "Перечень.xml", "notes.txt"}));
  EXPECT_EQ(ReadFile(dir / "out" / "pack.xml"), "<a/>");
  EXPECT_EQ(ReadFile(dir / "out" / "Перечень.xml"), "<b/>");
  EXPECT_FALSE(fs::exists(dir / "out" / "sub"));
  // Two entries of one name: the later wins, as when answering yes to every question.
  WriteZip(dir / "b.zip", {{"x/pack.xml", "first"}, {"y/pack.xml", "second"}});
  const TZipExtraction y = ExtractZipArchive(dir / "b.zip", dir / "out2");
  ASSERT_TRUE(y.ok);
  EXPECT_EQ(Names(y), (std::vector<std::string>{"pack.xml"}));
  EXPECT_EQ(ReadFile(dir / "out2" / "pack.xml"), "second");
}

TEST(ZipArchive, NamesLeadingOutOfTheFolderRefuseTheWholeArchive) {
  TempDir dir;
  for (const char* bad : {"../evil.xml", "a/../../evil.xml", "/tmp/evil.xml", "..", "C:\\evil.xml"}) {
    WriteZip(dir / "bad.zip", {{"good.xml", "<a/>"}, {bad, "<evil/>"}});
    const TZipExtraction x = ExtractZipArchive(dir / "bad.zip", dir / "out");
    EXPECT_FALSE(x.ok) << bad;
    EXPECT_FALSE(x.failure.empty()) << bad;
    EXPECT_TRUE(x.files.empty()) << bad;
    // What the archive had written before the bad entry is gone too.
    EXPECT_FALSE(fs::exists(dir / "out" / "good.xml")) << bad;
    EXPECT_FALSE(fs::exists(dir / "evil.xml")) << bad;
  }
  EXPECT_FALSE(fs::exists("/tmp/evil.xml") && ReadFile("/tmp/evil.xml") == "<evil/>");
}

TEST(ZipArchive, DamagedAndOversizedArchivesAreRefused) {
  TempDir dir;
  const std::string big(100000, 'x');
  WriteZip(dir / "whole.zip", {{"a.xml", big}, {"b.xml", big}});
  const std::string bytes = ReadFile(dir / "whole.zip");
  test::WriteFile(dir / "cut.zip", bytes.substr(0, bytes.size() / 3));
  EXPECT_FALSE(ExtractZipArchive(dir / "cut.zip", dir / "cut").ok);
  test::WriteFile(dir / "junk.zip", "this is not an archive at all");
  EXPECT_FALSE(ExtractZipArchive(dir / "junk.zip", dir / "junk").ok);
  EXPECT_FALSE(ExtractZipArchive(dir / "missing.zip", dir / "missing").ok);

  // The limit counts every entry together.
  EXPECT_TRUE(ExtractZipArchive(dir / "whole.zip", dir / "fits", 200000).ok);
  const TZipExtraction over = ExtractZipArchive(dir / "whole.zip", dir / "over", 150000);
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.failure, "распакованное содержимое архива больше 150000 байт");
  EXPECT_FALSE(fs::exists(dir / "over" / "a.xml"));
  EXPECT_FALSE(fs::exists(dir / "over" / "b.xml"));
}

// A few megabytes that unpack to three gigabytes: refused at the entry's header,
// before anything is written, not after two gigabytes of disk are gone.
TEST(ZipArchive, AnEntryLargerThanTheLimitIsRefusedBeforeItIsWritten) {
  TempDir dir;
  test::WriteZipOfZeros(dir / "bomb.zip", "pack.xml", std::uint64_t{3} << 30);
  EXPECT_LT(fs::file_size(dir / "bomb.zip"), std::uintmax_t{8} << 20);
  const TZipExtraction bomb = ExtractZipArchive(dir / "bomb.zip", dir / "bomb");
  EXPECT_FALSE(bomb.ok);
  EXPECT_EQ(bomb.failure, "распакованное содержимое архива больше " + std::to_string(kMaxUnpackedBytes) + " байт");
  EXPECT_FALSE(fs::exists(dir / "bomb" / "pack.xml"));

  // The same kind of archive within the limit unpacks whole: the headers the
  // check reads are the true ones.
  test::WriteZipOfZeros(dir / "small.zip", "zeros.bin", std::uint64_t{1} << 24);
  const TZipExtraction small = ExtractZipArchive(dir / "small.zip", dir / "small");
  ASSERT_TRUE(small.ok) << small.failure;
  EXPECT_EQ(fs::file_size(dir / "small" / "zeros.bin"), std::uintmax_t{1} << 24);
}

}  // namespace
}  // namespace morvel
