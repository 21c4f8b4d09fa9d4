// A ZIP archive of any bytes among the input files: its names (flagged UTF-8,
// CP866, climbing, rooted, empty, clashing), its sizes and its damage. The
// archive may be refused in whole or in part; a crash, a leak, or a file
// written anywhere but directly in the archive's own folder is a failure.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "fuzz_support.h"
#include "records/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  namespace fs = std::filesystem;
  const fs::path archive = fuzz::WorkFolder() / "input.zip";
  const fs::path folder = fuzz::WorkFolder() / "unpacked";
  fuzz::WriteBytes(archive, fuzz::Bytes(data, size));
  // Small limits, so that an input that unpacks big costs the fuzzer little.
  const TZipExtraction extraction = ExtractZipArchive(archive, folder, std::uint64_t{16} << 20, 2000);
  std::error_code ec;
  for (const fs::path& file : extraction.files) {
    if (file.parent_path() != folder) std::abort();
  }
  if (fs::exists(folder, ec)) {
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      if (it->path().parent_path() != folder || !it->is_regular_file(ec)) std::abort();
    }
  }
  if (!extraction.ok && !extraction.files.empty()) std::abort();
  fs::remove_all(folder, ec);
  return 0;
}
