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

// Paths share what the elements before them had in common; whatever the order
// in which elements are asked about, and across documents (also one made
// where a freed one stood), each path reads as the tree's own.
TEST(NodeDataTest, PathsAgreeWithTheTreeInAnyOrderAndAcrossDocuments) {
  auto a = ParseXMLText("<R><A><B/><B><C/></B></A><A><B/><Б>т</Б></A><D/></R>");
  auto b = ParseXMLText("<R><A><B><C/><C/></B></A><Б/></R>");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  std::vector<std::pair<TNodeData, std::string>> made;
  auto take = [&made](const TMyTree& tree, std::uint32_t order) {
    const TMyNode* element = tree->Document().NodeAt(order % tree->Document().NodeCount());
    made.emplace_back(TNodeData(*element), element->GetXPath());
  };
  const std::uint32_t na = a->Document().NodeCount();
  for (std::uint32_t i = 0; i < na; ++i) take(a, i);
  for (std::uint32_t i = na; i-- > 0;) take(a, i);
  for (std::uint32_t i = 0; i < 3 * na; ++i) {
    take(a, i * 7);
    take(b, i);
  }
  a.reset();
  b.reset();
  auto c = ParseXMLText("<R><X><Y/></X></R>");
  take(c, 2);
  c.reset();
  for (const auto& [data, path] : made) EXPECT_EQ(data.fXPath.str(), path);
  EXPECT_EQ(made.back().first.fXPath, "/R/X/Y");
  EXPECT_EQ(made[4].first.fXPath, "/R/A[1]/B[2]/C");
}

}  // namespace
}  // namespace morvel
