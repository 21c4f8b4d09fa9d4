#include "ui_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <cstdlib>

#include "config/settings.h"
#include "log/logger.h"

namespace morvel::test {
namespace {

// The windows need one application object for the whole test program.
class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    fApp = std::make_unique<QApplication>(fArgc, fArgv);
  }
  void TearDown() override { fApp.reset(); }

 private:
  int fArgc = 1;
  char fName[12] = "test_ui";
  char* fArgv[2] = {fName, nullptr};
  std::unique_ptr<QApplication> fApp;
};

[[maybe_unused]] ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace

WindowTest::WindowTest() {
  setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
  std::filesystem::create_directories(DataFolder());
  TSingleton::DestroyInstance<TSettings>();
  TSingleton::DestroyInstance<TLogger>();
  fPreviousOpener = SetUrlOpener([this](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
}

WindowTest::~WindowTest() {
  SetUrlOpener(fPreviousOpener);
  TSingleton::DestroyInstance<TSettings>();
  TSingleton::DestroyInstance<TLogger>();
}

std::vector<std::filesystem::path> WindowTest::OpenedPaths() const {
  std::vector<std::filesystem::path> paths;
  for (const QUrl& url : opened) {
    EXPECT_TRUE(url.isLocalFile()) << url.toString().toStdString();
    paths.push_back(FsPath(url.toLocalFile()));
  }
  return paths;
}

QWidget* AnswerNextModal(const std::function<void()>& action, const std::function<void(QWidget*)>& answer) {
  QWidget* answered = nullptr;
  QTimer timer;
  timer.setInterval(10);
  QElapsedTimer waited;
  waited.start();
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible() && answered == nullptr) {
      answered = modal;
      timer.stop();
      answer(modal);
    } else if (waited.elapsed() > 10000) {
      timer.stop();
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    }
  });
  timer.start();
  action();
  timer.stop();
  return answered;
}

void ChooseItem(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  combo->showPopup();
  QAbstractItemView* view = combo->view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
  const QModelIndex item = view->model()->index(index, combo->modelColumn(), view->rootIndex());
  view->scrollTo(item);
  // A list that has just opened ignores a release for a double-click's time, so
  // that the click which opened it does not choose at once.
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); })) << "the list stays open";
  ASSERT_EQ(combo->currentIndex(), index);
}

void ClickBox(QAbstractButton* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

}  // namespace morvel::test
