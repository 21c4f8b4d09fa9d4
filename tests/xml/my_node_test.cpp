#include "xml/my_node.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "xml/node_access.h"
#include "xml_test_util.h"

namespace morvel {
namespace {

using test::ParseText;

std::unique_ptr<TMyNode> MakeNode(const std::string& name) {
  auto node = std::make_unique<TMyNode>();
  node->NodeName = name;
  return node;
}

TEST(MyNode, SameNamedSiblingsAreNumberedInDocumentOrder) {
  auto root = ParseText("<?xml version=\"1.0\"?>\n<R>\n<A>1</A>\n<B/>\n<A>2</A>\n</R>\n");
  ASSERT_NE(root, nullptr);
  const TMyNodeList& as = root->SelectNodes("A");
  ASSERT_EQ(as.size(), 2u);
  EXPECT_EQ(as[0]->text, "1");
  EXPECT_EQ(as[1]->text, "2");
  EXPECT_EQ(as[0]->GetXPath(), "/R/A[1]");
  EXPECT_EQ(as[1]->GetXPath(), "/R/A[2]");
  TMyNode* b = root->SelectSingleNode("B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetXPath(), "/R/B");
  EXPECT_EQ(b->NodeNumber, 0);
  EXPECT_EQ(b->text, "");
  EXPECT_EQ(root->GetXPath(), "/R");
  EXPECT_EQ(root->SelectSingleNode("A"), as[0]);
  EXPECT_EQ(as[0]->parent, root.get());
}

TEST(MyNode, QueriesForAbsentNamesGiveFreshEmptyListsThatLiveWithTheNode) {
  auto root = ParseText("<R><A><C/></A></R>");
  ASSERT_NE(root, nullptr);
  const TMyNodeList& first = root->SelectNodes("Z");
  const TMyNodeList& second = root->SelectNodes("Z");
  const TMyNodeList& third = root->GetElementsByTagName("Z");
  EXPECT_TRUE(first.empty());
  EXPECT_TRUE(second.empty());
  EXPECT_TRUE(third.empty());
  EXPECT_NE(&first, &second);
  EXPECT_NE(&first, &third);
  // A direct-children query does not see grandchildren.
  EXPECT_TRUE(root->SelectNodes("C").empty());
  EXPECT_EQ(root->SelectSingleNode("C"), nullptr);
  // More queries must not move the lists handed out earlier.
  for (int i = 0; i < 100; ++i) root->SelectNodes("Y" + std::to_string(i));
  EXPECT_TRUE(first.empty());
  EXPECT_TRUE(second.empty());
  // An existing name is answered with the index list itself, the same every time.
  EXPECT_EQ(&root->SelectNodes("A"), &root->SelectNodes("A"));
  EXPECT_EQ(&root->GetElementsByTagName("C"), &root->GetElementsByTagName("C"));
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
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ns[static_cast<std::size_t>(i)]->text, std::to_string(i + 1));
  // The root is not its own descendant; the nested element of the same name is.
  const TMyNodeList& rs = root->GetElementsByTagName("R");
  ASSERT_EQ(rs.size(), 1u);
  EXPECT_EQ(rs[0]->text, "inner");
  // Below an inner node only its own subtree counts.
  TMyNode* secondP = root->SelectNodes("P")[1];
  ASSERT_EQ(secondP->GetElementsByTagName("N").size(), 1u);
  EXPECT_EQ(secondP->GetElementsByTagName("N")[0]->text, "4");
  EXPECT_EQ(secondP->GetElementsByTagName("Q").size(), 2u);
  EXPECT_EQ(secondP->GetElementsByTagName("Q")[1]->GetXPath(), "/R/P[2]/Q/Q");
  // A leaf has no descendants.
  EXPECT_TRUE(ns[0]->GetElementsByTagName("N").empty());

  // Children and deeper descendants of one name interleave in document order.
  auto mixed = ParseText("<R><N>a</N><X><N>b</N></X><N>c</N><X><Y><N>d</N></Y></X><N>e</N></R>");
  ASSERT_NE(mixed, nullptr);
  std::string order;
  for (TMyNode* n : mixed->GetElementsByTagName("N")) order += n->text;
  EXPECT_EQ(order, "abcde");
  order.clear();
  for (TMyNode* n : mixed->SelectNodes("N")) order += n->text;
  EXPECT_EQ(order, "ace");
  EXPECT_EQ(mixed->SelectNodes("N")[2]->GetXPath(), "/R/N[3]");
}

TEST(MyNode, NamesAreComparedExactlyWithTheirPrefix) {
  auto root = ParseText(
      "<УТ2:ЗЛ xmlns:УТ2=\"http://example.org/ut2\"><УТ2:ФИО>Иванов</УТ2:ФИО><ФИО>x</ФИО>"
      "<фио>y</фио></УТ2:ЗЛ>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->NodeName, "УТ2:ЗЛ");
  ASSERT_EQ(root->SelectNodes("УТ2:ФИО").size(), 1u);
  EXPECT_EQ(root->SelectNodes("УТ2:ФИО")[0]->text, "Иванов");
  ASSERT_EQ(root->SelectNodes("ФИО").size(), 1u);
  EXPECT_EQ(root->SelectNodes("ФИО")[0]->text, "x");
  EXPECT_EQ(root->SelectSingleNode("фио")->text, "y");
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
    EXPECT_EQ(list[2]->text, "2");
    EXPECT_EQ(list[2]->GetXPath(), "/R/" + name + "[3]");
    EXPECT_EQ(&root->GetElementsByTagName(name), &root->GetElementsByTagName(name));
    EXPECT_EQ(root->GetElementsByTagName(name).size(), 3u);
  }
  EXPECT_TRUE(root->SelectNodes("Э60").empty());

  // All children, the ones of one name together and in document order.
  const TMyNodeList& all = root->ChildNodes();
  ASSERT_EQ(all.size(), 180u);
  std::set<std::string> seen;
  for (std::size_t i = 0; i < all.size(); i += 3) {
    EXPECT_TRUE(seen.insert(all[i]->NodeName).second);
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_EQ(all[i + k]->NodeName, all[i]->NodeName);
      EXPECT_EQ(all[i + k]->text, std::to_string(k));
    }
  }
  EXPECT_NE(&root->ChildNodes(), &all);
  EXPECT_EQ(all.size(), 180u);
}

TEST(MyNode, TreesBuiltByHand) {
  auto root = MakeNode("R");
  auto a = MakeNode("A");
  TMyNode* aRaw = a.get();
  root->AddChild(std::move(a));
  auto b1 = MakeNode("B");
  TMyNode* b1Raw = b1.get();
  aRaw->AddChild(std::move(b1));
  auto b2 = MakeNode("B");
  TMyNode* b2Raw = b2.get();
  aRaw->AddChild(std::move(b2));
  root->AddChild(nullptr);  // ignored

  EXPECT_EQ(aRaw->parent, root.get());
  EXPECT_EQ(b1Raw->parent, aRaw);
  EXPECT_EQ(b1Raw->NodeNumber, 1);
  EXPECT_EQ(b2Raw->NodeNumber, 2);
  EXPECT_EQ(aRaw->NodeNumber, 0);
  EXPECT_EQ(b2Raw->LineNumber, 1);
  EXPECT_EQ(b2Raw->GetXPath(), "/R/A/B[2]");
  ASSERT_EQ(root->GetElementsByTagName("B").size(), 2u);
  EXPECT_EQ(root->GetElementsByTagName("B")[1], b2Raw);
  EXPECT_TRUE(root->SelectNodes("B").empty());
  EXPECT_EQ(aRaw->SelectNodes("B").size(), 2u);
}

TEST(MyNode, Attributes) {
  TMyAttribs attribs;
  EXPECT_EQ(attribs.Count(), 0);
  EXPECT_TRUE(attribs.Add("a", "1"));
  EXPECT_TRUE(attribs.Add("A", "2"));
  EXPECT_FALSE(attribs.Add("a", "3"));
  EXPECT_EQ(attribs.Count(), 2);
  ASSERT_NE(attribs.getNamedItem("a"), nullptr);
  EXPECT_EQ(attribs.getNamedItem("a")->text, "1");
  EXPECT_EQ(attribs.getNamedItem("A")->text, "2");
  EXPECT_EQ(attribs.getNamedItem("b"), nullptr);
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
  EXPECT_EQ(FirstDescendant(root.get(), "B")->text, "deep");
  EXPECT_EQ(FirstDescendant(root.get(), "Z"), nullptr);
  EXPECT_EQ(FirstDescendant(FirstDescendant(root.get(), "B"), "B"), nullptr);

  EXPECT_EQ(AttrText(nullptr, "k"), "");
  EXPECT_FALSE(HasAttr(nullptr, "k"));
  EXPECT_EQ(ChildText(nullptr, "C"), "");
  EXPECT_EQ(FirstDescendant(nullptr, "B"), nullptr);
}

}  // namespace
}  // namespace morvel
