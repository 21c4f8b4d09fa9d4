#include <gtest/gtest.h>

#include "model/node_data.h"
#include "model/work_period.h"
#include "support/test_support.h"
#include "xml/my_node.h"

namespace morvel {
namespace {

TEST(NodeDataTest, TakesThePathAndLineOfAnElement) {
  test::TempDir dir;
  test::WriteFile(dir / "r.xml",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<R>\n  <ЗЛ/>\n  <ЗЛ>\n    <Период/>\n  </ЗЛ>\n</R>\n");
  auto root = LoadXMLTree((dir / "r.xml").string());
  ASSERT_NE(root, nullptr);
  TMyNode* person = root->SelectNodes("ЗЛ").at(1);
  TMyNode* period = person->SelectSingleNode("Период");
  ASSERT_NE(period, nullptr);

  auto p = std::make_shared<TWorkPeriod>();
  p->NodeData = TNodeData(*period);
  p->RateNodeData = TNodeData(*person);
  const std::string path = period->GetXPath();
  const int line = period->LineNumber;
  root.reset();  // the location outlives its document

  EXPECT_EQ(p->NodeData.fXPath, path);
  EXPECT_EQ(p->NodeData.fLine, line);
  EXPECT_FALSE(p->NodeData.fXPath.empty());
  EXPECT_NE(p->NodeData.fXPath, p->RateNodeData.fXPath);

  TNodeData copy(&p->NodeData), none(nullptr);
  EXPECT_EQ(copy.fXPath, path);
  EXPECT_TRUE(none.IsEmpty());
  none.Fill(nullptr);
  EXPECT_TRUE(none.IsEmpty());
  none.Fill(&copy);
  EXPECT_EQ(none.fLine, line);
  // Copies of one location share its text; changing one copy leaves the others.
  EXPECT_EQ(&none.fXPath.str(), &p->NodeData.fXPath.str());
  none.fXPath = "/R";
  EXPECT_EQ(none.fXPath, "/R");
  EXPECT_EQ(copy.fXPath, path);
  none.fXPath = std::string();
  EXPECT_TRUE(none.fXPath.empty());
  EXPECT_EQ(none.fXPath, "");
}

}  // namespace
}  // namespace morvel
