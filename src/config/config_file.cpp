#include "config/config_file.h"

#include <system_error>

#include "base/dates.h"
#include "base/text.h"
#include "config/ini_file.h"

namespace morvel {
namespace {

std::string Quoted(const std::string& prefix, const std::string& value) { return prefix + "\"" + value + "\""; }

bool FileExists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string DefaultFolderSetting() {
#ifdef _WIN32
  return "c:\\";
#else
  return "/";
#endif
}

void ReadConfigFile(const std::filesystem::path& dataFolder, TSettings& s, const TLogLine& log) {
  const std::filesystem::path iniPath = dataFolder / kConfigFileName;
  const TIniFile ini(iniPath.string());
  log(Quoted("---путь до файла настроек ", iniPath.string()));

  const std::string folder = DefaultFolderSetting();
  s.FDirList = ini.ReadString("Directories", "Perech", folder);
  log(Quoted("---путь до перечня ", s.FDirList));
  if (s.FDirPD.empty()) s.FDirPD = ini.ReadString("Directories", "IS", folder);
  log(Quoted("---путь до ИСов ", s.FDirPD));
  if (s.FDirReport.empty()) s.FDirReport = ini.ReadString("Directories", "Report", folder);
  log(Quoted("---путь до места сохранения протоколов ", s.FDirReport));

  s.FULMachine = ini.ReadString("SummListServer", "Name", "");
  s.FULPort = ini.ReadString("SummListServer", "Port", "");
  s.FULAppName = ini.ReadString("SummListServer", "App", "list4");
  s.FULLogin = ini.ReadString("SummListServer", "Login", "");
  s.FULPass = ini.ReadString("SummListServer", "Password", "");
  s.FSaveULPass = ini.ReadBool("SummListServer", "SavePassw", false);
  log(Quoted("---параметры подключения к Велано ", s.FULMachine + ":" + s.FULPort + "/" + s.FULAppName));
  s.FGetLastListFromUL = ini.ReadBool("SummListServer", "GetLastList", false);
  log(Quoted("---fGetLastList ", BoolLogText(s.FGetLastListFromUL)));
  s.FUseUL = ini.ReadBool("SummListServer", "Connect", false);
  log(Quoted("---fPerechDBOption ", BoolLogText(s.FUseUL)));

  s.FYear = YearOf(Today());
  s.FYear = ini.ReadInteger("Variables", "Year", s.FYear);
  log(Quoted("---fYear ", IntToStr(s.FYear)));
  s.FPeriod = ini.ReadInteger("Variables", "Period", 4);
  log(Quoted("---fPeriod ", IntToStr(s.FPeriod)));
  s.fPensOption = ini.ReadBool("Variables", "PENS", false);

  s.fCompareTerrCodes = ini.ReadBool("Options", "TerritoryControl", false);
  s.FCompareTerrCodesExtMode = ini.ReadBool("Options", "TerritoryControlExtendedMode", false);
  log(Quoted("---fTerritoryControl ", BoolLogText(s.fCompareTerrCodes)));

  const std::filesystem::path rightList = dataFolder / kRightListFileName;
  log(Quoted("---fTerrCodeRightList ", rightList.string()));
  if (FileExists(rightList)) s.TerrCodeRightListLoadFromFile(rightList.string());
  const std::filesystem::path crossList = dataFolder / kCrossingListFileName;
  if (FileExists(crossList)) s.CrossListLoadFromFile(crossList.string());

  s.FCompareWithListStaff = ini.ReadBool("Options", "Staff", true);
  log(Quoted("---fStaffOption ", BoolLogText(s.FCompareWithListStaff)));
  s.FCompareWithListNameList = ini.ReadBool("Options", "NameList", true);
  log(Quoted("---fNamesListOption ", BoolLogText(s.FCompareWithListNameList)));
  s.FAccumulateOption = ini.ReadBool("Options", "Accumulate", false);
  log(Quoted("---fAccumulateOption ", BoolLogText(s.FAccumulateOption)));
  s.FCompareWithList = ini.ReadBool("Options", "WithList", true);
  log(Quoted("---fMorvelWithList ", BoolLogText(s.FCompareWithList)));
  s.FDebug = ini.ReadBool("Options", "Debug", false);
  log(Quoted("---fDebug ", BoolLogText(s.FDebug)));
  s.FCheckPerFormat = ini.ReadBool("Options", "CheckPerFormat", true);
  log(Quoted("---CheckPerFormat ", BoolLogText(s.FCheckPerFormat)));

  s.FCrossUserDB = ini.ReadString("CrossListServer", "Login", "");
  s.FCrossPasswordDB = ini.ReadString("CrossListServer", "Password", "");
  s.FCrossServerName = ini.ReadString("CrossListServer", "Name", "");
  s.FCrossServerPort = ini.ReadString("CrossListServer", "Port", "");
  s.FCrossServerBase = ini.ReadString("CrossListServer", "Base", "");
  TDateTime lastUpdate = 0;
  const std::optional<std::string> lastUpdateText = ini.Value("CrossListServer", "DateLastUpdate");
  s.FCrossDateLastUpdate =
      lastUpdateText && TryDateStrToDateTime(*lastUpdateText, lastUpdate) ? lastUpdate : 0;
  s.FCrossAutoUpdate = ini.ReadBool("CrossListServer", "AutoUpdate", false);
  s.FCrossSavePass = ini.ReadBool("CrossListServer", "SavePassw", false);
}

bool WriteConfigFile(const std::filesystem::path& dataFolder, TSettings& s) {
  try {
    TIniFile ini((dataFolder / kConfigFileName).string());
    ini.WriteString("Directories", "Perech", s.FDirList);
    ini.WriteString("Directories", "IS", s.FDirPD);
    ini.WriteString("Directories", "Report", s.FDirReport);

    ini.WriteString("SummListServer", "Name", s.FULMachine);
    ini.WriteString("SummListServer", "Port", s.FULPort);
    ini.WriteString("SummListServer", "App", s.FULAppName);
    ini.WriteBool("SummListServer", "SavePassw", s.FSaveULPass);
    ini.WriteBool("SummListServer", "GetLastList", s.FGetLastListFromUL);
    ini.WriteString("SummListServer", "Login", s.FSaveULPass ? s.FULLogin : "");
    ini.WriteString("SummListServer", "Password", s.FSaveULPass ? s.FULPass : "");
    ini.WriteBool("SummListServer", "Connect", s.FUseUL);

    ini.WriteInteger("Variables", "Year", s.FYear);
    ini.WriteInteger("Variables", "Period", s.FPeriod);
    ini.WriteBool("Variables", "PENS", s.fPensOption);

    s.TerrCodeRightListSaveToFile((dataFolder / kRightListFileName).string());
    s.CrossListSaveToFile((dataFolder / kCrossingListFileName).string());

    ini.WriteBool("Options", "TerritoryControl", s.fCompareTerrCodes);
    ini.WriteBool("Options", "TerritoryControlExtendedMode", s.FCompareTerrCodesExtMode);
    ini.WriteBool("Options", "Staff", s.FCompareWithListStaff);
    ini.WriteBool("Options", "NameList", s.FCompareWithListNameList);
    ini.WriteBool("Options", "Accumulate", s.FAccumulateOption);
    ini.WriteBool("Options", "WithList", s.FCompareWithList);
    ini.WriteBool("Options", "Debug", s.FDebug);
    ini.WriteBool("Options", "CheckPerFormat", s.FCheckPerFormat);

    ini.WriteString("CrossListServer", "Login", s.FCrossSavePass ? s.FCrossUserDB : "");
    ini.WriteString("CrossListServer", "Password", s.FCrossSavePass ? s.FCrossPasswordDB : "");
    ini.WriteString("CrossListServer", "Name", s.FCrossServerName);
    ini.WriteString("CrossListServer", "Port", s.FCrossServerPort);
    ini.WriteString("CrossListServer", "Base", s.FCrossServerBase);
    ini.WriteString("CrossListServer", "DateLastUpdate", DateTimeToDateStr(s.FCrossDateLastUpdate));
    ini.WriteBool("CrossListServer", "AutoUpdate", s.FCrossAutoUpdate);
    ini.WriteBool("CrossListServer", "SavePassw", s.FCrossSavePass);
    return ini.UpdateFile();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace morvel
