#include "model/bases.h"

#include "base/text.h"
#include "config/classifiers.h"

namespace morvel {
namespace {

bool NeedsQuotes(std::string_view code, char delimiter) {
  for (char c : code) {
    if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == delimiter) return true;
  }
  return false;
}

bool IsBlank(char c) { return c != 0 && static_cast<unsigned char>(c) <= 32; }

}  // namespace

TCodeSet::TCodeSet(const TCodeSet& other)
    : fDelimiter(other.fDelimiter), fItems(other.fItems), fText(other.fText) {}

TCodeSet::TCodeSet(TCodeSet&& other) noexcept
    : fDelimiter(other.fDelimiter), fItems(std::move(other.fItems)), fText(std::move(other.fText)) {
  other.fItems.clear();
  other.fText.clear();
}

TCodeSet& TCodeSet::operator=(const TCodeSet& other) {
  if (this != &other) {
    fDelimiter = other.fDelimiter;
    fItems = other.fItems;
    fText = other.fText;
    Changed();
  }
  return *this;
}

TCodeSet& TCodeSet::operator=(TCodeSet&& other) {
  if (this != &other) {
    fDelimiter = other.fDelimiter;
    fItems = std::move(other.fItems);
    fText = std::move(other.fText);
    other.fItems.clear();
    other.fText.clear();
    Changed();
  }
  return *this;
}

std::size_t TCodeSet::Find(std::string_view code, bool& found) const {
  std::size_t lo = 0, hi = fItems.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    const int c = CompareTextCI(fItems[mid], code);
    if (c < 0) {
      lo = mid + 1;
    } else if (c > 0) {
      hi = mid;
    } else {
      found = true;
      return mid;
    }
  }
  found = false;
  return lo;
}

int TCodeSet::IndexOf(std::string_view code) const {
  bool found = false;
  const std::size_t at = Find(code, found);
  return found ? static_cast<int>(at) : -1;
}

bool TCodeSet::Insert(std::string code) {
  bool found = false;
  const std::size_t at = Find(code, found);
  if (found) return false;
  fItems.insert(fItems.begin() + static_cast<std::ptrdiff_t>(at), std::move(code));
  return true;
}

bool TCodeSet::Add(std::string_view code) {
  if (!Insert(std::string(code))) return false;
  Changed();
  return true;
}

void TCodeSet::AddStrings(const TCodeSet& other) {
  if (&other == this) return;
  for (const std::string& code : other.fItems) Insert(code);
  Changed();
}

void TCodeSet::Clear() {
  if (fItems.empty()) return;
  fItems.clear();
  Changed();
}

void TCodeSet::SetDelimitedText(std::string_view text) {
  // Parsed into a list first, so the set changes (and tells so) only once.
  std::vector<std::string> codes;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skipBlanks = [&] {
    while (i < n && IsBlank(text[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    std::string code;
    if (text[i] == '"') {
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            code += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        code += text[i++];
      }
    } else {
      const std::size_t from = i;
      while (i < n && !IsBlank(text[i]) && text[i] != fDelimiter) ++i;
      code.assign(text.substr(from, i - from));
    }
    if (!code.empty()) codes.push_back(std::move(code));
    skipBlanks();
    if (i < n && text[i] == fDelimiter) {
      ++i;
      skipBlanks();
    }
  }

  {
    struct Quiet {
      int& count;
      explicit Quiet(int& c) : count(c) { ++count; }
      ~Quiet() { --count; }
    } quiet(fQuiet);
    fItems.clear();
    for (const std::string& code : codes) Add(code);
  }
  Changed();
}

void TCodeSet::RebuildText() {
  fText.clear();
  for (std::size_t k = 0; k < fItems.size(); ++k) {
    if (k > 0) fText += fDelimiter;
    const std::string& code = fItems[k];
    if (NeedsQuotes(code, fDelimiter)) {
      fText += '"';
      fText += ReplaceAll(code, "\"", "\"\"");
      fText += '"';
    } else {
      fText += code;
    }
  }
}

void TCodeSet::Changed() {
  RebuildText();
  if (fQuiet == 0 && fOnChange) fOnChange();
}

bool TBases::Add(std::string_view code) { return TCodeSet::Add(ReplaceByClassifier(code)); }

bool TBases::HasBases(std::string_view probe) const { return morvel::Contains(DelimitedText(), probe); }

bool TBases::HasBases(const TCodeSet& probe) const {
  return morvel::Contains(DelimitedText(), probe.DelimitedText());
}

std::string ReplaceByClassifier(std::string_view code) {
  std::string text(code);
  const TClassifiers& classifiers = Classifiers();
  if (!classifiers.Has(TClassifierType::ctReplaceFrom) || !classifiers.Has(TClassifierType::ctReplaceTo)) {
    return text;
  }
  const auto& from = classifiers.Get(TClassifierType::ctReplaceFrom);
  const auto& to = classifiers.Get(TClassifierType::ctReplaceTo);
  for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) text = ReplaceAll(text, from[i], to[i]);
  return text;
}

}  // namespace morvel
