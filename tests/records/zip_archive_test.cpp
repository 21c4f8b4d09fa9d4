// Unpacking of the ZIP archives among the input files: only into the archive's
// own folder, never beyond its size and entry limits, each entry under its file
// name, and nothing at all from an archive that is refused.
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
  WriteZip(dir / "a.zip", {{"pack.xml", "<a/>"}, {"sub/deeper/list.xml", "<b/>"}, {"sub/", ""},
                           {"notes.txt", "text"}});
  const TZipExtraction x = ExtractZipArchive(dir / "a.zip", dir / "out");
  ASSERT_TRUE(x.ok) << x.failure;
  EXPECT_EQ(Names(x), (std::vector<std::string>{"pack.xml", "list.xml", "notes.txt"}));
  EXPECT_EQ(ReadFile(dir / "out" / "pack.xml"), "<a/>");
  EXPECT_EQ(ReadFile(dir / "out" / "list.xml"), "<b/>");
  EXPECT_FALSE(fs::exists(dir / "out" / "sub"));
  EXPECT_TRUE(x.refused.empty());
}

// A later entry whose file name an earlier one took (letter case aside, as on
// the Windows file systems) is left out, and the earlier file stays as it was.
TEST(ZipArchive, AnEntryThatWouldOverwriteAnotherIsLeftOut) {
  TempDir dir;
  WriteZip(dir / "b.zip", {{"x/pack.xml", "first"}, {"y/pack.xml", "second"}, {"PACK.XML", "third"},
                           {"other.xml", "fourth"}});
  const TZipExtraction y = ExtractZipArchive(dir / "b.zip", dir / "out");
  ASSERT_TRUE(y.ok) << y.failure;
  EXPECT_EQ(Names(y), (std::vector<std::string>{"pack.xml", "other.xml"}));
  EXPECT_EQ(ReadFile(dir / "out" / "pack.xml"), "first");
  ASSERT_EQ(y.refused.size(), 2u);
  EXPECT_EQ(y.refused[0].name, "y/pack.xml");
  EXPECT_EQ(y.refused[0].reason, "имя файла уже занято элементом x/pack.xml");
  EXPECT_EQ(y.refused[1].name, "PACK.XML");
}

// Names that climb out or start at a root are reduced to their last component
// and land in the folder beside the good entries; only a name without a file
// name in it is left out.
TEST(ZipArchive, NamesLeadingOutOfTheFolderLandInItUnderTheirFileName) {
  TempDir dir;
  for (const char* climbing : {"../evil.xml", "a/../../evil.xml", "/tmp/evil.xml", "C:\\evil.xml"}) {
    SCOPED_TRACE(climbing);
    fs::remove_all(dir / "out");
    WriteZip(dir / "bad.zip", {{"good.xml", "<a/>"}, {climbing, "<evil/>"}, {"..", "x"}, {"dir/.", "y"},
                               {"dir/", ""}, {"tail/", "z"}});
    const TZipExtraction x = ExtractZipArchive(dir / "bad.zip", dir / "out");
    ASSERT_TRUE(x.ok) << x.failure;
    EXPECT_EQ(Names(x), (std::vector<std::string>{"good.xml", "evil.xml"}));
    EXPECT_EQ(ReadFile(dir / "out" / "evil.xml"), "<evil/>");
    EXPECT_FALSE(fs::exists(dir / "evil.xml"));
    ASSERT_EQ(x.refused.size(), 2u);
    EXPECT_EQ(x.refused[0].name, "..");
    EXPECT_EQ(x.refused[0].reason, "в имени элемента нет имени файла");
    EXPECT_EQ(x.refused[1].name, "dir/.");
  }
  EXPECT_FALSE(fs::exists("/tmp/evil.xml") && ReadFile("/tmp/evil.xml") == "<evil/>");
  // What a Windows file name cannot hold, or a device's name, would not make a
  // file in the folder there.
  EXPECT_EQ(ArchiveEntryFileName("x/C:evil.xml"), "C_evil.xml");
  EXPECT_EQ(ArchiveEntryFileName("a<b>|?*\"q\".xml"), "a_b_____q_.xml");
  EXPECT_EQ(ArchiveEntryFileName("con.xml"), "_con.xml");
  EXPECT_EQ(ArchiveEntryFileName("LPT1"), "_LPT1");
  EXPECT_EQ(ArchiveEntryFileName("console.xml"), "console.xml");
}

// Names flagged as UTF-8 (what Windows and Python write for any name beyond
// ASCII) and names in the OEM code page without the flag both come out as the
// letters the archiver was given, whatever the locale of the process.
TEST(ZipArchive, FlaggedNamesAreUtf8AndOthersCp866) {
  TempDir dir;
  const std::string cp866Name = "\x86\x93\x82_\xaf\xa0\xe7\xaa\xa0.xml";  // "ЖУВ_пачка.xml"
  test::WriteStoredZip(dir / "names.zip", {{"Пачка_1.xml", "a", true}, {cp866Name, "b", false},
                                           {"plain.xml", "c", false}, {"\xff\xfe.xml", "d", true}});
  const TZipExtraction x = ExtractZipArchive(dir / "names.zip", dir / "out");
  ASSERT_TRUE(x.ok) << x.failure;
  EXPECT_EQ(Names(x), (std::vector<std::string>{"Пачка_1.xml", "ЖУВ_пачка.xml", "plain.xml"}));
  EXPECT_EQ(ReadFile(dir / "out" / "ЖУВ_пачка.xml"), "b");
  // A name flagged as UTF-8 that is not cannot be told and is left out.
  ASSERT_EQ(x.refused.size(), 1u);
  EXPECT_EQ(x.refused[0].reason, "имя элемента не удается прочитать");
}

TEST(ZipArchive, AnArchiveOfTooManyEntriesIsRefused) {
  TempDir dir;
  WriteZip(dir / "many.zip", {{"1.xml", "a"}, {"2.xml", "b"}, {"3/", ""}, {"4.xml", "d"}});
  EXPECT_TRUE(ExtractZipArchive(dir / "many.zip", dir / "fits", kMaxUnpackedBytes, 4).ok);
  const TZipExtraction over = ExtractZipArchive(dir / "many.zip", dir / "over", kMaxUnpackedBytes, 3);
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.failure, "в архиве больше 3 элементов");
  EXPECT_FALSE(fs::exists(dir / "over" / "1.xml"));
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
