#include "xml/my_node.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "xml/node_access.h"
#include "xml_test_util.h"

namespace morvel {
namespace {

using test::ParseText;

TEST(MyNode, SameNamedSiblingsAreNumberedInDocumentOrder) {
  auto root = ParseText("<?xml version=\"1.0\"?>\n<R>\n<A>1</A>\n<B/>\n<A>2</A>\n</R>\n");
  ASSERT_NE(root, nullptr);
  const TMyNodeList& as = root->SelectNodes("A");
  ASSERT_EQ(as.size(), 2u);
  EXPECT_EQ(as[0]->text(), "1");
  EXPECT_EQ(as[1]->text(), "2");
  EXPECT_EQ(as[0]->GetXPath(), "/R/A[1]");
  EXPECT_EQ(as[1]->GetXPath(), "/R/A[2]");
  TMyNode* b = root->SelectSingleNode("B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetXPath(), "/R/B");
  EXPECT_EQ(b->NodeNumber, 0);
  EXPECT_EQ(b->text(), "");
  EXPECT_EQ(root->GetXPath(), "/R");
  EXPECT_EQ(root->SelectSingleNode("A"), as[0]);
  EXPECT_EQ(as[0]->parent(), root.get());
}

TEST(MyNode, QueriesForAbsentNamesGiveEmptyListsThatLiveWithTheTree) {
  auto root = ParseText("<R><A><C/></A></R>");
  ASSERT_NE(root, nullptr);
  const TMyNodeList first = root->SelectNodes("Z");
  const TMyNodeList second = root->SelectNodes("Z");
  const TMyNodeList third = root->GetElementsByTagName("Z");
  EXPECT_TRUE(first.empty());
  EXPECT_TRUE(second.empty());
  EXPECT_TRUE(third.empty());
  EXPECT_EQ(first.begin(), first.end());
  // A direct-children query does not see grandchildren.
  EXPECT_TRUE(root->SelectNodes("C").empty());
  EXPECT_EQ(root->SelectSingleNode("C"), nullptr);
  // More queries leave the lists handed out earlier as they were.
  const TMyNodeList as = root->SelectNodes("A");
  for (int i = 0; i < 100; ++i) root->SelectNodes("Y" + std::to_string(i));
  for (int i = 0; i < 100; ++i) root->GetElementsByTagName("C");
  EXPECT_TRUE(first.empty());
  EXPECT_TRUE(second.empty());
  ASSERT_EQ(as.size(), 1u);
  EXPECT_EQ(as[0]->NodeName(), "A");
  // An existing name gives the same elements every time.
  EXPECT_EQ(root->SelectNodes("A")[0], as[0]);
  EXPECT_EQ(root->GetElementsByTagName("C")[0], root->GetElementsByTagName("C")[0]);
  // A leaf can be asked too.
  TMyNode* c = root->GetElementsByTagName("C")[0];
  EXPECT_TRUE(c->SelectNodes("A").empty());
  EXPECT_TRUE(c->ChildNodes().empty());
}

TEST(MyNode, DescendantsAtAnyDepthInDocumentOrderButNeverTheNodeItself) {
  auto root = ParseText(
      "<R><P><N>1</N><Q><N>2</N><R>inner</R></Q></P><N>3</N><P><Q><Q><N>4</N></Q></Q></P></R>");
  ASSERT_NE(root, nullptr);
  const TMyNodeList& ns = root->GetElementsByTagName("N");
  ASSERT_EQ(ns.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ns[static_cast<std::size_t>(i)]->text(), std::to_string(i + 1));
  // The root is not its own descendant; the nested element of the same name is.
  const TMyNodeList& rs = root->GetElementsByTagName("R");
  ASSERT_EQ(rs.size(), 1u);
  EXPECT_EQ(rs[0]->text(), "inner");
  // Below an inner node only its own subtree counts.
  TMyNode* secondP = root->SelectNodes("P")[1];
  ASSERT_EQ(secondP->GetElementsByTagName("N").size(), 1u);
  EXPECT_EQ(secondP->GetElementsByTagName("N")[0]->text(), "4");
  EXPECT_EQ(secondP->GetElementsByTagName("Q").size(), 2u);
  EXPECT_EQ(secondP->GetElementsByTagName("Q")[1]->GetXPath(), "/R/P[2]/Q/Q");
  // A leaf has no descendants.
  EXPECT_TRUE(ns[0]->GetElementsByTagName("N").empty());

  // Children and deeper descendants of one name interleave in document order.
  auto mixed = ParseText("<R><N>a</N><X><N>b</N></X><N>c</N><X><Y><N>d</N></Y></X><N>e</N></R>");
  ASSERT_NE(mixed, nullptr);
  std::string order;
  for (TMyNode* n : mixed->GetElementsByTagName("N")) order += n->text();
  EXPECT_EQ(order, "abcde");
  order.clear();
  for (TMyNode* n : mixed->SelectNodes("N")) order += n->text();
  EXPECT_EQ(order, "ace");
  EXPECT_EQ(mixed->SelectNodes("N")[2]->GetXPath(), "/R/N[3]");
}

TEST(MyNode, NamesAreComparedExactlyWithTheirPrefix) {
  auto root = ParseText(
      "<УТ2:ЗЛ xmlns:УТ2=\"http://example.org/ut2\"><УТ2:ФИО>Иванов</УТ2:ФИО><ФИО>x</ФИО>"
      "<фио>y</фио></УТ2:ЗЛ>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->NodeName(), "УТ2:ЗЛ");
  ASSERT_EQ(root->SelectNodes("УТ2:ФИО").size(), 1u);
  EXPECT_EQ(root->SelectNodes("УТ2:ФИО")[0]->text(), "Иванов");
  ASSERT_EQ(root->SelectNodes("ФИО").size(), 1u);
  EXPECT_EQ(root->SelectNodes("ФИО")[0]->text(), "x");
  EXPECT_EQ(root->SelectSingleNode("фио")->text(), "y");
  EXPECT_TRUE(root->GetElementsByTagName("ЗЛ").empty());
  EXPECT_EQ(root->SelectSingleNode("УТ2:ФИО")->GetXPath(), "/УТ2:ЗЛ/УТ2:ФИО");
}

TEST(MyNode, ManyDistinctNamesUnderOneNode) {
  // Enough names that the index leaves its short search for its hash table.
  std::string doc = "<R>";
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 60; ++i) {
      const std::string name = "Э" + std::to_string(i);
      doc += "<" + name + ">" + std::to_string(round) + "</" + name + ">";
    }
  }
  doc += "</R>";
  auto root = ParseText(doc);
  ASSERT_NE(root, nullptr);
  for (int i = 0; i < 60; ++i) {
    const std::string name = "Э" + std::to_string(i);
    const TMyNodeList& list = root->SelectNodes(name);
    ASSERT_EQ(list.size(), 3u) << name;
    EXPECT_EQ(list[2]->text(), "2");
    EXPECT_EQ(list[2]->GetXPath(), "/R/" + name + "[3]");
    EXPECT_EQ(root->GetElementsByTagName(name)[1], list[1]);
    EXPECT_EQ(root->GetElementsByTagName(name).size(), 3u);
  }
  EXPECT_TRUE(root->SelectNodes("Э60").empty());

  // All children, the ones of one name together and in document order.
  const std::vector<TMyNode*> all = root->ChildNodes();
  ASSERT_EQ(all.size(), 180u);
  std::set<std::string> seen;
  for (std::size_t i = 0; i < all.size(); i += 3) {
    EXPECT_TRUE(seen.insert(std::string(all[i]->NodeName())).second);
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_EQ(all[i + k]->NodeName(), all[i]->NodeName());
      EXPECT_EQ(all[i + k]->text(), std::to_string(k));
    }
  }
  EXPECT_EQ(root->ChildNodes(), all);
  EXPECT_EQ(all.size(), 180u);
}

TEST(MyNode, TreesBuiltByHand) {
  TMyTreeBuilder builder;
  TMyNode* root = builder.Start("R");
  TMyNode* a = builder.Start("A");
  TMyNode* b1 = builder.Start("B");
  builder.End();
  TMyNode* b2 = builder.Start("B");
  builder.SetText("x\ny");
  TMyTree tree = builder.Finish();  // closes B, A and R
  ASSERT_EQ(tree.get(), root);

  EXPECT_EQ(a->parent(), root);
  EXPECT_EQ(b1->parent(), a);
  EXPECT_EQ(root->parent(), nullptr);
  EXPECT_EQ(b1->NodeNumber, 1);
  EXPECT_EQ(b2->NodeNumber, 2);
  EXPECT_EQ(a->NodeNumber, 0);
  EXPECT_EQ(b2->LineNumber, 1);
  EXPECT_EQ(b2->text(), "x\ny");
  EXPECT_EQ(b2->GetXPath(), "/R/A/B[2]");
  ASSERT_EQ(root->GetElementsByTagName("B").size(), 2u);
  EXPECT_EQ(root->GetElementsByTagName("B")[1], b2);
  EXPECT_TRUE(root->SelectNodes("B").empty());
  EXPECT_EQ(a->SelectNodes("B").size(), 2u);
  // One tree per builder: a second root is refused, and the builder starts over.
  EXPECT_EQ(builder.Finish(), nullptr);
  EXPECT_NE(builder.Start("S"), nullptr);
  builder.End();
  EXPECT_EQ(builder.Start("T"), nullptr);
}

TEST(MyNode, Attributes) {
  TMyTreeBuilder builder;
  const std::uint32_t a = builder.Name("a");
  const std::uint32_t upperA = builder.Name("A");
  EXPECT_EQ(builder.Name("a"), a);
  const TMyTreeBuilder::TAttribute repeated[] = {{a, "1"}, {upperA, "2"}, {a, "3"}};
  EXPECT_EQ(builder.Start(builder.Name("R"), 1, repeated), nullptr);
  const TMyTreeBuilder::TAttribute distinct[] = {{a, "1"}, {upperA, "2"}};
  TMyNode* root = builder.Start(builder.Name("R"), 1, distinct);
  ASSERT_NE(root, nullptr);
  TMyNode* plain = builder.Start("P");
  TMyTree tree = builder.Finish();
  const TMyAttribs attribs = root->Attributes();
  EXPECT_EQ(attribs.Count(), 2);
  ASSERT_NE(attribs.getNamedItem("a"), nullptr);
  EXPECT_EQ(attribs.getNamedItem("a")->text(), "1");
  EXPECT_EQ(attribs.getNamedItem("A")->text(), "2");
  EXPECT_EQ(attribs.NameAt(1), "A");
  EXPECT_EQ(attribs.getNamedItem("b"), nullptr);
  EXPECT_EQ(plain->Attributes().Count(), 0);
  EXPECT_EQ(plain->Attributes().getNamedItem("a"), nullptr);
}

TEST(NodeAccess, ConveniencesAreNullSafe) {
  auto root = ParseText(
      "<R k=\"v\" e=\"\"><A><B>deep</B></A><C> c </C><C>second</C></R>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(AttrText(root.get(), "k"), "v");
  EXPECT_EQ(AttrText(root.get(), "zz"), "");
  EXPECT_TRUE(HasAttr(root.get(), "e"));
  EXPECT_FALSE(HasAttr(root.get(), "zz"));
  EXPECT_EQ(ChildText(root.get(), "C"), "c");
  EXPECT_EQ(ChildText(root.get(), "B"), "");
  ASSERT_NE(FirstDescendant(root.get(), "B"), nullptr);
  EXPECT_EQ(FirstDescendant(root.get(), "B")->text(), "deep");
  EXPECT_EQ(FirstDescendant(root.get(), "Z"), nullptr);
  EXPECT_EQ(FirstDescendant(FirstDescendant(root.get(), "B"), "B"), nullptr);

  EXPECT_EQ(AttrText(nullptr, "k"), "");
  EXPECT_FALSE(HasAttr(nullptr, "k"));
  EXPECT_EQ(ChildText(nullptr, "C"), "");
  EXPECT_EQ(FirstDescendant(nullptr, "B"), nullptr);
}

}  // namespace
}  // namespace morvel
