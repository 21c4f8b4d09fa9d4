#include "ui/work_manager_form.h"

#include <QApplication>
#include <QMainWindow>
#include <QString>

#include <system_error>

namespace morvel {
namespace {
TWorkManagerForm* gCurrent = nullptr;
}

TWorkManagerForm::TWorkManagerForm(bool portableMode, int& argc, char** argv)
    : TWorkManager(portableMode), fArgc(argc), fArgv(argv) {}

TWorkManagerForm::~TWorkManagerForm() {
  WriteIni();
  if (gCurrent == this) gCurrent = nullptr;
  fMainWindow.reset();
  fApplication.reset();
}

TWorkManagerForm* TWorkManagerForm::Current() { return gCurrent; }

void TWorkManagerForm::Prepare() {
  TWorkManager::Prepare();
  CreateWindows();
  RunMessageLoop();
}

void TWorkManagerForm::CreateWindows() {
  if (!fApplication) fApplication = std::make_unique<QApplication>(fArgc, fArgv);
  gCurrent = this;
  fMainWindow = std::make_unique<QMainWindow>();
  fMainWindow->setWindowTitle(QString::fromUtf8(("Морвель v" + fSettings.Version()).c_str()));
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
    } else if (!std::filesystem::is_directory(fSettings.FDirList, ec)) {
      messages.push_back("Проверьте путь к файлу Перечня! Такого каталога не существует!");
    }
  }
  return messages;
}

}  // namespace morvel
