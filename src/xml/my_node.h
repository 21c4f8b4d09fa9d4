// The in-memory element tree every XML input is read into. It is made for one
// access pattern: finding the elements of one exact name below an element.
//
// A document keeps its elements in pre-order (document order of the start tags) in
// blocks of fixed-size nodes; each node knows the pre-order number after its last
// descendant, so its subtree is one run of numbers, its first child is the next
// number and its next sibling the number after its subtree. Every distinct name is
// interned once per document and kept with the document-order list of the elements
// of that name, so that the descendants of a name below any element are one slice
// of that list, found by two searches. Texts, attribute values and names live in
// the document's own storage, which is released at once with the document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

class TMyNode;
class TMyDocument;
class TMyTreeBuilder;

// One attribute: its value with entity and character references already replaced.
class TMyAttrib {
 public:
  std::string_view text() const { return {fValue, fLength}; }

 private:
  friend class TMyAttribs;
  friend class TMyTreeBuilder;
  std::uint32_t fName;
  std::uint32_t fLength;
  const char* fValue;
};

// The attributes of one element, names exactly as written (namespace declarations
// are attributes like any other).
class TMyAttribs {
 public:
  // The attribute of exactly that name (namespace prefix included), or nullptr.
  const TMyAttrib* getNamedItem(std::string_view name) const;
  int Count() const { return fItems != nullptr ? static_cast<int>(fItems->fLength) : 0; }
  // The name of the attribute at that position (0 <= index < Count()).
  std::string_view NameAt(int index) const;
  const TMyAttrib& At(int index) const { return fItems[1 + index]; }

 private:
  friend class TMyNode;
  // `items` is a header entry whose length is the number of attributes, followed
  // by the attributes themselves; nullptr for an element without any.
  TMyAttribs(const TMyDocument* doc, const TMyAttrib* items) : fDoc(doc), fItems(items) {}
  const TMyDocument* fDoc;
  const TMyAttrib* fItems;
};

// The answer to a name query: elements in document order. A light view into the
// document's name lists; it stays valid as long as the tree lives, and copying it
// copies no elements.
class TMyNodeList {
 public:
  class iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = TMyNode*;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = TMyNode*;

    iterator() = default;
    iterator(const TMyDocument* doc, const std::uint32_t* at) : fDoc(doc), fAt(at) {}
    TMyNode* operator*() const;
    TMyNode* operator[](difference_type n) const { return *(*this + n); }
    iterator& operator++() { ++fAt; return *this; }
    iterator operator++(int) { iterator old = *this; ++fAt; return old; }
    iterator& operator--() { --fAt; return *this; }
    iterator operator--(int) { iterator old = *this; --fAt; return old; }
    iterator& operator+=(difference_type n) { fAt += n; return *this; }
    iterator& operator-=(difference_type n) { fAt -= n; return *this; }
    friend iterator operator+(iterator it, difference_type n) { return it += n; }
    friend iterator operator+(difference_type n, iterator it) { return it += n; }
    friend iterator operator-(iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const iterator& a, const iterator& b) { return a.fAt - b.fAt; }
    friend bool operator==(const iterator& a, const iterator& b) { return a.fAt == b.fAt; }
    friend auto operator<=>(const iterator& a, const iterator& b) { return a.fAt <=> b.fAt; }

   private:
    const TMyDocument* fDoc = nullptr;
    const std::uint32_t* fAt = nullptr;
  };

  TMyNodeList() = default;
  TMyNodeList(const TMyDocument* doc, std::span<const std::uint32_t> orders) : fDoc(doc), fOrders(orders) {}

  std::size_t size() const { return fOrders.size(); }
  bool empty() const { return fOrders.empty(); }
  TMyNode* operator[](std::size_t i) const { return begin()[static_cast<std::ptrdiff_t>(i)]; }
  // Like operator[], but a position beyond the end raises std::out_of_range.
  TMyNode* at(std::size_t i) const;
  TMyNode* front() const { return (*this)[0]; }
  TMyNode* back() const { return (*this)[size() - 1]; }
  iterator begin() const { return {fDoc, fOrders.data()}; }
  iterator end() const { return {fDoc, fOrders.data() + fOrders.size()}; }

 private:
  const TMyDocument* fDoc = nullptr;
  std::span<const std::uint32_t> fOrders;
};

