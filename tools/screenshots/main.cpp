// Pictures of every window for the documentation and for checking the layout:
// prepares the windowed controller on the configuration of the data folder (the
// script points it at the demo settings), shows each window and writes what it
// shows as a PNG file.
//
//   morvel-screenshots <output folder>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "config/settings.h"
#include "log/logger.h"
#include "ui/about_box.h"
#include "ui/err_list_form.h"
#include "ui/login_form.h"
#include "ui/main_window.h"
#include "ui/settings_form.h"
#include "ui/work_manager_form.h"

namespace {

bool Save(QWidget* widget, const QString& folder, const QString& name) {
  widget->show();
  widget->raise();
  widget->activateWindow();
  if (!QTest::qWaitForWindowExposed(widget, 5000)) std::fprintf(stderr, "not exposed: %s\n", qPrintable(name));
  QTest::qWait(150);
  const QString file = QDir(folder).filePath(name + ".png");
  if (!widget->grab().save(file)) {
    std::fprintf(stderr, "morvel-screenshots: cannot write %s\n", qPrintable(file));
    return false;
  }
  std::printf("%s\n", qPrintable(file));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: morvel-screenshots <output folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  int appArgc = 1;
  QApplication app(appArgc, argv);
  try {
    morvel::TSettings::GetInstance();
    morvel::TSingleton::GetInstance<morvel::TLogger>();
    morvel::TWorkManagerForm manager(false, appArgc, argv);
    manager.TWorkManager::Prepare();
    manager.CreateWindows();
    morvel::TMainWindow* window = manager.MainWindow();
    // The number offered first for the demo records, picked as a user would.
    if (window->ComboBox1->count() > 0) window->ComboBox1Change(0);
    bool ok = Save(window, folder, "main-window");
    // The same window with the List taken from a folder instead of the server.
    const bool useServer = window->cbPerechDB->isChecked();
    window->cbPerechDB->setChecked(!useServer);
    ok = Save(window, folder, useServer ? "main-window-list-folder" : "main-window-list-server") && ok;
    window->cbPerechDB->setChecked(useServer);

    // The settings dialog, one picture per page; shown without its own loop.
    QDialog* settings = window->SettingsForm;
    settings->setModal(false);
    settings->show();
    if (auto* pages = settings->findChild<QTabWidget*>()) {
      for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        ok = Save(settings, folder, QString("settings-page-%1").arg(i + 1)) && ok;
        // The rights page once more in its extended form, the grid with codes and dates.
        auto* extended = pages->widget(i)->findChild<QCheckBox*>("cbAdvancedNordCheck");
        if (extended != nullptr && extended->isVisible() && !extended->isChecked()) {
          extended->click();
          ok = Save(settings, folder, QString("settings-page-%1-extended").arg(i + 1)) && ok;
          extended->click();
        }
      }
    } else {
      ok = Save(settings, folder, "settings") && ok;
    }
    settings->hide();

    window->LoginForm->setModal(false);
    ok = Save(window->LoginForm, folder, "login") && ok;
    window->LoginForm->hide();

    // The error list as a start with unusable folders fills it.
    const std::vector<std::string> problems = {
        "Перед началом сверки укажите корректный регистрационный номер предприятия!",
        "Проверьте путь к файлам Индивидуальных сведений! Такого каталога не существует!",
        "Выберите хотя бы одну из опций сверки (Сверка ИС с Перечнем по позициям штатного расписания и/или "
        "Сверка ИС с поименным списком к Перечню)!"};
    QStringList lines;
    for (const std::string& p : problems) lines << QString::fromStdString(p);
    window->ErrListForm->SetLines(lines);
    ok = Save(window->ErrListForm, folder, "error-list") && ok;
    window->ErrListForm->hide();

    window->AboutBox->setModal(false);
    ok = Save(window->AboutBox, folder, "about") && ok;
    window->AboutBox->hide();
    window->close();
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvel-screenshots: %s\n", e.what());
    return 1;
  }
}
