// Where an element stood in its source document, kept so that the protocol can
// point at the data behind a finding after the document itself is gone.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "xml/my_node.h"

namespace morvel {

// A location path. A period keeps the location of its element under several
// names (the period, its rate, its seniority basis), and every copy of one
// location shares one text instead of holding its own.
class TXPathText {
 public:
  TXPathText() = default;
  TXPathText(std::string text)  // NOLINT: a path is assigned from texts
      : fText(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text))) {}
  TXPathText(const char* text) : TXPathText(std::string(text)) {}  // NOLINT

  const std::string& str() const {
    static const std::string empty;
    return fText ? *fText : empty;
  }
  operator const std::string&() const { return str(); }  // NOLINT
  bool empty() const { return fText == nullptr; }
  std::size_t size() const { return str().size(); }
  std::size_t find(std::string_view what, std::size_t from = 0) const { return str().find(what, from); }

  friend bool operator==(const TXPathText& a, const TXPathText& b) { return a.str() == b.str(); }
  friend bool operator==(const TXPathText& a, const std::string& b) { return a.str() == b; }
  friend bool operator==(const TXPathText& a, std::string_view b) { return a.str() == b; }
  friend bool operator==(const TXPathText& a, const char* b) { return a.str() == b; }
  friend std::ostream& operator<<(std::ostream& out, const TXPathText& p) { return out << p.str(); }

 private:
  std::shared_ptr<const std::string> fText;  // nullptr for the empty path
};

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
  TXPathText fXPath;
};

}  // namespace morvel