class TMyNode {
 public:
  TMyNode(const TMyNode&) = delete;
  TMyNode& operator=(const TMyNode&) = delete;

  int NodeNumber;  // 1-based position among same-named siblings; 0 for an only child
  int LineNumber;  // approximate line of the start tag

  // The element name as written, namespace prefix included.
  std::string_view NodeName() const;
  // The document's number for the element's name (see TMyDocument::NameText).
  std::uint32_t NameNumber() const { return fName; }
  // The trimmed character data; empty if none.
  std::string_view text() const;
  // The enclosing element; nullptr for the root.
  TMyNode* parent() const;
  TMyAttribs Attributes() const { return TMyAttribs(fDoc, fAttribs); }

  // Direct children with that name, in document order.
  TMyNodeList SelectNodes(std::string_view name) const;
  // The first direct child with that name, or nullptr.
  TMyNode* SelectSingleNode(std::string_view name) const;
  // Every descendant with that name at any depth, in document order; never the node
  // itself.
  TMyNodeList GetElementsByTagName(std::string_view name) const;
  // The first descendant of that name at any depth, or nullptr.
  TMyNode* FirstDescendant(std::string_view name) const;
  // All direct children, those of one name together and in document order; the
  // names follow one another in the order they first occur.
  std::vector<TMyNode*> ChildNodes() const;
  // Location path such as /R/ЗЛ[2].
  std::string GetXPath() const;

  const TMyDocument& Document() const { return *fDoc; }

 private:
  friend class TMyDocument;
  friend class TMyTreeBuilder;
  TMyNode() = default;  // made only inside a document's node blocks

  // The number of elements on the way from the root (0 for the root).
  std::uint32_t Depth() const;

  const TMyDocument* fDoc;
  std::uint32_t fName;    // interned name
  std::uint32_t fOrder;   // pre-order number
  std::uint32_t fEnd;     // pre-order number after the last descendant
  std::uint32_t fParent;  // pre-order number of the parent; kNone for the root
  const char* fText;      // length-prefixed, in the document's storage; nullptr for none
  const TMyAttrib* fAttribs;  // see TMyAttribs; nullptr for none

  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
};

// Releases the whole document the root belongs to.
struct TMyTreeRelease {
  void operator()(TMyNode* root) const;
};

// Owns a whole tree: releasing the root releases every node, text and list at once.
using TMyTree = std::unique_ptr<TMyNode, TMyTreeRelease>;

// Reads a document (a file, or an http:// address fetched with one GET) into a
// tree; nullptr when no element could be read. Never raises.
TMyTree LoadXMLTree(const std::string& fileName);
// Reads a document held in memory, as LoadXMLTree reads a file (or, with
// `requireComplete`, as it reads a fetched answer). Never raises.
TMyTree ParseXMLText(std::string_view bytes, bool requireComplete = false);

// One step of a location path: "/name", and "[number]" for one of several
// siblings of that name (number 0: an only child).
void AppendXPathStep(std::string& path, std::string_view name, int number);

// The storage of one tree; reached through any of its nodes.
class TMyDocument {
 public:
  TMyDocument(const TMyDocument&) = delete;
  TMyDocument& operator=(const TMyDocument&) = delete;
  TMyDocument();
  ~TMyDocument();

  std::uint32_t NodeCount() const { return fCount; }
  // A number no other document of this process has had, so that what is kept
  // about a document's nodes can tell whether it is still about this one.
  std::uint64_t Serial() const { return fSerial; }
  TMyNode* NodeAt(std::uint32_t order) const {
    return &fBlocks[order >> kBlockShift][order & (kBlockSize - 1)];
  }
  std::string_view NameText(std::uint32_t name) const { return fNames[name].text; }
  std::uint32_t NameCount() const { return static_cast<std::uint32_t>(fNames.size()); }
  // The interned number of a name, or kNone when no element or attribute of the
  // document has that name.
  std::uint32_t FindName(std::string_view name) const;

