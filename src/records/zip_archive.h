// Extraction of the ZIP archives found among the input files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace morvel {

// Far above any real pack or List archive; an archive that would unpack to more
// is refused rather than allowed to fill the disk.
inline constexpr std::uint64_t kMaxUnpackedBytes = std::uint64_t{2} << 30;
// Far above the packs of any employer in one archive; each entry becomes a file
// on disk and a document to read, so an archive of more is refused before it
// floods the run's folder with tiny files.
inline constexpr std::size_t kMaxArchiveEntries = 20000;

// An entry that was not unpacked while the rest of its archive was.
struct TRefusedEntry {
  std::string name;    // the entry's name in the archive, as UTF-8
  std::string reason;  // why, for the log and the protocol
};

struct TZipExtraction {
  bool ok = false;
  std::string failure;                       // why the whole archive was refused
  std::vector<std::filesystem::path> files;  // the files written, in archive order
  std::vector<TRefusedEntry> refused;        // entries left out, in archive order
};

// Unpacks every file of the archive into `folder` (created when missing) under
// the last component of its entry name, the way an archiver extracts without
// paths. Names flagged as UTF-8 are read as UTF-8, all others as CP866 (what
// Windows archivers write), whatever the process locale. Folders and links in
// the archive are passed over. An entry whose name has no file name in its last
// component (nothing, "." or ".."), or whose file name another entry of the
// archive already took (letter case aside, as on Windows file systems), is left
// out and listed in `refused`. The whole archive is refused, and whatever it had
// written removed, when it cannot be read, is damaged or cut off, holds more
// than `maxEntries` entries or would unpack beyond `maxBytes`. Never raises.
TZipExtraction ExtractZipArchive(const std::filesystem::path& archive, const std::filesystem::path& folder,
                                 std::uint64_t maxBytes = kMaxUnpackedBytes,
                                 std::size_t maxEntries = kMaxArchiveEntries);

// The file name an entry of that name is unpacked under; empty when it has none.
// Characters that a Windows file name cannot hold become "_", and a name that
// Windows keeps for a device (CON, NUL, COM1, ...) gets a "_" in front, so the
// file lands in the folder on every platform.
std::string ArchiveEntryFileName(const std::string& entryName);

}  // namespace morvel
