#include "model/node_data.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace morvel {

const std::string& TXPathText::TPart::Whole() const {
  if (!whole) {
    std::vector<const TPart*> chain;
    for (const TPart* p = this; p != nullptr; p = p->parent.get()) chain.push_back(p);
    std::string text;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      const TPart& step = **it;
      AppendXPathStep(text, step.names != nullptr && step.name < step.names->size() ? (*step.names)[step.name] : "",
                      step.number);
    }
    whole = std::make_unique<const std::string>(std::move(text));
  }
  return *whole;
}

TXPathText PathOf(const TMyNode& element) {
  // The elements from the root down to the last one asked about, each with its
  // path, and the document's names. The document's serial number tells whether
  // they belong to this document: an element of a document that is gone is
  // never compared with.
  struct TLastChain {
    std::uint64_t serial = 0;
    std::shared_ptr<const TXPathText::TNames> names;
    std::vector<std::pair<const TMyNode*, TXPathText>> elements;
  };
  thread_local TLastChain last;

  const TMyDocument& document = element.Document();
  if (last.serial != document.Serial() || !last.names || last.names->size() < document.NameCount()) {
    auto names = std::make_shared<TXPathText::TNames>();
    names->reserve(document.NameCount());
    for (std::uint32_t n = 0; n < document.NameCount(); ++n) names->emplace_back(document.NameText(n));
    last.serial = document.Serial();
    last.names = std::move(names);
    last.elements.clear();
  }

  std::vector<const TMyNode*> down;
  for (const TMyNode* e = &element; e != nullptr; e = e->parent()) down.push_back(e);
  std::reverse(down.begin(), down.end());
  std::size_t shared = 0;
  while (shared < down.size() && shared < last.elements.size() && last.elements[shared].first == down[shared]) {
    ++shared;
  }
  last.elements.resize(shared);
  TXPathText path = shared > 0 ? last.elements[shared - 1].second : TXPathText();
  for (std::size_t k = shared; k < down.size(); ++k) {
    path = TXPathText::Child(path, last.names, down[k]->NameNumber(), down[k]->NodeNumber);
    last.elements.emplace_back(down[k], path);
  }
  return path;
}

}  // namespace morvel
