#include "ui/main_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "app/command_line.h"
#include "base/exit_code.h"
#include "base/paths.h"
#include "base/platform.h"
#include "config/settings.h"
#include "log/logger.h"
#include "ui/about_box.h"
#include "ui/desktop_opener.h"
#include "ui/err_list_form.h"
#include "ui/login_form.h"
#include "ui/settings_form.h"
#include "ui/ui_text.h"
#include "ui/work_manager_form.h"

namespace morvel {

// The registration-number edit lies over the text part of the drop-down list of
// the numbers found in the folder of individual records, so that only the list's
// arrow shows beside it: the user may type a number or pick one.
class TRegNumBox : public QWidget {
 public:
  TRegNumBox(QComboBox* combo, QLineEdit* edit, QWidget* parent) : QWidget(parent), fCombo(combo), fEdit(edit) {
    fCombo->setParent(this);
    fEdit->setParent(this);
    fEdit->raise();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }
  QSize sizeHint() const override {
    return QSize(fEdit->sizeHint().width() + 24, std::max(fCombo->sizeHint().height(), fEdit->sizeHint().height()));
  }
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    fCombo->setGeometry(rect());
    QStyleOptionComboBox option;
    option.initFrom(fCombo);
    option.rect = rect();
    option.editable = true;
    option.frame = true;
    const QRect arrow =
        fCombo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, fCombo);
    const int editRight = arrow.isValid() && arrow.left() > 0 ? arrow.left() : width() - 20;
    fEdit->setGeometry(0, 0, editRight, height());
  }

 private:
  QComboBox* fCombo;
  QLineEdit* fEdit;
};

namespace {

// Fits a step's text into `width`: the middle of the folder path gives way, so that
// the step's words and the file name at its end stay readable. A text whose file
// name alone is too wide loses its middle as a whole.
QString ElideKeepingFileName(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  const qsizetype nameStart = std::max(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char('\\'))) + 1;
  const QString name = text.mid(nameStart);
  const int headWidth = width - metrics.horizontalAdvance(name);
  if (nameStart == 0 || headWidth <= metrics.horizontalAdvance(QChar(0x2026)) * 4) {
    return metrics.elidedText(text, Qt::ElideMiddle, width);
  }
  return metrics.elidedText(text.left(nameStart), Qt::ElideMiddle, headWidth) + name;
}

// Typing and pasting go through here, so the edit shows the normalised number
// at once, with the cursor after the same digit as before.
class TRegNumValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override {
    const QString shown = NormalizeRegNum(input);
    if (shown != input) {
      int digitsBefore = 0;
      for (int i = 0; i < pos && i < input.size(); ++i) {
        if (input[i] != QLatin1Char('-') && input[i] != QLatin1Char(' ')) ++digitsBefore;
      }
      int newPos = 0;
      for (int seen = 0; newPos < shown.size() && seen < digitsBefore; ++newPos) {
        if (shown[newPos] != QLatin1Char('-')) ++seen;
      }
      input = shown;
      pos = newPos;
    }
    return Acceptable;
  }
};

// The first entry of the year and period lists.
const char kAnyValue[] = "не имеет значения";
const char kFolderLabel[] = "Путь к файлу Перечня:";
const char kServerLabel[] = "Путь к БД ПК \"Велано ЛП\":";

QToolButton* FolderButton(QWidget* parent, const char* name) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
  button->setToolTip(U("Выбрать каталог"));
  return button;
}

QToolButton* CopyDownButton(QWidget* parent, const char* name, const char* hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setArrowType(Qt::DownArrow);
  button->setFixedSize(18, 14);
  button->setToolTip(U(hint));
  return button;
}

}  // namespace

QString NormalizeRegNum(const QString& text) {
  QString digits = text;
  digits.remove(QLatin1Char('-'));
  digits.remove(QLatin1Char(' '));
  if (digits.size() <= 10) return digits;
  return digits.mid(0, 3) + QLatin1Char('-') + digits.mid(3, 3) + QLatin1Char('-') + digits.mid(6, 6);
}

TMainWindow::TMainWindow(TWorkManagerForm& manager, QWidget* parent)
    : TLoggingForm(parent), fManager(manager), FSettings(TSettings::GetInstance()) {
  CreateControls();
  AboutBox = new TAboutBox(this);
  SettingsForm = new TSettingsForm(this);
  ErrListForm = new TErrListForm(this);
  LoginForm = new TLoginForm(this);
  FormCreate();
}

