#include "records/zip_archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <fstream>
#include <memory>
#include <string_view>
#include <system_error>

#include "base/text.h"

namespace morvel {
namespace {

struct TArchiveFree {
  void operator()(archive* a) const { archive_read_free(a); }
};

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The entry's name as UTF-8 when the archive says how it is encoded, else its bytes.
std::string EntryName(archive_entry* entry) {
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return utf8;
  if (const char* raw = archive_entry_pathname(entry)) return raw;
  return {};
}

std::string ErrorText(archive* a) {
  const char* text = archive_error_string(a);
  return text != nullptr ? text : "";
}

// False, with the reason, for a name that would lead out of the target folder.
bool IsSafeName(const std::string& name, std::string& why) {
  if (!name.empty() && (name.front() == '/' || name.front() == '\\' || (name.size() > 1 && name[1] == ':'))) {
    why = "абсолютное имя элемента архива: " + name;
    return false;
  }
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) {
      why = "имя элемента архива выводит за пределы папки: " + name;
      return false;
    }
    start = end + 1;
  }
  return true;
}

// The last non-empty component of a name ("" when there is none).
std::string LastComponent(const std::string& name) {
  std::string last;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (end > start && name.compare(start, end - start, ".") != 0) last = name.substr(start, end - start);
    start = end + 1;
  }
  return last;
}

std::string TooLarge(std::uint64_t maxBytes) {
  return "распакованное содержимое архива больше " + IntToStr(static_cast<long long>(maxBytes)) + " байт";
}

}  // namespace

TZipExtraction ExtractZipArchive(const std::filesystem::path& archivePath, const std::filesystem::path& folder,
                                 std::uint64_t maxBytes) {
  TZipExtraction result;
  std::error_code ec;
  auto refuse = [&](std::string why) {
    result.ok = false;
    result.failure = std::move(why);
    for (const auto& file : result.files) std::filesystem::remove(file, ec);
    result.files.clear();
    return result;
  };
  try {
    std::unique_ptr<archive, TArchiveFree> a(archive_read_new());
    if (!a) return refuse("не удается открыть архив");
    archive_read_support_format_zip(a.get());
    archive_read_support_filter_none(a.get());
    if (archive_read_open_filename(a.get(), archivePath.string().c_str(), 64 * 1024) != ARCHIVE_OK) {
      return refuse(std::string("не удается открыть архив: ") + ErrorText(a.get()));
    }
    std::filesystem::create_directories(folder, ec);
    if (ec) return refuse("не удается создать папку " + folder.string());

    std::uint64_t total = 0;
    archive_entry* entry = nullptr;
    for (;;) {
      const int rc = archive_read_next_header(a.get(), &entry);
      if (rc == ARCHIVE_EOF) break;
      if (rc != ARCHIVE_OK && rc != ARCHIVE_WARN) {
        return refuse(std::string("архив поврежден: ") + ErrorText(a.get()));
      }
      const std::string name = EntryName(entry);
      std::string why;
      if (!IsSafeName(name, why)) return refuse(why);
      if (archive_entry_filetype(entry) != AE_IFREG) continue;
      // An entry that says it is bigger than what is left of the limit is refused
      // before a byte of it is written; the count below still catches one that
      // hides its size or lies about it.
      if (archive_entry_size_is_set(entry) != 0 && archive_entry_size(entry) > 0 &&
          static_cast<std::uint64_t>(archive_entry_size(entry)) > maxBytes - total) {
        return refuse(TooLarge(maxBytes));
      }
      const std::string last = LastComponent(name);
      if (last.empty()) return refuse("элемент архива без имени файла: " + name);
      const std::filesystem::path target = folder / PathOf(last);
      std::ofstream out(target, std::ios::binary | std::ios::trunc);
      if (!out) return refuse("не удается записать файл " + target.string());
      bool known = false;
      for (const auto& f : result.files) known = known || f == target;
      if (!known) result.files.push_back(target);
      char buffer[64 * 1024];
      for (;;) {
        const la_ssize_t n = archive_read_data(a.get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) return refuse(std::string("архив поврежден: ") + ErrorText(a.get()));
        total += static_cast<std::uint64_t>(n);
        if (total > maxBytes) {
          out.close();
          return refuse(TooLarge(maxBytes));
        }
        out.write(buffer, n);
        if (!out) return refuse("не удается записать файл " + target.string());
      }
      out.close();
      if (!out) return refuse("не удается записать файл " + target.string());
    }
    result.ok = true;
    return result;
  } catch (const std::exception& e) {
    return refuse(std::string("ошибка распаковки: ") + e.what());
  } catch (...) {
    return refuse("ошибка распаковки");
  }
}

}  // namespace morvel
