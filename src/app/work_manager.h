// The run controllers: preparation of the process for a run, the parameter check
// and the run itself. The windowed controller lives in the user interface.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config/classifiers.h"
#include "config/settings.h"
#include "log/logging_object.h"

namespace morvel {

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

  void createSearcher();
  // One complete run, from the search for input files to the written protocol.
  void doWork();

  void ReadIni();
  bool WriteIni();
  void CopyDefaultFile(const std::string& fileName);
  void CopyDefaultFiles();
  std::string UpdateCrossList();
  void LoadClassifiers();

  const std::filesystem::path& AppDataDir() const { return FAppDataDir; }
  const std::string& ReportFile() const { return fReportFile; }
  const TClassifiers& ClassifierLists() const { return fClassifiers; }

 protected:
  TSettings& fSettings;
  std::filesystem::path FAppDataDir;
  std::string fReportFile;

 private:
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
