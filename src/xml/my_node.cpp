#include "xml/my_node.h"

#include <algorithm>
#include <cstdint>
#include <forward_list>
#include <functional>
#include <utility>

namespace morvel {
namespace {

std::size_t HashName(std::string_view name) { return std::hash<std::string_view>{}(name); }

// A dictionary from element name to the list of nodes of that name. The key of an
// entry is the name of the entry's first node, so the index stores no copies of the
// names (the nodes of a tree never change their names once they are indexed). A
// handful of names is searched by hash in a short vector; beyond that an open-address
// table of entry numbers takes over, so a node with many distinct names stays a
// constant-time look-up.
class TNameIndex {
 public:
  TMyNodeList* Find(std::string_view name, std::size_t hash) {
    if (!fSlots) {
      for (Entry& e : fEntries) {
        if (e.hash == hash && e.list.front()->NodeName == name) return &e.list;
      }
      return nullptr;
    }
    const std::size_t mask = fSlots->size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const std::uint32_t slot = (*fSlots)[i];
      if (slot == 0) return nullptr;
      Entry& e = fEntries[slot - 1];
      if (e.hash == hash && e.list.front()->NodeName == name) return &e.list;
    }
  }

  // Appends the node to the list of its name and returns that list.
  TMyNodeList& Append(TMyNode* node, std::size_t hash) {
    if (TMyNodeList* list = Find(node->NodeName, hash)) {
      list->push_back(node);
      return *list;
    }
    return Add(hash, NewList(node));
  }

  // The smallest heap block of the allocator holds three pointers, so a list starts
  // with room for three: no more memory, and two fewer reallocations as it grows.
  static TMyNodeList NewList(TMyNode* first) {
    TMyNodeList list;
    list.reserve(3);
    list.push_back(first);
    return list;
  }

  // A new entry; its name (that of the list's first node) must not be in the index.
  TMyNodeList& Add(std::size_t hash, TMyNodeList list) {
    fEntries.push_back(Entry{hash, std::move(list)});
    if (fEntries.size() > kLinearLimit) {
      try {
        if (!fSlots || fEntries.size() * 2 > fSlots->size()) {
          Rehash();
        } else {
          Place(fEntries.size() - 1);
        }
      } catch (...) {
        // Leave the entry out, so the caller still owns what it passed; without the
        // table the entries are searched one by one, which is still right.
        fEntries.pop_back();
        fSlots.reset();
        throw;
      }
    }
    return fEntries.back().list;
  }

  void Reserve(std::size_t names) { fEntries.reserve(names); }
  std::size_t Size() const { return fEntries.size(); }

  template <typename F>
  void ForEachList(F f) const {
    for (const Entry& e : fEntries) f(e.list);
  }

  std::size_t TotalCount() const {
    std::size_t n = 0;
    for (const Entry& e : fEntries) n += e.list.size();
    return n;
  }

 private:
  static constexpr std::size_t kLinearLimit = 8;

  struct Entry {
    std::size_t hash;
    TMyNodeList list;  // never empty
  };

  void Rehash() {
    std::size_t size = 32;
    while (size < fEntries.size() * 3) size *= 2;
    auto slots = std::make_unique<std::vector<std::uint32_t>>(size, 0);
    fSlots.swap(slots);
    for (std::size_t i = 0; i < fEntries.size(); ++i) Place(i);
  }

  void Place(std::size_t entry) {
    std::vector<std::uint32_t>& slots = *fSlots;
    const std::size_t mask = slots.size() - 1;
    std::size_t i = fEntries[entry].hash & mask;
    while (slots[i] != 0) i = (i + 1) & mask;
    slots[i] = static_cast<std::uint32_t>(entry + 1);
  }

  std::vector<Entry> fEntries;                         // in the order the names first occurred
  std::unique_ptr<std::vector<std::uint32_t>> fSlots;  // entry number + 1, 0 for a free slot
};

}  // namespace

// ---------------------------------------------------------------------------
// TMyAttribs

const TMyAttrib* TMyAttribs::getNamedItem(std::string_view name) const {
  // Elements carry few attributes: a straight search beats any hashing here.
  for (const auto& item : fItems) {
    if (item.first == name) return &item.second;
  }
  return nullptr;
}

int TMyAttribs::Count() const { return static_cast<int>(fItems.size()); }

bool TMyAttribs::Add(std::string name, std::string value) {
  if (getNamedItem(name) != nullptr) return false;
  fItems.emplace_back(std::move(name), TMyAttrib{std::move(value)});
  return true;
}

// ---------------------------------------------------------------------------
// TMyNode

struct TMyNode::Index {
  Index() = default;
  Index(const Index&) = delete;
  Index& operator=(const Index&) = delete;
  // The children lists own their nodes; the relatives lists and the cached result
  // lists only point at nodes of the subtree.
  ~Index() {
    children.ForEachList([](const TMyNodeList& list) {
      for (TMyNode* child : list) std::default_delete<TMyNode>{}(child);
    });
  }

