// MorvelConfig.ini of any bytes: read into the settings and written back, the way
// a windowed run ends.
#include "config/config_file.h"
#include "config/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  const std::filesystem::path folder = fuzz::WorkFolder() / "config";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  fuzz::WriteBytes(folder / "MorvelConfig.ini", fuzz::Bytes(data, size));
  TSingleton::DestroyInstance<TSettings>();
  TSettings& settings = TSettings::GetInstance();
  try {
    ReadConfigFile(folder, settings, [](const std::string&) {});
    WriteConfigFile(folder, settings);
  } catch (const std::exception&) {
  }
  TSingleton::DestroyInstance<TSettings>();
  return 0;
}
