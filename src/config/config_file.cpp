#include "config/config_file.h"

#include <system_error>
#include <type_traits>

#include "base/dates.h"
#include "base/platform.h"
#include "base/text.h"
#include "config/ini_file.h"

namespace morvel {
namespace {

using S = TSettings;
using D = TConfigDefault;

std::string ListServerAddress(const TSettings& s) { return s.FULMachine + ":" + s.FULPort + "/" + s.FULAppName; }

// Reading goes down the table and logs where a key says so; writing goes down the
// same table, so a file made from nothing has its keys in this order.
const TConfigKey kConfigKeys[] = {
    {.Section = "Directories", .Key = "Perech", .Field = &S::FDirList, .DefaultKind = D::cdFolder,
     .LogPrefix = "---путь до перечня "},
    {.Section = "Directories", .Key = "IS", .Field = &S::FDirPD, .DefaultKind = D::cdFolder, .KeepCommandLine = true,
     .LogPrefix = "---путь до ИСов "},
    {.Section = "Directories", .Key = "Report", .Field = &S::FDirReport, .DefaultKind = D::cdFolder,
     .KeepCommandLine = true, .LogPrefix = "---путь до места сохранения протоколов "},

    {.Section = "SummListServer", .Key = "Name", .Field = &S::FULMachine},
    {.Section = "SummListServer", .Key = "Port", .Field = &S::FULPort},
    {.Section = "SummListServer", .Key = "App", .Field = &S::FULAppName, .Default = "list4",
     .LogPrefix = "---параметры подключения к Велано ", .LogValue = ListServerAddress},
    {.Section = "SummListServer", .Key = "SavePassw", .Field = &S::FSaveULPass, .Default = "0"},
    {.Section = "SummListServer", .Key = "GetLastList", .Field = &S::FGetLastListFromUL, .Default = "0",
     .LogPrefix = "---fGetLastList "},
    {.Section = "SummListServer", .Key = "Login", .Field = &S::FULLogin, .KeptWhen = &S::FSaveULPass},
    {.Section = "SummListServer", .Key = "Password", .Field = &S::FULPass, .KeptWhen = &S::FSaveULPass},
    {.Section = "SummListServer", .Key = "Connect", .Field = &S::FUseUL, .Default = "0",
     .LogPrefix = "---fPerechDBOption "},

    {.Section = "Variables", .Key = "Year", .Field = &S::FYear, .DefaultKind = D::cdCurrentYear,
     .LogPrefix = "---fYear "},
    {.Section = "Variables", .Key = "Period", .Field = &S::FPeriod, .Default = "4", .LogPrefix = "---fPeriod "},
    {.Section = "Variables", .Key = "PENS", .Field = &S::fPensOption, .Default = "0"},

    {.Section = "Options", .Key = "TerritoryControl", .Field = &S::fCompareTerrCodes, .Default = "0",
     .LogPrefix = "---fTerritoryControl "},
    {.Section = "Options", .Key = "TerritoryControlExtendedMode", .Field = &S::FCompareTerrCodesExtMode,
     .Default = "0", .ListsFollow = true},
    {.Section = "Options", .Key = "Staff", .Field = &S::FCompareWithListStaff, .Default = "1",
     .LogPrefix = "---fStaffOption "},
    {.Section = "Options", .Key = "NameList", .Field = &S::FCompareWithListNameList, .Default = "1",
     .LogPrefix = "---fNamesListOption "},
    {.Section = "Options", .Key = "Accumulate", .Field = &S::FAccumulateOption, .Default = "0",
     .LogPrefix = "---fAccumulateOption "},
    {.Section = "Options", .Key = "WithList", .Field = &S::FCompareWithList, .Default = "1",
     .LogPrefix = "---fMorvelWithList "},
    {.Section = "Options", .Key = "Debug", .Field = &S::FDebug, .Default = "0", .LogPrefix = "---fDebug "},
    {.Section = "Options", .Key = "CheckPerFormat", .Field = &S::FCheckPerFormat, .Default = "1",
     .LogPrefix = "---CheckPerFormat "},

    {.Section = "CrossListServer", .Key = "Login", .Field = &S::FCrossUserDB, .KeptWhen = &S::FCrossSavePass},
    {.Section = "CrossListServer", .Key = "Password", .Field = &S::FCrossPasswordDB, .KeptWhen = &S::FCrossSavePass},
    {.Section = "CrossListServer", .Key = "Name", .Field = &S::FCrossServerName},
    {.Section = "CrossListServer", .Key = "Port", .Field = &S::FCrossServerPort},
    {.Section = "CrossListServer", .Key = "Base", .Field = &S::FCrossServerBase},
    {.Section = "CrossListServer", .Key = "DateLastUpdate", .Field = &S::FCrossDateLastUpdate},
    {.Section = "CrossListServer", .Key = "AutoUpdate", .Field = &S::FCrossAutoUpdate, .Default = "0"},
    {.Section = "CrossListServer", .Key = "SavePassw", .Field = &S::FCrossSavePass, .Default = "0"},
};

std::string Quoted(const std::string& prefix, const std::string& value) { return prefix + "\"" + value + "\""; }

bool FileExists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

std::string DefaultText(const TConfigKey& k) {
  switch (k.DefaultKind) {
    case D::cdFolder: return DefaultFolderSetting();
    case D::cdCurrentYear: return IntToStr(YearOf(Today()));
    case D::cdText: break;
  }
  return k.Default;
}

// Stores the key's value (or its default) into the setting.
void ReadKey(const TIniFile& ini, const TConfigKey& k, TSettings& s) {
  const std::string fallback = DefaultText(k);
  std::visit(
      [&](auto field) {
        using T = std::remove_cvref_t<decltype(s.*field)>;
        if constexpr (std::is_same_v<T, std::string>) {
          if (k.KeepCommandLine && !(s.*field).empty()) return;
          s.*field = ini.ReadString(k.Section, k.Key, fallback);
        } else if constexpr (std::is_same_v<T, bool>) {
          s.*field = ini.ReadBool(k.Section, k.Key, StrToIntDef(fallback, 0) != 0);
        } else if constexpr (std::is_same_v<T, int>) {
          s.*field = ini.ReadInteger(k.Section, k.Key, StrToIntDef(fallback, 0));
        } else {
          TDateTime value = 0;
          const std::optional<std::string> text = ini.Value(k.Section, k.Key);
          s.*field = text && TryDateStrToDateTime(*text, value) ? value : 0;
        }
      },
      k.Field);
}

void WriteKey(TIniFile& ini, const TConfigKey& k, const TSettings& s) {
  std::visit(
      [&](auto field) {
        using T = std::remove_cvref_t<decltype(s.*field)>;
        if constexpr (std::is_same_v<T, std::string>) {
          ini.WriteString(k.Section, k.Key, k.KeptWhen == nullptr || s.*k.KeptWhen ? s.*field : std::string());
        } else if constexpr (std::is_same_v<T, bool>) {
          ini.WriteBool(k.Section, k.Key, s.*field);
        } else if constexpr (std::is_same_v<T, int>) {
          ini.WriteInteger(k.Section, k.Key, s.*field);
        } else {
          ini.WriteString(k.Section, k.Key, DateTimeToDateStr(s.*field));
        }
      },
      k.Field);
}

// The value as the log shows it: Booleans as "-1" or "0", numbers in decimal.
std::string LogText(const TConfigKey& k, const TSettings& s) {
  if (k.LogValue != nullptr) return k.LogValue(s);
  return std::visit(
      [&](auto field) -> std::string {
        using T = std::remove_cvref_t<decltype(s.*field)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return s.*field;
        } else if constexpr (std::is_same_v<T, bool>) {
          return BoolLogText(s.*field);
        } else if constexpr (std::is_same_v<T, int>) {
          return IntToStr(s.*field);
        } else {
          return DateTimeToDateStr(s.*field);
        }
      },
      k.Field);
}

}  // namespace

