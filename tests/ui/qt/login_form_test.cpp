#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "config/credentials.h"
#include "config/settings.h"
#include "base/encoding.h"
#include "dialog_driver.h"
#include "ui/login_form.h"

using namespace morvel;

class TLoginFormTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TLoginForm> form;
  QLineEdit* eLogin = nullptr;
  QLineEdit* ePassword = nullptr;
  QPushButton* bbOK = nullptr;
  QPushButton* bbCancel = nullptr;

  static TSettings& Settings() { return TSettings::GetInstance(); }

  // Fills both stores with known values so that a test sees which one changed.
  static void MarkStores() {
    Settings().FULLogin = "ul-login";
    Settings().FULPass = "ul-pass";
    Settings().FCrossUserDB = "cross-login";
    Settings().FCrossPasswordDB = "cross-pass";
  }

  void Type(const QString& login, const QString& password) {
    TypeText(eLogin, login);
    TypeText(ePassword, password);
  }

 private slots:
  void init() {
    TSingleton::DestroyInstance<TSettings>();
    MarkStores();
    form = std::make_unique<TLoginForm>();
    eLogin = form->findChild<QLineEdit*>("eLogin");
    ePassword = form->findChild<QLineEdit*>("ePassword");
    bbOK = form->findChild<QPushButton*>("bbOK");
    bbCancel = form->findChild<QPushButton*>("bbCancel");
    QVERIFY(eLogin && ePassword && bbOK && bbCancel);
    form->show();
  }
  void cleanup() {
    form.reset();
    TSingleton::DestroyInstance<TSettings>();
  }

  void passwordShowsAStarForEachCharacter() {
    TypeText(ePassword, "пароль1");
    QCOMPARE(ePassword->text(), QString("пароль1"));
    QCOMPARE(ePassword->displayText(), QString("*******"));
  }

  void captionsAndPasswordEcho() {
    QCOMPARE(form->windowTitle(), QString("Идентификация пользователя"));
    QCOMPARE(bbOK->text(), QString("Применить"));
    QCOMPARE(bbCancel->text(), QString("Отмена"));
    QCOMPARE(ePassword->echoMode(), QLineEdit::Password);
  }

  void showingEmptiesBothFieldsAndFocusesTheUserName() {
    Type("старый", "секрет");
    form->hide();
    form->show();
    QCOMPARE(eLogin->text(), QString());
    QCOMPARE(ePassword->text(), QString());
    QCOMPARE(form->focusWidget(), eLogin);
  }

  void emptyUserNameIsRefusedAndNothingStored() {
    MessageBoxAnswerer boxes;
    Type("", "пароль");
    QTest::mouseClick(bbOK, Qt::LeftButton);
    QCOMPARE(boxes.texts, QStringList{"Имя пользователя не может быть пустым"});
    QCOMPARE(boxes.icons.value(0), QMessageBox::Critical);
    QVERIFY(form->isVisible());
    QCOMPARE(form->result(), int(QDialog::Rejected));
    QCOMPARE(Settings().FULLogin, std::string("ul-login"));
    QCOMPARE(Settings().FULPass, std::string("ul-pass"));
    // After the message the dialog still takes a name.
    Type("user", "");
    QTest::mouseClick(bbOK, Qt::LeftButton);
    QCOMPARE(form->result(), int(QDialog::Accepted));
  }

  // The connection the dialog was opened for takes the credentials; the page
  // the settings dialog showed last has no say, so a clerk who was told the
  // credentials were taken finds them where the next request looks.
  void theConnectionItWasOpenedForTakesTheCredentials_data() {
    QTest::addColumn<unsigned>("page");
    QTest::addColumn<bool>("crossingTarget");
    QTest::newRow("List server, server page") << 0u << false;
    QTest::newRow("List server, rights page") << 1u << false;
    QTest::newRow("List server, re-registration page") << 2u << false;
    QTest::newRow("List server, last page") << 3u << false;
    QTest::newRow("re-registration server, server page") << 0u << true;
    QTest::newRow("re-registration server, re-registration page") << 2u << true;
  }
  void theConnectionItWasOpenedForTakesTheCredentials() {
    QFETCH(unsigned, page);
    QFETCH(bool, crossingTarget);
    Settings().FNumSettingsWin = page;
    if (crossingTarget) form->SetTarget(TLoginTarget::ltCrossingServer);
    Type("Иванов", "Пароль1");
    QTest::mouseClick(bbOK, Qt::LeftButton);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(!form->isVisible());
    // Whatever the target, the texts are encoded from their windows-1251 bytes.
    const std::string login = Utf8ToCp1251("Иванов");
    const std::string password = Utf8ToCp1251("Пароль1");
    if (!crossingTarget) {
      QCOMPARE(Decrypt(Settings().FULLogin, kUserNameKey), login);
      QCOMPARE(Decrypt(Settings().FULPass, kPasswordKey), password);
      QCOMPARE(Settings().FULLogin, Encrypt(login, kUserNameKey));
      QCOMPARE(Settings().FCrossUserDB, std::string("cross-login"));
      QCOMPARE(Settings().FCrossPasswordDB, std::string("cross-pass"));
    } else {
      QCOMPARE(Settings().FULLogin, std::string("ul-login"));
      QCOMPARE(Settings().FULPass, std::string("ul-pass"));
      QCOMPARE(Decrypt(Settings().FCrossUserDB, kUserNameKey), login);
      QCOMPARE(Decrypt(Settings().FCrossPasswordDB, kPasswordKey), password);
    }
  }

  void emptyPasswordIsStoredEncoded() {
    Type("user", "");
    QTest::keyClick(ePassword, Qt::Key_Return);  // Enter presses "Применить"
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(Settings().FULPass, Encrypt("", kPasswordKey));
    QCOMPARE(Decrypt(Settings().FULPass, kPasswordKey), std::string());
    QCOMPARE(Decrypt(Settings().FULLogin, kUserNameKey), std::string("user"));
  }

  void pastedTextIsStoredLikeTypedText() {
    QApplication::clipboard()->setText("Петров П.");
    eLogin->setFocus();
    QTest::keyClick(eLogin, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(eLogin->text(), QString("Петров П."));
    QTest::mouseClick(bbOK, Qt::LeftButton);
    QCOMPARE(Decrypt(Settings().FULLogin, kUserNameKey), Utf8ToCp1251("Петров П."));
  }

  void cancelStoresNothing() {
    Type("user", "pass");
    QTest::mouseClick(bbCancel, Qt::LeftButton);
    QCOMPARE(form->result(), int(QDialog::Rejected));
    QCOMPARE(Settings().FULLogin, std::string("ul-login"));
    QCOMPARE(Settings().FCrossUserDB, std::string("cross-login"));
  }

  void execReportsTheResult() {
    form->hide();
    QTimer::singleShot(0, [this] {
      TypeText(eLogin, "user");
      QTest::mouseClick(bbOK, Qt::LeftButton);
    });
    QCOMPARE(form->exec(), int(QDialog::Accepted));
    QTimer::singleShot(0, [this] { QTest::mouseClick(bbCancel, Qt::LeftButton); });
    QCOMPARE(form->exec(), int(QDialog::Rejected));
  }
};

QTEST_MAIN(TLoginFormTest)
#include "login_form_test.moc"
