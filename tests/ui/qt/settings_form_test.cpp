#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include "config/credentials.h"
#include "config/settings.h"
#include "dialog_driver.h"
#include "ui/login_form.h"
#include "ui/settings_form.h"

using namespace morvel;

namespace {

const QString kWrong = "Некорректный регистрационный номер!";

std::unique_ptr<TTerritoryCode> Right(const std::string& num, const std::string& flags, const std::string& begin = "",
                                      const std::string& end = "") {
  auto entry = std::make_unique<TTerritoryCode>();
  entry->FNum = num;
  bool* fields[8] = {&entry->FMKS, &entry->FRKS, &entry->FCZ1, &entry->FCZ3,
                     &entry->FCZ4, &entry->FCZ5, &entry->FCZ6, &entry->FCountry};
  for (int i = 0; i < 8; ++i) *fields[i] = flags[static_cast<std::size_t>(i)] == '1';
  entry->FDateBegin = begin;
  entry->FDateEnd = end;
  return entry;
}

// Every setting the dialog shows, as text, to compare before and after.
QStringList Snapshot() {
  const TSettings& s = TSettings::GetInstance();
  QStringList lines;
  for (const auto& entry : s.FTerrCodeRightList) {
    TTerritoryCode copy = *entry;
    lines << QString::fromStdString("right " + copy.ToLine());
  }
  for (const auto& rec : s.FCrossList) lines << QString::fromStdString("cross " + rec->ToLine());
  for (const std::string* text : {&s.FULMachine, &s.FULPort, &s.FULAppName, &s.FCrossServerName, &s.FCrossServerBase,
                                  &s.FCrossServerPort}) {
    lines << QString::fromStdString(*text);
  }
  for (bool flag : {s.fCompareTerrCodes, s.FCompareTerrCodesExtMode, s.FSaveULPass, s.FGetLastListFromUL, s.FDebug,
                    s.FCheckPerFormat, s.FCrossAutoUpdate, s.FCrossSavePass}) {
    lines << (flag ? "1" : "0");
  }
  return lines;
}

}  // namespace

class TSettingsFormTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TSettingsForm> form;

  template <class T>
  T* W(const char* name) {
    T* widget = form->findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return widget;
  }
  QTableWidget* Rights() { return W<QTableWidget>("sgRegNums"); }
  QTableWidget* ReReg() { return W<QTableWidget>("sgReRegRegnums"); }
  QListWidget* Basic() { return W<QListWidget>("lbBasRegNum"); }
  static QString Cell(QTableWidget* grid, int row, int column) {
    return grid->item(row, column) != nullptr ? grid->item(row, column)->text() : QString();
  }
  static QStringList Column(QTableWidget* grid, int column) {
    QStringList texts;
    for (int row = 0; row + 1 < grid->rowCount(); ++row) texts << Cell(grid, row, column);
    return texts;
  }
  static QStringList Items(QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
  }
  // Lets pending layouts settle, so that a click lands where the widget is drawn.
  static void Settle() { QApplication::processEvents(); }
  void Click(const char* name) {
    Settle();
    QTest::mouseClick(W<QPushButton>(name), Qt::LeftButton);
  }
  void ClickBox(const char* name) {
    Settle();
    // On the box itself: a check box takes clicks on its box and caption only.
    QCheckBox* box = W<QCheckBox>(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  }
  void TypeInto(const char* name, const QString& text) {
    QLineEdit* edit = W<QLineEdit>(name);
    edit->clear();
    TypeText(edit, text);
  }
  void DoubleClick(QTableWidget* grid, int row, int column) {
    Settle();
    const QPoint at = grid->visualItemRect(grid->item(row, column)).center();
    // A double click is a click followed by the double-click event.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
  }
  void Select(QTableWidget* grid, int row) {
    Settle();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 1)).center());
  }
  void UseExtendedMode() {
    W<QTabWidget>("PageControl1")->setCurrentIndex(1);
    W<QCheckBox>("cbNordCheck")->setChecked(true);
    W<QCheckBox>("cbAdvancedNordCheck")->setChecked(true);
    Settle();
  }
  static QStringList SavedNumbers() {
    QStringList numbers;
    for (const auto& entry : TSettings::GetInstance().FTerrCodeRightList) numbers << QString::fromStdString(entry->FNum);
    return numbers;
  }

 private slots:
  void init() {
    TSingleton::DestroyInstance<TSettings>();
    TSettings& s = TSettings::GetInstance();
    s.fCompareTerrCodes = true;
    s.FCompareTerrCodesExtMode = false;
    s.FTerrCodeRightList.push_back(Right("099-001-000001", "11111111"));
    s.FTerrCodeRightList.push_back(Right("099-001-000002", "10000000", "01.01.2020", "31.12.2020"));
    s.FTerrCodeRightList.push_back(Right("100-002-000003", "01000001", "", "30.06.2021"));
    s.CrossListAddElement("099-001-000010", "099-001-000011", 2015, 3);
    s.FULMachine = "ul.local";
    s.FULPort = "8080";
    s.FULAppName = "list4";
    s.FCrossServerName = "lors";
    s.FCrossServerPort = "1521";
    s.FCrossServerBase = "base";
    form = std::make_unique<TSettingsForm>();
    form->show();
  }
  void cleanup() {
    form.reset();
    TSingleton::DestroyInstance<TSettings>();
  }

  void registrationNumberChecks() {
    // Leading parts pass the lenient check; what is missing in the first group does not.
    QCOMPARE(TSettingsForm::ValidateRegNum("099-001-000123"), std::string());
    QCOMPARE(TSettingsForm::ValidateRegNum("099-   -      "), std::string());
    QCOMPARE(TSettingsForm::ValidateRegNum("099-001-      "), std::string());
    for (const char* wrong : {"   -   -      ", "", "09 -   -      ", "0  -   -      ", "___-___-______",
                              "099-0_1-      ", "0991-  -      "}) {
      QCOMPARE(TSettingsForm::ValidateRegNum(wrong), kWrong.toStdString());
    }
    // The strict check takes only complete numbers.
    QCOMPARE(TSettingsForm::ValidateRegNumStrict("099-001-000123"), std::string());
    for (const char* wrong : {"099-001-00012 ", "099-   -      ", " 99-001-000123", "099-0 1-000123"}) {
      QCOMPARE(TSettingsForm::ValidateRegNumStrict(wrong), kWrong.toStdString());
    }
    QCOMPARE(TSettingsForm::NormalizeRegNum("099-001-      "), std::string("099-001"));
    QCOMPARE(TSettingsForm::NormalizeRegNum("099-   -      "), std::string("099"));
    QCOMPARE(TSettingsForm::NormalizeRegNum(" 099-001-000123 "), std::string("099-001-000123"));
  }

  void showingFillsEveryPageFromTheSettings() {
    QTableWidget* grid = Rights();
    QCOMPARE(grid->columnCount(), 12);
    QCOMPARE(grid->horizontalHeaderItem(4)->text(), QString("ЧЗ1"));  // Cyrillic Ze, not a three
    QCOMPARE(grid->horizontalHeaderItem(11)->text(), QString("Дата окончания"));
    QCOMPARE(grid->rowCount(), 4);  // three entries and the trailing empty row
    QCOMPARE(Column(grid, 0), QStringList({"1", "2", "3"}));
    QCOMPARE(Column(grid, 1), QStringList({"099-001-000001", "099-001-000002", "100-002-000003"}));
    QCOMPARE(Cell(grid, 0, 2) + Cell(grid, 0, 9), QString("XX"));
    QCOMPARE(Cell(grid, 1, 2) + "|" + Cell(grid, 1, 3), QString("X|"));
    QCOMPARE(Cell(grid, 1, 10) + " " + Cell(grid, 1, 11), QString("01.01.2020 31.12.2020"));
    QCOMPARE(Cell(grid, 2, 10) + " " + Cell(grid, 2, 11), QString("Бессрочно 30.06.2021"));
    QCOMPARE(Cell(grid, 2, 3) + Cell(grid, 2, 9), QString("XX"));
    QCOMPARE(Cell(grid, 3, 1), QString());
    QCOMPARE(Items(Basic()), Column(grid, 1));

    QTableWidget* reReg = ReReg();
    QCOMPARE(reReg->rowCount(), 2);
    QCOMPARE(QStringList({Cell(reReg, 0, 0), Cell(reReg, 0, 1), Cell(reReg, 0, 2), Cell(reReg, 0, 3), Cell(reReg, 0, 4)}),
             QStringList({"1", "099-001-000010", "099-001-000011", "2015", "3"}));

    QCOMPARE(W<QLineEdit>("eServerNameOrIP")->text(), QString("ul.local"));
    QCOMPARE(W<QLineEdit>("eLORSBase")->text(), QString("base"));
    QVERIFY(!W<QGroupBox>("gbLORSConnection")->isEnabled());
    QCOMPARE(W<QLabel>("lLORSLastUpdateDate")->text(), QString("Дата последнего обновления: нет"));
    QVERIFY(W<QLabel>("lLORSLastUpdateDate")->styleSheet().contains("red"));
    QVERIFY(W<QCheckBox>("cbUseLastWhenNoListOnDate")->isHidden());
    QCOMPARE(W<QTabWidget>("PageControl1")->currentIndex(), 0);
    QCOMPARE(W<QTabWidget>("PageControl1")->tabText(0), QString("БД ПК \"Велано\""));
    // An untouched registration field reads as blanks round the two hyphens.
    QCOMPARE(W<QLineEdit>("eRegNum")->displayText(), QString("   -   -      "));
  }

  void lastUpdateDateIsGreenOnlyWhenItIsToday() {
    form->hide();
    TSettings::GetInstance().FCrossDateLastUpdate = Today();
    form->show();
    QLabel* label = W<QLabel>("lLORSLastUpdateDate");
    QCOMPARE(label->text(), QString::fromStdString("Дата последнего обновления: " + DateToStr(Today())));
    QVERIFY(label->styleSheet().contains("green"));
    form->hide();
    TSettings::GetInstance().FCrossDateLastUpdate = Today() - 1;
    form->show();
    QVERIFY(label->styleSheet().contains("red"));
  }

  void checkBoxesShowTheMatchingPanelAndMode() {
    auto* modes = W<QTabWidget>("pcModes");
    QVERIFY(modes->isTabVisible(0) && !modes->isTabVisible(1));
    W<QTabWidget>("PageControl1")->setCurrentIndex(1);
    ClickBox("cbAdvancedNordCheck");
    QVERIFY(W<QCheckBox>("cbAdvancedNordCheck")->isChecked());
    QVERIFY(!modes->isTabVisible(0) && modes->isTabVisible(1));
    QCOMPARE(modes->currentIndex(), 1);
    ClickBox("cbNordCheck");
    QVERIFY(W<QWidget>("pNordPanel")->isHidden());
    QVERIFY(W<QCheckBox>("cbAdvancedNordCheck")->isHidden());
  }

  void uncheckedTerritorialCheckStaysAtTheTop() {
    W<QTabWidget>("PageControl1")->setCurrentIndex(1);
    Settle();
    QCheckBox* check = W<QCheckBox>("cbNordCheck");
    QWidget* panel = W<QWidget>("pNordPanel");
    const int top = check->y();
    const int panelHeight = panel->height();
    ClickBox("cbNordCheck");
    Settle();
    QVERIFY(panel->isHidden());
    QCOMPARE(check->y(), top);
    // Ticked again, the panel takes the page's height as before.
    ClickBox("cbNordCheck");
    Settle();
    QCOMPARE(check->y(), top);
    QCOMPARE(panel->height(), panelHeight);
  }

  void basicAddStoresTheNormalizedNumberWithEveryCode() {
    MessageBoxAnswerer boxes;
    TypeInto("eRegNum", "099");
    Click("bbAddRegNum_Bas");
    TypeInto("eRegNum", "200300");
    Click("bbAddRegNum_Bas");
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(Items(Basic()).mid(3), QStringList({"099", "200-300"}));
    QCOMPARE(W<QLineEdit>("eRegNum")->displayText(), QString("   -   -      "));
    QTableWidget* grid = Rights();
    QCOMPARE(grid->rowCount(), 6);
    QCOMPARE(Cell(grid, 3, 0), QString("4"));
    for (int column = 2; column <= 9; ++column) QCOMPARE(Cell(grid, 3, column), QString("X"));
    QCOMPARE(Cell(grid, 3, 10) + Cell(grid, 3, 11), QString("БессрочноБессрочно"));
    Click("bbSave");
    const auto& saved = TSettings::GetInstance().FTerrCodeRightList;
    QCOMPARE(saved.size(), std::size_t(5));
    TTerritoryCode added = *saved[3];
    QCOMPARE(added.ToLine(), std::string("099/11111111"));
    QCOMPARE(saved[4]->FNum, std::string("200-300"));
  }

  void wrongNumbersAreRefusedInEveryAddButton() {
    MessageBoxAnswerer boxes;
    Click("bbAddRegNum_Bas");  // untouched field
    TypeInto("eRegNum", "09");
    Click("bbAddRegNum_Bas");
    QCOMPARE(boxes.texts, QStringList({kWrong, kWrong}));
    QCOMPARE(boxes.icons.value(0), QMessageBox::Critical);
    QCOMPARE(form->focusWidget(), W<QLineEdit>("eRegNum"));
    UseExtendedMode();
    TypeInto("meRegnum", "1");
    Click("bbAddRegNum_Adv");
    QCOMPARE(boxes.texts.size(), 3);
    QCOMPARE(Rights()->rowCount(), 4);
    QCOMPARE(Basic()->count(), 3);
  }

  void pastedNumbersFillTheMask() {
    QApplication::clipboard()->setText("099-007-000777");
    QLineEdit* field = W<QLineEdit>("eRegNum");
    field->setFocus();
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->displayText(), QString("099-007-000777"));
    Click("bbAddRegNum_Bas");
    QCOMPARE(Items(Basic()).last(), QString("099-007-000777"));
  }

  void basicDeleteNeedsASelectedItem() {
    MessageBoxAnswerer boxes;
    Click("bbRemoveRegNum_Bas");
    QCOMPARE(boxes.texts, QStringList({"Невозможно удалить 0 строку!"}));
    QCOMPARE(boxes.icons.value(0), QMessageBox::Information);
    QCOMPARE(Rights()->rowCount(), 4);
    QListWidget* list = Basic();
    W<QTabWidget>("PageControl1")->setCurrentIndex(1);
    Settle();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    Click("bbRemoveRegNum_Bas");
    QCOMPARE(boxes.texts.size(), 1);  // no confirmation in the basic mode
    QCOMPARE(Items(list), QStringList({"099-001-000001", "100-002-000003"}));
    QCOMPARE(Column(Rights(), 0), QStringList({"1", "2"}));
    QCOMPARE(Column(Rights(), 1), QStringList({"099-001-000001", "100-002-000003"}));
  }

  void extendedAddChecksCodesAndDateOrder() {
    MessageBoxAnswerer boxes;
    UseExtendedMode();
    TypeInto("meRegnum", "300400500600");
    Click("bbAddRegNum_Adv");
    QCOMPARE(boxes.texts, QStringList({"Не выбран ни один из терр. кодов!"}));
    QCOMPARE(form->focusWidget(), W<QLineEdit>("meRegnum"));

    ClickBox("cbRKS");
    ClickBox("cbCH35");
    W<QDateEdit>("dtpBegin")->setDate(QDate(2024, 2, 1));
    W<QDateEdit>("dtpEnd")->setDate(QDate(2024, 1, 1));
    QVERIFY(W<QLineEdit>("eBeginNoPeriod")->isHidden());  // a chosen date uncovers the picker
    Click("bbAddRegNum_Adv");
    QCOMPARE(boxes.texts.value(1),
             QString("Дата начала периода активности больше даты окончания периода активности!"));
    QCOMPARE(Rights()->rowCount(), 4);

    // With the begin date open the order does not matter.
    Click("bClearPeriod");
    QVERIFY(!W<QLineEdit>("eBeginNoPeriod")->isHidden());
    Click("bbAddRegNum_Adv");
    QCOMPARE(boxes.texts.size(), 2);
    QTableWidget* grid = Rights();
    QCOMPARE(grid->rowCount(), 5);
    QStringList row;
    for (int column = 0; column < 12; ++column) row << Cell(grid, 3, column);
    QCOMPARE(row, QStringList({"4", "300-400-500600", "", "X", "", "", "", "X", "", "", "Бессрочно", "01.01.2024"}));
    // The entry fields are ready for the next entry.
    QCOMPARE(W<QLineEdit>("meRegnum")->displayText(), QString("   -   -      "));
    QVERIFY(!W<QCheckBox>("cbRKS")->isChecked() && !W<QCheckBox>("cbCH35")->isChecked());
    QVERIFY(!W<QLineEdit>("eBeginNoPeriod")->isHidden() && !W<QLineEdit>("eEndNoPeriod")->isHidden());
    QCOMPARE(Items(Basic()).last(), QString("300-400-500600"));

    Click("bbSave");
    TTerritoryCode saved = *TSettings::GetInstance().FTerrCodeRightList.back();
    QCOMPARE(saved.FDateBegin, std::string());
    QCOMPARE(saved.ToLine(), std::string("300-400-500600/01000100            01.01.2024"));
  }

  void equalDatesAreAccepted() {
    MessageBoxAnswerer boxes;
    UseExtendedMode();
    TypeInto("meRegnum", "300");
    ClickBox("ChkCountry");
    W<QDateEdit>("dtpBegin")->setDate(QDate(2024, 3, 5));
    W<QDateEdit>("dtpEnd")->setDate(QDate(2024, 3, 5));
    Click("bbAddRegNum_Adv");
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(Cell(Rights(), 3, 10) + " " + Cell(Rights(), 3, 11), QString("05.03.2024 05.03.2024"));
  }

  // Typing a date over "Бессрочно" enters it, as the arrows and the calendar do; today's
  // date too, which the picker already holds beneath the overlay.
  void typedDatesOverTheOpenPeriodStick() {
    MessageBoxAnswerer boxes;
    UseExtendedMode();
    TypeInto("meRegnum", "300");
    ClickBox("cbMKS");
    const QString today = QDate::currentDate().toString("ddMMyyyy");
    QDateEdit* begin = W<QDateEdit>("dtpBegin");
    QDateEdit* end = W<QDateEdit>("dtpEnd");
    begin->setFocus();
    TypeText(begin, "05032024");
    QVERIFY(W<QLineEdit>("eBeginNoPeriod")->isHidden());
    end->setFocus();
    TypeText(end, today);
    QVERIFY(W<QLineEdit>("eEndNoPeriod")->isHidden());
    Click("bbAddRegNum_Adv");
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(Cell(Rights(), 3, 10) + " " + Cell(Rights(), 3, 11),
             "05.03.2024 " + QDate::currentDate().toString("dd.MM.yyyy"));

    // The grid's own date editor, over an open begin date.
    DoubleClick(Rights(), 0, 10);
    QDateEdit* picker = W<QDateEdit>("dtpTemp");
    QVERIFY(W<QLineEdit>("eTempNoPeriod")->isVisible());
    TypeText(picker, today);
    QVERIFY(W<QLineEdit>("eTempNoPeriod")->isHidden());
    QCOMPARE(Cell(Rights(), 0, 10), QDate::currentDate().toString("dd.MM.yyyy"));
    DoubleClick(Rights(), 0, 11);
    TypeText(W<QDateEdit>("dtpTemp"), "31122030");
    QCOMPARE(Cell(Rights(), 0, 11), QString("31.12.2030"));
  }

  void extendedDeleteAsksFirst() {
    MessageBoxAnswerer boxes;
    UseExtendedMode();
    QTableWidget* grid = Rights();
    Select(grid, 0);
    boxes.Queue(QMessageBox::Cancel);
    Click("bbRemoveRegNum_Adv");
    QCOMPARE(boxes.texts, QStringList({"Вы действительно хотите удалить запись?"}));
    QCOMPARE(grid->rowCount(), 4);
    Select(grid, 0);
    Click("bbRemoveRegNum_Adv");
    QCOMPARE(Column(grid, 1), QStringList({"099-001-000002", "100-002-000003"}));
    QCOMPARE(Column(grid, 0), QStringList({"1", "2"}));
    // The trailing empty row is not a data row.
    Select(grid, 2);
    Click("bbRemoveRegNum_Adv");
    QCOMPARE(boxes.texts.last(), QString("Невозможно удалить 3 строку!"));
    QCOMPARE(grid->rowCount(), 3);
  }

  void doubleClicksEditCellsInPlace() {
    MessageBoxAnswerer boxes;
    UseExtendedMode();
    QTableWidget* grid = Rights();
    DoubleClick(grid, 1, 3);  // a code toggles
    QCOMPARE(Cell(grid, 1, 3), QString("X"));
    DoubleClick(grid, 1, 3);
    QCOMPARE(Cell(grid, 1, 3), QString());

    DoubleClick(grid, 1, 1);
    QLineEdit* editor = W<QLineEdit>("eTempRegnum");
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->displayText(), QString("099-001-000002"));
    editor->setCursorPosition(0);
    TypeText(editor, "5");
    QTest::keyClick(editor, Qt::Key_Delete);  // a blank in the first group
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(boxes.texts, QStringList({kWrong}));
    QVERIFY(editor->isVisible());
    editor->clear();
    TypeText(editor, "777888");
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(editor->isHidden());
    QCOMPARE(Cell(grid, 1, 1), QString("777-888"));
    QCOMPARE(Items(Basic()).value(1), QString("777-888"));

    DoubleClick(grid, 2, 10);  // an open date
    auto* picker = W<QDateEdit>("dtpTemp");
    QVERIFY(picker->isVisible());
    QVERIFY(W<QLineEdit>("eTempNoPeriod")->isVisible());
    picker->setDate(QDate(2019, 7, 1));
    QVERIFY(W<QLineEdit>("eTempNoPeriod")->isHidden());
    QCOMPARE(Cell(grid, 2, 10), QString("01.07.2019"));
    DoubleClick(grid, 1, 11);  // a set date opens with that date
    QCOMPARE(picker->date(), QDate(2020, 12, 31));
    QVERIFY(W<QLineEdit>("eTempNoPeriod")->isHidden());
    Click("bTempClear");
    QCOMPARE(Cell(grid, 1, 11), QString("Бессрочно"));
    QVERIFY(W<QLineEdit>("eTempNoPeriod")->isVisible());

    Click("bbSave");
    const auto& saved = TSettings::GetInstance().FTerrCodeRightList;
    QCOMPARE(saved[1]->FNum, std::string("777-888"));
    QCOMPARE(saved[1]->FDateEnd, std::string());
    QCOMPARE(saved[2]->FDateBegin, std::string("01.07.2019"));
  }

  void basicItemsAreEditedInPlace() {
    W<QTabWidget>("PageControl1")->setCurrentIndex(1);
    Settle();
    QListWidget* list = Basic();
    const QPoint at = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QLineEdit* editor = W<QLineEdit>("eTempRegnum");
    QVERIFY(editor->isVisible());
    editor->clear();
    TypeText(editor, "123456");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(Items(list).value(2), QString("123-456"));
    QCOMPARE(Cell(Rights(), 2, 1), QString("123-456"));
  }

  void filterNarrowsAndLosesNothing() {
    MessageBoxAnswerer boxes;
    UseExtendedMode();
    QTableWidget* grid = Rights();
    QLineEdit* filter = W<QLineEdit>("MaskEdit1");
    TypeText(filter, "09");
    QCOMPARE(Column(grid, 1), QStringList({"099-001-000001", "099-001-000002"}));
    TypeText(filter, "9001000002");
    QCOMPARE(Column(grid, 1), QStringList({"099-001-000002"}));
    QCOMPARE(Items(Basic()), QStringList({"099-001-000002"}));
    filter->clear();
    TypeText(filter, "099");
    Select(grid, 0);
    Click("bbRemoveRegNum_Adv");
    QCOMPARE(Column(grid, 1), QStringList({"099-001-000002"}));
    DoubleClick(grid, 0, 9);  // a code toggled while filtered
    // An entry added while filtered joins the whole list even when the filter hides it.
    TypeInto("meRegnum", "555");
    ClickBox("cbMKS");
    Click("bbAddRegNum_Adv");
    QCOMPARE(Column(grid, 1), QStringList({"099-001-000002"}));
    filter->clear();
    QCOMPARE(Column(grid, 1), QStringList({"099-001-000002", "100-002-000003", "555"}));
    QCOMPARE(Column(grid, 0), QStringList({"1", "2", "3"}));
    QCOMPARE(Cell(grid, 0, 9), QString("X"));
    QCOMPARE(Items(Basic()), Column(grid, 1));
    QCOMPARE(boxes.texts, QStringList({"Вы действительно хотите удалить запись?"}));
  }

  void numberAndDateEditsUnderAFilterAreKept() {
    UseExtendedMode();
    QTableWidget* grid = Rights();
    TypeText(W<QLineEdit>("MaskEdit1"), "099");
    DoubleClick(grid, 1, 11);
    W<QDateEdit>("dtpTemp")->setDate(QDate(2030, 1, 31));
    QCOMPARE(Cell(grid, 1, 11), QString("31.01.2030"));
    // A new number outside the filter takes the row out of sight, not out of the list.
    DoubleClick(grid, 0, 1);
    QLineEdit* editor = W<QLineEdit>("eTempRegnum");
    editor->clear();
    TypeText(editor, "200");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(Column(grid, 1), QStringList({"099-001-000002"}));
    Click("bbSave");
    QCOMPARE(SavedNumbers(), QStringList({"200", "099-001-000002", "100-002-000003"}));
    QCOMPARE(TSettings::GetInstance().FTerrCodeRightList[1]->FDateEnd, std::string("31.01.2030"));
    QVERIFY(TSettings::GetInstance().FTerrCodeRightList[0]->FCountry);
  }

  void savingWhileFilteredKeepsHiddenRows() {
    UseExtendedMode();
    TypeText(W<QLineEdit>("MaskEdit1"), "100");
    QCOMPARE(Rights()->rowCount(), 2);
    DoubleClick(Rights(), 0, 2);
    Click("bbSave");
    QCOMPARE(SavedNumbers(), QStringList({"099-001-000001", "099-001-000002", "100-002-000003"}));
    QVERIFY(TSettings::GetInstance().FTerrCodeRightList[2]->FMKS);
    QVERIFY(TSettings::GetInstance().FTerrCodeRightList[0]->FMKS);
  }

  void filteredEditsReachTheRowTheyWereMadeOn() {
    // Two entries with one number: deleting the second under a filter keeps the first.
    TSettings& s = TSettings::GetInstance();
    s.FTerrCodeRightList.push_back(Right("099-001-000001", "00000001", "01.01.2022", ""));
    form->hide();
    form->show();
    MessageBoxAnswerer boxes;
    UseExtendedMode();
    TypeText(W<QLineEdit>("MaskEdit1"), "099001000001");
    QTableWidget* grid = Rights();
    QCOMPARE(grid->rowCount(), 3);
    Select(grid, 1);
    Click("bbRemoveRegNum_Adv");
    Click("bbSave");
    QCOMPARE(s.FTerrCodeRightList.size(), std::size_t(3));
    TTerritoryCode kept = *s.FTerrCodeRightList[0];
    QCOMPARE(kept.ToLine(), std::string("099-001-000001/11111111"));
  }

  void showingAgainEndsTheFilter() {
    TypeText(W<QLineEdit>("MaskEdit1"), "100");
    QCOMPARE(Rights()->rowCount(), 2);
    form->hide();
    form->show();
    QCOMPARE(Rights()->rowCount(), 4);
    QCOMPARE(W<QLineEdit>("MaskEdit1")->displayText(), QString("   -   -      "));
    // Typing again starts from the whole grid.
    TypeText(W<QLineEdit>("MaskEdit1"), "099");
    QCOMPARE(Rights()->rowCount(), 3);
  }

  void reRegistrationAddChecksEveryField() {
    MessageBoxAnswerer boxes;
    W<QTabWidget>("PageControl1")->setCurrentIndex(2);
    Settle();
    TypeInto("meRegNumBefore", "099001");  // incomplete
    TypeInto("meRegNumAfter", "099001000200");
    Click("bbReRegAdd");
    QCOMPARE(boxes.texts.value(0), kWrong);
    QCOMPARE(form->focusWidget(), W<QLineEdit>("meRegNumBefore"));
    TypeInto("meRegNumBefore", "099001000200");
    Click("bbReRegAdd");
    QCOMPARE(boxes.texts.value(1), kWrong);
    QCOMPARE(form->focusWidget(), W<QLineEdit>("meRegNumAfter"));
    TypeInto("meRegNumBefore", "099001000100");
    Click("bbReRegAdd");
    QCOMPARE(boxes.texts.value(2), QString("Необходимо выбрать период!"));
    auto* year = W<QComboBox>("cbYear");
    auto* period = W<QComboBox>("cbPeriod");
    QCOMPARE(year->currentText(), QString::number(QDate::currentDate().year()));
    QCOMPARE(year->itemText(0), QString::number(QDate::currentDate().year() + 10));
    QCOMPARE(year->itemText(year->count() - 1), QString("1992"));
    year->setCurrentIndex(-1);
    Click("bbReRegAdd");
    QCOMPARE(boxes.texts.value(3), QString("Необходимо выбрать год!"));
    QCOMPARE(form->focusWidget(), year);

    // 2010 is reported by half-years; choosing another year brings the quarters back.
    year->setCurrentIndex(year->findText("2011"));
    QTest::keyClick(year, Qt::Key_Down);
    QCOMPARE(year->currentText(), QString("2010"));
    QCOMPARE(period->count(), 2);
    QCOMPARE(period->itemText(1), QString("второе полугодие"));
    QCOMPARE(period->currentIndex(), -1);
    QTest::keyClick(period, Qt::Key_Down);
    QTest::keyClick(period, Qt::Key_Down);
    QCOMPARE(period->currentIndex(), 1);
    Click("bbReRegAdd");
    QCOMPARE(boxes.texts.size(), 4);
    QTableWidget* grid = ReReg();
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(QStringList({Cell(grid, 1, 0), Cell(grid, 1, 1), Cell(grid, 1, 2), Cell(grid, 1, 3), Cell(grid, 1, 4)}),
             QStringList({"2", "099-001-000100", "099-001-000200", "2010", "2"}));
    QCOMPARE(W<QLineEdit>("meRegNumBefore")->displayText(), QString("   -   -      "));
    QCOMPARE(year->currentIndex(), 1);
    QCOMPARE(period->currentIndex(), 1);
    QTest::keyClick(year, Qt::Key_Down);
    QCOMPARE(period->count(), 4);
    QCOMPARE(period->itemText(3), QString("четвертый квартал"));

    Click("bbSave");
    const auto& cross = TSettings::GetInstance().FCrossList;
    QCOMPARE(cross.size(), std::size_t(2));
    QCOMPARE(cross[1]->FSRegNum + " " + cross[1]->FERegNum, std::string("099-001-000100 099-001-000200"));
    QCOMPARE(cross[1]->FCrossYear, 2010);
    QCOMPARE(cross[1]->FCrossPeriod, 2);
  }

  void reRegistrationDeleteAndCellEdits() {
    MessageBoxAnswerer boxes;
    W<QTabWidget>("PageControl1")->setCurrentIndex(2);
    Settle();
    QTableWidget* grid = ReReg();
    DoubleClick(grid, 0, 2);
    QLineEdit* editor = W<QLineEdit>("eTempRegnum");
    QVERIFY(editor->isVisible());
    editor->clear();
    TypeText(editor, "099001000010");  // the old number again
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(boxes.texts, QStringList({kWrong}));
    editor->clear();
    TypeText(editor, "099001000012");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(Cell(grid, 0, 2), QString("099-001-000012"));

    DoubleClick(grid, 0, 3);
    auto* combo = W<QComboBox>("cbTemp");
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->currentText(), QString("2015"));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(Cell(grid, 0, 3), QString("2014"));

    grid->clearSelection();
    Click("bbReRegRemove");  // nothing selected
    QCOMPARE(boxes.texts.mid(1),
             QStringList({"Вы действительно хотите удалить запись?", "Невозможно удалить 0 строку!"}));
    Select(grid, 0);
    Click("bbReRegRemove");
    QCOMPARE(grid->rowCount(), 1);
    Click("bbSave");
    QVERIFY(TSettings::GetInstance().FCrossList.empty());
  }

  void saveCopiesEveryControl() {
    QSignalSpy saved(form.get(), &TSettingsForm::settingsSaved);
    TypeInto("eServerNameOrIP", "10.0.0.5");
    TypeInto("ePort", "81");
    TypeInto("eAppName", "list5");
    ClickBox("cbSavePassword");
    ClickBox("cbNordCheck");
    W<QCheckBox>("cbAdvancedNordCheck")->setChecked(true);
    W<QCheckBox>("cbDebug")->setChecked(true);
    W<QCheckBox>("cbListFormatCheck")->setChecked(true);
    W<QCheckBox>("cbUseLastWhenNoListOnDate")->setChecked(true);
    W<QCheckBox>("cbCAutoUpdate")->setChecked(true);
    W<QCheckBox>("cbLORSSavePassword")->setChecked(true);
    W<QLineEdit>("eLORSServerNameOrIP")->setText("lors2");
    W<QLineEdit>("eLORSPort")->setText("1522");
    W<QLineEdit>("eLORSBase")->setText("base2");
    Click("bbSave");
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(!form->isVisible());
    QCOMPARE(saved.count(), 1);
    const TSettings& s = TSettings::GetInstance();
    QCOMPARE(s.FULMachine + " " + s.FULPort + " " + s.FULAppName, std::string("10.0.0.5 81 list5"));
    QCOMPARE(s.FCrossServerName + " " + s.FCrossServerPort + " " + s.FCrossServerBase, std::string("lors2 1522 base2"));
    QVERIFY(s.FSaveULPass && !s.fCompareTerrCodes && s.FCompareTerrCodesExtMode && s.FDebug && s.FCheckPerFormat);
    QVERIFY(s.FGetLastListFromUL && s.FCrossAutoUpdate && s.FCrossSavePass);
    QCOMPARE(SavedNumbers(), QStringList({"099-001-000001", "099-001-000002", "100-002-000003"}));
    QCOMPARE(s.FCrossList.size(), std::size_t(1));
  }

  void cancelLeavesTheSettingsUntouched() {
    MessageBoxAnswerer boxes;
    const QStringList before = Snapshot();
    QSignalSpy saved(form.get(), &TSettingsForm::settingsSaved);
    TypeInto("eServerNameOrIP", "other");
    W<QCheckBox>("cbDebug")->setChecked(true);
    ClickBox("cbAdvancedNordCheck");
    TypeInto("eRegNum", "777");
    Click("bbAddRegNum_Bas");
    Select(Rights(), 0);
    Click("bbRemoveRegNum_Adv");
    DoubleClick(Rights(), 0, 2);
    TypeText(W<QLineEdit>("MaskEdit1"), "1");
    Select(ReReg(), 0);
    Click("bbReRegRemove");
    Click("bbCancel");
    QCOMPARE(form->result(), int(QDialog::Rejected));
    QCOMPARE(saved.count(), 0);
    QCOMPARE(Snapshot(), before);
    // Shown again, the dialog shows the settings, not the abandoned edits.
    form->show();
    QCOMPARE(Column(Rights(), 1), QStringList({"099-001-000001", "099-001-000002", "100-002-000003"}));
    QCOMPARE(ReReg()->rowCount(), 2);
    QCOMPARE(W<QLineEdit>("eServerNameOrIP")->text(), QString("ul.local"));
    QVERIFY(!W<QCheckBox>("cbDebug")->isChecked());
  }

  void closingResetsThePickers() {
    UseExtendedMode();
    W<QDateEdit>("dtpBegin")->setDate(QDate(2001, 1, 1));
    DoubleClick(Rights(), 0, 10);
    QVERIFY(W<QDateEdit>("dtpTemp")->isVisible());
    Click("bbCancel");
    form->show();
    QCOMPARE(W<QDateEdit>("dtpBegin")->date(), QDate::currentDate());
    QVERIFY(!W<QLineEdit>("eBeginNoPeriod")->isHidden());
    QVERIFY(W<QDateEdit>("dtpTemp")->isHidden());
  }

  void pageIndexTellsTheLoginWhereToStore() {
    auto* pages = W<QTabWidget>("PageControl1");
    auto* tabs = pages->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    QCOMPARE(TSettings::GetInstance().FNumSettingsWin, 2u);
    pages->setCurrentIndex(3);
    QCOMPARE(TSettings::GetInstance().FNumSettingsWin, 3u);
    pages->setCurrentIndex(0);
    Settle();
    // "Ввести" on the server page opens the login dialog, which stores the server's credentials.
    QTimer::singleShot(0, [] {
      auto* login = qobject_cast<TLoginForm*>(QApplication::activeModalWidget());
      QVERIFY(login != nullptr);
      TypeText(login->findChild<QLineEdit*>("eLogin"), "user");
      TypeText(login->findChild<QLineEdit*>("ePassword"), "pw");
      QTest::mouseClick(login->findChild<QPushButton*>("bbOK"), Qt::LeftButton);
    });
    QTest::mouseClick(W<QPushButton>("bbEnterPassword"), Qt::LeftButton);
    QCOMPARE(DecryptText(TSettings::GetInstance().FULLogin, kUserNameKey), std::string("user"));
    QCOMPARE(DecryptText(TSettings::GetInstance().FULPass, kPasswordKey), std::string("pw"));
    QVERIFY(TSettings::GetInstance().FCrossUserDB.empty());
    // Closed on the re-registration page, the page index stays for a later login.
    pages->setCurrentIndex(2);
    Click("bbCancel");
    QCOMPARE(TSettings::GetInstance().FNumSettingsWin, 2u);
    form->show();
    QCOMPARE(TSettings::GetInstance().FNumSettingsWin, 0u);
  }
};

QTEST_MAIN(TSettingsFormTest)
#include "settings_form_test.moc"
