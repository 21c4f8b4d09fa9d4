#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include "config/settings.h"
#include "ui/about_box.h"
#include "ui_test_support.h"

namespace morvel {
namespace {

class AboutBoxTest : public test::WindowTest {};

TEST_F(AboutBoxTest, ShowsNameDescriptionVersionAndBuildDate) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), "О программе");
  EXPECT_EQ(box.ProductName->text(), "Морвель");
  EXPECT_TRUE(box.ProductName->font().bold());
  EXPECT_TRUE(box.Comments->text().startsWith("  Осуществляет автоматическую сверку"));
  EXPECT_TRUE(box.Comments->wordWrap());
  const TSettings& s = TSettings::GetInstance();
  EXPECT_EQ(box.Version->text().toStdString(), "Версия " + s.FullVersion() + " от " + s.AppDate());
  // Four numbers of the file version and the build day as dd.mm.yyyy.
  EXPECT_TRUE(QRegularExpression("^Версия \\d+\\.\\d+\\.\\d+\\.\\d+ от \\d\\d\\.\\d\\d\\.\\d{4}$")
                  .match(box.Version->text())
                  .hasMatch())
      << box.Version->text().toStdString();

  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  // Fixed size, and nothing of the description is cut off.
  EXPECT_EQ(box.minimumSize(), box.maximumSize());
  EXPECT_GE(box.Comments->height(), box.Comments->heightForWidth(box.Comments->width()));
}

}  // namespace
}  // namespace morvel
