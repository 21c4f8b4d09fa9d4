// Random documents, each written out one element per line and read back: every query
// of every element is compared with a plain walk over the document as it was made.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "xml/my_node.h"
#include "xml/node_access.h"
#include "xml_test_util.h"

namespace morvel {
namespace {

// The document as generated; each element stands on a line of its own, so its line
// number identifies it in the tree read back.
struct TRefNode {
  std::string name;
  std::string text;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<std::unique_ptr<TRefNode>> children;
  TRefNode* parent = nullptr;
  int line = 0;
};

const std::vector<std::string> kNames = {"A", "B", "ЗЛ", "УТ2:ЗЛ", "СтажевыйПериод", "x-y", "Ф"};

class TRandomDocument {
 public:
  explicit TRandomDocument(unsigned seed) : fRandom(seed) {
    root = Make(nullptr, 0);
  }

  std::unique_ptr<TRefNode> root;

  std::string Xml() const {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    int line = 2;
    Write(*root, out, line, true);
    return out;
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(fRandom); }

  std::unique_ptr<TRefNode> Make(TRefNode* parent, int depth) {
    auto node = std::make_unique<TRefNode>();
    node->parent = parent;
    // A few names, so that names repeat among siblings and at different depths.
    node->name = kNames[static_cast<std::size_t>(Pick(static_cast<int>(kNames.size())))];
    if (Pick(4) == 0) node->attributes.emplace_back("n", std::to_string(Pick(100)));
    if (Pick(5) == 0) node->attributes.emplace_back("УТ2:к", "a &amp; b");
    int children = 0;
    if (depth < 7) {
      const int shape = Pick(10);
      // Mostly small families, sometimes none, now and then a crowd.
      children = shape < 3 ? 0 : shape < 9 ? Pick(5) : 30 + Pick(50);
      if (depth == 0) children = std::max(children, 3);
    }
    for (int i = 0; i < children && fBudget > 0; ++i) {
      --fBudget;
      node->children.push_back(Make(node.get(), depth + 1));
    }
    if (node->children.empty()) node->text = Pick(3) == 0 ? "" : "t" + std::to_string(Pick(1000));
    return node;
  }

  static void Write(TRefNode& node, std::string& out, int& line, bool root) {
    node.line = line;
    out += "<" + node.name;
    // The prefix needs a declaration to be well-formed.
    if (root) out += " xmlns:УТ2=\"urn:ut2\"";
    for (const auto& [name, value] : node.attributes) out += " " + name + "=\"" + value + "\"";
    if (node.children.empty()) {
      out += ">" + node.text + "</" + node.name + ">\n";
      ++line;
      return;
    }
    out += ">\n";
    ++line;
    for (auto& child : node.children) Write(*child, out, line, false);
    out += "</" + node.name + ">\n";
    ++line;
  }

