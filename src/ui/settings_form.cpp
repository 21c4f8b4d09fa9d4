#include "ui/settings_form.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

#include "base/dates.h"
#include "base/format_settings.h"
#include "base/text.h"
#include "config/settings.h"
#include "ui/login_form.h"

namespace morvel {
namespace {

const QString kNoPeriod = QStringLiteral("Бессрочно");
const QString kAllowed = QStringLiteral("X");
const QString kWrongRegNum = QStringLiteral("Некорректный регистрационный номер!");
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
constexpr int kFirstCodeColumn = 2;
constexpr int kLastCodeColumn = 9;
constexpr int kBeginColumn = 10;
constexpr int kEndColumn = 11;
// Room left for the "X" button beside an in-place date editor and for the
// drop-down arrow that a "Бессрочно" overlay leaves uncovered.
constexpr int kButtonWidth = 22;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

// A masked registration-number field: three digits, a hyphen, three digits, a
// hyphen and six digits, every digit optional. Its display text keeps the blanks
// of the unfilled places, which the checks below rely on.
QLineEdit* NewRegNumEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setInputMask(QStringLiteral("000-000-000000"));
  edit->setMinimumWidth(130);
  return edit;
}

std::string RegNumText(const QLineEdit* edit) { return S(edit->displayText()); }

QCheckBox* NewCheckBox(const QString& caption, QWidget* parent, const char* name) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

QPushButton* NewButton(const QString& caption, QWidget* parent, const char* name) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QLineEdit* NewEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

QDateEdit* NewDatePicker(QWidget* parent, const char* name) {
  auto* picker = new QDateEdit(QDate::currentDate(), parent);
  picker->setObjectName(QString::fromLatin1(name));
  picker->setDisplayFormat(kDateFormat);
  picker->setCalendarPopup(true);
  return picker;
}

// The disabled "Бессрочно" field laid over a date picker. Clicks go through it to
// the picker, so that choosing a date is what removes it.
QLineEdit* NewNoPeriodOverlay(QDateEdit* picker, const char* name) {
  auto* overlay = new QLineEdit(kNoPeriod, picker);
  overlay->setObjectName(QString::fromLatin1(name));
  overlay->setEnabled(false);
  overlay->setAttribute(Qt::WA_TransparentForMouseEvents);
  return overlay;
}

bool IsDigitKey(const QKeyEvent* key) {
  const QString text = key->text();
  return text.size() == 1 && text.front().isDigit();
}

QString CellText(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item != nullptr ? item->text() : QString();
}

void SetCellText(QTableWidget* grid, int row, int column, const QString& text) {
  QTableWidgetItem* item = grid->item(row, column);
  if (item == nullptr) {
    grid->setItem(row, column, new QTableWidgetItem(text));
  } else {
    item->setText(text);
  }
}

// The column widths the grids were laid out with, widened where this platform's
// font would cut a header or a full registration number short.
void SetColumnWidths(QTableWidget* grid, const int* widths, std::initializer_list<int> numberColumns) {
  const QFontMetrics metrics(grid->font());
  const int numberWidth = metrics.horizontalAdvance(QStringLiteral("000-000-000000")) + 12;
  for (int column = 0; column < grid->columnCount(); ++column) {
    int width = widths[column];
    if (const QTableWidgetItem* header = grid->horizontalHeaderItem(column)) {
      width = std::max(width, metrics.horizontalAdvance(header->text()) + 12);
    }
    if (std::find(numberColumns.begin(), numberColumns.end(), column) != numberColumns.end()) {
      width = std::max(width, numberWidth);
    }
    grid->setColumnWidth(column, width);
  }
  grid->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
}

// The grids end with one empty row; this gives it all its cells.
void AddEmptyRow(QTableWidget* grid) {
  const int row = grid->rowCount();
  grid->insertRow(row);
  for (int column = 0; column < grid->columnCount(); ++column) SetCellText(grid, row, column, QString());
}

void Renumber(QTableWidget* grid) {
  for (int row = 0; row + 1 < grid->rowCount(); ++row) SetCellText(grid, row, 0, QString::number(row + 1));
}

// The row of the selected cell, or -1 when nothing is selected.
int SelectedRow(const QTableWidget* grid) {
  const QModelIndex current = grid->currentIndex();
  if (!current.isValid() || !grid->selectionModel()->isSelected(current)) return -1;
  return current.row();
}

bool& CodeFlag(TTerritoryCode& entry, int column) {
  switch (column) {
    case 2: return entry.FMKS;
    case 3: return entry.FRKS;
    case 4: return entry.FCZ1;
    case 5: return entry.FCZ3;
    case 6: return entry.FCZ4;
    case 7: return entry.FCZ5;
    case 8: return entry.FCZ6;
    default: return entry.FCountry;
  }
}

bool RegNumRejected(const std::string& text) {
  if (text.empty() || text == "___-___-______") return true;
  if (text.size() < 4 || text[0] == ' ' || text[1] == ' ' || text[2] == ' ' || text[3] != '-') return true;
  return Contains(text, "_") || text == "-   -";
}

QString FilterPrefix(const QString& text) {
  const qsizetype blank = text.indexOf(QLatin1Char(' '));
  QString prefix = blank < 0 ? text : text.left(blank);
  if (prefix.endsWith(QLatin1Char('-'))) prefix.chop(1);
  return prefix;
}

}  // namespace

std::string TSettingsForm::ValidateRegNum(const std::string& text) {
  return RegNumRejected(Trim(text)) ? S(kWrongRegNum) : std::string();
}

std::string TSettingsForm::ValidateRegNumStrict(const std::string& text) {
  return RegNumRejected(text) || Contains(text, " ") ? S(kWrongRegNum) : std::string();
}

std::string TSettingsForm::NormalizeRegNum(const std::string& text) {
  std::string result = Trim(text);
  for (int step = 0; step < 2; ++step) {
    if (!result.empty() && result.back() == '-') {
      result.pop_back();
      result = Trim(result);
    }
  }
  return result;
}

