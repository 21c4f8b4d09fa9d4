#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <memory>
#include <string>

#include "base/exit_code.h"
#include "config/credentials.h"
#include "config/settings.h"
#include "support/test_support.h"
#include "ui/err_list_form.h"
#include "ui/main_window.h"
#include "ui/work_manager_form.h"
#include "ui_test_support.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;

const fs::path kDemo = fs::path(MORVEL_SOURCE_DIR) / "demo";

class MainWindowTest : public test::WindowTest {
 protected:
  // Prepares the controller on the given configuration file and opens the window.
  TMainWindow& Open(const std::string& ini = std::string()) {
    if (!ini.empty()) test::WriteFile(DataFolder() / "MorvelConfig.ini", ini);
    manager = std::make_unique<TWorkManagerForm>(false, argc, argv);
    manager->TWorkManager::Prepare();
    manager->CreateWindows();
    TMainWindow* window = manager->MainWindow();
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    return *window;
  }

  // A configuration whose folders exist and which compares with a List folder.
  std::string FolderConfig(const fs::path& is, const fs::path& report, const fs::path& lists) const {
    return "[Directories]\r\nPerech=" + lists.string() + "\r\nIS=" + is.string() + "\r\nReport=" + report.string() +
           "\r\n[SummListServer]\r\nName=127.0.0.1\r\nPort=8080\r\nApp=list4\r\nConnect=0\r\nSavePassw=0\r\n"
           "[Variables]\r\nYear=0\r\nPeriod=0\r\n[Options]\r\nTerritoryControl=1\r\nStaff=1\r\nNameList=1\r\nWithList=1\r\n"
           "CheckPerFormat=1\r\n";
  }

  TSettings& settings() { return TSettings::GetInstance(); }

  std::unique_ptr<TWorkManagerForm> manager;
};

TEST_F(MainWindowTest, LongFolderInTheStepTextGivesWayToTheFileName) {
  TMainWindow& w = Open();
  const std::string folder = "/home/clerk/" + std::string(40, 'x') + "/" + std::string(40, 'y') + "/" +
                             std::string(40, 'z');
  const std::string step = "Чтение файла " + folder + "/PFR-700-Y-2019-ORG-099-001-000123.XML";
  w.ProgressUpdate(0, 10, 3, step);
  const QString shown = w.StepLabel->text();
  EXPECT_TRUE(shown.startsWith("Чтение файла")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("PFR-700-Y-2019-ORG-099-001-000123.XML")) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
  EXPECT_LE(w.StepLabel->fontMetrics().horizontalAdvance(shown), w.StepLabel->contentsRect().width());
  EXPECT_EQ(w.StepLabel->toolTip().toStdString(), step);
  // A short step is shown whole.
  w.ProgressUpdate(0, 1, 1, "Готово!");
  EXPECT_EQ(w.StepLabel->text(), "Готово!");
}

TEST_F(MainWindowTest, RegistrationNumberTypedOrPastedIsGroupedThreeThreeSix) {
  TMainWindow& w = Open();
  w.ERegNum->setFocus();
  QTest::keyClicks(w.ERegNum, "099 001 000123");
  EXPECT_EQ(w.ERegNum->text(), "099-001-000123");
  EXPECT_EQ(settings().FRegNum, "099-001-000123");

  // Ten digits stay as they are; hyphens and spaces typed into them go.
  w.ERegNum->clear();
  QTest::keyClicks(w.ERegNum, "099-001 0001");
  EXPECT_EQ(w.ERegNum->text(), "0990010001");
  EXPECT_EQ(settings().FRegNum, "0990010001");

  // A pasted thirteen-digit number keeps its first twelve digits.
  w.ERegNum->clear();
  QApplication::clipboard()->setText("0990010001234");
  QTest::keySequence(w.ERegNum, QKeySequence::Paste);
  EXPECT_EQ(w.ERegNum->text(), "099-001-000123");
  EXPECT_EQ(settings().FRegNum, "099-001-000123");

  // Deleting back below eleven characters drops the grouping again.
  w.ERegNum->end(false);
  for (int i = 0; i < 2; ++i) QTest::keyClick(w.ERegNum, Qt::Key_Backspace);
  EXPECT_EQ(w.ERegNum->text(), "0990010001");
}