TMainWindow::~TMainWindow() = default;

void TMainWindow::CreateControls() {
  setObjectName("MainWindow");
  setFont(FormFont());
  setWindowTitle(U("Морвель v"));

  MainMenu = menuBar();
  MainMenu->setObjectName("MainMenu");
  nFile = MainMenu->addMenu(U("Файл"));
  nFile->setObjectName("nFile");
  N1 = nFile->addAction(U("Настройки"));
  N1->setObjectName("N1");
  MnILogs = nFile->addAction(U("Открыть папку логов"));
  MnILogs->setObjectName("MnILogs");
  nFile->addSeparator();
  nExit = nFile->addAction(U("Выход"));
  nExit->setObjectName("nExit");
  nInfo = MainMenu->addMenu(U("Справка"));
  nInfo->setObjectName("nInfo");
  N2 = nInfo->addAction(U("Помощь"));
  N2->setObjectName("N2");
  N2->setShortcut(QKeySequence::HelpContents);
  nAbout = nInfo->addAction(U("О программе..."));
  nAbout->setObjectName("nAbout");

  auto* central = new QWidget(this);
  central->setObjectName("central");
  setCentralWidget(central);

  CheckBox1 = new QCheckBox(U("Делать сверку с Перечнем"), central);
  CheckBox1->setObjectName("CheckBox1");

  DirBox = new QGroupBox(U("Настройки путей"), central);
  DirBox->setObjectName("DirBox");
  cbPerechDB = new QCheckBox(U("Подключиться к БД ПК \"Велано ЛП\" (для работников региональных ОБВИР)"), DirBox);
  cbPerechDB->setObjectName("cbPerechDB");
  EDirPerechLabel = new QLabel(U(kFolderLabel), DirBox);
  EDirPerech = new QLineEdit(DirBox);
  EDirPerech->setObjectName("EDirPerech");
  EDirPerechLabel->setBuddy(EDirPerech);
  BitBtn2 = FolderButton(DirBox, "BitBtn2");
  BitBtn5 = CopyDownButton(DirBox, "BitBtn5", "Скопировать этот путь в путь к файлам ИС");
  EDirISLabel = new QLabel(U("Путь к файлам ИС:"), DirBox);
  EDirIS = new QLineEdit(DirBox);
  EDirIS->setObjectName("EDirIS");
  EDirISLabel->setBuddy(EDirIS);
  BitBtn3 = FolderButton(DirBox, "BitBtn3");
  BitBtn6 = CopyDownButton(DirBox, "BitBtn6", "Скопировать этот путь в путь сохранения протокола");
  EDirProtokolLabel = new QLabel(U("Путь сохранения протокола:"), DirBox);
  EDirProtokol = new QLineEdit(DirBox);
  EDirProtokol->setObjectName("EDirProtokol");
  EDirProtokolLabel->setBuddy(EDirProtokol);
  BitBtn4 = FolderButton(DirBox, "BitBtn4");
  for (QLineEdit* edit : {EDirPerech, EDirIS, EDirProtokol}) edit->setText(U("C:\\"));

  auto* dirs = new QGridLayout(DirBox);
  dirs->setVerticalSpacing(2);
  dirs->addWidget(cbPerechDB, 0, 0, 1, 2);
  dirs->addItem(new QSpacerItem(0, 6), 1, 0);
  dirs->addWidget(EDirPerechLabel, 2, 0, 1, 2);
  dirs->addWidget(EDirPerech, 3, 0);
  dirs->addWidget(BitBtn2, 3, 1);
  dirs->addWidget(BitBtn5, 4, 0, Qt::AlignRight);
  dirs->addWidget(EDirISLabel, 5, 0, 1, 2);
  dirs->addWidget(EDirIS, 6, 0);
  dirs->addWidget(BitBtn3, 6, 1);
  dirs->addWidget(BitBtn6, 7, 0, Qt::AlignRight);
  dirs->addWidget(EDirProtokolLabel, 8, 0, 1, 2);
  dirs->addWidget(EDirProtokol, 9, 0);
  dirs->addWidget(BitBtn4, 9, 1);
  dirs->setColumnStretch(0, 1);

  VarsBox = new QGroupBox(U("Параметры для сверки"), central);
  VarsBox->setObjectName("VarsBox");
  labRegNum = new QLabel(U("Рег.№:"), VarsBox);
  ERegNum = new QLineEdit;
  ERegNum->setObjectName("ERegNum");
  ERegNum->setValidator(new TRegNumValidator(ERegNum));
  ComboBox1 = new QComboBox;
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setFocusPolicy(Qt::NoFocus);
  fRegNumBox = new TRegNumBox(ComboBox1, ERegNum, VarsBox);
  labRegNum->setBuddy(ERegNum);
  labYear = new QLabel(U("Год:"), VarsBox);
  CmbYear = new QComboBox(VarsBox);
  CmbYear->setObjectName("CmbYear");
  labYear->setBuddy(CmbYear);
  Label1 = new QLabel(U("Период:"), VarsBox);
  ComboBoxPeriod = new QComboBox(VarsBox);
  ComboBoxPeriod->setObjectName("ComboBoxPeriod");
  Label1->setBuddy(ComboBoxPeriod);
  // Wide enough for the longest period name and a twelve-digit number.
  ComboBoxPeriod->setMinimumContentsLength(17);
  CmbYear->setMinimumContentsLength(17);
  auto* vars = new QGridLayout(VarsBox);
  vars->addWidget(labRegNum, 0, 0);
  vars->addWidget(fRegNumBox, 0, 1);
  vars->addWidget(labYear, 1, 0);
  vars->addWidget(CmbYear, 1, 1);
  vars->addWidget(Label1, 2, 0);
  vars->addWidget(ComboBoxPeriod, 2, 1);
  vars->setRowStretch(3, 1);

  OptionsBox = new QGroupBox(U("Опции сверки"), central);
  OptionsBox->setObjectName("OptionsBox");
  rbFactPeriods = new QRadioButton(U("По фактическим периодам"), OptionsBox);
  rbFactPeriods->setObjectName("rbFactPeriods");
  cbShtat = new QCheckBox(U("Сверка ИС с Перечнем по позициям\nштатного расписания"), OptionsBox);
  cbShtat->setObjectName("cbShtat");
  cbNameList = new QCheckBox(U("Сверка ИС с поименным списком\nк Перечню"), OptionsBox);
  cbNameList->setObjectName("cbNameList");
  auto* options = new QVBoxLayout(OptionsBox);
  options->addWidget(rbFactPeriods);
  options->addWidget(cbShtat);
  options->addWidget(cbNameList);
  options->addStretch(1);

  StepBox = new QGroupBox(U("Ход выполнения"), central);
  StepBox->setObjectName("StepBox");
  StepLabel = new QLabel(StepBox);
  StepLabel->setObjectName("StepLabel");
  // The box's width decides the label's, not the length of the step's text.
  StepLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  StepProgress = new QProgressBar(StepBox);
  StepProgress->setObjectName("StepProgress");
  StepProgress->setRange(0, 100);
  StepProgress->setValue(0);
  StepProgress->setTextVisible(false);
  auto* step = new QVBoxLayout(StepBox);
  step->addWidget(StepLabel);
  step->addWidget(StepProgress);

  BitBtn1 = new QPushButton(U("Запуск сверки"), central);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  BitBtn1->setMinimumSize(150, 36);

  auto* middle = new QHBoxLayout;
  middle->addWidget(VarsBox, 1);
  middle->addWidget(OptionsBox, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(BitBtn1);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(CheckBox1);
  layout->addWidget(DirBox);
  layout->addLayout(middle);
  layout->addWidget(StepBox);
  layout->addLayout(bottom);

  connect(N1, &QAction::triggered, this, &TMainWindow::N1Click);
  connect(MnILogs, &QAction::triggered, this, &TMainWindow::MnILogsClick);
  connect(nExit, &QAction::triggered, this, &TMainWindow::nExitClick);
  connect(N2, &QAction::triggered, this, &TMainWindow::N2Click);
  connect(nAbout, &QAction::triggered, this, &TMainWindow::nAboutClick);
  connect(CheckBox1, &QCheckBox::toggled, this, &TMainWindow::CheckBox1Click);
  connect(cbPerechDB, &QCheckBox::toggled, this, &TMainWindow::cbPerechDBClick);
  connect(EDirPerech, &QLineEdit::textChanged, this, &TMainWindow::EDirPerechChange);
  connect(EDirIS, &QLineEdit::textChanged, this, &TMainWindow::EDirISChange);
  connect(EDirProtokol, &QLineEdit::textChanged, this, &TMainWindow::EDirProtokolChange);
  connect(BitBtn2, &QToolButton::clicked, this, &TMainWindow::butDirPerechClick);
  connect(BitBtn3, &QToolButton::clicked, this, &TMainWindow::butDirISClick);
  connect(BitBtn4, &QToolButton::clicked, this, &TMainWindow::butDirProtokolClick);
  connect(BitBtn5, &QToolButton::clicked, this, &TMainWindow::BitBtn5Click);
  connect(BitBtn6, &QToolButton::clicked, this, &TMainWindow::BitBtn6Click);
  // Only the user's choices count as changes of the lists: rebuilding a list from
  // code must not overwrite the setting it shows.
  connect(ComboBox1, &QComboBox::activated, this, &TMainWindow::ComboBox1Change);
  connect(ERegNum, &QLineEdit::textChanged, this, &TMainWindow::ERegNumChange);
  connect(ERegNum, &QLineEdit::returnPressed, this, &TMainWindow::ERegNumKeyPress);
  connect(CmbYear, &QComboBox::activated, this, &TMainWindow::CmbYearChange);
  connect(ComboBoxPeriod, &QComboBox::activated, this, &TMainWindow::ComboBoxPeriodChange);
  connect(cbShtat, &QCheckBox::toggled, this, &TMainWindow::cbShtatClick);
  connect(cbNameList, &QCheckBox::toggled, this, &TMainWindow::cbNameListClick);
  connect(BitBtn1, &QPushButton::clicked, this, &TMainWindow::butStartClick);
}

void TMainWindow::FormCreate() {
  setWindowTitle(windowTitle() + U(FSettings.Version()));

  CmbYear->clear();
  CmbYear->addItem(U(kAnyValue));
  const int currentYear = QDate::currentDate().year();
  for (int year = 2010; year <= currentYear; ++year) CmbYear->addItem(QString::number(year));

  EDirPerech->setText(U(FSettings.FDirList));
  EDirIS->setText(U(FSettings.FDirPD));
  EDirProtokol->setText(U(FSettings.FDirReport));
  // The change events store what they show; run them also when the text was
  // already the same.
  EDirPerechChange(EDirPerech->text());
  EDirISChange(EDirIS->text());
  EDirProtokolChange(EDirProtokol->text());

  int yearIndex = 0;
  for (; yearIndex < CmbYear->count() - 1; ++yearIndex) {
    if (FSettings.FYear == 0) break;
    if (CmbYear->itemText(yearIndex) == QString::number(FSettings.FYear)) break;
  }
  CmbYear->setCurrentIndex(yearIndex);

  ERegNum->setText(U(FSettings.FRegNum));
  ERegNumChange(ERegNum->text());
  CmbYearChange();

  // Fixed size, measured while both List-folder buttons still show, so that the
  // folder mode has its room too.
  setFixedSize(sizeHint().expandedTo(QSize(560, 0)));

  rbFactPeriods->setChecked(true);
  cbShtat->setChecked(FSettings.FCompareWithListStaff);
  cbNameList->setChecked(FSettings.FCompareWithListNameList);
  const bool useUL = FSettings.FUseUL;
  CheckBox1->setChecked(FSettings.FCompareWithList);
  cbPerechDB->setChecked(useUL);
  cbShtatClick();
  cbNameListClick();
  // The server box first, the List switch last, so that the List switch has the
  // final word on what is enabled.
  cbPerechDBClick();
  CheckBox1Click();
}

void TMainWindow::CheckBox1Click() {
  const bool checked = CheckBox1->isChecked();
  FSettings.FCompareWithList = checked;
  if (checked) {
    cbPerechDB->setEnabled(true);
    cbPerechDBClick();
    for (QWidget* w : std::initializer_list<QWidget*>{BitBtn2, BitBtn5, rbFactPeriods, cbShtat, cbNameList, BitBtn1}) {
      w->setEnabled(true);
    }
  } else {
    for (QWidget* w :
         std::initializer_list<QWidget*>{cbPerechDB, EDirPerech, BitBtn2, BitBtn5, rbFactPeriods, cbShtat, cbNameList}) {
      w->setEnabled(false);
    }
    BitBtn1->setEnabled(FSettings.fCompareTerrCodes);
  }
}

void TMainWindow::cbPerechDBClick() {
  const bool checked = cbPerechDB->isChecked();
  FSettings.FUseUL = checked;
  if (checked) {
    EDirPerech->setEnabled(false);
    EDirPerech->setText(
        U(FSettings.FULMachine + ":" + FSettings.FULPort + "/" + FSettings.FULAppName + "/GetList"));
    BitBtn2->hide();
    BitBtn5->hide();
    EDirPerechLabel->setText(U(kServerLabel));
  } else {
    // With the List switch off the folder stays greyed: it is not used.
    EDirPerech->setEnabled(CheckBox1->isChecked());
    EDirPerech->setText(U(FSettings.FDirList));
    BitBtn2->show();
    BitBtn5->show();
    EDirPerechLabel->setText(U(kFolderLabel));
  }
}

void TMainWindow::EDirPerechChange(const QString& text) {
  if (!FSettings.FUseUL) FSettings.FDirList = S(text);
}

void TMainWindow::EDirISChange(const QString& text) {
  FSettings.FDirPD = S(text);
  ComboBox1->clear();
  for (const std::string& regNum : GetRegNumsFromFolder(FSettings.FDirPD)) ComboBox1->addItem(U(regNum));
  ComboBox1->setCurrentIndex(-1);
}

void TMainWindow::EDirProtokolChange(const QString& text) { FSettings.FDirReport = S(text); }

void TMainWindow::ChooseFolder(QLineEdit* edit, const char* title, bool offerNewFolder) {
  QFileDialog::Options options = QFileDialog::ShowDirsOnly;
  if (!offerNewFolder) options |= QFileDialog::ReadOnly;
  const QString folder = QFileDialog::getExistingDirectory(this, U(title), edit->text(), options);
  if (!folder.isEmpty()) edit->setText(QDir::toNativeSeparators(folder));
}

void TMainWindow::butDirPerechClick() { ChooseFolder(EDirPerech, "Выберите каталог с файлом Перечня", false); }

void TMainWindow::butDirISClick() { ChooseFolder(EDirIS, "Выберите каталог с файлами ИС", false); }

void TMainWindow::butDirProtokolClick() {
  ChooseFolder(EDirProtokol, "Выберите путь для хранения протокола", true);
}

void TMainWindow::BitBtn5Click() { EDirIS->setText(EDirPerech->text()); }

void TMainWindow::BitBtn6Click() { EDirProtokol->setText(EDirIS->text()); }

void TMainWindow::ComboBox1Change(int index) {
  if (index >= 0) ERegNum->setText(ComboBox1->itemText(index));
}

void TMainWindow::ERegNumChange(const QString& text) {
  const QString shown = NormalizeRegNum(text);
  if (shown != text) ERegNum->setText(shown);  // runs this handler again with the shown text
  FSettings.FRegNum = S(ERegNum->text());
}

void TMainWindow::ERegNumKeyPress() { butStartClick(); }

void TMainWindow::CmbYearChange() {
  FSettings.FYear = CmbYear->currentIndex() <= 0 ? 0 : CmbYear->currentText().toInt();
  ComboBoxPeriod->clear();
  ComboBoxPeriod->addItem(U(kAnyValue));
  if (CmbYear->currentIndex() > 0) {
    if (FSettings.FYear == 2010) {
      ComboBoxPeriod->addItems({U("первое полугодие"), U("второе полугодие")});
    } else {
      ComboBoxPeriod->addItems(
          {U("первый квартал"), U("второй квартал"), U("третий квартал"), U("четвертый квартал")});
    }
  }
  ComboBoxPeriod->setCurrentIndex(0);
}

void TMainWindow::ComboBoxPeriodChange(int index) { FSettings.FPeriod = std::max(index, 0); }

void TMainWindow::cbShtatClick() { FSettings.FCompareWithListStaff = cbShtat->isChecked(); }

void TMainWindow::cbNameListClick() { FSettings.FCompareWithListNameList = cbNameList->isChecked(); }

void TMainWindow::N1Click() {
  // Saving the settings may change the List switch's rules (the territorial-code
  // check enables the start button on its own).
  if (SettingsForm->exec() == QDialog::Accepted) CheckBox1Click();
}

void TMainWindow::MnILogsClick() {
  // The folder of the current log; before the first entry, the log folder, and
  // when no log was ever written there, the data folder that would hold it.
  const TLogger& logger = TSingleton::GetInstance<TLogger>();
  std::filesystem::path folder;
  if (!logger.FileName().empty()) {
    folder = FsPath(U(logger.FileName())).parent_path();
  } else if (!logger.LogPath().empty()) {
    folder = FsPath(U(logger.LogPath()));
  } else {
    folder = fManager.AppDataDir() / "logs";
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) folder = fManager.AppDataDir();
  OpenPath(folder);
}

void TMainWindow::N2Click() {
  const std::filesystem::path manual = ShippedDataFile(kManualFileName);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(manual, ec)) {
    Log("Не найден файл руководства пользователя " + PathToUtf8(manual), true);
    QMessageBox::warning(this, windowTitle(), U("Не найден файл руководства пользователя:\n") + QtPath(manual));
    return;
  }
  OpenPath(manual);
}