TSettingsForm::TSettingsForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SettingsForm"));
  setWindowTitle(QStringLiteral("Настройки"));

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  auto* serverPage = new QWidget;
  BuildServerPage(serverPage);
  PageControl1->addTab(serverPage, QStringLiteral("БД ПК \"Велано\""));
  auto* rightsPage = new QWidget;
  BuildRightsPage(rightsPage);
  PageControl1->addTab(rightsPage, QStringLiteral("Проверка терр. кодов"));
  auto* reRegPage = new QWidget;
  BuildReRegPage(reRegPage);
  PageControl1->addTab(reRegPage, QStringLiteral("Перерегистрация"));
  auto* extraPage = new QWidget;
  BuildExtraPage(extraPage);
  PageControl1->addTab(extraPage, QStringLiteral("Дополнительно"));
  // The login dialog stores credentials for the connection of the page last shown.
  connect(PageControl1, &QTabWidget::currentChanged, this,
          [](int index) { TSettings::GetInstance().FNumSettingsWin = static_cast<unsigned>(std::max(index, 0)); });

  bbSave = NewButton(QStringLiteral("Сохранить"), this, "bbSave");
  bbCancel = NewButton(QStringLiteral("Отмена"), this, "bbCancel");
  connect(bbSave, &QPushButton::clicked, this, &TSettingsForm::bbSaveClick);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bbSave);
  buttons->addWidget(bbCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1);
  layout->addLayout(buttons);
  resize(840, 560);
}

TSettingsForm::~TSettingsForm() = default;

