// The main window of the windowed mode: folders, registration number, year,
// period and options of a run, which it writes straight into the settings; the
// start button runs the whole reconciliation and opens the protocol.
#pragma once

#include <QString>

#include <string>

#include "ui/logging_form.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace morvel {

class TAboutBox;
class TErrListForm;
class TLoginForm;
class TRegNumBox;
class TSettings;
class TSettingsForm;
class TWorkManagerForm;

// The name of the user manual beside the program.
inline constexpr const char* kManualFileName = "Морвель - Руководство пользователя.pdf";

class TMainWindow : public TLoggingForm {
  Q_OBJECT

 public:
  explicit TMainWindow(TWorkManagerForm& manager, QWidget* parent = nullptr);
  ~TMainWindow() override;

  // The progress callback of the window's runs: shows the message and the bar at once.
  void ProgressUpdate(int Min, int Max, int Curr, const std::string& Messag);
  // While a run is at work, nothing that could start another one or change the
  // settings takes input.
  bool Running() const { return fRunning; }

  QMenuBar* MainMenu = nullptr;
  QMenu* nFile = nullptr;
  QAction* N1 = nullptr;
  QAction* MnILogs = nullptr;
  QAction* nExit = nullptr;
  QMenu* nInfo = nullptr;
  QAction* N2 = nullptr;
  QAction* nAbout = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QGroupBox* DirBox = nullptr;
  QCheckBox* cbPerechDB = nullptr;
  QLabel* EDirPerechLabel = nullptr;
  QLineEdit* EDirPerech = nullptr;
  QToolButton* BitBtn2 = nullptr;
  QToolButton* BitBtn5 = nullptr;
  QLabel* EDirISLabel = nullptr;
  QLineEdit* EDirIS = nullptr;
  QToolButton* BitBtn3 = nullptr;
  QToolButton* BitBtn6 = nullptr;
  QLabel* EDirProtokolLabel = nullptr;
  QLineEdit* EDirProtokol = nullptr;
  QToolButton* BitBtn4 = nullptr;
  QGroupBox* VarsBox = nullptr;
  QLabel* labRegNum = nullptr;
  QLineEdit* ERegNum = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QLabel* labYear = nullptr;
  QComboBox* CmbYear = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* ComboBoxPeriod = nullptr;
  QGroupBox* OptionsBox = nullptr;
  QRadioButton* rbFactPeriods = nullptr;
  QCheckBox* cbShtat = nullptr;
  QCheckBox* cbNameList = nullptr;
  QGroupBox* StepBox = nullptr;
  QLabel* StepLabel = nullptr;
  QProgressBar* StepProgress = nullptr;
  QPushButton* BitBtn1 = nullptr;

  // The dialogs, created with the window and reused.
  TAboutBox* AboutBox = nullptr;
  TSettingsForm* SettingsForm = nullptr;
  TErrListForm* ErrListForm = nullptr;
  TLoginForm* LoginForm = nullptr;

 public slots:
  void CheckBox1Click();
  void cbPerechDBClick();
  void EDirPerechChange(const QString& text);
  void EDirISChange(const QString& text);
  void EDirProtokolChange(const QString& text);
  void butDirPerechClick();
  void butDirISClick();
  void butDirProtokolClick();
  void BitBtn5Click();
  void BitBtn6Click();
  void ComboBox1Change(int index);
  void ERegNumChange(const QString& text);
  void ERegNumKeyPress();
  void CmbYearChange();
  void ComboBoxPeriodChange(int index);
  void cbShtatClick();
  void cbNameListClick();
  void N1Click();
  void MnILogsClick();
  void N2Click();
  void nExitClick();
  void nAboutClick();
  void butStartClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void FormCreate();
  // The folder dialog of one of the three path edits.
  void ChooseFolder(QLineEdit* edit, const char* title, bool offerNewFolder);
  void SetRunning(bool running);
  void ShowStepText(const QString& text);

  TWorkManagerForm& fManager;
  TSettings& FSettings;
  TRegNumBox* fRegNumBox = nullptr;
  bool fRunning = false;
  bool fStartEnabledBeforeRun = true;
};

// The registration number as the window shows it: without "-" and spaces while at
// most ten characters remain, else grouped 3-3-6 with everything past the twelfth
// character dropped.
QString NormalizeRegNum(const QString& text);

}  // namespace morvel