 private:
  friend class TMyNode;
  friend class TMyTreeBuilder;

  static constexpr std::uint32_t kBlockShift = 14;
  static constexpr std::uint32_t kBlockSize = 1u << kBlockShift;
  static constexpr std::uint32_t kNone = TMyNode::kNone;

  // A document-order list of elements with the place where the last search in it
  // ended: readers walk a document forwards, so the next search mostly starts close
  // to it.
  struct TOrders {
    std::vector<std::uint32_t> orders;
    mutable std::size_t hint = 0;
  };
  struct TName {
    std::string_view text;
    std::uint64_t depths = 0;  // bit d: an element of this name at depth d (63: deeper)
    TOrders elements;          // every element of the name
    // The elements of the name at each depth, made on the first query that needs
    // them when the name occurs at more than one depth.
    mutable std::vector<TOrders> byDepth;
    mutable bool byDepthMade = false;
    // While building: the last element of this name at each depth.
    std::vector<std::uint32_t> lastAtDepth;
  };

  // The elements of the name at the given depth, in document order; nullptr for none.
  const TOrders* AtDepth(const TName& name, std::uint32_t depth) const;
  // The slice of `list` between two pre-order numbers (from inclusive, to exclusive).
  static std::span<const std::uint32_t> Slice(const TOrders& list, std::uint32_t from, std::uint32_t to);
  // Room in the document's storage, aligned to `align` (a power of two up to 8).
  char* Allocate(std::size_t size, std::size_t align);

  std::uint64_t fSerial;
  std::vector<std::unique_ptr<TMyNode[]>> fBlocks;
  std::uint32_t fCount = 0;
  std::vector<TName> fNames;
  struct TNameIndex;
  std::unique_ptr<TNameIndex> fNameIndex;
  std::vector<std::unique_ptr<char[]>> fStorage;  // texts, attribute values, names
  char* fFree = nullptr;
  std::size_t fFreeLeft = 0;
};

// Builds a tree element by element in document order; the parser drives it, and
// it makes trees by hand for tests. The builder owns the tree until Finish.
class TMyTreeBuilder {
 public:
  struct TAttribute {
    std::uint32_t name;
    std::string_view value;
  };

  TMyTreeBuilder();
  ~TMyTreeBuilder();
  TMyTreeBuilder(const TMyTreeBuilder&) = delete;
  TMyTreeBuilder& operator=(const TMyTreeBuilder&) = delete;

  // The number of a name in this document, interning it on first use.
  std::uint32_t Name(std::string_view name);

  // Opens an element inside the open one (as the root when nothing was started).
  // nullptr, and no element, when an attribute name repeats, when a second root
  // would start, or when the document reached the largest number of elements.
  TMyNode* Start(std::uint32_t name, int line, std::span<const TAttribute> attributes = {});
  TMyNode* Start(std::string_view name, int line = 1);
  // Sets the text of the open element, replacing an earlier one; line breaks are
  // taken as they are.
  void SetText(std::string_view text);
  // Closes the open element; its parent becomes the open element.
  void End();

  TMyNode* Open() const { return fOpen.empty() ? nullptr : fDoc->NodeAt(fOpen.back()); }
  // The name number of the open element; meaningful only while one is open.
  std::uint32_t OpenName() const { return Open()->fName; }
  bool RootClosed() const { return fDoc->fCount > 0 && fOpen.empty(); }
  // The tree, with every element still open closed at the end; nullptr when no
  // element started. The builder is empty afterwards.
  TMyTree Finish();

 private:
  std::unique_ptr<TMyDocument> fDoc;
  std::vector<std::uint32_t> fOpen;  // pre-order numbers of the open elements, root first
  std::vector<std::uint32_t> fSeen;  // attribute names of the element being started
};

}  // namespace morvel
