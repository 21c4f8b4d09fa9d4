// What the window tests share: one QApplication for the whole program, a fresh
// data folder with fresh singletons per test, the open requests the windows make,
// and answering the modal dialog a click opens.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "ui/desktop_opener.h"

namespace morvel::test {

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  std::filesystem::path DataFolder() const { return home.path() / "Morvel"; }
  // The local files and folders the windows asked the desktop to open.
  std::vector<std::filesystem::path> OpenedPaths() const;

  TempDir home;
  std::vector<QUrl> opened;
  int argc = 1;
  char name[8] = "morvel";
  char* argv[2] = {name, nullptr};

 private:
  TUrlOpener fPreviousOpener;
};

// Runs `answer` on the modal dialog that the next action opens (as soon as it
// shows), then `action`; the dialog that answered is returned (null when none
// appeared, after which any dialog still open is rejected so the test ends).
QWidget* AnswerNextModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer);

// Picks the entry with that text in a drop-down list the way a user does: opens
// the list and clicks the entry.
void ChooseItem(QComboBox* combo, const QString& text);

QStringList Items(const QComboBox* combo);

// Clicks a check box or radio button on its box, where a user clicks: the middle
// of a wide one may lie past its caption, where a click does nothing.
void ClickBox(QAbstractButton* box);

}  // namespace morvel::test