TEST_F(MainWindowTest, StartButtonNeedsTheListOrTheTerritorialCheck) {
  TMainWindow& w = Open("[Options]\r\nWithList=1\r\nTerritoryControl=0\r\nStaff=1\r\nNameList=1\r\n");
  EXPECT_TRUE(w.CheckBox1->isChecked());
  EXPECT_TRUE(w.BitBtn1->isEnabled());

  test::ClickBox(w.CheckBox1);
  EXPECT_FALSE(settings().FCompareWithList);
  EXPECT_FALSE(w.BitBtn1->isEnabled());
  for (QWidget* off : std::initializer_list<QWidget*>{w.cbPerechDB, w.EDirPerech, w.BitBtn2, w.BitBtn5,
                                                      w.rbFactPeriods, w.cbShtat, w.cbNameList}) {
    EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
  }

  // With the territorial-code check on, the check alone is a run worth starting.
  settings().fCompareTerrCodes = true;
  test::ClickBox(w.CheckBox1);
  test::ClickBox(w.CheckBox1);
  EXPECT_FALSE(w.CheckBox1->isChecked());
  EXPECT_TRUE(w.BitBtn1->isEnabled());

  test::ClickBox(w.CheckBox1);
  EXPECT_TRUE(settings().FCompareWithList);
  for (QWidget* on : std::initializer_list<QWidget*>{w.cbPerechDB, w.EDirPerech, w.BitBtn2, w.BitBtn5,
                                                     w.rbFactPeriods, w.cbShtat, w.cbNameList, w.BitBtn1}) {
    EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
  }
  test::ClickBox(w.cbShtat);
  EXPECT_FALSE(settings().FCompareWithListStaff);
  test::ClickBox(w.cbNameList);
  EXPECT_FALSE(settings().FCompareWithListNameList);
}

TEST_F(MainWindowTest, ServerBoxShowsTheServerAddressAndKeepsTheListFolder) {
  test::TempDir lists;
  TMainWindow& w = Open("[Directories]\r\nPerech=" + lists.path().string() +
                        "\r\n[SummListServer]\r\nName=10.0.0.5\r\nPort=8080\r\nApp=list4\r\nConnect=0\r\n"
                        "[Options]\r\nWithList=1\r\n");
  EXPECT_EQ(w.EDirPerech->text().toStdString(), lists.path().string());
  EXPECT_EQ(w.EDirPerechLabel->text(), "Путь к файлу Перечня:");

  test::ClickBox(w.cbPerechDB);
  EXPECT_TRUE(settings().FUseUL);
  EXPECT_EQ(w.EDirPerech->text(), "10.0.0.5:8080/list4/GetList");
  EXPECT_FALSE(w.EDirPerech->isEnabled());
  EXPECT_TRUE(w.BitBtn2->isHidden());
  EXPECT_TRUE(w.BitBtn5->isHidden());
  EXPECT_EQ(w.EDirPerechLabel->text(), "Путь к БД ПК \"Велано ЛП\":");
  // The address shown is never stored as the List folder.
  EXPECT_EQ(settings().FDirList, lists.path().string());

  test::ClickBox(w.cbPerechDB);
  EXPECT_FALSE(settings().FUseUL);
  EXPECT_EQ(w.EDirPerech->text().toStdString(), lists.path().string());
  EXPECT_TRUE(w.EDirPerech->isEnabled());
  EXPECT_FALSE(w.BitBtn2->isHidden());
  EXPECT_FALSE(w.BitBtn5->isHidden());
  EXPECT_EQ(w.EDirPerechLabel->text(), "Путь к файлу Перечня:");

  // A folder typed into the edit is the one stored and brought back.
  w.EDirPerech->clear();
  QTest::keyClicks(w.EDirPerech, "/other");
  EXPECT_EQ(settings().FDirList, "/other");
  QTest::mouseClick(w.BitBtn5, Qt::LeftButton);
  EXPECT_EQ(w.EDirIS->text(), "/other");
  EXPECT_EQ(settings().FDirPD, "/other");
  QTest::mouseClick(w.BitBtn6, Qt::LeftButton);
  EXPECT_EQ(settings().FDirReport, "/other");
}

