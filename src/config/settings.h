// Every parameter of a run, the two auxiliary lists and the program's version
// information, in one process-wide object.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/dates.h"
#include "config/crossing_list.h"
#include "config/rights_list.h"
#include "log/singleton.h"

namespace morvel {

// The string table of the program file's version information.
struct TExeData {
  std::string CompanyName;
  std::string FileDescription;
  std::string FileVersion;
  std::string InternalName;
  std::string LegalCopyright;
  std::string LegalTrademarks;
  std::string OriginalFileName;
  std::string ProductName;
  std::string ProductVersion;
  std::string Comments;
  std::string PrivateBuild;
  std::string SpecialBuild;
};

// Filled from the version constants of the build.
TExeData ReadExeData();

enum class TMode { mWindow, mBPI };

class TSettings : public TSingleton {
 public:
  bool FUseUL = false;
  TExeData FExeData;
  unsigned FNumSettingsWin = 0;
  std::string FDirList;
  std::string FDirPD;
  std::string FDirReport;
  std::string FULMachine;
  std::string FULPort;
  std::string FULAppName;
  std::string FULLogin;  // encoded
  std::string FULPass;   // encoded
  bool FGetLastListFromUL = false;
  bool FSaveULPass = false;
  TMode FMode = TMode::mWindow;
  std::string FRegNum;
  std::string FOrgName;
  int FPeriod = 0;
  int FYear = 0;
  bool FDebug = false;
  bool FCheckPerFormat = false;
  bool fPensOption = false;
  bool FAccumulateOption = false;
  std::vector<std::unique_ptr<TTerritoryCode>> FTerrCodeRightList;
  bool FCompareWithList = false;
  bool fCompareTerrCodes = false;
  bool FCompareTerrCodesExtMode = false;
  bool FCompareWithListStaff = false;
  bool FCompareWithListNameList = false;
  std::vector<std::unique_ptr<TCrossRec>> FCrossList;
  std::string FCrossUserDB;      // encoded
  std::string FCrossPasswordDB;  // encoded
  std::string FCrossServerName;
  std::string FCrossServerBase;
  std::string FCrossServerPort;
  TDateTime FCrossDateLastUpdate = 0;
  bool FCrossAutoUpdate = false;
  bool FCrossSavePass = false;
  bool FHasXMLClassifiers = false;

  static TSettings& GetInstance() { return TSingleton::GetInstance<TSettings>(); }

  const std::string& Version() const { return FExeData.FileVersion; }
  const std::string& FullVersion() const { return FExeData.FileVersion; }
  const std::string& AppDate() const { return FExeData.Comments; }
  bool UseUL() const { return FUseUL; }

  // Report folder, "MORVEL-", year, "-", period, "A" when cumulative, "-REGNO-"
  // and the registration number; the protocol writer adds the extension.
  std::string GetProtocolFileName() const;
  // 2010 counts half-years (1 or 2); other years keep the period.
  int periodAsSZV() const;
  // The List-server request for one registration number, year and quarter.
  std::string GetULQueryURL(const std::string& regNum, int year, int period) const;

  // Territorial-code rights list.
  void TerrCodeRightListLoadFromFile(const std::string& fileName);
  void TerrCodeRightListSaveToFile(const std::string& fileName);
  std::vector<std::string> TerrCodeRightListGetList() const;
  bool hasNordRight(const std::string& parTerrCode, TDate workPeriodBeginDate, TDate workPeriodEndDate,
                    int year, int period) const;

  // Re-registration crossing list.
  void CrossListLoadFromFile(const std::string& fileName);
  void CrossListSaveToFile(const std::string& fileName);
  void CrossListAddElement(const std::string& sRN, const std::string& eRN, int DCY, int DCP);
  std::string GetActualRegNum(int year, int period) const;

 protected:
  void Create() override;

 private:
  friend class TSingleton;
  TSettings() = default;
};

// Period routines shared by the readers and the checks. M is 12 for period 0 or 4,
// 3 for 1, 6 for 2, 9 for 3 and `month` for any other period.
TDate PeriodQuarterBegin(int year, int period, int month);
TDate PeriodEndDate(int year, int period, int month);
// Empty or "0" gives 4; a decimal number gives its value; anything else 4.
int PeriodCodeToInt(const std::string& text);
// The last quarter a report of that year and period code covers; -1 when the code
// is not valid for the year.
int ReportPeriodToQuarter(int year, int code);

}  // namespace morvel
