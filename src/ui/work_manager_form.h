// The windowed run controller: prepares the process, shows the main window and
// serves every run started from it until the window closes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/work_manager.h"

class QApplication;

namespace morvel {

class TMainWindow;

class TWorkManagerForm : public TWorkManager {
 public:
  TWorkManagerForm(bool portableMode, int& argc, char** argv);
  // Saves the configuration file before the common destruction, unless the
  // preparation stopped before the file and the two lists had been read whole:
  // what was read so far must not replace the user's files.
  ~TWorkManagerForm() override;

  void Prepare() override;
  std::vector<std::string> CheckSettings() override;

  // The parts of Prepare, for tests that drive the windows without the loop.
  void CreateWindows();
  int RunMessageLoop();
  TMainWindow* MainWindow() const { return fMainWindow.get(); }

  // The controller of the windowed mode, for the main window's handlers.
  static TWorkManagerForm* Current();

 private:
  int& fArgc;
  char** fArgv;
  std::unique_ptr<QApplication> fApplication;
  std::unique_ptr<TMainWindow> fMainWindow;
};

}  // namespace morvel