TEST_F(MainWindowTest, FolderOfRecordsOffersItsRegistrationNumbers) {
  test::TempDir first;
  test::TempDir second;
  test::WriteFile(first / "PFR-700-Y-2019-ORG-099-001-000123-DCK-1.xml", "");
  test::WriteFile(first / "r0990020002.xml", "");
  test::WriteFile(first / "notes-099-003-000777.txt", "");
  test::WriteFile(second / "PFR-700-Y-2020-ORG-045-001-000001.xml", "");
  TMainWindow& w = Open("[Directories]\r\nIS=" + first.path().string() + "\r\n");
  EXPECT_EQ(test::Items(w.ComboBox1), QStringList({"099-001-000123", "0990020002"}));

  test::ChooseItem(w.ComboBox1, "0990020002");
  EXPECT_EQ(w.ERegNum->text(), "0990020002");
  EXPECT_EQ(settings().FRegNum, "0990020002");

  w.EDirIS->selectAll();
  QTest::keyClicks(w.EDirIS, QString::fromStdString(second.path().string()));
  EXPECT_EQ(test::Items(w.ComboBox1), QStringList({"045-001-000001"}));
  EXPECT_EQ(settings().FDirPD, second.path().string());
  // Refreshing the list leaves the number being worked on alone.
  EXPECT_EQ(w.ERegNum->text(), "0990020002");
}

TEST_F(MainWindowTest, YearListOffersHalfYearsFor2010AndQuartersLater) {
  TMainWindow& w = Open("[Variables]\r\nYear=2011\r\nPeriod=3\r\n");
  const QStringList years = test::Items(w.CmbYear);
  ASSERT_GE(years.size(), 3);
  EXPECT_EQ(years[0], "не имеет значения");
  EXPECT_EQ(years[1], "2010");
  EXPECT_EQ(years.back().toInt(), QDate::currentDate().year());
  // The stored year is selected; the period list starts again from its first entry.
  EXPECT_EQ(w.CmbYear->currentText(), "2011");
  EXPECT_EQ(w.ComboBoxPeriod->currentIndex(), 0);
  EXPECT_EQ(test::Items(w.ComboBoxPeriod), QStringList({"не имеет значения", "первый квартал", "второй квартал",
                                                         "третий квартал", "четвертый квартал"}));

  test::ChooseItem(w.CmbYear, "2010");
  EXPECT_EQ(settings().FYear, 2010);
  EXPECT_EQ(test::Items(w.ComboBoxPeriod),
            QStringList({"не имеет значения", "первое полугодие", "второе полугодие"}));
  test::ChooseItem(w.ComboBoxPeriod, "второе полугодие");
  EXPECT_EQ(settings().FPeriod, 2);
  // Starting counts half-years in quarters: the second half-year ends with the fourth.
  // The records folder does not exist, so the run stops at the parameter check.
  w.EDirIS->setText("/no/such/folder");
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  EXPECT_EQ(settings().FYear, 2010);
  EXPECT_EQ(settings().FPeriod, 4);

  test::ChooseItem(w.CmbYear, "2011");
  test::ChooseItem(w.ComboBoxPeriod, "второй квартал");
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  EXPECT_EQ(settings().FYear, 2011);
  EXPECT_EQ(settings().FPeriod, 2);

  test::ChooseItem(w.CmbYear, "не имеет значения");
  EXPECT_EQ(settings().FYear, 0);
  EXPECT_EQ(test::Items(w.ComboBoxPeriod), QStringList({"не имеет значения"}));
}

