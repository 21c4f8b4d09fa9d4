// A folder of packs and a folder of Lists of any content, as the searcher finds
// them at the start of a run: XML files and ZIP archives in either, unpacked,
// read, filed into sets and given their Lists. The input is a series of files,
// each started by one letter that says what and where it is (p: a pack file,
// a: an archive among the packs, l: a List file, z: an archive among the
// Lists) and ended by the line "@@@@"; the first byte of the input chooses the
// List format check. Findings are expected; a crash, a leak or undefined
// behaviour is not.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "app/searcher.h"
#include "base/exit_code.h"
#include "base/platform.h"
#include "config/settings.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFileEnd = "\n@@@@\n";

void LayOutFiles(std::string_view input, const fs::path& packs, const fs::path& lists) {
  int number = 0;
  while (!input.empty()) {
    const std::size_t end = input.find(kFileEnd);
    const std::string_view file = input.substr(0, end);
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + kFileEnd.size());
    if (file.empty()) continue;
    const std::string name = "file-" + std::to_string(++number);
    const std::string_view bytes = file.substr(1);
    switch (file.front()) {
      case 'p': morvel::fuzz::WriteBytes(packs / (name + ".xml"), bytes); break;
      case 'a': morvel::fuzz::WriteBytes(packs / (name + ".zip"), bytes); break;
      case 'l': morvel::fuzz::WriteBytes(lists / (name + ".xml"), bytes); break;
      case 'z': morvel::fuzz::WriteBytes(lists / (name + ".ZIP"), bytes); break;
      default: break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  if (size == 0) return 0;
  const TClassifiersScope scope(fuzz::Classifiers());
  const fs::path root = fuzz::WorkFolder() / "folders";
  const fs::path packs = root / "is";
  const fs::path lists = root / "lists";
  const fs::path work = root / "work";
  std::error_code ec;
  fs::remove_all(root, ec);
  fs::create_directories(packs, ec);
  fs::create_directories(lists, ec);
  fs::create_directories(work, ec);
  const std::string_view input = fuzz::Bytes(data, size);
  LayOutFiles(input.substr(1), packs, lists);

  TSettings& settings = TSettings::GetInstance();
  settings.FRegNum = "099-009-000001";
  settings.FDirPD = PathToUtf8(packs);
  settings.FDirList = PathToUtf8(lists);
  settings.FMode = TMode::mWindow;
  settings.FUseUL = false;
  settings.FYear = 0;
  settings.FPeriod = 0;
  settings.FCheckPerFormat = (input.front() & 1) != 0;
  SetExitCode(0);
  {
    TSearcher searcher(work);
    searcher.Run();
  }
  SetExitCode(0);
  fs::remove_all(root, ec);
  return 0;
}
