#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "config/settings.h"
#include "log/singleton.h"
#include "ui/russian_interface.h"
#include "ui/settings_form.h"

using namespace morvel;

namespace {

std::unique_ptr<TTerritoryCode> OneRight() {
  auto entry = std::make_unique<TTerritoryCode>();
  entry->FNum = "099-001-000001";
  entry->FMKS = true;
  return entry;
}

}  // namespace

// The stock dialogs the windows open, seen with the windowed start-up's language.
class TRussianInterfaceTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TSettingsForm> form;

  template <class T>
  T* W(const char* name) {
    T* widget = form->findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return widget;
  }

 private slots:
  void initTestCase() {
    // Whatever the machine's own locale is.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(UseRussianInterface(*QApplication::instance()));
  }
  void init() {
    TSingleton::DestroyInstance<TSettings>();
    TSettings& s = TSettings::GetInstance();
    s.fCompareTerrCodes = true;
    s.FCompareTerrCodesExtMode = true;
    s.FTerrCodeRightList.push_back(OneRight());
    form = std::make_unique<TSettingsForm>();
    form->show();
  }
  void cleanup() {
    form.reset();
    TSingleton::DestroyInstance<TSettings>();
  }

  void deleteConfirmationHasRussianButtons() {
    W<QTabWidget>("PageControl1")->setCurrentIndex(1);
    QApplication::processEvents();
    QTableWidget* grid = W<QTableWidget>("sgRegNums");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 1)).center());
    QStringList buttons;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      box->button(QMessageBox::Cancel)->click();
    });
    poll.start();
    QTest::mouseClick(W<QPushButton>("bbRemoveRegNum_Adv"), Qt::LeftButton);
    buttons.sort();
    QCOMPARE(buttons, QStringList({"OK", "Отмена"}));
    QCOMPARE(grid->rowCount(), 2);
  }

  void stockButtonBoxIsRussian() {
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Close);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString("Отмена"));
    QCOMPARE(box.button(QDialogButtonBox::Close)->text(), QString("Закрыть"));
  }

  void calendarsShowRussianMonthsAndDays() {
    QDateEdit* begin = W<QDateEdit>("dtpBegin");
    QCOMPARE(begin->locale().language(), QLocale::Russian);
    QCalendarWidget* calendar = begin->calendarWidget();
    QVERIFY(calendar != nullptr);
    QCOMPARE(calendar->locale().standaloneMonthName(12), QString("декабрь"));
    QCOMPARE(calendar->locale().dayName(1, QLocale::ShortFormat), QString("пн"));
    QCOMPARE(calendar->firstDayOfWeek(), Qt::Monday);
  }
};

QTEST_MAIN(TRussianInterfaceTest)
#include "russian_interface_test.moc"
