// The in-memory element tree every XML input is read into. It is made for one
// access pattern: finding the elements of one exact name below an element, answered
// from name indexes filled while the document is read.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

class TMyNode;
using TMyNodeList = std::vector<TMyNode*>;

class TMyAttrib {
 public:
  std::string text;  // the value with references replaced
};

class TMyAttribs {
 public:
  // The attribute of exactly that name (namespace prefix included), or nullptr.
  const TMyAttrib* getNamedItem(std::string_view name) const;
  int Count() const;
  // Used by the parser; false when the element already has an attribute of that name.
  bool Add(std::string name, std::string value);

 private:
  std::vector<std::pair<std::string, TMyAttrib>> fItems;
};

class TMyNode {
 public:
  TMyNode();
  ~TMyNode();
  TMyNode(const TMyNode&) = delete;
  TMyNode& operator=(const TMyNode&) = delete;

  int NodeNumber = 0;  // 1-based position among same-named siblings; 0 for an only child
  int LineNumber = 1;  // approximate line of the start tag
  std::string NodeName;  // as written; the indexes of the ancestors rely on it, so it
                         // must not change once the node is in a tree
  std::string text;  // trimmed character data
  TMyNode* parent = nullptr;
  TMyAttribs Attributes;

  // Direct children with that name, in document order.
  const TMyNodeList& SelectNodes(std::string_view name);
  // The first direct child with that name, or nullptr.
  TMyNode* SelectSingleNode(std::string_view name);
  // Every descendant with that name at any depth, in document order; never the node
  // itself.
  const TMyNodeList& GetElementsByTagName(std::string_view name);
  // All direct children, grouped by name; the order of the names is not defined.
  const TMyNodeList& ChildNodes();
  // Location path such as /R/ЗЛ[2].
  std::string GetXPath() const;

  // Used by the parser.
  void AddChild(std::unique_ptr<TMyNode> node);
  void AddRelative(TMyNode* node);

  // Lists handed out by the queries belong to the node and live as long as it does.
 private:
  friend class TMyParser;
  friend TMyNode* FirstDescendant(TMyNode* node, std::string_view name);
  struct Index;

  // The first descendant of that name, or nullptr; allocates nothing either way.
  TMyNode* FirstRelative(std::string_view name) const;
  // The number of distinct names among the children and in the index of deeper
  // descendants; the parser reserves room for the shape that the last element of a
  // name had, since the records of a document repeat one layout.
  void ReserveIndex(std::size_t childNames, std::size_t relativeNames);
  void IndexShape(std::size_t& childNames, std::size_t& relativeNames) const;

  Index& EnsureIndex();
  // The same as AddChild and AddRelative with the hash of the node's name already
  // known: the parser hashes each distinct name once per document.
  void AddChildHashed(std::unique_ptr<TMyNode> node, std::size_t nameHash);
  void AddRelativeHashed(TMyNode* node, std::size_t nameHash);

  // Made on first need: most nodes are leaves that are never queried.
  std::unique_ptr<Index> fIndex;
};

// Reads a document (a file, or an http:// address fetched with one GET) into a
// tree; nullptr when no element could be read. Never raises.
std::unique_ptr<TMyNode> LoadXMLTree(const std::string& fileName);

}  // namespace morvel
