#include "config/classifiers.h"

#include "base/error.h"

namespace morvel {
namespace {

const TClassifiers* gInstalled = nullptr;

// A value past the last type (one added after it, or a cast) is refused rather
// than read past the end of the lists.
std::size_t IndexOf(TClassifierType kind) {
  const auto index = static_cast<std::size_t>(kind);
  if (index >= kClassifierTypeCount) throw EMorvelError("Item not found");
  return index;
}

}  // namespace

void TClassifiers::Add(TClassifierType kind, std::vector<std::string> entries) {
  fLists[IndexOf(kind)] = std::move(entries);
}

bool TClassifiers::Has(TClassifierType kind) const { return fLists[IndexOf(kind)].has_value(); }

const std::vector<std::string>& TClassifiers::Get(TClassifierType kind) const {
  const auto& list = fLists[IndexOf(kind)];
  if (!list) throw EMorvelError("Item not found");
  return *list;
}

void TClassifiers::Clear() {
  for (auto& list : fLists) list.reset();
}

const TClassifiers& Classifiers() {
  static const TClassifiers kEmpty;
  return gInstalled != nullptr ? *gInstalled : kEmpty;
}

TClassifiersScope::TClassifiersScope(const TClassifiers& classifiers) : fPrevious(gInstalled) {
  gInstalled = &classifiers;
}

TClassifiersScope::~TClassifiersScope() { gInstalled = fPrevious; }

bool ClassifierContains(TClassifierType kind, std::string_view text) {
  for (const std::string& entry : Classifiers().Get(kind)) {
    if (!entry.empty() && text.find(entry) != std::string_view::npos) return true;
  }
  return false;
}

bool ClassifierContainsAny(TClassifierType kind, const std::vector<std::string>& texts) {
  for (const std::string& text : texts) {
    if (ClassifierContains(kind, text)) return true;
  }
  return false;
}

}  // namespace morvel
