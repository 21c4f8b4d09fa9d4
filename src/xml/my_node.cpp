#include "xml/my_node.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace morvel {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
// Storage grows in blocks of this size; a piece larger than a quarter of it gets a
// block of its own, so that no block is left mostly empty.
constexpr std::size_t kStorageBlock = 256 * 1024;
// Children walked one by one before a query turns to the name lists.
constexpr int kChildWalk = 32;

std::uint64_t DepthBit(std::uint32_t depth) { return std::uint64_t{1} << std::min<std::uint32_t>(depth, 63); }

// The first position in `list` whose value is at least `value`, searched outwards
// from `start`: the cost grows with the distance from the start, not with the
// length of the list.
std::size_t GallopLowerBound(std::span<const std::uint32_t> list, std::uint32_t value, std::size_t start) {
  const std::size_t n = list.size();
  start = std::min(start, n);
  std::size_t lo = 0;
  std::size_t hi = 0;
  if (start < n && list[start] < value) {
    // The answer lies after the start: every position below `lo` is too small.
    lo = start + 1;
    hi = lo;
    std::size_t step = 1;
    while (hi < n && list[hi] < value) {
      lo = hi + 1;
      step *= 2;
      hi = lo + step - 1;
    }
    hi = std::min(hi, n);
  } else {
    // The answer is the start or before it: `hi` is never too small.
    hi = start;
    std::size_t step = 1;
    for (;;) {
      if (step > hi) {
        lo = 0;
        break;
      }
      const std::size_t probe = hi - step;
      if (list[probe] < value) {
        lo = probe + 1;
        break;
      }
      hi = probe;
      step *= 2;
    }
  }
  return static_cast<std::size_t>(std::lower_bound(list.begin() + static_cast<std::ptrdiff_t>(lo),
                                                   list.begin() + static_cast<std::ptrdiff_t>(hi), value) -
                                  list.begin());
}

std::uint32_t LengthAt(const char* prefixed) {
  std::uint32_t length = 0;
  std::memcpy(&length, prefixed, sizeof length);
  return length;
}

}  // namespace

// ---------------------------------------------------------------------------
// Attributes and lists

const TMyAttrib* TMyAttribs::getNamedItem(std::string_view name) const {
  // Elements carry few attributes: comparing the names beats any hashing here.
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    const TMyAttrib& item = fItems[1 + i];
    if (fDoc->NameText(item.fName) == name) return &item;
  }
  return nullptr;
}

std::string_view TMyAttribs::NameAt(int index) const { return fDoc->NameText(At(index).fName); }

TMyNode* TMyNodeList::iterator::operator*() const { return fDoc->NodeAt(*fAt); }

TMyNode* TMyNodeList::at(std::size_t i) const {
  if (i >= size()) throw std::out_of_range("TMyNodeList::at");
  return (*this)[i];
}

// ---------------------------------------------------------------------------
// Document

struct TMyDocument::TNameIndex {
  std::unordered_map<std::string_view, std::uint32_t> numbers;
};

TMyDocument::TMyDocument() : fNameIndex(std::make_unique<TNameIndex>()) {
  static std::atomic<std::uint64_t> documents{0};
  fSerial = ++documents;
}
TMyDocument::~TMyDocument() = default;

std::uint32_t TMyDocument::FindName(std::string_view name) const {
  const auto found = fNameIndex->numbers.find(name);
  return found != fNameIndex->numbers.end() ? found->second : kNone;
}

char* TMyDocument::Allocate(std::size_t size, std::size_t align) {
  if (size > kStorageBlock / 4) {
    // A block of its own, kept behind the current one so that its free room stays.
    auto block = std::make_unique_for_overwrite<char[]>(size);
    char* bytes = block.get();
    fStorage.push_back(std::move(block));
    if (fStorage.size() > 1) std::swap(fStorage.back(), fStorage[fStorage.size() - 2]);
    return bytes;
  }
  std::size_t pad = static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(fFree)) & (align - 1);
  if (fFree == nullptr || pad + size > fFreeLeft) {
    fStorage.push_back(std::make_unique_for_overwrite<char[]>(kStorageBlock));
    fFree = fStorage.back().get();
    fFreeLeft = kStorageBlock;
    pad = 0;  // a new block is aligned for anything
  }
  char* bytes = fFree + pad;
  fFree += pad + size;
  fFreeLeft -= pad + size;
  return bytes;
}

