// What the window tests use to drive dialogs as a user would.
#pragma once

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QtTest>

// Types a text key by key. QTest::keyClicks takes Latin-1 only; Cyrillic letters
// arrive as key presses carrying their text, as a keyboard layout would send them.
inline void TypeText(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    if (ch.unicode() < 128) {
      QTest::keyClick(widget, ch.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
  }
}

// Answers the modal message boxes a window shows while a test drives it: each box
// is recorded and closed with the next queued button (OK when none is queued).
class MessageBoxAnswerer : public QObject {
 public:
  MessageBoxAnswerer() {
    fTimer.setInterval(5);
    QObject::connect(&fTimer, &QTimer::timeout, [this] { Poll(); });
    fTimer.start();
  }
  void Queue(QMessageBox::StandardButton button) { fAnswers.append(button); }
  QStringList texts;
  QList<QMessageBox::Icon> icons;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    texts.append(box->text());
    icons.append(box->icon());
    const QMessageBox::StandardButton answer = fAnswers.isEmpty() ? QMessageBox::Ok : fAnswers.takeFirst();
    QAbstractButton* button = box->button(answer);
    if (button != nullptr) {
      button->click();
    } else {
      box->reject();
    }
  }
  QTimer fTimer;
  QList<QMessageBox::StandardButton> fAnswers;
};
