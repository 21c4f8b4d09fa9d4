#include "xml/node_access.h"

namespace morvel {

TMyNode* FirstDescendant(TMyNode* node, std::string_view name) {
  return node != nullptr ? node->FirstRelative(name) : nullptr;
}

}  // namespace morvel
