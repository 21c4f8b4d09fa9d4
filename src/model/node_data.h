// Where an element stood in its source document, kept so that the protocol can
// point at the data behind a finding after the document itself is gone.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/counted_ref.h"
#include "xml/my_node.h"

namespace morvel {

// A location path. A period keeps the location of its element under several
// names (the period, its rate, its seniority basis), and every copy of one
// location shares one text instead of holding its own.
//
// The path of an element, "/Root/Child[2]/Leaf". A reader keeps one for almost
// every element it takes data from, and a large employer has millions of them
// that mostly share their beginning; so a path made from an element is kept as
// its last step and a reference to its parent's path, shared by all its
// siblings' paths, and written out whole only when it is first asked for.
class TXPathText {
 public:
  // The element names of one document, kept as long as a path made from it.
  using TNames = std::vector<std::string>;

  TXPathText() = default;
  TXPathText(std::string text)  // NOLINT: a path is assigned from texts
      : fPart(text.empty() ? TPartRef() : TPartRef::Make(std::move(text))) {}
  TXPathText(const char* text) : TXPathText(std::string(text)) {}  // NOLINT

  // The path `parent` continued by the step "/name" or "/name[number]" (number
  // 0: no index), the name being entry `name` of `names`. A path without a
  // parent takes over the names; its continuations share them.
  static TXPathText Child(const TXPathText& parent, const std::shared_ptr<const TNames>& names, std::uint32_t name,
                          int number) {
    TXPathText path;
    path.fPart = TPartRef::Make(parent.fPart, names, name, number);
    return path;
  }

  const std::string& str() const {
    static const std::string empty;
    return fPart ? fPart->Whole() : empty;
  }
  operator const std::string&() const { return str(); }  // NOLINT
  bool empty() const { return !fPart; }
  std::size_t size() const { return str().size(); }
  std::size_t find(std::string_view what, std::size_t from = 0) const { return str().find(what, from); }

  friend bool operator==(const TXPathText& a, const TXPathText& b) {
    return a.fPart == b.fPart || a.str() == b.str();
  }
  friend bool operator==(const TXPathText& a, const std::string& b) { return a.str() == b; }
  friend bool operator==(const TXPathText& a, std::string_view b) { return a.str() == b; }
  friend bool operator==(const TXPathText& a, const char* b) { return a.str() == b; }
  friend std::ostream& operator<<(std::ostream& out, const TXPathText& p) { return out << p.str(); }

 private:
  struct TPart;
  using TPartRef = TCountedRef<TPart>;
  // A path given as text, or one step of a path made from elements.
  struct TPart {
    explicit TPart(std::string text) : whole(std::make_unique<const std::string>(std::move(text))) {}
    TPart(TPartRef up, const std::shared_ptr<const TNames>& table, std::uint32_t name, int number)
        : parent(std::move(up)),
          names(parent ? parent->names : table.get()),
          ownNames(parent ? nullptr : table),
          name(name),
          number(number) {}

    // Written out on the first request and kept.
    const std::string& Whole() const;

    TPartRef parent;
    const TNames* names = nullptr;              // held by the first part of the path
    std::shared_ptr<const TNames> ownNames;     // only in a path's first part
    std::uint32_t name = 0;
    int number = 0;
    mutable std::unique_ptr<const std::string> whole;
  };

  TPartRef fPart;  // none for the empty path
};

// The path of an element, sharing the paths of its ancestors with those made
// just before it from the same document (readers go through a document in
// order, so the last element's ancestors are mostly the next one's).
TXPathText PathOf(const TMyNode& element);

class TNodeData {
 public:
  TNodeData() = default;
  explicit TNodeData(const TMyNode& src) : fLine(src.LineNumber), fXPath(PathOf(src)) {}
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
