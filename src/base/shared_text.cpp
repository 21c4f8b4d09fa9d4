#include "base/shared_text.h"

#include <array>
#include <memory>

namespace morvel {

const std::string& TSharedText::EmptyText() noexcept {
  static const std::string empty;
  return empty;
}

std::string TSharedText::Joined(std::string_view a, std::string_view b) {
  std::string joined;
  joined.reserve(a.size() + b.size());
  joined.append(a).append(b);
  return joined;
}

TSharedText::TRep* TSharedText::SharedDigit(std::string_view text) noexcept {
  if (text.size() != 1 || text[0] < '0' || text[0] > '9') return nullptr;
  // Made once and never released: the table holds one reference of each.
  static const std::array<TRep*, 10> digits = [] {
    std::array<TRep*, 10> made{};
    for (char d = '0'; d <= '9'; ++d) made[static_cast<std::size_t>(d - '0')] = std::make_unique<TRep>(std::string(1, d)).release();
    return made;
  }();
  TRep* rep = digits[static_cast<std::size_t>(text[0] - '0')];
  Acquire(rep);
  return rep;
}

TSharedText::TSharedText(std::string_view text) {
  if (text.empty()) return;
  fRep = SharedDigit(text);
  if (fRep == nullptr) fRep = std::make_unique<TRep>(std::string(text)).release();
}

TSharedText::TSharedText(std::string&& text) {
  if (text.empty()) return;
  fRep = SharedDigit(text);
  if (fRep == nullptr) fRep = std::make_unique<TRep>(std::move(text)).release();
}

void TSharedText::Release(TRep* rep) noexcept {
  if (rep == nullptr) return;
  // The last holder frees; acquire-release so that its reads of the text happen
  // before the text goes.
  if (rep->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) std::unique_ptr<TRep> last(rep);
}

TSharedText& TSharedText::operator+=(std::string_view more) {
  if (more.empty()) return *this;
  *this = TSharedText(Joined(str(), more));
  return *this;
}

TSharedText TSharedTextPool::Get(std::string_view text) {
  if (text.empty()) return {};
  if (const auto found = fTexts.find(text); found != fTexts.end()) return found->second;
  TSharedText shared(text);
  if (fTexts.size() < fCapacity) fTexts.emplace(shared.str(), shared);
  return shared;
}

}  // namespace morvel
