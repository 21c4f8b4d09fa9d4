#include "records/zip_archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <array>
#include <fstream>
#include <memory>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "base/platform.h"
#include "base/text.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kReadBlock = 64 * 1024;

struct TArchiveFree {
  void operator()(archive* a) const { archive_read_free(a); }
};

#ifdef _WIN32
int OpenArchive(archive* a, const fs::path& path) { return archive_read_open_filename_w(a, path.c_str(), kReadBlock); }

// Windows archivers and libarchive agree on wide names there.
std::string EntryName(archive_entry* entry) {
  const wchar_t* wide = archive_entry_pathname_w(entry);
  return wide != nullptr ? PathToUtf8(fs::path(wide)) : std::string();
}
#else
int OpenArchive(archive* a, const fs::path& path) {
  return archive_read_open_filename(a, PathToUtf8(path).c_str(), kReadBlock);
}

// In the thread's UTF-8 character set (TUtf8CharacterScope) libarchive hands
// the name over as UTF-8; a name it cannot convert comes back as none.
std::string EntryName(archive_entry* entry) {
  const char* name = archive_entry_pathname(entry);
  return name != nullptr ? name : std::string();
}
#endif

std::string ErrorText(archive* a) {
  const char* text = archive_error_string(a);
  return text != nullptr ? text : "";
}

