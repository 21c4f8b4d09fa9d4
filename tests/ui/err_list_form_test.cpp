#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <string>

#include "support/test_support.h"
#include "ui/err_list_form.h"
#include "ui_test_support.h"

namespace morvel {
namespace {

class ErrListFormTest : public test::WindowTest {
 protected:
  TErrListForm form;
};

TEST_F(ErrListFormTest, CopyPutsEveryLineWithCrLfOnTheClipboard) {
  form.setWindowTitle(form.windowTitle());
  EXPECT_EQ(form.windowTitle(), "Список ошибок");
  form.SetLines({"Перед началом сверки укажите корректный регистрационный номер предприятия!",
                 "Проверьте путь к файлу Перечня! Такого каталога не существует!"});
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.lbErrors->count(), 2);
  QTest::mouseClick(form.bbCopy, Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(),
            "Перед началом сверки укажите корректный регистрационный номер предприятия!\r\n"
            "Проверьте путь к файлу Перечня! Такого каталога не существует!\r\n");

  // An empty list copies empty text, replacing whatever the clipboard held.
  form.SetLines({});
  QTest::mouseClick(form.bbCopy, Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(), "");
}

TEST_F(ErrListFormTest, LongListIsPrintedOnAsManyPagesAsItNeeds) {
  auto pages = [](const std::string& pdf) {
    std::size_t count = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1)) {
      ++count;
    }
    return count;
  };
  test::TempDir out;
  QStringList lines;
  for (int i = 1; i <= 3; ++i) lines << QString("Ошибка №%1").arg(i);
  form.SetLines(lines);
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((out / "short.pdf").string()));
    ASSERT_TRUE(form.PrintLines(printer));
  }
  EXPECT_EQ(pages(test::ReadFile(out / "short.pdf")), 1u);

  lines.clear();
  for (int i = 1; i <= 300; ++i) lines << QString("Ошибка №%1").arg(i);
  form.SetLines(lines);
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((out / "long.pdf").string()));
    ASSERT_TRUE(form.PrintLines(printer));
  }
  // One printed line per entry: three hundred lines do not fit on one A4 page,
  // and none is lost at a page break.
  EXPECT_GE(pages(test::ReadFile(out / "long.pdf")), 3u);
}

}  // namespace
}  // namespace morvel
