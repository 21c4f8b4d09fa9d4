// The run controllers: preparation of the process for a run, the parameter check
// and the run itself. The windowed controller lives in the user interface.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/progress.h"
#include "config/classifiers.h"
#include "config/settings.h"
#include "log/logging_object.h"

namespace morvel {

class TProtocolFormer;
class TRunFolder;
class TSearcher;
class TVerification;

class TWorkManager : public TLoggingObject {
 public:
  explicit TWorkManager(bool portableMode);
  ~TWorkManager() override;
  TWorkManager(const TWorkManager&) = delete;
  TWorkManager& operator=(const TWorkManager&) = delete;

  // The common preparation: formats, Temp folder, configuration file, logger and
  // classifiers. The descendants run their mode after it.
  virtual void Prepare();
  // One message per problem in the run parameters; empty when the run may start.
  virtual std::vector<std::string> CheckSettings();

  // Makes the searcher of the next run, with the run's own folder under the
  // data folder's Temp, unless the run has them already.
  void createSearcher();
  // One complete run, from the search for input files to the written protocol
  // and the exit code. The searcher, the protocol writer and the run's folder
  // are gone afterwards, also when the run ends by an exception, so the next
  // run starts afresh.
  void doWork();
  // The progress callback of the next run; the searcher reports through it too.
  void SetProgress(TProgressUpdate progress);
  // What the main window shows as the chosen year and period; empty for its
  // first entry ("не имеет значения"). The protocol's option list prints them.
  void SetChoiceTexts(std::string yearText, std::string periodText);

  void ReadIni();
  bool WriteIni();
  void CopyDefaultFile(const std::string& fileName);
  void CopyDefaultFiles();
  std::string UpdateCrossList();
  void LoadClassifiers();
  // The temporary protocols that killed runs left in the report folder.
  void RemoveLeftTemporaryProtocols();

  // Whether the configuration file and both text lists were read to their end:
  // only then may a save replace them.
  bool ConfigRead() const { return fConfigRead; }
  const std::filesystem::path& AppDataDir() const { return FAppDataDir; }
  const std::string& ReportFile() const { return fReportFile; }
  TSearcher* Searcher() const { return fSearcher.get(); }
  const TClassifiers& ClassifierLists() const { return fClassifiers; }

 protected:
  std::unique_ptr<TProtocolFormer> fProtocolFormer;
  TSettings& fSettings;
  std::unique_ptr<TRunFolder> fRunFolder;
  std::unique_ptr<TSearcher> fSearcher;
  std::filesystem::path FAppDataDir;
  std::string fReportFile;
  bool fConfigRead = false;
  // The process ends after this run (headless mode): the run's findings and
  // persons are left to the end of the process instead of being freed.
  bool fLastRunOfProcess = false;

 private:
  // The run's own folder under the data folder's Temp, or under the system's
  // temporary folder when Temp cannot be written. Raises when neither can.
  std::unique_ptr<TRunFolder> MakeRunFolder();
  // Logs once where the run folder went when it is not the data folder's.
  void LogRunFolderNote();
  // The steps of doWork.
  void RunVerifications();
  void ProcessSet(std::size_t index, bool hasAtLeastOneInitPack, int& verificationCount);
  void Progress(int min, int max, int curr, const std::string& message);

  // The verified sets' findings live until the whole protocol is written.
  std::vector<std::unique_ptr<TVerification>> fVerifications;
  TProgressUpdate fProgress;
  std::string fYearChoiceText;
  std::string fPeriodChoiceText;
  std::string fRunFolderNote;
  TClassifiers fClassifiers;
  TClassifiersScope fClassifiersScope;
};

// The headless mode: one run, reported through the protocol, the log and the exit
// code.
class TWorkManagerBPI : public TWorkManager {
 public:
  using TWorkManager::TWorkManager;

  void Prepare() override;
  std::vector<std::string> CheckSettings() override;
  // The progress callback of the headless mode: nobody watches, so it ignores all.
  static void ProgressBPI(int Min, int Max, int Curr, const std::string& Messag);
};

}  // namespace morvel