TEST_F(MainWindowTest, EnterInTheRegistrationNumberStartsARunThatListsEveryProblem) {
  test::TempDir report;
  TMainWindow& w = Open("[Directories]\r\nIS=/no/such/records\r\nReport=" + report.path().string() +
                        "\r\nPerech=/no/such/lists\r\n[Options]\r\nWithList=1\r\nStaff=1\r\nNameList=1\r\n");
  w.ERegNum->setFocus();
  QTest::keyClicks(w.ERegNum, "099 001");
  QTest::keyClick(w.ERegNum, Qt::Key_Return);

  ASSERT_TRUE(w.ErrListForm->isVisible());
  EXPECT_FALSE(w.ErrListForm->isModal());
  EXPECT_EQ(w.ErrListForm->Lines(),
            QStringList({"Проверьте путь к файлам Индивидуальных сведений! Такого каталога не существует!",
                         "Проверьте путь к файлу Перечня! Такого каталога не существует!"}));
  EXPECT_TRUE(fs::is_empty(report.path()));
  EXPECT_TRUE(opened.empty());

  // A number with a space fails too; the list shows the new problems only.
  w.EDirIS->setText(QString::fromStdString(report.path().string()));
  w.EDirPerech->setText(QString::fromStdString(report.path().string()));
  w.ERegNum->clear();
  QTest::keyClick(w.ERegNum, Qt::Key_Enter);
  EXPECT_EQ(w.ErrListForm->Lines(),
            QStringList({"Перед началом сверки укажите корректный регистрационный номер предприятия!"}));
}

TEST_F(MainWindowTest, RunOnTheDemoDataEndsWithTheProtocolOpened) {
  test::TempDir report;
  TMainWindow& w = Open(FolderConfig(kDemo / "is", report.path(), kDemo / "lists"));
  QTest::keyClicks(w.ERegNum, "099001000123");

  // What the window lets the user do while the run is at work: seen from inside
  // the run, through the events that the progress reports let through.
  bool sawRun = false;
  bool startEnabled = true;
  bool menuEnabled = true;
  bool regNumEnabled = true;
  QString stepText;
  QTimer::singleShot(0, [&] {
    sawRun = w.Running();
    startEnabled = w.BitBtn1->isEnabled();
    menuEnabled = w.MainMenu->isEnabled() && w.N1->isEnabled();
    regNumEnabled = w.ERegNum->isEnabled();
    stepText = w.StepLabel->text();
    // A second start now would be refused.
    w.butStartClick();
  });
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);

  EXPECT_TRUE(sawRun);
  EXPECT_FALSE(startEnabled);
  EXPECT_FALSE(menuEnabled);
  EXPECT_FALSE(regNumEnabled);
  EXPECT_FALSE(stepText.isEmpty());
  EXPECT_EQ(w.StepLabel->text(), "Готово!");
  EXPECT_EQ(w.StepProgress->maximum(), 1);
  EXPECT_EQ(w.StepProgress->value(), 1);
  EXPECT_TRUE(w.BitBtn1->isEnabled());
  EXPECT_TRUE(w.ERegNum->isEnabled());
  EXPECT_TRUE(w.MainMenu->isEnabled());
  EXPECT_FALSE(w.ErrListForm->isVisible());

  const fs::path protocol = fs::path(manager->ReportFile());
  EXPECT_EQ(protocol.parent_path(), report.path());
  EXPECT_EQ(protocol.filename().string().rfind("MORVEL-", 0), 0u) << protocol;
  EXPECT_TRUE(fs::is_regular_file(protocol));
  // The demo List differs from the records on purpose: the run reports errors.
  EXPECT_EQ(ExitCode(), 30);
  ASSERT_EQ(OpenedPaths().size(), 1u);
  EXPECT_EQ(OpenedPaths()[0], protocol);

  // The run saved the configuration with what the window showed.
  const std::string ini = test::ReadFile(DataFolder() / "MorvelConfig.ini");
  EXPECT_NE(ini.find("IS=" + (kDemo / "is").string() + "\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, RunThatFailsLeavesTheWindowReadyForTheNext) {
  test::TempDir place;
  const fs::path report = place / "report";
  fs::create_directories(report);
  TMainWindow& w = Open(FolderConfig(kDemo / "is", report, kDemo / "lists") + "Debug=1\r\n");
  QTest::keyClicks(w.ERegNum, "099001000123");
  // The report folder goes away while the run is at work: the protocol cannot be written.
  QTimer::singleShot(0, [&] { fs::remove_all(report); });
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);

  EXPECT_EQ(w.StepLabel->text(), "Готово!");
  EXPECT_FALSE(w.Running());
  EXPECT_TRUE(w.BitBtn1->isEnabled());
  EXPECT_TRUE(w.isVisible());
  // No protocol was written, so none is opened.
  EXPECT_TRUE(manager->ReportFile().empty());
  EXPECT_TRUE(opened.empty());
  EXPECT_NE(test::ReadLogs(DataFolder() / "logs").find("Произошла ошибка: "), std::string::npos);

  // The next run, with the folder back, goes through.
  fs::create_directories(report);
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  EXPECT_TRUE(fs::is_regular_file(manager->ReportFile()));
  EXPECT_EQ(OpenedPaths().size(), 1u);
}

