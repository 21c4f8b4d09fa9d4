// Sets of codes compared as one text: the preferential bases of a period or a
// position, and the sets of working-conditions codes the checks build.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// A sorted set of codes without duplicates, both ignoring letter case. Its
// delimited text (the codes in order joined by the delimiter, a code holding a
// blank, a control character, a double quote or the delimiter written in double
// quotes with inner quotes doubled) is what callers compare and print, and it is
// compared very often, so it is kept ready after every change.
//
// Copying a set copies its codes, never its change handler: the handler belongs
// to the owner of the target, and a copied handler would call back into the
// object the source belongs to.
class TCodeSet {
 public:
  explicit TCodeSet(char delimiter = ',') : fDelimiter(delimiter) {}
  TCodeSet(const TCodeSet& other);
  TCodeSet(TCodeSet&& other) noexcept;
  // The target keeps its own handler and runs it.
  TCodeSet& operator=(const TCodeSet& other);
  TCodeSet& operator=(TCodeSet&& other);
  virtual ~TCodeSet() = default;

  // Inserts the code in order; false (and no change) when an equal one is there.
  virtual bool Add(std::string_view code);
  // Copies every code of `other` in unchanged.
  void AddStrings(const TCodeSet& other);
  void Clear();

  int Count() const { return static_cast<int>(fItems.size()); }
  bool Empty() const { return fItems.empty(); }
  const std::string& operator[](int index) const { return fItems.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& Items() const { return fItems; }
  std::vector<std::string>::const_iterator begin() const { return fItems.begin(); }
  std::vector<std::string>::const_iterator end() const { return fItems.end(); }
  // Position of an equal code (ignoring case), or -1.
  int IndexOf(std::string_view code) const;
  bool Contains(std::string_view code) const { return IndexOf(code) >= 0; }

  char Delimiter() const { return fDelimiter; }
  const std::string& DelimitedText() const { return fText; }
  // Replaces the contents with the codes of `text`, each through Add. Codes are
  // separated by the delimiter or by blanks; a code in double quotes may hold
  // both. Empty codes are dropped: an empty code is never a basis.
  void SetDelimitedText(std::string_view text);

  // Runs after every change of the contents.
  void SetOnChange(std::function<void()> handler) { fOnChange = std::move(handler); }

 protected:
  bool Insert(std::string code);
  void Changed();

 private:
  // Position where `code` belongs; `found` tells whether an equal one is there.
  std::size_t Find(std::string_view code, bool& found) const;
  void RebuildText();

  char fDelimiter;
  std::vector<std::string> fItems;
  std::string fText;
  std::function<void()> fOnChange;
  int fQuiet = 0;  // >0 while one operation makes several changes
};

// The preferential basis codes of a period or position. Adding a code first
// brings an outdated code up to date (ReplaceByClassifier); copying a whole set
// takes its codes as they are.
class TBases : public TCodeSet {
 public:
  TBases() : TCodeSet(',') {}
  TBases(const TBases&) = default;
  TBases(TBases&&) noexcept = default;
  TBases& operator=(const TBases&) = default;
  TBases& operator=(TBases&&) = default;

  bool Add(std::string_view code) override;

  // Substring tests on the delimited text, so "27-1" is found in "27-10".
  bool HasBases(std::string_view probe) const;
  bool HasBases(const TCodeSet& probe) const;
};

// Applies the classifier's pairs of outdated and current basis codes, in list
// order, each to the result of the previous one; a pair whose current code is
// missing is skipped.
std::string ReplaceByClassifier(std::string_view code);

}  // namespace morvel
