// RightList.txt and CrossingList.txt of any bytes, and the questions the checks
// ask of them. A malformed line raises by design (the program ends as a critical
// error before it changes anything); nothing else may go wrong.
#include "base/dates.h"
#include "config/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  const std::filesystem::path file = fuzz::WorkFolder() / "list.txt";
  fuzz::WriteBytes(file, fuzz::Bytes(data, size));
  TSingleton::DestroyInstance<TSettings>();
  TSettings& settings = TSettings::GetInstance();
  settings.FRegNum = "099-009-000001";
  try {
    settings.TerrCodeRightListLoadFromFile(file.string());
    for (const char* code : {"all", "МКС", "РКС"}) {
      settings.hasNordRight(code, 0, 0, 2019, 4);
      settings.hasNordRight(code, EncodeDate(2019, 1, 1), EncodeDate(2019, 12, 31), 2019, 4);
      settings.hasNordRight(code, 0, 0, -1, -1);
    }
    settings.TerrCodeRightListSaveToFile((fuzz::WorkFolder() / "saved.txt").string());
  } catch (const std::exception&) {
  }
  try {
    settings.CrossListLoadFromFile(file.string());
    for (const int year : {2010, 2019, 2030}) settings.GetActualRegNum(year, 4);
    settings.CrossListSaveToFile((fuzz::WorkFolder() / "saved.txt").string());
  } catch (const std::exception&) {
  }
  TSingleton::DestroyInstance<TSettings>();
  return 0;
}