void TSettingsForm::BuildServerPage(QWidget* page) {
  eServerNameOrIP = NewEdit(page, "eServerNameOrIP");
  ePort = NewEdit(page, "ePort");
  eAppName = NewEdit(page, "eAppName");
  eAppName->setText(QStringLiteral("list4"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("IP-адрес/Имя сервера:"), eServerNameOrIP);
  form->addRow(QStringLiteral("Порт:"), ePort);
  form->addRow(QStringLiteral("Имя приложения:"), eAppName);

  auto* password = new QGroupBox(QStringLiteral("Пароль"), page);
  cbSavePassword = NewCheckBox(QStringLiteral("хранить"), password, "cbSavePassword");
  bbEnterPassword = NewButton(QStringLiteral("Ввести"), password, "bbEnterPassword");
  connect(bbEnterPassword, &QPushButton::clicked, this, [this] { bbEnterPasswordClick(TLoginTarget::ltListServer); });
  auto* passwordLayout = new QHBoxLayout(password);
  passwordLayout->addWidget(cbSavePassword);
  passwordLayout->addStretch();
  passwordLayout->addWidget(bbEnterPassword);

  cbUseLastWhenNoListOnDate = NewCheckBox(
      QStringLiteral("При отсутствии требуемого Перечня, брать последний актуальный"), page,
      "cbUseLastWhenNoListOnDate");
  cbUseLastWhenNoListOnDate->setVisible(false);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(form);
  layout->addWidget(password);
  layout->addWidget(cbUseLastWhenNoListOnDate);
  layout->addStretch();
}

void TSettingsForm::BuildRightsPage(QWidget* page) {
  cbNordCheck = NewCheckBox(QStringLiteral("Проверять правомерность проставления терр. кодов"), page, "cbNordCheck");
  cbAdvancedNordCheck = NewCheckBox(QStringLiteral("Использовать расширенный режим"), page, "cbAdvancedNordCheck");
  connect(cbNordCheck, &QCheckBox::toggled, this, &TSettingsForm::ApplyVisibility);
  connect(cbAdvancedNordCheck, &QCheckBox::toggled, this, &TSettingsForm::ShowModeTab);

  pNordPanel = new QWidget(page);
  pNordPanel->setObjectName(QStringLiteral("pNordPanel"));
  MaskEdit1 = NewRegNumEdit(pNordPanel, "MaskEdit1");
  connect(MaskEdit1, &QLineEdit::textChanged, this, &TSettingsForm::MaskEdit1Change);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(new QLabel(QStringLiteral("Отфильтровать по рег. №:"), pNordPanel));
  filterRow->addWidget(MaskEdit1);
  filterRow->addStretch();

  pcModes = new QTabWidget(pNordPanel);
  pcModes->setObjectName(QStringLiteral("pcModes"));

  // Basic mode: a plain list of numbers, every code allowed without time limit.
  auto* basic = new QWidget;
  eRegNum = NewRegNumEdit(basic, "eRegNum");
  bbAddRegNum_Bas = NewButton(QStringLiteral("Добавить"), basic, "bbAddRegNum_Bas");
  bbRemoveRegNum_Bas = NewButton(QStringLiteral("Удалить"), basic, "bbRemoveRegNum_Bas");
  lbBasRegNum = new QListWidget(basic);
  lbBasRegNum->setObjectName(QStringLiteral("lbBasRegNum"));
  connect(bbAddRegNum_Bas, &QPushButton::clicked, this, &TSettingsForm::bbAddRegNum_BasClick);
  connect(bbRemoveRegNum_Bas, &QPushButton::clicked, this, &TSettingsForm::bbRemoveRegNum_BasClick);
  connect(lbBasRegNum, &QListWidget::itemDoubleClicked, this, &TSettingsForm::lbBasRegNumDblClick);
  auto* basicEditRow = new QHBoxLayout;
  basicEditRow->addWidget(new QLabel(QStringLiteral("Рег.№ содержит:"), basic));
  basicEditRow->addWidget(eRegNum);
  basicEditRow->addWidget(bbAddRegNum_Bas);
  basicEditRow->addWidget(bbRemoveRegNum_Bas);
  basicEditRow->addStretch();
  auto* basicLayout = new QVBoxLayout(basic);
  basicLayout->addLayout(basicEditRow);
  basicLayout->addWidget(lbBasRegNum);
  pcModes->addTab(basic, QStringLiteral("Обычный режим"));

  // Extended mode: whole entries with their codes and validity dates.
  auto* extended = new QWidget;
  sgRegNums = new QTableWidget(0, 12, extended);
  sgRegNums->setObjectName(QStringLiteral("sgRegNums"));
  sgRegNums->setHorizontalHeaderLabels({"п/п", "рег. номер", "МКС", "РКС", "ЧЗ1", "ЧЗ3", "ЧЗ4", "ЧЗ5", "ЧЗ6", "СЕЛО",
                                        "Дата начала", "Дата окончания"});
  const int widths[12] = {25, 100, 32, 32, 32, 32, 32, 32, 32, 32, 130, 130};
  SetColumnWidths(sgRegNums, widths, {1});
  sgRegNums->verticalHeader()->setVisible(false);
  sgRegNums->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgRegNums->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(sgRegNums, &QTableWidget::cellDoubleClicked, this, &TSettingsForm::sgRegNumsDblClick);

  meRegnum = NewRegNumEdit(extended, "meRegnum");
  cbMKS = NewCheckBox(QStringLiteral("МКС"), extended, "cbMKS");
  cbRKS = NewCheckBox(QStringLiteral("РКС"), extended, "cbRKS");
  cbCH31 = NewCheckBox(QStringLiteral("Ч31"), extended, "cbCH31");
  cbCH33 = NewCheckBox(QStringLiteral("Ч33"), extended, "cbCH33");
  cbCH34 = NewCheckBox(QStringLiteral("Ч34"), extended, "cbCH34");
  cbCH35 = NewCheckBox(QStringLiteral("Ч35"), extended, "cbCH35");
  cbCH36 = NewCheckBox(QStringLiteral("Ч36"), extended, "cbCH36");
  ChkCountry = NewCheckBox(QStringLiteral("СЕЛО"), extended, "ChkCountry");
  dtpBegin = NewDatePicker(extended, "dtpBegin");
  dtpEnd = NewDatePicker(extended, "dtpEnd");
  eBeginNoPeriod = NewNoPeriodOverlay(dtpBegin, "eBeginNoPeriod");
  eEndNoPeriod = NewNoPeriodOverlay(dtpEnd, "eEndNoPeriod");
  bClearPeriod = NewButton(kAllowed, extended, "bClearPeriod");
  Button2 = NewButton(kAllowed, extended, "Button2");
  for (QPushButton* button : {bClearPeriod, Button2}) button->setFixedWidth(kButtonWidth + 4);
  bbAddRegNum_Adv = NewButton(QStringLiteral("Добавить"), extended, "bbAddRegNum_Adv");
  bbRemoveRegNum_Adv = NewButton(QStringLiteral("Удалить"), extended, "bbRemoveRegNum_Adv");
  connect(bClearPeriod, &QPushButton::clicked, this, [this] { ClearPeriod(dtpBegin, eBeginNoPeriod); });
  connect(Button2, &QPushButton::clicked, this, [this] { ClearPeriod(dtpEnd, eEndNoPeriod); });
  for (auto [picker, overlay] : {std::pair{dtpBegin, eBeginNoPeriod}, std::pair{dtpEnd, eEndNoPeriod}}) {
    QLineEdit* shown = overlay;
    connect(picker, &QDateEdit::dateChanged, shown, &QWidget::hide);
    // Choosing the date the picker already shows changes nothing, yet it is a choice.
    connect(picker->calendarWidget(), &QCalendarWidget::clicked, shown, &QWidget::hide);
    picker->installEventFilter(this);
  }
  connect(bbAddRegNum_Adv, &QPushButton::clicked, this, &TSettingsForm::bbAddRegNum_AdvClick);
  connect(bbRemoveRegNum_Adv, &QPushButton::clicked, this, &TSettingsForm::bbRemoveRegNum_AdvClick);

  auto* codes = new QHBoxLayout;
  for (QCheckBox* box : {cbMKS, cbRKS, cbCH31, cbCH33, cbCH34, cbCH35, cbCH36, ChkCountry}) codes->addWidget(box);
  codes->addStretch();
  auto* entry = new QGridLayout;
  entry->addWidget(new QLabel(QStringLiteral("Рег. номер:"), extended), 0, 0);
  entry->addWidget(meRegnum, 0, 1);
  entry->addLayout(codes, 0, 2, 1, 4);
  entry->addWidget(new QLabel(QStringLiteral("Дата начала:"), extended), 1, 0);
  auto* begin = new QHBoxLayout;
  begin->setSpacing(0);
  begin->addWidget(dtpBegin);
  begin->addWidget(bClearPeriod);
  entry->addLayout(begin, 1, 1);
  entry->addWidget(new QLabel(QStringLiteral("Дата окончания:"), extended), 1, 2);
  auto* end = new QHBoxLayout;
  end->setSpacing(0);
  end->addWidget(dtpEnd);
  end->addWidget(Button2);
  entry->addLayout(end, 1, 3);
  entry->addWidget(bbAddRegNum_Adv, 1, 4);
  entry->addWidget(bbRemoveRegNum_Adv, 1, 5);
  auto* extendedLayout = new QVBoxLayout(extended);
  extendedLayout->addWidget(sgRegNums);
  extendedLayout->addLayout(entry);
  pcModes->addTab(extended, QStringLiteral("Расширенный режим"));

  // The in-place editors; each is moved over the cell or item it edits.
  eTempRegnum = NewRegNumEdit(sgRegNums->viewport(), "eTempRegnum");
  eTempRegnum->hide();
  eTempRegnum->installEventFilter(this);
  dtpTemp = NewDatePicker(sgRegNums->viewport(), "dtpTemp");
  dtpTemp->hide();
  dtpTemp->installEventFilter(this);
  eTempNoPeriod = NewNoPeriodOverlay(dtpTemp, "eTempNoPeriod");
  bTempClear = NewButton(kAllowed, sgRegNums->viewport(), "bTempClear");
  bTempClear->hide();
  connect(dtpTemp, &QDateEdit::dateChanged, this, &TSettingsForm::dtpTempChange);
  connect(dtpTemp->calendarWidget(), &QCalendarWidget::clicked, this, &TSettingsForm::dtpTempChange);
  connect(bTempClear, &QPushButton::clicked, this, &TSettingsForm::bTempClearClick);

  auto* panelLayout = new QVBoxLayout(pNordPanel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->addLayout(filterRow);
  panelLayout->addWidget(pcModes);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(cbNordCheck);
  layout->addWidget(cbAdvancedNordCheck);
  layout->addWidget(pNordPanel, 1);
  // A hidden panel gives up its stretch; this spacer takes the height then, so the
  // check box stays at the top instead of moving to the middle of the page.
  layout->addStretch(0);
}

void TSettingsForm::BuildReRegPage(QWidget* page) {
  sgReRegRegnums = new QTableWidget(0, 5, page);
  sgReRegRegnums->setObjectName(QStringLiteral("sgReRegRegnums"));
  sgReRegRegnums->setHorizontalHeaderLabels({"п/п", "рег. номер до", "рег. номер после", "год", "период"});
  const int widths[5] = {25, 90, 90, 80, 50};
  SetColumnWidths(sgReRegRegnums, widths, {1, 2});
  sgReRegRegnums->verticalHeader()->setVisible(false);
  sgReRegRegnums->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgReRegRegnums->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(sgReRegRegnums, &QTableWidget::cellDoubleClicked, this, &TSettingsForm::sgReRegRegnumsDblClick);
  cbTemp = new QComboBox(sgReRegRegnums->viewport());
  cbTemp->setObjectName(QStringLiteral("cbTemp"));
  cbTemp->hide();
  cbTemp->installEventFilter(this);
  connect(cbTemp, &QComboBox::activated, this, &TSettingsForm::CommitComboEditor);

  meRegNumBefore = NewRegNumEdit(page, "meRegNumBefore");
  meRegNumAfter = NewRegNumEdit(page, "meRegNumAfter");
  cbYear = new QComboBox(page);
  cbYear->setObjectName(QStringLiteral("cbYear"));
  cbPeriod = new QComboBox(page);
  cbPeriod->setObjectName(QStringLiteral("cbPeriod"));
  const int currentYear = QDate::currentDate().year();
  for (int year = currentYear + 10; year >= 1992; --year) cbYear->addItem(QString::number(year));
  cbYear->setCurrentIndex(cbYear->findText(QString::number(currentYear)));
  FillPeriods(currentYear);
  connect(cbYear, &QComboBox::activated, this, [this](int) { FillPeriods(cbYear->currentText().toInt()); });
  bbReRegAdd = NewButton(QStringLiteral("Добавить"), page, "bbReRegAdd");
  bbReRegRemove = NewButton(QStringLiteral("Удалить"), page, "bbReRegRemove");
  connect(bbReRegAdd, &QPushButton::clicked, this, &TSettingsForm::bbReRegAddClick);
  connect(bbReRegRemove, &QPushButton::clicked, this, &TSettingsForm::bbReRegRemoveClick);

  auto* entry = new QGridLayout;
  entry->addWidget(new QLabel(QStringLiteral("Рег. номер до"), page), 0, 0);
  entry->addWidget(meRegNumBefore, 1, 0);
  entry->addWidget(new QLabel(QStringLiteral("Рег. номер после"), page), 0, 1);
  entry->addWidget(meRegNumAfter, 1, 1);
  entry->addWidget(new QLabel(QStringLiteral("С какого периода"), page), 0, 2, 1, 2);
  entry->addWidget(cbYear, 1, 2);
  entry->addWidget(cbPeriod, 1, 3);
  entry->addWidget(bbReRegAdd, 1, 4);
  entry->addWidget(bbReRegRemove, 1, 5);

  // The connection to the ЛОРС complex is not in service: the group stays disabled.
  gbLORSConnection = new QGroupBox(QStringLiteral("Запрос сведений из ПК ЛОРС"), page);
  gbLORSConnection->setObjectName(QStringLiteral("gbLORSConnection"));
  eLORSServerNameOrIP = NewEdit(gbLORSConnection, "eLORSServerNameOrIP");
  eLORSPort = NewEdit(gbLORSConnection, "eLORSPort");
  eLORSBase = NewEdit(gbLORSConnection, "eLORSBase");
  cbCAutoUpdate = NewCheckBox(QStringLiteral("Обновлять автоматически"), gbLORSConnection, "cbCAutoUpdate");
  gbLORSPassword = new QGroupBox(QStringLiteral("Пароль"), gbLORSConnection);
  cbLORSSavePassword = NewCheckBox(QStringLiteral("хранить"), gbLORSPassword, "cbLORSSavePassword");
  bbLORSEnterPassword = NewButton(QStringLiteral("Ввести"), gbLORSPassword, "bbLORSEnterPassword");
  connect(bbLORSEnterPassword, &QPushButton::clicked, this,
          [this] { bbEnterPasswordClick(TLoginTarget::ltCrossingServer); });
  auto* lorsPassword = new QHBoxLayout(gbLORSPassword);
  lorsPassword->addWidget(cbLORSSavePassword);
  lorsPassword->addWidget(bbLORSEnterPassword);
  bRenewList = NewButton(QStringLiteral("Обновить список из ПК"), gbLORSConnection, "bRenewList");
  lLORSLastUpdateDate = new QLabel(gbLORSConnection);
  lLORSLastUpdateDate->setObjectName(QStringLiteral("lLORSLastUpdateDate"));
  auto* lorsFields = new QFormLayout;
  lorsFields->addRow(QStringLiteral("IP-адрес/Имя сервера:"), eLORSServerNameOrIP);
  lorsFields->addRow(QStringLiteral("Порт:"), eLORSPort);
  lorsFields->addRow(QStringLiteral("База:"), eLORSBase);
  auto* lorsSide = new QVBoxLayout;
  lorsSide->addWidget(cbCAutoUpdate);
  lorsSide->addWidget(gbLORSPassword);
  lorsSide->addWidget(bRenewList);
  lorsSide->addWidget(lLORSLastUpdateDate);
  auto* lorsLayout = new QHBoxLayout(gbLORSConnection);
  lorsLayout->addLayout(lorsFields);
  lorsLayout->addLayout(lorsSide);
  gbLORSConnection->setEnabled(false);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(sgReRegRegnums, 1);
  layout->addLayout(entry);
  layout->addWidget(gbLORSConnection);
}

void TSettingsForm::BuildExtraPage(QWidget* page) {
  cbDebug = NewCheckBox(
      QStringLiteral("Всегда вести лог выполнения сверки (иначе лог формируется только в случае критической ошибки)"),
      page, "cbDebug");
  cbListFormatCheck = NewCheckBox(QStringLiteral("Проверять Перечни на соответствие формату"), page, "cbListFormatCheck");
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(cbDebug);
  layout->addWidget(cbListFormatCheck);
  layout->addStretch();
}

// ---------------------------------------------------------------------------
// Showing and closing

void TSettingsForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TSettingsForm::FormShow() {
  TSettings& settings = TSettings::GetInstance();
  // The grids are rebuilt from the settings below, so a filter left from the last
  // showing would describe rows that are no longer there: it ends here.
  filtered = false;
  tempOriginalList.clear();
  filteredList.clear();
  {
    const QSignalBlocker blocker(MaskEdit1);
    MaskEdit1->clear();
  }
  HideRegNumEditor();
  HideDateEditor();
  cbTemp->hide();

  for (QDateEdit* picker : {dtpBegin, dtpEnd}) {
    const QSignalBlocker blocker(picker);
    picker->setDate(QDate::currentDate());
  }
  cbNordCheck->setChecked(settings.fCompareTerrCodes);
  ApplyVisibility();

  eServerNameOrIP->setText(Q(settings.FULMachine));
  ePort->setText(Q(settings.FULPort));
  eAppName->setText(Q(settings.FULAppName));
  cbSavePassword->setChecked(settings.FSaveULPass);
  cbUseLastWhenNoListOnDate->setChecked(settings.FGetLastListFromUL);
  cbDebug->setChecked(settings.FDebug);
  cbListFormatCheck->setChecked(settings.FCheckPerFormat);

  ShowRights(settings.FTerrCodeRightList);
  RefillBasicList();
  cbAdvancedNordCheck->setChecked(settings.FCompareTerrCodesExtMode);
  ShowModeTab();

  ResetReRegGrid();
  for (const auto& rec : settings.FCrossList) {
    const int row = sgReRegRegnums->rowCount() - 1;
    SetCellText(sgReRegRegnums, row, 0, QString::number(row + 1));
    SetCellText(sgReRegRegnums, row, 1, Q(rec->FSRegNum));
    SetCellText(sgReRegRegnums, row, 2, Q(rec->FERegNum));
    SetCellText(sgReRegRegnums, row, 3, QString::number(rec->FCrossYear));
    SetCellText(sgReRegRegnums, row, 4, QString::number(rec->FCrossPeriod));
    AddEmptyRow(sgReRegRegnums);
  }

  eLORSServerNameOrIP->setText(Q(settings.FCrossServerName));
  eLORSPort->setText(Q(settings.FCrossServerPort));
  eLORSBase->setText(Q(settings.FCrossServerBase));
  cbCAutoUpdate->setChecked(settings.FCrossAutoUpdate);
  cbLORSSavePassword->setChecked(settings.FCrossSavePass);
  const TDate lastUpdate = static_cast<TDate>(settings.FCrossDateLastUpdate);
  const bool updated = settings.FCrossDateLastUpdate != 0;
  lLORSLastUpdateDate->setText(QStringLiteral("Дата последнего обновления: ") +
                               (updated ? Q(DateToStr(lastUpdate)) : QStringLiteral("нет")));
  const bool today = updated && DateToStr(lastUpdate) == DateToStr(Today());
  lLORSLastUpdateDate->setStyleSheet(today ? QStringLiteral("color: green") : QStringLiteral("color: red"));

  {
    const QSignalBlocker blocker(PageControl1);
    PageControl1->setCurrentIndex(0);
  }
  settings.FNumSettingsWin = 0;
}

void TSettingsForm::done(int result) {
  HideDateEditor();
  HideRegNumEditor();
  cbTemp->hide();
  for (auto [picker, overlay] : {std::pair{dtpBegin, eBeginNoPeriod}, std::pair{dtpEnd, eEndNoPeriod}}) {
    const QSignalBlocker blocker(picker);
    picker->setDate(QDate::currentDate());
    overlay->show();
  }
  QDialog::done(result);
}

bool TSettingsForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == eTempRegnum) {
    if (event->type() == QEvent::FocusOut) {
      CommitRegNumEditor();
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        CommitRegNumEditor();
        return true;
      }
      if (key == Qt::Key_Escape) {
        HideRegNumEditor();
        return true;
      }
    }
  } else if (watched == cbTemp) {
    if (event->type() == QEvent::FocusOut && !cbTemp->view()->isVisible()) cbTemp->hide();
  } else if (event->type() == QEvent::KeyPress && IsDigitKey(static_cast<QKeyEvent*>(event))) {
    // Typing over "Бессрочно" chooses a date as the arrows and the calendar do, even a
    // date the picker already holds beneath it (today's), which changes nothing.
    // The key still goes on to the picker.
    if (watched == dtpBegin) eBeginNoPeriod->hide();
    if (watched == dtpEnd) eEndNoPeriod->hide();
    if (watched == dtpTemp && eTempNoPeriod->isVisible()) dtpTempChange();
  } else if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
    if (watched == dtpBegin) PlaceOverlay(dtpBegin, eBeginNoPeriod);
    if (watched == dtpEnd) PlaceOverlay(dtpEnd, eEndNoPeriod);
    if (watched == dtpTemp) PlaceOverlay(dtpTemp, eTempNoPeriod);
  }
  return QDialog::eventFilter(watched, event);
}