const TMyDocument::TOrders* TMyDocument::AtDepth(const TName& name, std::uint32_t depth) const {
  if ((name.depths & DepthBit(depth)) == 0) return nullptr;
  // A name seen at one depth only (the usual case): its list is the answer.
  if ((name.depths & (name.depths - 1)) == 0 && depth < 63) return &name.elements;
  if (!name.byDepthMade) {
    for (std::uint32_t order : name.elements.orders) {
      const std::uint32_t d = NodeAt(order)->Depth();
      if (d >= name.byDepth.size()) name.byDepth.resize(d + 1);
      name.byDepth[d].orders.push_back(order);
    }
    name.byDepthMade = true;
  }
  return depth < name.byDepth.size() ? &name.byDepth[depth] : nullptr;
}

std::span<const std::uint32_t> TMyDocument::Slice(const TOrders& list, std::uint32_t from, std::uint32_t to) {
  const std::span<const std::uint32_t> all(list.orders);
  const std::size_t first = GallopLowerBound(all, from, list.hint);
  const std::size_t last = GallopLowerBound(all, to, first);
  list.hint = last;
  return all.subspan(first, last - first);
}

// ---------------------------------------------------------------------------
// Nodes

std::string_view TMyNode::NodeName() const { return fDoc->NameText(fName); }

std::string_view TMyNode::text() const {
  if (fText == nullptr) return {};
  return {fText + sizeof(std::uint32_t), LengthAt(fText)};
}

TMyNode* TMyNode::parent() const { return fParent == kNone ? nullptr : fDoc->NodeAt(fParent); }

std::uint32_t TMyNode::Depth() const {
  std::uint32_t depth = 0;
  for (const TMyNode* n = this; n->fParent != kNone; n = fDoc->NodeAt(n->fParent)) ++depth;
  return depth;
}

TMyNodeList TMyNode::SelectNodes(std::string_view name) const {
  const std::uint32_t number = fDoc->FindName(name);
  if (number == kNone || fEnd == fOrder + 1) return {};
  // Below an element, the elements one level deeper are exactly its children.
  const TMyDocument::TOrders* list = fDoc->AtDepth(fDoc->fNames[number], Depth() + 1);
  if (list == nullptr) return {};
  return {fDoc, TMyDocument::Slice(*list, fOrder + 1, fEnd)};
}

TMyNode* TMyNode::SelectSingleNode(std::string_view name) const {
  const std::uint32_t number = fDoc->FindName(name);
  if (number == kNone) return nullptr;
  int steps = 0;
  for (std::uint32_t child = fOrder + 1; child < fEnd;) {
    TMyNode* node = fDoc->NodeAt(child);
    if (node->fName == number) return node;
    if (++steps == kChildWalk) {
      // Many children: the name list finds the first of the name faster.
      const TMyNodeList found = SelectNodes(name);
      return found.empty() ? nullptr : found.front();
    }
    child = node->fEnd;
  }
  return nullptr;
}

TMyNodeList TMyNode::GetElementsByTagName(std::string_view name) const {
  const std::uint32_t number = fDoc->FindName(name);
  if (number == kNone || fEnd == fOrder + 1) return {};
  return {fDoc, TMyDocument::Slice(fDoc->fNames[number].elements, fOrder + 1, fEnd)};
}

TMyNode* TMyNode::FirstDescendant(std::string_view name) const {
  const TMyNodeList found = GetElementsByTagName(name);
  return found.empty() ? nullptr : found.front();
}

