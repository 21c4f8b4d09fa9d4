// Extraction of the ZIP archives found among the input files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace morvel {

// Far above any real pack or List archive; an archive that would unpack to more
// is refused rather than allowed to fill the disk.
inline constexpr std::uint64_t kMaxUnpackedBytes = std::uint64_t{2} << 30;

struct TZipExtraction {
  bool ok = false;
  std::string failure;                          // why the archive was refused
  std::vector<std::filesystem::path> files;     // the files written, in archive order
};

// Unpacks every file of the archive into `folder` (created when missing) under
// the last component of its entry name; a later entry of the same name replaces
// an earlier one. Folders and links in the archive are passed over. The whole
// archive is refused, and whatever it had written removed, when it cannot be
// read, is damaged or cut off, names an entry with ".." or an absolute path, or
// would unpack beyond `maxBytes`. Never raises.
TZipExtraction ExtractZipArchive(const std::filesystem::path& archive, const std::filesystem::path& folder,
                                 std::uint64_t maxBytes = kMaxUnpackedBytes);

}  // namespace morvel