void TSettingsForm::PlaceOverlay(QDateEdit* picker, QLineEdit* overlay) {
  overlay->setGeometry(0, 0, std::max(picker->width() - kButtonWidth, 0), picker->height());
}

// ---------------------------------------------------------------------------
// Messages

void TSettingsForm::ShowError(const QString& text) { QMessageBox::critical(this, QStringLiteral("Ошибка"), text); }

void TSettingsForm::ShowInfo(const QString& text) {
  QMessageBox::information(this, QStringLiteral("Информация"), text);
}

bool TSettingsForm::Confirm(const QString& text) {
  return QMessageBox::question(this, QStringLiteral("Подтверждение"), text, QMessageBox::Ok | QMessageBox::Cancel,
                               QMessageBox::Ok) == QMessageBox::Ok;
}

// ---------------------------------------------------------------------------
// The rights grid

void TSettingsForm::ApplyVisibility() {
  const bool checking = cbNordCheck->isChecked();
  pNordPanel->setVisible(checking);
  cbAdvancedNordCheck->setVisible(checking);
}

void TSettingsForm::ShowModeTab() {
  const bool extended = cbAdvancedNordCheck->isChecked();
  HideRegNumEditor();
  HideDateEditor();
  // The tab to show first, so that the bar never holds no visible tab.
  const int shown = extended ? 1 : 0;
  pcModes->setTabVisible(shown, true);
  pcModes->setCurrentIndex(shown);
  pcModes->setTabVisible(1 - shown, false);
}

