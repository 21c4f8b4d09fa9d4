#include "xml/my_node.h"

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
    if (fSlots.empty()) {
      for (Entry& e : fEntries) {
        if (e.hash == hash && e.list.front()->NodeName == name) return &e.list;
      }
      return nullptr;
    }
    const std::size_t mask = fSlots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const std::uint32_t slot = fSlots[i];
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
    fEntries.push_back(Entry{hash, TMyNodeList{node}});
    if (fEntries.size() > kLinearLimit) {
      if (fEntries.size() * 2 > fSlots.size()) {
        try {
          Rehash();
        } catch (...) {
          // Leave the node out, so the caller still owns what it passed; without
          // the table the entries are searched one by one, which is still right.
          fEntries.pop_back();
          fSlots.clear();
          throw;
        }
      } else {
        Place(fEntries.size() - 1);
      }
    }
    return fEntries.back().list;
  }

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
    while (size < fEntries.size() * 4) size *= 2;
    fSlots.assign(size, 0);
    for (std::size_t i = 0; i < fEntries.size(); ++i) Place(i);
  }

  void Place(std::size_t entry) {
    const std::size_t mask = fSlots.size() - 1;
    std::size_t i = fEntries[entry].hash & mask;
    while (fSlots[i] != 0) i = (i + 1) & mask;
    fSlots[i] = static_cast<std::uint32_t>(entry + 1);
  }

  std::vector<Entry> fEntries;       // in the order the names first occurred
  std::vector<std::uint32_t> fSlots;  // entry number + 1, 0 for a free slot
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

  TNameIndex children;
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
  for (TMyNode* n = this; n != nullptr; n = n->parent) n->EnsureIndex().relatives.Append(node, nameHash);
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
    if (const TMyNodeList* list = fIndex->relatives.Find(name, HashName(name))) return *list;
  }
  return EnsureIndex().cache.emplace_front();
}

TMyNode* TMyNode::FirstRelative(std::string_view name) const {
  if (!fIndex) return nullptr;
  const TMyNodeList* list = fIndex->relatives.Find(name, HashName(name));
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