TEST_F(MainWindowTest, HelpMenuOpensTheManualAndTheLogFolder) {
  TMainWindow& w = Open();
  w.N2->trigger();
  ASSERT_EQ(OpenedPaths().size(), 1u);
  const fs::path manual = OpenedPaths()[0];
  EXPECT_EQ(manual.filename().string(), "Морвель - Руководство пользователя.pdf");
  ASSERT_TRUE(fs::is_regular_file(manual));
  EXPECT_EQ(test::ReadFile(manual).substr(0, 5), "%PDF-");

  w.MnILogs->trigger();
  ASSERT_EQ(OpenedPaths().size(), 2u);
  EXPECT_TRUE(fs::is_directory(OpenedPaths()[1]));
  EXPECT_EQ(OpenedPaths()[1].string().rfind(DataFolder().string(), 0), 0u) << OpenedPaths()[1];
}

TEST_F(MainWindowTest, ServerRunWithoutKeptPasswordAsksForLoginAndCancelStopsIt) {
  test::TempDir report;
  TMainWindow& w = Open("[Directories]\r\nIS=/no/such/records\r\nReport=" + report.path().string() +
                        "\r\n[SummListServer]\r\nName=127.0.0.1\r\nPort=1\r\nApp=list4\r\nConnect=1\r\n"
                        "SavePassw=0\r\n[Options]\r\nWithList=1\r\nStaff=1\r\n");
  QWidget* asked = test::AnswerNextModal([&] { QTest::mouseClick(w.BitBtn1, Qt::LeftButton); },
                                         [](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
  ASSERT_NE(asked, nullptr);
  EXPECT_EQ(asked->windowTitle(), "Идентификация пользователя");
  // Cancelled: not even the parameter check ran.
  EXPECT_FALSE(w.ErrListForm->isVisible());
  EXPECT_TRUE(w.StepLabel->text().isEmpty());
}

TEST_F(MainWindowTest, SavedSettingsReachTheWindowAndCancelledOnesDoNot) {
  TMainWindow& w = Open("[Options]\r\nWithList=0\r\nTerritoryControl=0\r\n");
  EXPECT_FALSE(w.BitBtn1->isEnabled());

  // Cancel: the territorial-code check ticked in the dialog is forgotten.
  auto tickTerritoryCheck = [](QWidget* dialog, const char* button) {
    auto* check = dialog->findChild<QCheckBox*>("cbNordCheck");
    auto* pages = dialog->findChild<QTabWidget*>("PageControl1");
    ASSERT_NE(check, nullptr);
    ASSERT_NE(pages, nullptr);
    pages->setCurrentIndex(1);
    test::ClickBox(check);
    ASSERT_TRUE(check->isChecked());
    QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
  };
  ASSERT_NE(test::AnswerNextModal([&] { w.N1->trigger(); },
                                  [&](QWidget* dialog) { tickTerritoryCheck(dialog, "bbCancel"); }),
            nullptr);
  EXPECT_FALSE(settings().fCompareTerrCodes);
  EXPECT_FALSE(w.BitBtn1->isEnabled());

  // Save: the check alone makes a run worth starting, and the window shows it at once.
  ASSERT_NE(test::AnswerNextModal([&] { w.N1->trigger(); },
                                  [&](QWidget* dialog) { tickTerritoryCheck(dialog, "bbSave"); }),
            nullptr);
  EXPECT_TRUE(settings().fCompareTerrCodes);
  EXPECT_TRUE(w.BitBtn1->isEnabled());
}

// The login before a run is for the List server, whatever page the settings
// dialog was left on: the run's requests carry what the clerk typed, and the
// server lets the run through.
TEST_F(MainWindowTest, LoginBeforeARunStoresTheListServersCredentials) {
  test::TempDir place;
  const fs::path report = place / "report";
  fs::create_directories(report);
  const fs::path requests = place / "requests.log";
  test::ReferenceListServer server({"--lists", test::TestData("pipeline/lists").string(), "--user", "clerk",
                                    "--password", "secret", "--log", requests.string()});
  ASSERT_TRUE(server.Started());
  TMainWindow& w = Open("[Directories]\r\nIS=" + test::TestData("pipeline/clean/is").string() + "\r\nReport=" +
                        report.string() + "\r\n[SummListServer]\r\nName=127.0.0.1\r\nPort=" +
                        std::to_string(server.Port()) +
                        "\r\nApp=list4\r\nConnect=1\r\nSavePassw=0\r\n[Variables]\r\nYear=0\r\nPeriod=0\r\n"
                        "[Options]\r\nTerritoryControl=0\r\nWithList=1\r\nStaff=1\r\nNameList=1\r\n");
  QTest::keyClicks(w.ERegNum, "099009000001");
  // Left on "Проверка терр. кодов", then on the re-registration page.
  for (const int page : {1, 2}) {
    SCOPED_TRACE(page);
    ASSERT_NE(test::AnswerNextModal([&] { w.N1->trigger(); },
                                    [page](QWidget* dialog) {
                                      dialog->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(page);
                                      QTest::mouseClick(dialog->findChild<QPushButton*>("bbCancel"), Qt::LeftButton);
                                    }),
              nullptr);
    EXPECT_EQ(settings().FNumSettingsWin, static_cast<unsigned>(page));

    QWidget* login = test::AnswerNextModal([&] { QTest::mouseClick(w.BitBtn1, Qt::LeftButton); },
                                           [](QWidget* dialog) {
                                             QTest::keyClicks(dialog->findChild<QLineEdit*>("eLogin"), "clerk");
                                             QTest::keyClicks(dialog->findChild<QLineEdit*>("ePassword"), "secret");
                                             QTest::mouseClick(dialog->findChild<QPushButton*>("bbOK"), Qt::LeftButton);
                                           });
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(DecryptText(settings().FULLogin, kUserNameKey), "clerk");
    EXPECT_EQ(DecryptText(settings().FULPass, kPasswordKey), "secret");
    EXPECT_TRUE(settings().FCrossUserDB.empty());
    EXPECT_TRUE(settings().FCrossPasswordDB.empty());
    // The server took the credentials: the run found its List and nothing wrong.
    EXPECT_EQ(ExitCode(), 0);
  }
  const std::string request = "GET /list4/GetList?user=clerk&pass=secret&regNum=099-009-000001&year=2019&quarter=4\n";
  EXPECT_EQ(test::ReadFile(requests), request + request);
}

// The protocol of the window's last run, as UTF-8 text with LF breaks.
std::string LastProtocol(const TWorkManagerForm& manager) {
  if (manager.ReportFile().empty()) return {};
  return test::ProtocolText(test::ReadFile(fs::path(manager.ReportFile())));
}

// Lists from a folder: a 2010 List of 6 months serves the first half-year's
// set, one of 12 months the second's, and each is counted over the six months
// of its half-year, as the packs are.
TEST_F(MainWindowTest, HalfYearListsOf2010FromAFolderServeTheirOwnHalfYears) {
  test::TempDir report;
  const fs::path data = test::TestData("half-years-2010");
  TMainWindow& w = Open(FolderConfig(data / "is", report.path(), data / "lists"));
  QTest::keyClicks(w.ERegNum, "099009000001");
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  EXPECT_EQ(ExitCode(), 0);
  const std::string protocol = LastProtocol(*manager);
  EXPECT_NE(protocol.find("Отчетный период: <b>\nвторое полугодие\n, \n2010 год </b></h3>\n<h3>Ошибок нет</h3>"),
            std::string::npos)
      << protocol;
  EXPECT_NE(protocol.find("Отчетный период: <b>\nпервое полугодие\n, \n2010 год </b></h3>\n<h3>Ошибок нет</h3>"),
            std::string::npos);
  EXPECT_NE(protocol.find("<b>Для сверки ИС за 2010 год 2 период, использовался файл Перечня: " +
                          (data / "lists" / "perech-2010-6.xml").string() + " (АО &quot;Литейный завод&quot;)</b>"),
            std::string::npos);
  EXPECT_NE(protocol.find("<b>Для сверки ИС за 2010 год 4 период, использовался файл Перечня: " +
                          (data / "lists" / "perech-2010-12.xml").string() + " (АО &quot;Литейный завод&quot;)</b>"),
            std::string::npos);
}

// A List with a default namespace is read as a List, so the format check
// checks it too: the schema declares no such element, and the List is refused
// with the format message instead of being used unchecked.
TEST_F(MainWindowTest, FormatCheckRefusesAListInANamespace) {
  test::TempDir place;
  const fs::path lists = place / "lists";
  const fs::path report = place / "report";
  fs::create_directories(report);
  std::string list = test::ReadFile(test::TestData("pipeline/lists/perech-099-009-000001-2019.xml"));
  const std::string root = "<Перечень ";
  list.replace(list.find(root), root.size(), "<Перечень xmlns=\"urn:morvel:perechen\" ");
  test::WriteFile(lists / "perech.xml", list);
  TMainWindow& w = Open(FolderConfig(test::TestData("pipeline/clean/is"), report, lists));
  QTest::keyClicks(w.ERegNum, "099009000001");
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  // Preferential persons and no List.
  EXPECT_EQ(ExitCode(), 23);
  const std::string protocol = LastProtocol(*manager);
  EXPECT_NE(protocol.find("Проверка формата Перечня: Несоответствие требуемому формату xml (" +
                          (lists / "perech.xml").string() + "):"),
            std::string::npos)
      << protocol;
  EXPECT_EQ(protocol.find("использовался файл Перечня"), std::string::npos);
}

TEST_F(MainWindowTest, AboutEntryShowsTheAboutBoxModally) {
  TMainWindow& w = Open();
  QString title;
  QWidget* shown = test::AnswerNextModal([&] { w.nAbout->trigger(); },
                                         [&](QWidget* dialog) {
                                           title = dialog->windowTitle();
                                           static_cast<QDialog*>(dialog)->accept();
                                         });
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(title, "О программе");
  EXPECT_EQ(w.windowTitle().toStdString(), "Морвель v" + settings().Version());
}

}  // namespace
}  // namespace morvel