// The text after the last separator of either kind.
std::string_view LastComponent(std::string_view name) {
  const std::size_t separator = name.find_last_of("/\\");
  return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

bool IsWindowsReservedCharacter(char c) {
  return static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
}

bool IsDeviceName(std::string_view fileName) {
  const std::string stem = UpperCase(fileName.substr(0, fileName.find('.')));
  static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
  for (std::string_view device : plain) {
    if (stem == device) return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
         stem[3] <= '9';
}

// Windows drops trailing dots and blanks and ignores letter case: two names
// that differ only there are one file.
std::string SameFileKey(std::string_view fileName) {
  const std::size_t end = fileName.find_last_not_of(". ");
  return LowerCase(fileName.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

std::string TooLarge(std::uint64_t maxBytes) {
  return "распакованное содержимое архива больше " + IntToStr(static_cast<long long>(maxBytes)) + " байт";
}

std::string TooManyEntries(std::size_t maxEntries) {
  return "в архиве больше " + IntToStr(static_cast<long long>(maxEntries)) + " элементов";
}

// One archive being unpacked: the files written so far, by the key of their
// names, so that each entry is checked against all earlier ones at once.
class TExtraction {
 public:
  TExtraction(const fs::path& folder, std::uint64_t maxBytes) : fFolder(folder), fMaxBytes(maxBytes) {}

  TZipExtraction& Result() { return fResult; }

  // Whether the entry may go into the folder, noting why not.
  bool Admit(const std::string& name, std::string& fileName) {
    if (name.empty()) return Refuse(name, "имя элемента не удается прочитать");
    fileName = ArchiveEntryFileName(name);
    const std::string key = SameFileKey(fileName);
    if (key.empty()) return Refuse(name, "в имени элемента нет имени файла");
    const auto [taken, fresh] = fNames.try_emplace(key, name);
    if (!fresh) return Refuse(name, "имя файла уже занято элементом " + taken->second);
    return true;
  }

  // Writes the entry's data; false with the archive's failure when it must stop.
  bool Write(archive* a, const std::string& fileName, std::string& failure) {
    const fs::path target = fFolder / PathFromUtf8(fileName);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) return Fail("не удается записать файл " + PathToUtf8(target), failure);
    fResult.files.push_back(target);
    for (;;) {
      const la_ssize_t n = archive_read_data(a, fBuffer.data(), fBuffer.size());
      if (n == 0) break;
      if (n < 0) return Fail("архив поврежден: " + ErrorText(a), failure);
      fTotal += static_cast<std::uint64_t>(n);
      if (fTotal > fMaxBytes) return Fail(TooLarge(fMaxBytes), failure);
      out.write(fBuffer.data(), n);
      if (!out) return Fail("не удается записать файл " + PathToUtf8(target), failure);
    }
    out.close();
    if (!out) return Fail("не удается записать файл " + PathToUtf8(target), failure);
    return true;
  }

  // Whether an entry that states its size still fits in what is left of the limit.
  bool Fits(archive_entry* entry) const {
    return archive_entry_size_is_set(entry) == 0 || archive_entry_size(entry) <= 0 ||
           static_cast<std::uint64_t>(archive_entry_size(entry)) <= fMaxBytes - fTotal;
  }

 private:
  bool Refuse(const std::string& name, std::string reason) {
    fResult.refused.push_back({name, std::move(reason)});
    return false;
  }

  static bool Fail(std::string why, std::string& failure) {
    failure = std::move(why);
    return false;
  }

  fs::path fFolder;
  std::uint64_t fMaxBytes;
  std::uint64_t fTotal = 0;
  std::unordered_map<std::string, std::string> fNames;  // key of a file name -> the entry that took it
  std::vector<char> fBuffer = std::vector<char>(kReadBlock);
  TZipExtraction fResult;
};

TZipExtraction Refused(TZipExtraction result, std::string why) {
  std::error_code ec;
  for (const auto& file : result.files) fs::remove(file, ec);
  result.ok = false;
  result.failure = std::move(why);
  result.files.clear();
  result.refused.clear();
  return result;
}

}  // namespace

std::string ArchiveEntryFileName(const std::string& entryName) {
  std::string fileName(LastComponent(entryName));
  if (fileName.empty() || fileName == "." || fileName == "..") return std::string();
  for (char& c : fileName) {
    if (IsWindowsReservedCharacter(c)) c = '_';
  }
  if (IsDeviceName(fileName)) fileName.insert(0, "_");
  return fileName;
}

TZipExtraction ExtractZipArchive(const fs::path& archivePath, const fs::path& folder, std::uint64_t maxBytes,
                                 std::size_t maxEntries) {
  TExtraction extraction(folder, maxBytes);
  try {
    const TUtf8CharacterScope utf8Names;
    std::unique_ptr<archive, TArchiveFree> a(archive_read_new());
    if (!a) return Refused(std::move(extraction.Result()), "не удается открыть архив");
    archive_read_support_format_zip(a.get());
    archive_read_support_filter_none(a.get());
    // Names without the UTF-8 flag are in the OEM code page of a Russian
    // Windows, whatever the code page of the machine that reads them.
    archive_read_set_format_option(a.get(), "zip", "hdrcharset", "CP866");
    if (OpenArchive(a.get(), archivePath) != ARCHIVE_OK) {
      return Refused(std::move(extraction.Result()), "не удается открыть архив: " + ErrorText(a.get()));
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return Refused(std::move(extraction.Result()), "не удается создать папку " + PathToUtf8(folder));

    std::size_t entries = 0;
    archive_entry* entry = nullptr;
    for (;;) {
      const int rc = archive_read_next_header(a.get(), &entry);
      if (rc == ARCHIVE_EOF) break;
      if (rc != ARCHIVE_OK && rc != ARCHIVE_WARN) {
        return Refused(std::move(extraction.Result()), "архив поврежден: " + ErrorText(a.get()));
      }
      if (++entries > maxEntries) return Refused(std::move(extraction.Result()), TooManyEntries(maxEntries));
      if (archive_entry_filetype(entry) != AE_IFREG) continue;
      // An entry that says it is bigger than what is left of the limit is refused
      // before a byte of it is written; the count while writing still catches one
      // that hides its size or lies about it.
      if (!extraction.Fits(entry)) return Refused(std::move(extraction.Result()), TooLarge(maxBytes));
      std::string fileName;
      if (!extraction.Admit(EntryName(entry), fileName)) continue;
      std::string failure;
      if (!extraction.Write(a.get(), fileName, failure)) {
        return Refused(std::move(extraction.Result()), failure);
      }
    }
    extraction.Result().ok = true;
    return std::move(extraction.Result());
  } catch (const std::exception& e) {
    return Refused(std::move(extraction.Result()), std::string("ошибка распаковки: ") + e.what());
  } catch (...) {
    return Refused(std::move(extraction.Result()), "ошибка распаковки");
  }
}

}  // namespace morvel