void TMainWindow::nExitClick() { close(); }

void TMainWindow::nAboutClick() { AboutBox->exec(); }

void TMainWindow::ProgressUpdate(int Min, int Max, int Curr, const std::string& Messag) {
  ShowStepText(U(Messag));
  StepLabel->repaint();
  StepProgress->setRange(Min, Max);
  StepProgress->setValue(Curr);
  StepProgress->repaint();
  // The run holds the only thread: let the window repaint and drop the input that
  // reached its greyed controls meanwhile, so that none of it starts a second run
  // once this one ends.
  if (fRunning) QCoreApplication::processEvents();
}

void TMainWindow::ShowStepText(const QString& text) {
  // A step names the file it reads; a long folder path must not push the file name
  // out of sight. The whole text is the tip.
  // A label not yet laid out has no width of its own to fit.
  if (!StepLabel->isVisible()) {
    StepLabel->setText(text);
    StepLabel->setToolTip(QString());
    return;
  }
  StepLabel->setText(ElideKeepingFileName(text, StepLabel->fontMetrics(), StepLabel->contentsRect().width()));
  StepLabel->setToolTip(StepLabel->text() == text ? QString() : text);
}

void TMainWindow::SetRunning(bool running) {
  if (running) fStartEnabledBeforeRun = BitBtn1->isEnabled();
  fRunning = running;
  MainMenu->setEnabled(!running);
  for (QWidget* w : std::initializer_list<QWidget*>{CheckBox1, DirBox, VarsBox, OptionsBox}) w->setEnabled(!running);
  BitBtn1->setEnabled(running ? false : fStartEnabledBeforeRun);
  if (running) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  // Closing the window ends the program; a run in progress finishes first.
  if (fRunning) {
    event->ignore();
    return;
  }
  TLoggingForm::closeEvent(event);
}

