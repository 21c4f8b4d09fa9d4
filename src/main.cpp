// Program entry: the two singletons, the process formats, the command line, and
// one run controller for the chosen mode.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/work_manager.h"
#include "base/error.h"
#include "base/exit_code.h"
#include "base/format_settings.h"
#include "base/platform.h"
#include "config/settings.h"
#include "log/logger.h"
#ifndef MORVEL_NO_UI
#include "ui/work_manager_form.h"
#endif

namespace {

std::unique_ptr<morvel::TWorkManager> CreateManager(const morvel::TCommandLine& mode, morvel::TLogger& logger,
                                                    int& argc, char** argv) {
  if (mode.BPI) {
    logger.AddEntry("***программа запущена в режиме БПИ", false);
    return std::make_unique<morvel::TWorkManagerBPI>(mode.Portable);
  }
  logger.AddEntry("***программа запущена в оконном режиме", false);
#ifdef MORVEL_NO_UI
  (void)argc;
  (void)argv;
  throw morvel::EMorvelError("This build has no windowed mode");
#else
  return std::make_unique<morvel::TWorkManagerForm>(mode.Portable, argc, argv);
#endif
}

void ReportCriticalError(morvel::TLogger& logger, const std::exception* e, bool withTrace = true) {
  // The report itself must not fail the process: whatever happens here, the exit
  // code stays the one of a critical error.
  try {
    if (e != nullptr && withTrace) logger.LogException(*e);
    if (e != nullptr && !withTrace) logger.AddEntry(std::string("Произошла ошибка: ") + e->what(), true);
    logger.AddEntry("***критическая ошибка", true);
  } catch (...) {
  }
  std::fprintf(stderr, "morvel: critical error%s%s\n", e != nullptr ? ": " : "", e != nullptr ? e->what() : "");
  morvel::SetExitCode(29);
}

}  // namespace

int main(int argc, char** argv) {
  morvel::RestartWithHugePageHeap(argv);
  morvel::TSettings& settings = morvel::TSettings::GetInstance();
  morvel::TLogger& logger = morvel::TSingleton::GetInstance<morvel::TLogger>();
  morvel::SetFormatSettings(0);
  try {
    const morvel::TCommandLine mode = morvel::ScanCommandLine(morvel::CommandLineWords(argc, argv), settings);
    std::unique_ptr<morvel::TWorkManager> manager = CreateManager(mode, logger, argc, argv);
    manager->Prepare();
    manager.reset();
  } catch (const morvel::ETerminationRequested& e) {
    // Asked to end: the run's own clean-up has run on the way here. Nothing
    // for the developers, so no trace file.
    ReportCriticalError(logger, &e, false);
  } catch (const std::exception& e) {
    ReportCriticalError(logger, &e);
  } catch (...) {
    ReportCriticalError(logger, nullptr);
  }
  return morvel::ExitCode();
}
