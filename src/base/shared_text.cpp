#include "base/shared_text.h"

#include <array>

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

TSharedText::TRef TSharedText::SharedDigit(std::string_view text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '9') return {};
  static const std::array<TRef, 10> digits = [] {
    std::array<TRef, 10> made;
    for (char d = '0'; d <= '9'; ++d) made[static_cast<std::size_t>(d - '0')] = TRef::Make(1, d);
    return made;
  }();
  return digits[static_cast<std::size_t>(text[0] - '0')];
}

TSharedText::TSharedText(std::string_view text) {
  if (text.empty()) return;
  fText = SharedDigit(text);
  if (!fText) fText = TRef::Make(text);
}

TSharedText::TSharedText(std::string&& text) {
  if (text.empty()) return;
  fText = SharedDigit(text);
  if (!fText) fText = TRef::Make(std::move(text));
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