void TMainWindow::butStartClick() {
  if (fRunning) return;
  SetExitCode(0);
  fManager.createSearcher();
  if (FSettings.FUseUL && !FSettings.FSaveULPass) {
    LoginForm->SetTarget(TLoginTarget::ltListServer);
    if (LoginForm->exec() != QDialog::Accepted) return;
  }
  ErrListForm->close();
  fManager.SetProgress([this](int min, int max, int curr, const std::string& message) {
    ProgressUpdate(min, max, curr, message);
  });

  FSettings.FRegNum = S(ERegNum->text());
  FSettings.FYear = CmbYear->currentIndex() <= 0 ? 0 : CmbYear->currentText().toInt();
  const int periodIndex = ComboBoxPeriod->currentIndex();
  FSettings.FPeriod = periodIndex <= 0 ? 0 : (FSettings.FYear == 2010 ? periodIndex * 2 : periodIndex);

  const std::vector<std::string> messages = fManager.CheckSettings();
  QStringList lines;
  for (const std::string& message : messages) lines << U(message);
  ErrListForm->SetLines(lines);
  if (!lines.isEmpty()) {
    ErrListForm->show();
    ErrListForm->raise();
    return;
  }

  fManager.SetChoiceTexts(CmbYear->currentIndex() > 0 ? S(CmbYear->currentText()) : std::string(),
                          ComboBoxPeriod->currentIndex() > 0 ? S(ComboBoxPeriod->currentText()) : std::string());
  SetRunning(true);
  try {
    fManager.doWork();
    fManager.WriteIni();
  } catch (const std::exception& e) {
    // Whatever fails in a run, the window stays open for the next one.
    try {
      LogError(e);
    } catch (...) {
    }
  } catch (...) {
    try {
      Log("Произошла ошибка: неизвестное исключение", true);
    } catch (...) {
    }
  }
  SetRunning(false);
  ProgressUpdate(0, 1, 1, "Готово!");
  if (!fManager.ReportFile().empty()) OpenPath(FsPath(U(fManager.ReportFile())));
}

}  // namespace morvel