std::vector<TMyNode*> TMyNode::ChildNodes() const {
  std::vector<TMyNode*> children;
  for (std::uint32_t child = fOrder + 1; child < fEnd; child = fDoc->NodeAt(child)->fEnd) {
    children.push_back(fDoc->NodeAt(child));
  }
  // Group by name, the names in the order they first occur; a stable sort keeps
  // document order within a name.
  std::vector<std::uint32_t> firstSeen;  // name numbers in order of occurrence
  std::unordered_map<std::uint32_t, std::uint32_t> rankOf;
  auto rank = [&](std::uint32_t name) -> std::uint32_t {
    if (rankOf.empty()) {
      for (std::size_t i = 0; i < firstSeen.size(); ++i) {
        if (firstSeen[i] == name) return static_cast<std::uint32_t>(i);
      }
      firstSeen.push_back(name);
      if (firstSeen.size() > 16) {
        for (std::size_t i = 0; i < firstSeen.size(); ++i) rankOf.emplace(firstSeen[i], static_cast<std::uint32_t>(i));
      }
      return static_cast<std::uint32_t>(firstSeen.size() - 1);
    }
    return rankOf.try_emplace(name, static_cast<std::uint32_t>(rankOf.size())).first->second;
  };
  std::vector<std::pair<std::uint32_t, TMyNode*>> keyed;
  keyed.reserve(children.size());
  bool grouped = true;
  for (TMyNode* child : children) {
    const std::uint32_t r = rank(child->fName);
    if (!keyed.empty() && r < keyed.back().first) grouped = false;
    keyed.emplace_back(r, child);
  }
  if (grouped) return children;
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < keyed.size(); ++i) children[i] = keyed[i].second;
  return children;
}

void AppendXPathStep(std::string& path, std::string_view name, int number) {
  path += '/';
  path += name;
  if (number != 0) {
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    path += '[';
    if (error == std::errc()) path.append(digits, static_cast<std::size_t>(end - digits));
    path += ']';
  }
}

std::string TMyNode::GetXPath() const {
  // Root first, in one allocation: a number takes at most 11 characters and
  // its brackets.
  std::vector<const TMyNode*> chain;
  std::size_t room = 0;
  for (const TMyNode* n = this; n != nullptr; n = n->parent()) {
    chain.push_back(n);
    room += 1 + n->NodeName().size() + (n->NodeNumber != 0 ? 13 : 0);
  }
  std::string path;
  path.reserve(room);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) AppendXPathStep(path, (*it)->NodeName(), (*it)->NodeNumber);
  return path;
}

void TMyTreeRelease::operator()(TMyNode* root) const {
  if (root != nullptr) std::unique_ptr<const TMyDocument> release(&root->Document());
}

// ---------------------------------------------------------------------------
// Builder

TMyTreeBuilder::TMyTreeBuilder() : fDoc(std::make_unique<TMyDocument>()) {}
TMyTreeBuilder::~TMyTreeBuilder() = default;

std::uint32_t TMyTreeBuilder::Name(std::string_view name) {
  const std::uint32_t known = fDoc->FindName(name);
  if (known != kNone) return known;
  char* bytes = fDoc->Allocate(std::max<std::size_t>(name.size(), 1), 1);
  std::memcpy(bytes, name.data(), name.size());
  const std::string_view stored(bytes, name.size());
  const auto number = static_cast<std::uint32_t>(fDoc->fNames.size());
  fDoc->fNames.emplace_back();
  fDoc->fNames.back().text = stored;
  fDoc->fNameIndex->numbers.emplace(stored, number);
  return number;
}

TMyNode* TMyTreeBuilder::Start(std::string_view name, int line) { return Start(Name(name), line, {}); }