  // Every descendant of the name, in document order.
  const TMyNodeList* Descendants(std::string_view name, std::size_t hash) {
    if (const TMyNodeList* list = relatives.Find(name, hash)) return list;
    return children.Find(name, hash);
  }

  TNameIndex children;
  // Only the names that also occur deeper than the direct children: as long as every
  // descendant of a name is a child, the children list is the answer, which spares the
  // lowest levels of a tree (the most numerous) a second copy of every list.
  TNameIndex relatives;
  // Result lists made for queries (absent names, ChildNodes); a forward list keeps
  // every handed-out reference valid while more are added.
  std::forward_list<TMyNodeList> cache;
};

TMyNode::TMyNode() = default;
TMyNode::~TMyNode() = default;

TMyNode::Index& TMyNode::EnsureIndex() {
  if (!fIndex) fIndex = std::make_unique<Index>();
  return *fIndex;
}

void TMyNode::ReserveIndex(std::size_t childNames, std::size_t relativeNames) {
  Index& index = EnsureIndex();
  index.children.Reserve(childNames);
  index.relatives.Reserve(relativeNames);
}

void TMyNode::IndexShape(std::size_t& childNames, std::size_t& relativeNames) const {
  childNames = fIndex ? fIndex->children.Size() : 0;
  relativeNames = fIndex ? fIndex->relatives.Size() : 0;
}

void TMyNode::AddChild(std::unique_ptr<TMyNode> node) {
  if (!node) return;
  const std::size_t hash = HashName(node->NodeName);
  AddChildHashed(std::move(node), hash);
}

void TMyNode::AddRelative(TMyNode* node) {
  if (node == nullptr) return;
  AddRelativeHashed(node, HashName(node->NodeName));
}

void TMyNode::AddChildHashed(std::unique_ptr<TMyNode> node, std::size_t nameHash) {
  node->parent = this;
  TMyNodeList& list = EnsureIndex().children.Append(node.get(), nameHash);
  TMyNode* child = node.release();  // owned by the children list from here on
  if (list.size() > 1) {
    list.front()->NodeNumber = 1;
    child->NodeNumber = static_cast<int>(list.size());
  }
  AddRelativeHashed(child, nameHash);
}

void TMyNode::AddRelativeHashed(TMyNode* node, std::size_t nameHash) {
  // Every ancestor lists the node at the moment its start tag is read, which keeps
  // each index list in document order.
  for (TMyNode* n = this; n != nullptr; n = n->parent) {
    Index& index = n->EnsureIndex();
    if (TMyNodeList* list = index.relatives.Find(node->NodeName, nameHash)) {
      list->push_back(node);
      continue;
    }
    TMyNodeList* kids = index.children.Find(node->NodeName, nameHash);
    if (kids != nullptr && kids->back() == node) continue;  // a child, answered by the children list
    // The first descendant of the name below the children: from here on the name
    // needs a list of its own, starting with the children of that name so far.
    if (kids == nullptr) {
      index.relatives.Add(nameHash, TNameIndex::NewList(node));
      continue;
    }
    TMyNodeList list;
    list.reserve(std::max<std::size_t>(3, kids->size() + 1));
    list = *kids;
    list.push_back(node);
    index.relatives.Add(nameHash, std::move(list));
  }
}

const TMyNodeList& TMyNode::SelectNodes(std::string_view name) {
  if (fIndex) {
    if (const TMyNodeList* list = fIndex->children.Find(name, HashName(name))) return *list;
  }
  return EnsureIndex().cache.emplace_front();
}

TMyNode* TMyNode::SelectSingleNode(std::string_view name) {
  if (!fIndex) return nullptr;
  const TMyNodeList* list = fIndex->children.Find(name, HashName(name));
  return list != nullptr ? list->front() : nullptr;
}

const TMyNodeList& TMyNode::GetElementsByTagName(std::string_view name) {
  if (fIndex) {
    if (const TMyNodeList* list = fIndex->Descendants(name, HashName(name))) return *list;
  }
  return EnsureIndex().cache.emplace_front();
}

TMyNode* TMyNode::FirstRelative(std::string_view name) const {
  if (!fIndex) return nullptr;
  const TMyNodeList* list = fIndex->Descendants(name, HashName(name));
  return list != nullptr ? list->front() : nullptr;
}

const TMyNodeList& TMyNode::ChildNodes() {
  Index& index = EnsureIndex();
  TMyNodeList& all = index.cache.emplace_front();
  all.reserve(index.children.TotalCount());
  index.children.ForEachList([&all](const TMyNodeList& list) { all.insert(all.end(), list.begin(), list.end()); });
  return all;
}

std::string TMyNode::GetXPath() const {
  std::vector<const TMyNode*> chain;
  for (const TMyNode* n = this; n != nullptr; n = n->parent) chain.push_back(n);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const TMyNode& n = **it;
    path += '/';
    path += n.NodeName;
    if (n.NodeNumber != 0) {
      path += '[';
      path += std::to_string(n.NodeNumber);
      path += ']';
    }
  }
  return path;
}

}  // namespace morvel