  std::mt19937 fRandom;
  int fBudget = 400;
};

void PreOrder(TRefNode& node, std::vector<TRefNode*>& out) {
  out.push_back(&node);
  for (auto& child : node.children) PreOrder(*child, out);
}

std::vector<int> Lines(const std::vector<TRefNode*>& nodes) {
  std::vector<int> lines;
  for (const TRefNode* n : nodes) lines.push_back(n->line);
  return lines;
}

std::vector<int> Lines(const TMyNodeList& nodes) {
  std::vector<int> lines;
  for (const TMyNode* n : nodes) lines.push_back(n->LineNumber);
  return lines;
}

std::vector<int> Lines(const std::vector<TMyNode*>& nodes) {
  std::vector<int> lines;
  for (const TMyNode* n : nodes) lines.push_back(n->LineNumber);
  return lines;
}

std::string RefXPath(const TRefNode& node) {
  if (node.parent == nullptr) return "/" + node.name;
  int same = 0;
  int position = 0;
  for (const auto& sibling : node.parent->children) {
    if (sibling->name != node.name) continue;
    ++same;
    if (sibling.get() == &node) position = same;
  }
  return RefXPath(*node.parent) + "/" + node.name + (same > 1 ? "[" + std::to_string(position) + "]" : "");
}

void CheckNode(TRefNode& ref, TMyNode& node) {
  SCOPED_TRACE("line " + std::to_string(ref.line));
  EXPECT_EQ(node.NodeName(), ref.name);
  EXPECT_EQ(node.text(), ref.text);
  EXPECT_EQ(node.GetXPath(), RefXPath(ref));
  EXPECT_EQ(node.parent() != nullptr ? node.parent()->LineNumber : 0, ref.parent != nullptr ? ref.parent->line : 0);
  const int extra = ref.parent == nullptr ? 1 : 0;  // the namespace declaration
  ASSERT_EQ(node.Attributes().Count(), static_cast<int>(ref.attributes.size()) + extra);
  for (const auto& [name, value] : ref.attributes) {
    ASSERT_NE(node.Attributes().getNamedItem(name), nullptr);
    EXPECT_EQ(node.Attributes().getNamedItem(name)->text(), value == "a &amp; b" ? "a & b" : value);
  }

  std::vector<TRefNode*> below;
  PreOrder(ref, below);
  below.erase(below.begin());
  std::vector<std::string> asked = kNames;
  asked.push_back("ЗЛ ");  // near misses find nothing
  asked.push_back("");
  for (const std::string& name : asked) {
    SCOPED_TRACE("name " + name);
    std::vector<TRefNode*> children;
    for (auto& child : ref.children) {
      if (child->name == name) children.push_back(child.get());
    }
    std::vector<TRefNode*> descendants;
    for (TRefNode* d : below) {
      if (d->name == name) descendants.push_back(d);
    }
    EXPECT_EQ(Lines(node.SelectNodes(name)), Lines(children));
    EXPECT_EQ(Lines(node.GetElementsByTagName(name)), Lines(descendants));
    const TMyNode* single = node.SelectSingleNode(name);
    EXPECT_EQ(single != nullptr ? single->LineNumber : 0, children.empty() ? 0 : children[0]->line);
    const TMyNode* first = FirstDescendant(&node, name);
    EXPECT_EQ(first != nullptr ? first->LineNumber : 0, descendants.empty() ? 0 : descendants[0]->line);
  }

  // All children: the names in the order they first occur, each name's children
  // in document order.
  std::vector<TRefNode*> grouped;
  std::vector<std::string> order;
  for (auto& child : ref.children) {
    if (std::find(order.begin(), order.end(), child->name) == order.end()) order.push_back(child->name);
  }
  for (const std::string& name : order) {
    for (auto& child : ref.children) {
      if (child->name == name) grouped.push_back(child.get());
    }
  }
  EXPECT_EQ(Lines(node.ChildNodes()), Lines(grouped));
}

TEST(MyNodeProperty, EveryQueryAgreesWithAWalkOfTheDocument) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TRandomDocument doc(seed);
    const std::string xml = doc.Xml();
    TMyTree tree = test::ParseText(xml);
    ASSERT_NE(tree, nullptr);
    std::vector<TRefNode*> refs;
    PreOrder(*doc.root, refs);
    // Every element of the tree, found through the queries themselves, in document
    // order; the walk below checks each one against the generated document.
    std::vector<TMyNode*> nodes = {tree.get()};
    for (const std::string& name : kNames) {
      for (TMyNode* n : tree->GetElementsByTagName(name)) nodes.push_back(n);
    }
    ASSERT_EQ(nodes.size(), refs.size());
    std::sort(nodes.begin(), nodes.end(),
              [](const TMyNode* a, const TMyNode* b) { return a->LineNumber < b->LineNumber; });
    // The queries are asked in document order first, then backwards, since the
    // lists remember where the last search ended.
    for (std::size_t i = 0; i < refs.size(); ++i) {
      ASSERT_EQ(nodes[i]->LineNumber, refs[i]->line);
      CheckNode(*refs[i], *nodes[i]);
    }
    for (std::size_t i = refs.size(); i-- > 0;) CheckNode(*refs[i], *nodes[i]);
  }
}

TEST(MyNodeProperty, OneNameAtManyDepths) {
  // A chain deeper than the depths a name keeps track of one by one, with the same
  // name at every level and, at some levels, a leaf before the next link.
  TMyTreeBuilder builder;
  std::vector<TMyNode*> chain;
  for (int depth = 0; depth < 80; ++depth) {
    chain.push_back(builder.Start("N", depth + 1));
    if (depth % 10 == 5) {
      builder.Start("N", 1000 + depth);
      builder.End();
    }
  }
  TMyTree tree = builder.Finish();
  ASSERT_EQ(tree.get(), chain[0]);
  for (std::size_t d = 0; d < chain.size(); ++d) {
    SCOPED_TRACE("depth " + std::to_string(d));
    const TMyNodeList children = chain[d]->SelectNodes("N");
    const bool withLeaf = d % 10 == 5;
    ASSERT_EQ(children.size(), withLeaf ? 2u : d + 1 < chain.size() ? 1u : 0u);
    if (withLeaf) {
      EXPECT_EQ(children[0]->LineNumber, static_cast<int>(1000 + d));
      EXPECT_EQ(children[0]->NodeNumber, 1);
      EXPECT_EQ(children[1], chain[d + 1]);
      EXPECT_EQ(children[1]->NodeNumber, 2);
      EXPECT_EQ(chain[d]->SelectSingleNode("N"), children[0]);
    } else if (!children.empty()) {
      EXPECT_EQ(children[0], chain[d + 1]);
      EXPECT_EQ(children[0]->NodeNumber, 0);
    }
    std::size_t leavesBelow = 0;
    for (std::size_t s = d; s < chain.size(); ++s) leavesBelow += s % 10 == 5 ? 1 : 0;
    EXPECT_EQ(chain[d]->GetElementsByTagName("N").size(), chain.size() - d - 1 + leavesBelow);
  }
  // "/N" per level, and "[2]" on the eight links that follow a leaf.
  EXPECT_EQ(chain.back()->GetXPath().size(), 80u * 2 + 8 * 3);
}

}  // namespace
}  // namespace morvel