TMyNode* TMyTreeBuilder::Start(std::uint32_t name, int line, std::span<const TAttribute> attributes) {
  TMyDocument& doc = *fDoc;
  if (name >= doc.fNames.size()) return nullptr;
  if (fOpen.empty() && doc.fCount > 0) return nullptr;  // a second root
  if (doc.fCount >= kNone - 1) return nullptr;
  // A repeated attribute name refuses the element.
  fSeen.clear();
  for (const TAttribute& a : attributes) fSeen.push_back(a.name);
  std::sort(fSeen.begin(), fSeen.end());
  if (std::adjacent_find(fSeen.begin(), fSeen.end()) != fSeen.end()) return nullptr;

  const std::uint32_t order = doc.fCount;
  if ((order >> TMyDocument::kBlockShift) >= doc.fBlocks.size()) {
    // Nodes are plain data set below; a block is allocated once and never moves.
    doc.fBlocks.push_back(std::unique_ptr<TMyNode[]>(new TMyNode[TMyDocument::kBlockSize]));
  }
  TMyNode& node = *doc.NodeAt(order);
  const std::uint32_t parent = fOpen.empty() ? kNone : fOpen.back();
  const auto depth = static_cast<std::uint32_t>(fOpen.size());
  node.NodeNumber = 0;
  node.LineNumber = line;
  node.fDoc = &doc;
  node.fName = name;
  node.fOrder = order;
  node.fEnd = order + 1;
  node.fParent = parent;
  node.fText = nullptr;
  node.fAttribs = nullptr;
  if (!attributes.empty()) {
    auto* items = reinterpret_cast<TMyAttrib*>(doc.Allocate(sizeof(TMyAttrib) * (attributes.size() + 1), 8));
    items[0].fName = kNone;
    items[0].fLength = static_cast<std::uint32_t>(attributes.size());
    items[0].fValue = nullptr;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
      const std::string_view value = attributes[i].value;
      char* bytes = doc.Allocate(std::max<std::size_t>(value.size(), 1), 1);
      std::memcpy(bytes, value.data(), value.size());
      items[i + 1].fName = attributes[i].name;
      items[i + 1].fLength = static_cast<std::uint32_t>(value.size());
      items[i + 1].fValue = bytes;
    }
    node.fAttribs = items;
  }

  TMyDocument::TName& entry = doc.fNames[name];
  entry.depths |= DepthBit(depth);
  if (entry.lastAtDepth.size() <= depth) entry.lastAtDepth.resize(depth + 1, kNone);
  // The last element of this name one level below the parent, if it started after
  // the parent (which is still open), is the previous sibling of the name.
  const std::uint32_t previous = entry.lastAtDepth[depth];
  if (parent != kNone && previous != kNone && previous > parent) {
    TMyNode& sibling = *doc.NodeAt(previous);
    if (sibling.NodeNumber == 0) sibling.NodeNumber = 1;
    node.NodeNumber = sibling.NodeNumber + 1;
  }
  entry.lastAtDepth[depth] = order;
  entry.elements.orders.push_back(order);
  fOpen.push_back(order);
  ++doc.fCount;
  return &node;
}

void TMyTreeBuilder::SetText(std::string_view text) {
  if (fOpen.empty()) return;
  TMyNode& node = *Open();
  if (text.empty()) {
    node.fText = nullptr;
    return;
  }
  text = text.substr(0, kNone);
  char* bytes = fDoc->Allocate(sizeof(std::uint32_t) + text.size(), alignof(std::uint32_t));
  const auto length = static_cast<std::uint32_t>(text.size());
  std::memcpy(bytes, &length, sizeof length);
  std::memcpy(bytes + sizeof length, text.data(), text.size());
  node.fText = bytes;
}

void TMyTreeBuilder::End() {
  if (fOpen.empty()) return;
  fDoc->NodeAt(fOpen.back())->fEnd = fDoc->fCount;
  fOpen.pop_back();
}

TMyTree TMyTreeBuilder::Finish() {
  while (!fOpen.empty()) End();
  std::unique_ptr<TMyDocument> doc = std::exchange(fDoc, std::make_unique<TMyDocument>());
  if (doc->fCount == 0) return nullptr;
  for (TMyDocument::TName& name : doc->fNames) std::vector<std::uint32_t>().swap(name.lastAtDepth);
  TMyNode* root = doc->NodeAt(0);
  doc.release();  // owned through the root from here on
  return TMyTree(root);
}

}  // namespace morvel