void TSettingsForm::ResetRightsGrid() {
  sgRegNums->setRowCount(0);
  AddEmptyRow(sgRegNums);
}

void TSettingsForm::AppendRightsRow(const TTerritoryCode& entry) {
  const int row = sgRegNums->rowCount() - 1;
  SetCellText(sgRegNums, row, 0, QString::number(row + 1));
  SetCellText(sgRegNums, row, 1, Q(entry.FNum));
  TTerritoryCode copy = entry;
  for (int column = kFirstCodeColumn; column <= kLastCodeColumn; ++column) {
    SetCellText(sgRegNums, row, column, CodeFlag(copy, column) ? kAllowed : QString());
  }
  SetCellText(sgRegNums, row, kBeginColumn, Trim(entry.FDateBegin).empty() ? kNoPeriod : Q(entry.FDateBegin));
  SetCellText(sgRegNums, row, kEndColumn, Trim(entry.FDateEnd).empty() ? kNoPeriod : Q(entry.FDateEnd));
  AddEmptyRow(sgRegNums);
}

void TSettingsForm::ShowRights(const std::vector<TTerritoryCode*>& list) {
  ResetRightsGrid();
  for (const TTerritoryCode* entry : list) AppendRightsRow(*entry);
}

void TSettingsForm::ShowRights(const std::vector<std::unique_ptr<TTerritoryCode>>& list) {
  ResetRightsGrid();
  for (const auto& entry : list) AppendRightsRow(*entry);
}

