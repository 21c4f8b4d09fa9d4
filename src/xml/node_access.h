// Short ways to the values the readers take from a tree: an attribute's text, the
// text of a child, the first descendant of a name. Each accepts a null node.
#pragma once

#include <string>
#include <string_view>

#include "xml/my_node.h"

namespace morvel {

namespace node_access_detail {
inline const std::string& Empty() {
  static const std::string empty;
  return empty;
}
}  // namespace node_access_detail

// The attribute's text, or an empty text when the node or the attribute is absent.
inline const std::string& AttrText(const TMyNode* node, std::string_view name) {
  if (node == nullptr) return node_access_detail::Empty();
  const TMyAttrib* attrib = node->Attributes.getNamedItem(name);
  return attrib != nullptr ? attrib->text : node_access_detail::Empty();
}

inline bool HasAttr(const TMyNode* node, std::string_view name) {
  return node != nullptr && node->Attributes.getNamedItem(name) != nullptr;
}

// The text of the first direct child of that name, or an empty text.
inline const std::string& ChildText(TMyNode* node, std::string_view name) {
  TMyNode* child = node != nullptr ? node->SelectSingleNode(name) : nullptr;
  return child != nullptr ? child->text : node_access_detail::Empty();
}

// The first descendant of that name at any depth, or nullptr. Unlike
// GetElementsByTagName it makes no list when the name is absent, so it may be asked
// any number of times.
TMyNode* FirstDescendant(TMyNode* node, std::string_view name);

}  // namespace morvel
