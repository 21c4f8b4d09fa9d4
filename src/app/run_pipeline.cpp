// One reconciliation run: the search for input files, the verification of every
// set, the protocol and the exit code.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/searcher.h"
#include "app/work_manager.h"
#include "base/error.h"
#include "base/exit_code.h"
#include "base/paths.h"
#include "base/platform.h"
#include "base/run_folder.h"
#include "base/text.h"
#include "log/logger.h"
#include "log/singleton.h"
#include "protocol/protocol_former.h"
#include "results/table_result.h"
#include "verify/set.h"
#include "verify/verification.h"

namespace morvel {
namespace {

const char kProgressVerification[] = "Ход сверки";

std::unique_ptr<TPDPackData> PackSummary(const TPack& pack) {
  auto data = std::make_unique<TPDPackData>();
  data->fFileName = pack.FileName;
  data->fNum = pack.FPackNum;
  if (pack.BaseData) {
    data->fISType = pack.BaseData->FPDType;
    data->fCategoryCode = pack.BaseData->FCategoryCode;
  }
  data->fDatePack = pack.FPackDate;
  data->fOrgName = pack.FOrgName;
  data->fShortOrgName = pack.FShortOrgName;
  data->fWorkers = std::to_string(pack.Workers.size());
  data->fLgotWorkers = pack.FLgotWorkerCount;
  return data;
}

// Oldest first by calendar date. A pack whose date cannot be read goes after
// the dated ones, in its reading order, instead of failing the whole run.
void SortByPackDate(TPackList& packs) {
  struct Keyed {
    bool dated;
    TDate date;
    std::unique_ptr<TPack> pack;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(packs.size());
  for (auto& pack : packs) {
    TDate date = 0;
    const bool dated = pack->TryGetPackDateAsDate(date);
    keyed.push_back({dated, dated ? date : 0, std::move(pack)});
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    if (a.dated != b.dated) return a.dated;
    return a.dated && a.date < b.date;
  });
  for (std::size_t i = 0; i < packs.size(); ++i) packs[i] = std::move(keyed[i].pack);
}

// Table results number and tag their records before the set lets go of its data.
void TagTables(TResultList& results) {
  for (const auto& result : results)
    if (auto* table = dynamic_cast<TTableResult*>(result.get())) table->TagRecords();
}

// The code of a verified set from its findings: errors make 30, except that a
// set waiting for a confirmation (12, 22, 23) keeps its code for one error;
// warnings alone make 1.
int SetCode(int code, std::size_t errors, std::size_t warnings) {
  if (errors > 0 && !((code == 12 || code == 22 || code == 23) && errors == 1)) code = 30;
  if (code == 0 && warnings > 0) code = 1;
  return code;
}

}  // namespace

void TWorkManager::SetProgress(TProgressUpdate progress) {
  fProgress = std::move(progress);
  if (fSearcher) fSearcher->managerProgress = fProgress;
}

void TWorkManager::SetChoiceTexts(std::string yearText, std::string periodText) {
  fYearChoiceText = std::move(yearText);
  fPeriodChoiceText = std::move(periodText);
}

void TWorkManager::Progress(int min, int max, int curr, const std::string& message) {
  if (fProgress) fProgress(min, max, curr, message);
}

std::unique_ptr<TRunFolder> TWorkManager::MakeRunFolder() {
  const std::filesystem::path temp = FAppDataDir / "Temp";
  try {
    return std::make_unique<TRunFolder>(temp);
  } catch (const EMorvelError&) {
    // A data folder that cannot be written (a read-only profile, a portable
    // copy on a read-only share) needs no other write of a run: the run works
    // in the system's temporary folder instead of failing.
  }
  const std::filesystem::path fallback = UserTempFolder();
  if (fallback.empty()) {
    throw EMorvelError("Не удается создать рабочий каталог сверки в \"" + PathToUtf8(temp) + "\"");
  }
  // Nothing cleans this folder at start-up; what ended runs left goes now.
  CleanTempFolder(fallback);
  auto folder = std::make_unique<TRunFolder>(fallback);
  fRunFolderNote = "---каталог \"" + PathToUtf8(temp) + "\" недоступен для записи, рабочий каталог сверки: \"" +
                   PathToUtf8(folder->Path()) + "\"";
  return folder;
}

void TWorkManager::LogRunFolderNote() {
  // The headless mode makes its run folder before the logger is set up; the
  // note waits for it.
  if (fRunFolderNote.empty() || !TSingleton::GetInstance<TLogger>().Initialized()) return;
  try {
    // An error entry, so that the administrator sees it without the debug log.
    Log(fRunFolderNote, true);
  } catch (const std::exception&) {
    // A data folder that takes no working files takes no log either; the note
    // must not end the run it is about.
  }
  fRunFolderNote.clear();
}

void TWorkManager::createSearcher() {
  if (!fRunFolder) fRunFolder = MakeRunFolder();
  LogRunFolderNote();
  if (!fSearcher) fSearcher = std::make_unique<TSearcher>(fRunFolder->Path());
  fSearcher->managerProgress = fProgress;
}

void TWorkManager::doWork() {
  createSearcher();
  // Whatever way the run ends, the next one starts from a fresh searcher, writer
  // and folder (the folder takes this run's part files and unpacked archives).
  struct RunEnd {
    TWorkManager& m;
    ~RunEnd() {
      m.fVerifications.clear();
      m.fProtocolFormer.reset();
      m.fSearcher.reset();
      m.fRunFolder.reset();
    }
  } runEnd{*this};

  // Part files of an earlier run would be appended to; the run's own folder
  // is new, but a folder reused by a failed run is not.
  for (const char* part : {"body.part", "footer.part", "corr.part", "init.part"}) {
    std::error_code ec;
    std::filesystem::remove(fRunFolder->Path() / part, ec);
  }

  fSearcher->Run();
  TProtocolRunParams params;
  params.PartFolder = fRunFolder->Path();
  params.YearChoiceText = fYearChoiceText;
  params.PeriodChoiceText = fPeriodChoiceText;
  fProtocolFormer = std::make_unique<TProtocolFormer>(fSearcher->fSearchErrors, fSearcher->fDiscardedPDFiles,
                                                      fSearcher->fUCPProtocolFileName, params);

  if (!fSearcher->fSets.empty()) {
    fSettings.FYear = fSearcher->fSets.front()->Year();
    fSettings.FPeriod = fSearcher->fSets.front()->Period();
  } else if (!fSearcher->fSearchErrors.empty() && ExitCode() == 0) {
    // Only when the search itself set no code: a folder without any XML file
    // is reported as such (10), not as a set that needs confirming (11).
    SetExitCode(11);
  }

  if (ExitCode() != 0) {
    Log("---до запуска основного алгоритма анализа возникли проблемы ExitCode=" + IntToStr(ExitCode()));
    Log("***сформировать bad протокол");
    fReportFile = fProtocolFormer->printBadProtocol(fSearcher->fSearchErrors, ExitCode());
    Log("***сформирован bad протокол, exitCode=" + IntToStr(ExitCode()));
    return;
  }

  RunVerifications();
}

void TWorkManager::RunVerifications() {
  Log("//////////////////////////////////");
  Log("***запуск основного алгоритма анализа");
  TSetList& sets = fSearcher->fSets;
  Log("***перебираем сформированные периоды, всего их: " + IntToStr(static_cast<int>(sets.size())));
  const bool hasAtLeastOneInitPack =
      std::any_of(sets.begin(), sets.end(), [](const auto& set) { return !set->InitPacks().empty(); });

  const int setCount = static_cast<int>(sets.size());
  Progress(0, setCount, 0, kProgressVerification);
  int verificationCount = 0;
  // From the last set to the first; each set is freed once its part of the
  // protocol is written, so only one set's full data is held at a time.
  for (std::size_t index = sets.size(); index-- > 0;) {
    StopWhenTerminationRequested();
    ProcessSet(index, hasAtLeastOneInitPack, verificationCount);
    Progress(0, setCount, setCount - static_cast<int>(index), kProgressVerification);
  }
  Log("***перебор сформированных периодов окончен");
  Progress(0, 1, 1, kProgressVerification);
  Progress(0, 1, 0, "Сохранение протокола");
  fReportFile = fProtocolFormer->PrintProtocol(verificationCount);
  fProtocolFormer.reset();
  if (fLastRunOfProcess) LeaveToProcessExit(std::move(fVerifications));
  fVerifications.clear();
  Progress(0, 1, 1, "Сохранение протокола");
}

void TWorkManager::ProcessSet(std::size_t index, bool hasAtLeastOneInitPack, int& verificationCount) {
  TSet& set = *fSearcher->fSets[index];
  if (!set.InitPacks().empty()) set.FHasInitPacks = true;

  auto verification = std::make_unique<TVerification>();
  TVerification& v = *verification;
  v.fWithPositions = fSettings.FCompareWithListStaff;
  v.fWithNameList = fSettings.FCompareWithListNameList;
  v.fYear = set.Year();
  v.fPeriod = set.Period();
  for (const auto& pack : set.InitPacks()) v.fPDData->FInitPacks.push_back(PackSummary(*pack));
  if (!set.CorrPacks().empty()) {
    SortByPackDate(set.CorrPacks());
    for (const auto& pack : set.CorrPacks()) v.fPDData->FCorrPacks.push_back(PackSummary(*pack));
  }

  TProtocolFormer& protocol = *fProtocolFormer;
  if (v.fYear > protocol.fCurrentYear) {
    protocol.fCurrentYear = v.fYear;
    protocol.fCurrentPeriod = v.fPeriod;
  } else if (v.fYear == protocol.fCurrentYear && v.fPeriod > protocol.fCurrentPeriod) {
    protocol.fCurrentPeriod = v.fPeriod;
  }

  if (!set.InitPacks().empty()) {
    for (const auto& pack : set.InitPacks()) v.fFileNames.push_back(pack->FileName);
    for (const auto& pack : set.CorrPacks()) v.fFileNames.push_back(pack->FileName);
  }

  if (fSettings.fCompareTerrCodes) {
    Log("***проверка права проставления терр кодов");
    for (const TPackList* packs : {&set.InitPacks(), &set.CorrPacks()}) {
      for (const auto& pack : *packs) {
        for (auto& data : pack->FTerrCodes) v.fTerrCodes.push_back(std::move(data));
        pack->FTerrCodes.clear();
      }
    }
    v.verifyTerrCodes(set);
    Log("***проверка права проставления территориальных кодов завершена");
  }

  Log("***сборка данных об ошибках заполнения ИС");
  for (const TPackList* packs : {&set.InitPacks(), &set.CorrPacks()})
    for (const auto& pack : *packs) v.getParseErrorsAndWarnings(*pack, set.List());
  Log("***сборка данных об ошибках заполнения ИС завершена");

  int code = 0;
  if (fSettings.FCompareWithList) {
    Log("***анализируем сэт");
    if (set.IsVerificationPossible(hasAtLeastOneInitPack) != 0) {
      v.fECode = set.IsVerificationPossible(hasAtLeastOneInitPack);
      v.fPreMorvelResult = std::make_unique<TPreMorvelResult>(v.fECode);
    }
    Log("***анализ сэта завершен");
    Log("***подготавливаем сэт для сверки");
    if (set.IsVerificationPossible(hasAtLeastOneInitPack) != 25) {
      const auto workers = set.UnionISWorkers(v.FErrorResults, v.fWarningResults);
      v.fCorrPacksOnly = (set.InitPacks().empty() && !set.CorrPacks().empty()) || set.HasSPV1();
      Log("***подготовка сэта для сверки завершена");
      Log("***выполнение сверки");
      v.verify(set.List(), workers, set.Year(), set.Period());
      Log("***выполнение сверки завершено");
    }
    Log("***анализ результата сверки сэта");
    v.fECode = SetCode(v.fECode, v.FErrorResults.size(), v.fWarningResults.size());
    code = v.fECode;
    Log("---результат по сэту ,eCode=" + IntToStr(v.fECode));
    Log("***анализ результата сверки сэта завершен");
    Log("***работа с сэтом №" + IntToStr(static_cast<int>(index)) + " завершена");
  }

  TagTables(v.FErrorResults);
  TagTables(v.fWarningResults);

  if (const TTheList* list = set.List()) {
    v.fListData = std::make_unique<TListData>();
    v.fListData->fFileName = list->fFileName;
    v.fListData->fOrgName = list->fOrgName;
    v.fListData->fWorkerCount = static_cast<int>(list->fWorkers.size());
  }

  protocol.fVerifiedPeople += set.CountVerifiedpeople();
  // The last set of a headless run is left whole to the end of the process;
  // any other set lets go of what no finding refers to before its part of the
  // protocol is written, and of the rest after it.
  const bool leftToExit = fLastRunOfProcess && index == 0;
  if (!leftToExit) {
    set.UniteList();
    set.UniteIS();
    set.FlushResults(true);
  }

  Log("***анализ результатов сверок сэтов");
  if (code > ExitCode()) SetExitCode(code);
  Log("***анализ результатов сверок сэтов завершен");

  Log("***формирование части протокола");
  protocol.formProtocolPart(v);
  Log("***часть протокола сформирована");

  if (leftToExit) {
    LeaveToProcessExit(std::move(fSearcher->fSets[index]));
  } else {
    set.FlushResults(false);
  }
  fSearcher->fSets.erase(fSearcher->fSets.begin() + static_cast<std::ptrdiff_t>(index));
  ++verificationCount;
  fVerifications.push_back(std::move(verification));
}

}  // namespace morvel