void TSettingsForm::GridToRights(std::vector<std::unique_ptr<TTerritoryCode>>& list) const {
  list.clear();
  for (int row = 0; row + 1 < sgRegNums->rowCount(); ++row) {
    auto entry = std::make_unique<TTerritoryCode>();
    entry->FNum = S(CellText(sgRegNums, row, 1));
    for (int column = kFirstCodeColumn; column <= kLastCodeColumn; ++column) {
      CodeFlag(*entry, column) = CellText(sgRegNums, row, column) == kAllowed;
    }
    const QString begin = CellText(sgRegNums, row, kBeginColumn);
    const QString end = CellText(sgRegNums, row, kEndColumn);
    entry->FDateBegin = begin == kNoPeriod ? std::string() : S(begin);
    entry->FDateEnd = end == kNoPeriod ? std::string() : S(end);
    list.push_back(std::move(entry));
  }
}

void TSettingsForm::RefillBasicList() {
  lbBasRegNum->clear();
  for (int row = 0; row + 1 < sgRegNums->rowCount(); ++row) lbBasRegNum->addItem(CellText(sgRegNums, row, 1));
}

TTerritoryCode* TSettingsForm::FilteredEntry(int row) const {
  if (!filtered || row < 0 || row >= static_cast<int>(filteredList.size())) return nullptr;
  return filteredList[static_cast<std::size_t>(row)];
}

void TSettingsForm::AddRight(const TTerritoryCode& entry) {
  if (filtered) {
    // The new entry joins the whole list; the filter decides whether it shows.
    tempOriginalList.push_back(std::make_unique<TTerritoryCode>(entry));
    ApplyFilter();
  } else {
    AppendRightsRow(entry);
  }
  RefillBasicList();
}

void TSettingsForm::SetRightsCell(int row, int column, const QString& text) {
  if (row < 0 || row + 1 >= sgRegNums->rowCount()) return;
  SetCellText(sgRegNums, row, column, text);
  if (TTerritoryCode* entry = FilteredEntry(row)) {
    if (column == 1) {
      entry->FNum = S(text);
    } else if (column >= kFirstCodeColumn && column <= kLastCodeColumn) {
      CodeFlag(*entry, column) = text == kAllowed;
    } else if (column == kBeginColumn) {
      entry->FDateBegin = text == kNoPeriod ? std::string() : S(text);
    } else if (column == kEndColumn) {
      entry->FDateEnd = text == kNoPeriod ? std::string() : S(text);
    }
    ApplyFilter();
  }
  if (column == 1) RefillBasicList();
}

void TSettingsForm::DeleteRightsRow(int row) {
  if (row < 0 || row + 1 >= sgRegNums->rowCount()) {
    ShowInfo(QStringLiteral("Невозможно удалить ") + QString::number(row + 1) + QStringLiteral(" строку!"));
    return;
  }
  if (TTerritoryCode* entry = FilteredEntry(row)) {
    std::erase_if(tempOriginalList, [entry](const auto& kept) { return kept.get() == entry; });
    ApplyFilter();
  } else {
    sgRegNums->removeRow(row);
    Renumber(sgRegNums);
  }
  RefillBasicList();
}

void TSettingsForm::MaskEdit1Change() {
  ApplyFilter();
  RefillBasicList();
}

void TSettingsForm::ApplyFilter() {
  const std::string prefix = S(FilterPrefix(MaskEdit1->displayText()));
  if (!prefix.empty()) {
    if (!filtered) GridToRights(tempOriginalList);
    filtered = true;
    filteredList.clear();
    for (const auto& entry : tempOriginalList) {
      if (entry->FNum.starts_with(prefix)) filteredList.push_back(entry.get());
    }
    ShowRights(filteredList);
  } else if (filtered) {
    EndFilter();
  }
}

void TSettingsForm::EndFilter() {
  filtered = false;
  filteredList.clear();
  ShowRights(tempOriginalList);
  tempOriginalList.clear();
}

// ---------------------------------------------------------------------------
// Basic mode

void TSettingsForm::bbAddRegNum_BasClick() {
  const std::string text = RegNumText(eRegNum);
  const std::string error = ValidateRegNum(text);
  if (!error.empty()) {
    ShowError(Q(error));
    eRegNum->setFocus();
    return;
  }
  TTerritoryCode entry;
  entry.FNum = NormalizeRegNum(text);
  entry.FMKS = entry.FRKS = entry.FCZ1 = entry.FCZ3 = entry.FCZ4 = entry.FCZ5 = entry.FCZ6 = entry.FCountry = true;
  AddRight(entry);
  eRegNum->clear();
}

void TSettingsForm::bbRemoveRegNum_BasClick() {
  const QList<QListWidgetItem*> selected = lbBasRegNum->selectedItems();
  DeleteRightsRow(selected.isEmpty() ? -1 : lbBasRegNum->row(selected.first()));
}

void TSettingsForm::lbBasRegNumDblClick() {
  QListWidgetItem* item = lbBasRegNum->currentItem();
  if (item == nullptr) return;
  fEditTarget = TEditTarget::BasicItem;
  fEditRow = lbBasRegNum->row(item);
  fEditColumn = 1;
  OpenRegNumEditor(lbBasRegNum, lbBasRegNum->visualItemRect(item), item->text());
}

// ---------------------------------------------------------------------------
// Extended mode

