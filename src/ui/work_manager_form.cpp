#include "ui/work_manager_form.h"

#include <QApplication>
#include <QString>

#include <system_error>

#include "base/platform.h"
#include "ui/main_window.h"
#include "ui/russian_interface.h"

namespace morvel {
namespace {
TWorkManagerForm* gCurrent = nullptr;
}

TWorkManagerForm::TWorkManagerForm(bool portableMode, int& argc, char** argv)
    : TWorkManager(portableMode), fArgc(argc), fArgv(argv) {}

TWorkManagerForm::~TWorkManagerForm() {
  if (ConfigRead()) WriteIni();
  if (gCurrent == this) gCurrent = nullptr;
  fMainWindow.reset();
  // A QApplication made by someone else (a test's) stays theirs.
  fApplication.reset();
}

TWorkManagerForm* TWorkManagerForm::Current() { return gCurrent; }

void TWorkManagerForm::Prepare() {
  TWorkManager::Prepare();
  CreateWindows();
  RunMessageLoop();
}

void TWorkManagerForm::CreateWindows() {
  // The program's own application speaks Russian before its first window exists; a
  // test's application keeps the language its test chose.
  if (QApplication::instance() == nullptr) {
    fApplication = std::make_unique<QApplication>(fArgc, fArgv);
    UseRussianInterface(*fApplication);
  }
  gCurrent = this;
  fMainWindow = std::make_unique<TMainWindow>(*this);
}

int TWorkManagerForm::RunMessageLoop() {
  fMainWindow->show();
  return QApplication::exec();
}

std::vector<std::string> TWorkManagerForm::CheckSettings() {
  std::vector<std::string> messages = TWorkManager::CheckSettings();
  if (fSettings.FCompareWithList && !fSettings.FUseUL) {
    std::error_code ec;
    if (fSettings.FDirList.empty()) {
      messages.push_back("Перед началом сверки укажите путь к файлу Перечня!");
    } else if (!std::filesystem::is_directory(PathFromUtf8(fSettings.FDirList), ec)) {
      messages.push_back("Проверьте путь к файлу Перечня! Такого каталога не существует!");
    }
  }
  return messages;
}

}  // namespace morvel
