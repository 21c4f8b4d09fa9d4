// Where an element stood in its source document, kept so that the protocol can
// point at the data behind a finding after the document itself is gone.
#pragma once

#include <string>

#include "xml/my_node.h"

namespace morvel {

class TNodeData {
 public:
  TNodeData() = default;
  // Defined here so that only the readers, which have the tree, pull the tree's
  // code into their link.
  explicit TNodeData(const TMyNode& src) : fLine(src.LineNumber), fXPath(src.GetXPath()) {}
  // A copy of `src`, or an empty location when there is none.
  explicit TNodeData(const TNodeData* src) {
    if (src != nullptr) *this = *src;
  }

  // Takes the location of `source`; none leaves this one as it is.
  void Fill(const TNodeData* source) {
    if (source != nullptr) *this = *source;
  }
  bool IsEmpty() const { return fLine == 0 && fXPath.empty(); }

  int fLine = 0;
  std::string fXPath;
};

}  // namespace morvel
