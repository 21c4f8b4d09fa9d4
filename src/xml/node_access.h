// Short ways to the values the readers take from a tree: an attribute's text, the
// text of a child, the first descendant of a name. Each accepts a null node.
#pragma once

#include <string_view>

#include "xml/my_node.h"

namespace morvel {

// The attribute's text, or an empty text when the node or the attribute is absent.
inline std::string_view AttrText(const TMyNode* node, std::string_view name) {
  if (node == nullptr) return {};
  const TMyAttrib* attrib = node->Attributes().getNamedItem(name);
  return attrib != nullptr ? attrib->text() : std::string_view();
}

inline bool HasAttr(const TMyNode* node, std::string_view name) {
  return node != nullptr && node->Attributes().getNamedItem(name) != nullptr;
}

// The text of the first direct child of that name, or an empty text.
inline std::string_view ChildText(const TMyNode* node, std::string_view name) {
  const TMyNode* child = node != nullptr ? node->SelectSingleNode(name) : nullptr;
  return child != nullptr ? child->text() : std::string_view();
}

// The first descendant of that name at any depth, or nullptr.
inline TMyNode* FirstDescendant(const TMyNode* node, std::string_view name) {
  return node != nullptr ? node->FirstDescendant(name) : nullptr;
}

}  // namespace morvel
