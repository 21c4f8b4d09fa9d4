// A text that its copies share instead of each holding its own.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "base/counted_ref.h"

namespace morvel {

// The record fields of a period are mostly empty, a digit or the same text in
// every piece that division and merging cut from one period; a large employer
// has hundreds of thousands of periods with about twenty such fields. A
// std::string field costs 32 bytes even when empty and a full copy in every
// piece, so these fields hold one pointer to a text shared by all its copies
// (nullptr for the empty text), and single digits share one text per process.
//
// The text is never changed while shared: every change makes a text of its own.
// Copies may be made and dropped from several threads at once.
class TSharedText {
 public:
  TSharedText() noexcept = default;
  TSharedText(std::string_view text);  // NOLINT: fields are assigned from texts
  TSharedText(const std::string& text) : TSharedText(std::string_view(text)) {}  // NOLINT
  TSharedText(std::string&& text);  // NOLINT
  TSharedText(const char* text) : TSharedText(std::string_view(text)) {}  // NOLINT

  void swap(TSharedText& other) noexcept { fText.swap(other.fText); }

  const std::string& str() const noexcept { return fText ? *fText : EmptyText(); }
  operator const std::string&() const noexcept { return str(); }  // NOLINT
  operator std::string_view() const noexcept { return str(); }    // NOLINT
  const char* c_str() const noexcept { return str().c_str(); }
  bool empty() const noexcept { return !fText; }
  std::size_t size() const noexcept { return str().size(); }
  void clear() noexcept { TSharedText().swap(*this); }

  TSharedText& operator+=(std::string_view more);

  friend bool operator==(const TSharedText& a, const TSharedText& b) noexcept {
    return a.fText == b.fText || a.str() == b.str();
  }
  friend bool operator==(const TSharedText& a, const std::string& b) noexcept { return a.str() == b; }
  friend bool operator==(const TSharedText& a, std::string_view b) noexcept { return a.str() == b; }
  friend bool operator==(const TSharedText& a, const char* b) noexcept { return a.str() == b; }
  friend bool operator<(const TSharedText& a, const TSharedText& b) noexcept { return a.str() < b.str(); }

  friend std::string operator+(const TSharedText& a, std::string_view b) { return Joined(a.str(), b); }
  friend std::string operator+(const TSharedText& a, const std::string& b) { return Joined(a.str(), b); }
  friend std::string operator+(const TSharedText& a, const char* b) { return Joined(a.str(), b); }
  friend std::string operator+(const TSharedText& a, const TSharedText& b) { return Joined(a.str(), b.str()); }
  friend std::string operator+(const TSharedText& a, char b) { return Joined(a.str(), std::string_view(&b, 1)); }
  friend std::string operator+(std::string_view a, const TSharedText& b) { return Joined(a, b.str()); }
  friend std::string operator+(const std::string& a, const TSharedText& b) { return Joined(a, b.str()); }
  friend std::string operator+(std::string&& a, const TSharedText& b) { return std::move(a.append(b.str())); }
  friend std::string operator+(const char* a, const TSharedText& b) { return Joined(a, b.str()); }
  friend std::string operator+(char a, const TSharedText& b) { return Joined(std::string_view(&a, 1), b.str()); }

  friend std::ostream& operator<<(std::ostream& out, const TSharedText& text) { return out << text.str(); }

 private:
  using TRef = TCountedRef<std::string>;

  static const std::string& EmptyText() noexcept;
  static std::string Joined(std::string_view a, std::string_view b);
  // The shared text of one decimal digit; empty for any other text.
  static TRef SharedDigit(std::string_view text);

  TRef fText;  // empty for the empty text
};

// One shared text per distinct value, for a reader whose fields repeat a few
// values over and over (professions, position codes, names): the value is kept
// once instead of once per person or period. Values past `capacity` distinct
// ones are handed out unshared, so a file of all-different values costs no more
// than without the pool. Texts handed out outlive the pool.
class TSharedTextPool {
 public:
  explicit TSharedTextPool(std::size_t capacity = 1 << 16) : fCapacity(capacity) {}
  TSharedTextPool(const TSharedTextPool&) = delete;
  TSharedTextPool& operator=(const TSharedTextPool&) = delete;

  TSharedText Get(std::string_view text);

 private:
  std::size_t fCapacity;
  // The keys view the texts the values hold, which never change or move.
  std::unordered_map<std::string_view, TSharedText> fTexts;
};

}  // namespace morvel