void TSettingsForm::bbAddRegNum_AdvClick() {
  const std::string text = RegNumText(meRegnum);
  const std::string error = ValidateRegNum(text);
  if (!error.empty()) {
    ShowError(Q(error));
    meRegnum->setFocus();
    return;
  }
  QCheckBox* const boxes[8] = {cbMKS, cbRKS, cbCH31, cbCH33, cbCH34, cbCH35, cbCH36, ChkCountry};
  if (std::none_of(std::begin(boxes), std::end(boxes), [](const QCheckBox* box) { return box->isChecked(); })) {
    ShowError(QStringLiteral("Не выбран ни один из терр. кодов!"));
    meRegnum->setFocus();
    return;
  }
  const bool hasBegin = eBeginNoPeriod->isHidden();
  const bool hasEnd = eEndNoPeriod->isHidden();
  if (hasBegin && hasEnd && dtpBegin->date() > dtpEnd->date()) {
    ShowError(QStringLiteral("Дата начала периода активности больше даты окончания периода активности!"));
    return;
  }
  UseDayMonthYearDates();
  TTerritoryCode entry;
  entry.FNum = NormalizeRegNum(text);
  for (int column = kFirstCodeColumn; column <= kLastCodeColumn; ++column) {
    CodeFlag(entry, column) = boxes[column - kFirstCodeColumn]->isChecked();
  }
  entry.FDateBegin = hasBegin ? S(dtpBegin->date().toString(kDateFormat)) : std::string();
  entry.FDateEnd = hasEnd ? S(dtpEnd->date().toString(kDateFormat)) : std::string();
  AddRight(entry);

  meRegnum->clear();
  for (QCheckBox* box : boxes) box->setChecked(false);
  ClearPeriod(dtpBegin, eBeginNoPeriod);
  ClearPeriod(dtpEnd, eEndNoPeriod);
}

void TSettingsForm::ClearPeriod(QDateEdit* picker, QLineEdit* overlay) {
  {
    const QSignalBlocker blocker(picker);
    picker->setDate(QDate::currentDate());
  }
  PlaceOverlay(picker, overlay);
  overlay->show();
}

void TSettingsForm::bbRemoveRegNum_AdvClick() {
  const int row = SelectedRow(sgRegNums);
  if (Confirm(QStringLiteral("Вы действительно хотите удалить запись?"))) DeleteRightsRow(row);
  HideDateEditor();
  HideRegNumEditor();
}

void TSettingsForm::sgRegNumsDblClick(int row, int column) {
  if (row < 0 || row + 1 >= sgRegNums->rowCount()) return;
  UseDayMonthYearDates();
  if (column == 1) {
    fEditTarget = TEditTarget::RightsCell;
    fEditRow = row;
    fEditColumn = column;
    OpenRegNumEditor(sgRegNums, sgRegNums->visualItemRect(sgRegNums->item(row, column)),
                     CellText(sgRegNums, row, column));
  } else if (column >= kFirstCodeColumn && column <= kLastCodeColumn) {
    SetRightsCell(row, column, CellText(sgRegNums, row, column) == kAllowed ? QString() : kAllowed);
  } else if (column == kBeginColumn || column == kEndColumn) {
    OpenDateEditor(row, column);
  }
}

// ---------------------------------------------------------------------------
// In-place editors

void TSettingsForm::OpenRegNumEditor(QWidget* view, const QRect& rect, const QString& text) {
  auto* itemView = qobject_cast<QAbstractItemView*>(view);
  QWidget* host = itemView != nullptr ? itemView->viewport() : view;
  if (eTempRegnum->parentWidget() != host) eTempRegnum->setParent(host);
  // A list item is lower than an edit field; the editor keeps a usable height.
  const int height = std::max(rect.height(), eTempRegnum->sizeHint().height());
  eTempRegnum->setGeometry(rect.x(), rect.y() + std::min(rect.height() - height, 0) / 2, std::max(rect.width(), 130),
                           height);
  eTempRegnum->setText(text);
  originalValue = text;
  eTempRegnum->show();
  eTempRegnum->raise();
  eTempRegnum->setFocus();
}

void TSettingsForm::HideRegNumEditor() {
  fEditTarget = TEditTarget::None;
  eTempRegnum->hide();
}

void TSettingsForm::CommitRegNumEditor() {
  if (fCommitting || fEditTarget == TEditTarget::None) return;
  fCommitting = true;
  const std::string text = RegNumText(eTempRegnum);
  const bool reReg = fEditTarget == TEditTarget::ReRegCell;
  std::string error = reReg ? ValidateRegNumStrict(text) : ValidateRegNum(text);
  if (error.empty() && reReg) {
    // The old and the new number of a re-registration never coincide.
    const QString other = CellText(sgReRegRegnums, fEditRow, fEditColumn == 1 ? 2 : 1);
    if (Q(text) == other) error = S(kWrongRegNum);
  }
  if (!error.empty()) {
    ShowError(Q(error));
    eTempRegnum->setFocus();
    fCommitting = false;
    return;
  }
  const TEditTarget target = fEditTarget;
  const int row = fEditRow;
  HideRegNumEditor();
  switch (target) {
    case TEditTarget::BasicItem:
    case TEditTarget::RightsCell:
      SetRightsCell(row, 1, Q(NormalizeRegNum(text)));
      break;
    case TEditTarget::ReRegCell:
      if (row + 1 < sgReRegRegnums->rowCount()) SetCellText(sgReRegRegnums, row, fEditColumn, Q(text));
      break;
    case TEditTarget::None:
      break;
  }
  fCommitting = false;
}

void TSettingsForm::OpenDateEditor(int row, int column) {
  const QRect rect = sgRegNums->visualItemRect(sgRegNums->item(row, column));
  fDateRow = row;
  fDateColumn = column;
  dtpTemp->setGeometry(rect.x(), rect.y(), std::max(rect.width() - kButtonWidth, 0), rect.height());
  bTempClear->setGeometry(rect.x() + rect.width() - kButtonWidth, rect.y(), kButtonWidth, rect.height());
  const QString text = CellText(sgRegNums, row, column);
  {
    const QSignalBlocker blocker(dtpTemp);
    const QDate date = QDate::fromString(text, kDateFormat);
    dtpTemp->setDate(text == kNoPeriod || !date.isValid() ? QDate::currentDate() : date);
  }
  eTempNoPeriod->setVisible(text == kNoPeriod);
  dtpTemp->show();
  dtpTemp->raise();
  bTempClear->show();
  bTempClear->raise();
  PlaceOverlay(dtpTemp, eTempNoPeriod);
  dtpTemp->setFocus();
}

void TSettingsForm::dtpTempChange() {
  if (dtpTemp->isHidden()) return;
  eTempNoPeriod->hide();
  SetRightsCell(fDateRow, fDateColumn, dtpTemp->date().toString(kDateFormat));
}

void TSettingsForm::bTempClearClick() {
  SetRightsCell(fDateRow, fDateColumn, kNoPeriod);
  eTempNoPeriod->show();
}

void TSettingsForm::HideDateEditor() {
  dtpTemp->hide();
  bTempClear->hide();
  eTempNoPeriod->hide();
}