std::string DefaultFolderSetting() {
#ifdef _WIN32
  return "c:\\";
#else
  return "/";
#endif
}

std::span<const TConfigKey> ConfigKeys() { return kConfigKeys; }

void ReadConfigFile(const std::filesystem::path& dataFolder, TSettings& s, const TLogLine& log) {
  const std::filesystem::path iniPath = dataFolder / kConfigFileName;
  const TIniFile ini(PathToUtf8(iniPath));
  log(Quoted("---путь до файла настроек ", PathToUtf8(iniPath)));

  for (const TConfigKey& k : kConfigKeys) {
    ReadKey(ini, k, s);
    if (k.LogPrefix != nullptr) log(Quoted(k.LogPrefix, LogText(k, s)));
    if (!k.ListsFollow) continue;
    const std::filesystem::path rightList = dataFolder / kRightListFileName;
    log(Quoted("---fTerrCodeRightList ", PathToUtf8(rightList)));
    if (FileExists(rightList)) s.TerrCodeRightListLoadFromFile(PathToUtf8(rightList));
    const std::filesystem::path crossList = dataFolder / kCrossingListFileName;
    if (FileExists(crossList)) s.CrossListLoadFromFile(PathToUtf8(crossList));
  }
}

bool WriteConfigFile(const std::filesystem::path& dataFolder, TSettings& s) {
  try {
    TIniFile ini(PathToUtf8(dataFolder / kConfigFileName));
    for (const TConfigKey& k : kConfigKeys) {
      WriteKey(ini, k, s);
      if (!k.ListsFollow) continue;
      s.TerrCodeRightListSaveToFile(PathToUtf8(dataFolder / kRightListFileName));
      s.CrossListSaveToFile(PathToUtf8(dataFolder / kCrossingListFileName));
    }
    return ini.UpdateFile();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace morvel