void TSettingsForm::OpenComboEditor(int row, int column) {
  fComboRow = row;
  fComboColumn = column;
  cbTemp->clear();
  if (column == 3) {
    for (int index = 0; index < cbYear->count(); ++index) cbTemp->addItem(cbYear->itemText(index));
  } else {
    const int count = CellText(sgReRegRegnums, row, 3).toInt() == 2010 ? 2 : 4;
    for (int period = 1; period <= count; ++period) cbTemp->addItem(QString::number(period));
  }
  cbTemp->setCurrentIndex(cbTemp->findText(CellText(sgReRegRegnums, row, column)));
  cbTemp->setGeometry(sgReRegRegnums->visualItemRect(sgReRegRegnums->item(row, column)));
  cbTemp->show();
  cbTemp->raise();
  cbTemp->setFocus();
}

void TSettingsForm::CommitComboEditor() {
  if (fComboRow >= 0 && fComboRow + 1 < sgReRegRegnums->rowCount() && cbTemp->currentIndex() >= 0) {
    SetCellText(sgReRegRegnums, fComboRow, fComboColumn, cbTemp->currentText());
  }
  cbTemp->hide();
}

// ---------------------------------------------------------------------------
// Re-registration

void TSettingsForm::ResetReRegGrid() {
  sgReRegRegnums->setRowCount(0);
  AddEmptyRow(sgReRegRegnums);
}

void TSettingsForm::FillPeriods(int year) {
  cbPeriod->clear();
  // 2010 is the one year reported by half-years.
  if (year == 2010) {
    cbPeriod->addItems({"первое полугодие", "второе полугодие"});
  } else {
    cbPeriod->addItems({"первый квартал", "второй квартал", "третий квартал", "четвертый квартал"});
  }
  cbPeriod->setCurrentIndex(-1);
}

void TSettingsForm::bbReRegAddClick() {
  const std::string before = RegNumText(meRegNumBefore);
  const std::string after = RegNumText(meRegNumAfter);
  for (auto [text, field] : {std::pair{before, meRegNumBefore}, std::pair{after, meRegNumAfter}}) {
    const std::string error = ValidateRegNumStrict(text);
    if (!error.empty()) {
      ShowError(Q(error));
      field->setFocus();
      return;
    }
  }
  if (before == after) {
    ShowError(kWrongRegNum);
    meRegNumAfter->setFocus();
    return;
  }
  if (cbYear->currentIndex() < 0) {
    ShowError(QStringLiteral("Необходимо выбрать год!"));
    cbYear->setFocus();
    return;
  }
  if (cbPeriod->currentIndex() < 0) {
    ShowError(QStringLiteral("Необходимо выбрать период!"));
    cbPeriod->setFocus();
    return;
  }
  const int row = sgReRegRegnums->rowCount() - 1;
  SetCellText(sgReRegRegnums, row, 0, QString::number(row + 1));
  SetCellText(sgReRegRegnums, row, 1, Q(before));
  SetCellText(sgReRegRegnums, row, 2, Q(after));
  SetCellText(sgReRegRegnums, row, 3, cbYear->currentText());
  SetCellText(sgReRegRegnums, row, 4, QString::number(cbPeriod->currentIndex() + 1));
  AddEmptyRow(sgReRegRegnums);
  meRegNumBefore->clear();
  meRegNumAfter->clear();
  cbYear->setCurrentIndex(1);
  cbPeriod->setCurrentIndex(1);
}

void TSettingsForm::bbReRegRemoveClick() {
  const int row = SelectedRow(sgReRegRegnums);
  if (Confirm(QStringLiteral("Вы действительно хотите удалить запись?"))) DeleteReRegRow(row);
}

void TSettingsForm::DeleteReRegRow(int row) {
  if (row < 0 || row + 1 >= sgReRegRegnums->rowCount()) {
    ShowInfo(QStringLiteral("Невозможно удалить ") + QString::number(row + 1) + QStringLiteral(" строку!"));
    return;
  }
  HideRegNumEditor();
  cbTemp->hide();
  sgReRegRegnums->removeRow(row);
  Renumber(sgReRegRegnums);
}

void TSettingsForm::sgReRegRegnumsDblClick(int row, int column) {
  if (row < 0 || row + 1 >= sgReRegRegnums->rowCount()) return;
  if (column == 1 || column == 2) {
    fEditTarget = TEditTarget::ReRegCell;
    fEditRow = row;
    fEditColumn = column;
    OpenRegNumEditor(sgReRegRegnums, sgReRegRegnums->visualItemRect(sgReRegRegnums->item(row, column)),
                     CellText(sgReRegRegnums, row, column));
  } else if (column == 3 || column == 4) {
    OpenComboEditor(row, column);
  }
}

// ---------------------------------------------------------------------------
// Saving

void TSettingsForm::bbEnterPasswordClick(TLoginTarget target) {
  TLoginForm login(this, target);
  login.exec();
}

void TSettingsForm::bbSaveClick() {
  TSettings& settings = TSettings::GetInstance();
  settings.fCompareTerrCodes = cbNordCheck->isChecked();
  settings.FCompareTerrCodesExtMode = cbAdvancedNordCheck->isChecked();
  settings.FSaveULPass = cbSavePassword->isChecked();
  settings.FGetLastListFromUL = cbUseLastWhenNoListOnDate->isChecked();
  settings.FDebug = cbDebug->isChecked();
  settings.FCheckPerFormat = cbListFormatCheck->isChecked();
  settings.FULMachine = S(eServerNameOrIP->text());
  settings.FULPort = S(ePort->text());
  settings.FULAppName = S(eAppName->text());

  // Rows that the filter hides belong to the list all the same.
  if (filtered) {
    EndFilter();
    const QSignalBlocker blocker(MaskEdit1);
    MaskEdit1->clear();
    RefillBasicList();
  }
  GridToRights(settings.FTerrCodeRightList);

  settings.FCrossList.clear();
  for (int row = 0; row + 1 < sgReRegRegnums->rowCount(); ++row) {
    settings.CrossListAddElement(S(CellText(sgReRegRegnums, row, 1)), S(CellText(sgReRegRegnums, row, 2)),
                                 StrToIntDef(S(CellText(sgReRegRegnums, row, 3)), 0),
                                 StrToIntDef(S(CellText(sgReRegRegnums, row, 4)), 0));
  }

  settings.FCrossServerName = S(eLORSServerNameOrIP->text());
  settings.FCrossServerBase = S(eLORSBase->text());
  settings.FCrossServerPort = S(eLORSPort->text());
  settings.FCrossAutoUpdate = cbCAutoUpdate->isChecked();
  settings.FCrossSavePass = cbLORSSavePassword->isChecked();

  emit settingsSaved();
  accept();
}

}  // namespace morvel
