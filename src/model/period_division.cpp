// Division and merging of one person's periods: the preparation that makes the
// individual records and the List's nominal list comparable period by period.
//
// Both operations are defined by walks over lists ("the first piece that
// crosses", "the first period it can be glued to"). A person can have
// thousands of periods, so the walks are answered from indexes that give the
// same first element as the walk would, in n log n over the person's periods.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_map>

#include "base/rounding.h"
#include "base/text.h"
#include "model/worker.h"

namespace morvel {
namespace {

using TPeriodPtr = std::shared_ptr<TWorkPeriod>;

void SortByStart(TWorkPeriodList& periods) {
  std::stable_sort(periods.begin(), periods.end(),
                   [](const TPeriodPtr& a, const TPeriodPtr& b) { return a->Start < b->Start; });
}

bool HasNoWorkedTime(const TWorkPeriod& p) {
  return p.Months == "0" && p.Days == "0" && p.Hours == "0" && p.Minutes == "0";
}

// Distance in days, safe for any two dates.
std::int64_t DaysBetween(TDate from, TDate to) { return static_cast<std::int64_t>(to) - from; }

void TakeLocations(TWorkPeriod& piece, const TWorkPeriod& from) {
  piece.RateNodeData = from.RateNodeData;
  piece.NodeData = from.NodeData;
  piece.FactNodeData = from.FactNodeData;
  piece.SeniorityNodeData = from.SeniorityNodeData;
  piece.PDRKHoursNodeData = from.PDRKHoursNodeData;
}

void SetPiece(TWorkPeriod& piece, TDate start, TDate finish, double rate, const TWorkPeriod& locations) {
  piece.Start = start;
  piece.Finish = finish;
  piece.Rate = rate;
  TakeLocations(piece, locations);
}

// Pieces that can cross each other agree in kind and seniority basis; the
// bases text and the position code are kept apart so that no code text can
// pass for another.
std::string KindKey(const TWorkPeriod& p) {
  std::string key = p.Bases.DelimitedText();
  key += '\x1f';
  key += p.ProfessionCode;
  key += '\x1f';
  key += p.SeniorityBase();
  return key;
}

// ---- The pieces of the division that can still be crossed ----------------------
//
// The division walks its pieces in list order and takes the first one that
// crosses the next period B. Pieces enter the list at its end, so list order is
// the order of a running number. Per kind, the index keeps one slot per piece
// in that order and a segment tree of the smallest start over the slots, so the
// first slot starting no later than B's finish is found in log time. Two more
// facts keep the answers right and cheap:
// - periods come in start order, so a piece that ends before B starts can never
//   cross a later period either and leaves the index for good;
// - of several pieces with the same dates only the first in list order can be
//   the first crossing, so only it is visible; the next one shows when it goes.
// Pieces with the same dates as B do not cross B; at most one visible piece has
// them, and the search simply goes on past it.
class TCrossingIndex {
 public:
  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

  // `linear`: the person has so few periods that walking them is cheaper
  // than keeping the index; the answers are the same.
  explicit TCrossingIndex(bool linear) : fLinear(linear) {}

  void Insert(const std::string& key, std::size_t piece, TDate start, TDate finish) {
    if (fLinear) {
      if (fKeys.size() <= piece) fKeys.resize(piece + 1);
      fKeys[piece] = key;
      return;
    }
    TGroup& group = fGroups[key];
    const std::size_t slot = group.slotPiece.size();
    group.slotPiece.push_back(piece);
    group.slotStart.push_back(start);
    if (fPlace.size() <= piece) fPlace.resize(piece + 1, {nullptr, kNone});
    fPlace[piece] = {&group, slot};
    if (slot >= group.capacity) group.Grow();
    auto& members = group.classes[{start, finish}];
    members.push_back(slot);
    if (members.size() == 1) group.Show(slot, start);
  }

  // The first piece in list order that crosses [start, finish] (overlapping
  // and not of the same dates), or kNone.
  std::size_t FirstCrossing(const std::string& key, TDate start, TDate finish, const std::vector<TPeriodPtr>& pieces) {
    if (fLinear) return WalkForCrossing(key, start, finish, pieces);
    auto found = fGroups.find(key);
    if (found == fGroups.end()) return kNone;
    TGroup& group = found->second;
    std::size_t from = 0;
    for (;;) {
      const std::size_t slot = group.Leftmost(from, finish);
      if (slot == kNone) return kNone;
      const std::size_t piece = group.slotPiece[slot];
      const TWorkPeriod& p = *pieces[piece];
      if (p.Finish < start) {
        group.DropClass({p.Start, p.Finish});
      } else if (p.Start == start && p.Finish == finish) {
        from = slot + 1;
      } else {
        return piece;
      }
    }
  }

  // Takes a piece that FirstCrossing gave (a visible one) out of the index.
  void Remove(std::size_t piece, TDate start, TDate finish) {
    if (fLinear) return;  // the walk passes over the emptied piece
    const auto [group, slot] = fPlace[piece];
    if (group == nullptr) return;
    group->RemoveFirstOfClass({start, finish}, slot);
  }

 private:
  struct TGroup {
    static constexpr TDate kHidden = std::numeric_limits<TDate>::max();

    std::vector<std::size_t> slotPiece;
    std::vector<TDate> slotStart;
    std::vector<TDate> tree;  // tree[1] is the root; leaves from `capacity` on
    std::size_t capacity = 0;
    std::map<std::pair<TDate, TDate>, std::vector<std::size_t>> classes;  // slots by dates, in order
    std::map<std::pair<TDate, TDate>, std::size_t> classHead;             // first slot still there

    void Grow() {
      const std::size_t oldCapacity = capacity;
      capacity = capacity == 0 ? 8 : capacity * 2;
      std::vector<TDate> grown(2 * capacity, kHidden);
      for (std::size_t i = 0; i < oldCapacity; ++i) grown[capacity + i] = tree[oldCapacity + i];
      for (std::size_t i = capacity; i-- > 1;) grown[i] = std::min(grown[2 * i], grown[2 * i + 1]);
      tree = std::move(grown);
    }

    void Set(std::size_t slot, TDate value) {
      std::size_t i = capacity + slot;
      tree[i] = value;
      for (i /= 2; i >= 1; i /= 2) tree[i] = std::min(tree[2 * i], tree[2 * i + 1]);
    }
    void Show(std::size_t slot, TDate start) { Set(slot, start); }
    void Hide(std::size_t slot) { Set(slot, kHidden); }

    // First slot >= from whose visible start is <= bound.
    std::size_t Leftmost(std::size_t from, TDate bound) const {
      if (capacity == 0 || from >= capacity) return kNone;
      return Descend(1, 0, capacity, from, bound);
    }
    std::size_t Descend(std::size_t node, std::size_t lo, std::size_t hi, std::size_t from, TDate bound) const {
      if (hi <= from || tree[node] > bound) return kNone;
      if (hi - lo == 1) return lo;
      const std::size_t mid = (lo + hi) / 2;
      const std::size_t left = Descend(2 * node, lo, mid, from, bound);
      if (left != kNone) return left;
      return Descend(2 * node + 1, mid, hi, from, bound);
    }

    void RemoveFirstOfClass(const std::pair<TDate, TDate>& dates, std::size_t slot) {
      auto members = classes.find(dates);
      if (members == classes.end()) return;
      std::size_t& head = classHead[dates];
      if (head >= members->second.size() || members->second[head] != slot) return;
      Hide(slot);
      ++head;
      if (head < members->second.size()) {
        Show(members->second[head], dates.first);
      } else {
        classes.erase(members);
        classHead.erase(dates);
      }
    }

    void DropClass(const std::pair<TDate, TDate>& dates) {
      auto members = classes.find(dates);
      if (members == classes.end()) return;
      const std::size_t head = classHead[dates];
      if (head < members->second.size()) Hide(members->second[head]);
      classes.erase(members);
      classHead.erase(dates);
    }
  };

  // The walk of the list itself: the first piece of the kind that overlaps
  // [start, finish] without having the same dates.
  std::size_t WalkForCrossing(const std::string& key, TDate start, TDate finish,
                              const std::vector<TPeriodPtr>& pieces) const {
    for (std::size_t at = 0; at < fKeys.size() && at < pieces.size(); ++at) {
      const TWorkPeriod* p = pieces[at].get();
      if (p == nullptr || !fKeys[at] || *fKeys[at] != key) continue;
      if (p->Finish >= start && finish >= p->Start && !(p->Start == start && p->Finish == finish)) return at;
    }
    return kNone;
  }

  bool fLinear;
  std::vector<std::optional<std::string>> fKeys;  // linear: the kind of each indexed piece
  // Node-based, so the groups stay where fPlace points.
  std::unordered_map<std::string, TGroup> fGroups;
  std::vector<std::pair<TGroup*, std::size_t>> fPlace;  // piece -> its group and slot
};

// Up to this many periods a person's lists are walked as they are; beyond it
// the indexes answer the same questions in n log n.
constexpr std::size_t kWalkedPeriods = 12;

// The earlier entries of a list filed under the same key, in list order: for a
// few entries the keys are walked, beyond that a map from the key answers.
template <typename Key>
class TSameKeyIndex {
 public:
  explicit TSameKeyIndex(bool walked) : fWalked(walked) {}

  // The next entry of the list, under `key`.
  void Add(Key key) {
    const std::size_t at = fCount++;
    if (fWalked) {
      fKeys.push_back(std::move(key));
    } else {
      fEntries[std::move(key)].push_back(at);
    }
  }

  // Offers the entries under `key` in list order until `take` accepts one;
  // whether one was taken.
  template <typename Take>
  bool TakeFirst(const Key& key, Take take) const {
    if (fWalked) {
      for (std::size_t at = 0; at < fKeys.size(); ++at) {
        if (fKeys[at] == key && take(at)) return true;
      }
      return false;
    }
    const auto found = fEntries.find(key);
    if (found == fEntries.end()) return false;
    for (std::size_t at : found->second) {
      if (take(at)) return true;
    }
    return false;
  }

 private:
  bool fWalked;
  std::size_t fCount = 0;
  std::vector<Key> fKeys;
  std::map<Key, std::vector<std::size_t>> fEntries;
};

// ---- Gluing --------------------------------------------------------------------

// Periods that may be glued agree in these exactly; the rate counts rounded to
// two decimals.
std::string GlueKey(const TWorkPeriod& p, std::size_t uniqueIfNaN) {
  std::string key = KindKey(p);
  key += '\x1f';
  const double rate = RoundHalfEven(p.Rate, 2);
  if (rate != rate) {
    // A rate that is not a number equals nothing, not even itself.
    key += "nan" + std::to_string(uniqueIfNaN);
  } else {
    const double normal = rate == 0 ? 0.0 : rate;  // -0 and 0 are equal
    char bytes[sizeof normal];
    std::memcpy(bytes, &normal, sizeof normal);
    key.append(bytes, sizeof bytes);
  }
  return key;
}

// Whether an IS period with non-preferential additional data spans from a
// start to a finish: the IS periods with such data are sorted by start with
// the latest finish so far, so one binary search answers.
class TCoverage {
 public:
  explicit TCoverage(const TWorker* ISWorker) {
    if (ISWorker == nullptr) return;
    for (const TPeriodPtr& c : ISWorker->MergedWorkPeriods) {
      if (c->HasNoLgotAddPdData()) fSpans.emplace_back(c->Start, c->Finish);
    }
    std::sort(fSpans.begin(), fSpans.end());
    TDate latest = std::numeric_limits<TDate>::min();
    for (auto& span : fSpans) {
      latest = std::max(latest, span.second);
      span.second = latest;
    }
  }

  bool Covers(TDate start, TDate finish) const {
    auto after = std::upper_bound(fSpans.begin(), fSpans.end(), start,
                                  [](TDate value, const auto& span) { return value < span.first; });
    if (after == fSpans.begin()) return false;
    return std::prev(after)->second >= finish;
  }

 private:
  std::vector<std::pair<TDate, TDate>> fSpans;  // start, latest finish up to here
};

struct TWorkedTime {
  int months = 0, days = 0, hours = 0, minutes = 0;
};

bool ReadWorkedTime(const TWorkPeriod& p, TWorkedTime& time) {
  return TryStrToInt(p.Months, time.months) && TryStrToInt(p.Days, time.days) && TryStrToInt(p.Hours, time.hours) &&
         TryStrToInt(p.Minutes, time.minutes);
}

// Members of a territorial-condition set holding a blank are written between
// blanks with their own blanks doubled: the blank is both the separator and
// the quote of that list.
std::string QuotedCondition(const std::string& condition) {
  bool needsQuotes = false;
  for (char c : condition) needsQuotes = needsQuotes || (c != 0 && static_cast<unsigned char>(c) <= 32);
  if (!needsQuotes) return condition;
  std::string out = " ";
  for (char c : condition) {
    out += c;
    if (c == ' ') out += ' ';
  }
  out += ' ';
  return out;
}

// The two conditions as a sorted set ignoring case (the first one kept of two
// equal ones), joined by a blank and trimmed.
std::string CombinedConditions(const std::string& own, const std::string& added) {
  const int order = CompareTextCI(own, added);
  if (order == 0) return Trim(QuotedCondition(own));
  const std::string& first = order < 0 ? own : added;
  const std::string& second = order < 0 ? added : own;
  return Trim(QuotedCondition(first) + " " + QuotedCondition(second));
}

// S glued to O: dates were set by the caller; the rest of S joins O.
void Glue(TWorkPeriod& O, const TWorkPeriod& S, const TWorkedTime& own, const TWorkedTime& added) {
  O.AddPdData.Merge(S.AddPdData);
  long long months = static_cast<long long>(own.months) + added.months;
  long long days = static_cast<long long>(own.days) + added.days;
  O.Hours = IntToStr(static_cast<long long>(own.hours) + added.hours);
  O.Minutes = IntToStr(static_cast<long long>(own.minutes) + added.minutes);
  O.PDRKMinutes += S.PDRKMinutes;
  O.PDRKHours += S.PDRKHours;
  if (days > 29) {
    days -= 30;
    months += 1;
  }
  if (O.PDRKMinutes > 59) {
    O.PDRKMinutes -= 60;
    O.PDRKHours += 1;
  }
  O.Months = IntToStr(months);
  O.Days = IntToStr(days);
  TWorker::MergePeriodWC(S, O);
  O.TerritoryCondition = CombinedConditions(O.TerritoryCondition, S.TerritoryCondition);
}

// Index of periods by a key and a date, each bucket in list order.
using TDateIndex = std::map<std::pair<std::string, TDate>, std::set<std::size_t>>;

}  // namespace

bool HasExcusedCrossingData(const TWorkPeriod& period) {
  const std::string text = Trim(period.AddPdData.ToString());
  return std::find(ExcusedCrossingCodes.begin(), ExcusedCrossingCodes.end(), text) != ExcusedCrossingCodes.end();
}

TWorkPeriodList CutCrossingPeriods(const TWorkPeriod& A, const TWorkPeriod& B) {
  // Every piece is of A's kind and nothing more: no worked time, seniority
  // basis, additional data or working conditions.
  auto V = std::make_shared<TWorkPeriod>();
  V->Bases = A.Bases;
  V->ProfessionCode = A.ProfessionCode;
  V->TerritoryCondition = A.TerritoryCondition;
  V->Profession = A.Profession;
  TPeriodPtr X = V->Clone();
  TPeriodPtr Y;
  const TDate As = A.Start, Af = A.Finish, Bs = B.Start, Bf = B.Finish;
  const double both = A.Rate + B.Rate;
  if (As == Bs) {
    if (Af < Bf) {
      SetPiece(*V, As, Af, both, A);
      SetPiece(*X, Af + 1, Bf, B.Rate, A);
    } else {
      SetPiece(*V, As, Bf, both, A);
      SetPiece(*X, Bf + 1, Af, A.Rate, B);
    }
  } else if (Af == Bf) {
    if (As < Bs) {
      SetPiece(*V, As, Bs - 1, A.Rate, A);
      SetPiece(*X, Bs, Af, both, B);
    } else {
      SetPiece(*V, Bs, As - 1, B.Rate, B);
      SetPiece(*X, As, Af, both, A);
    }
  } else {
    Y = V->Clone();
    if (As < Bs && Bf < Af) {  // B inside A
      SetPiece(*V, As, Bs - 1, A.Rate, A);
      SetPiece(*X, Bs, Bf, both, B);
      SetPiece(*Y, Bf + 1, Af, A.Rate, B);
    } else if (Bs < As && Af < Bf) {  // A inside B
      SetPiece(*V, Bs, As - 1, B.Rate, B);
      SetPiece(*X, As, Af, both, A);
      SetPiece(*Y, Af + 1, Bf, B.Rate, A);
    } else if (As < Bs) {  // A first, B reaching beyond it
      SetPiece(*V, As, Bs - 1, A.Rate, A);
      SetPiece(*X, Bs, Af, both, B);
      SetPiece(*Y, Af + 1, Bf, B.Rate, A);
    } else {  // B first, A reaching beyond it
      SetPiece(*V, Bs, As - 1, B.Rate, B);
      SetPiece(*X, As, Bf, both, A);
      SetPiece(*Y, Bf + 1, Af, A.Rate, B);
    }
  }

  TWorkPeriodList pieces{std::move(V), std::move(X)};
  if (Y) pieces.push_back(std::move(Y));
  return pieces;
}

void TWorker::MergePeriodWC(const TWorkPeriod& Period1, TWorkPeriod& Period2) {
  if (Period2.WC.empty()) {
    Period2.WC = Period1.WC;
  } else if (!Period1.WC.empty()) {
    Period2.WC += ";" + Period1.WC;
  }
}

void TWorker::DivideCrossWorkPeriods(TCrossingSink* ErrorResults) {
  if (WorkPeriods.empty()) return;
  SortByStart(WorkPeriods);

  // The pieces in list order; a piece that was divided is left empty. `asRead`
  // tells which pieces are periods as read rather than pieces of their own.
  std::vector<TPeriodPtr> pieces;
  std::vector<bool> asRead;
  const bool walked = WorkPeriods.size() <= kWalkedPeriods;
  TCrossingIndex index(walked);
  auto append = [&](TPeriodPtr piece, bool read) {
    const std::size_t at = pieces.size();
    if (HasNoWorkedTime(*piece)) index.Insert(KindKey(*piece), at, piece->Start, piece->Finish);
    pieces.push_back(std::move(piece));
    asRead.push_back(read);
  };

  // A period that nothing crosses is a piece as it stands. It is taken over
  // shared with the periods as read rather than copied: the division only
  // reads it, and a piece that later has to add up its rate is copied then
  // (below). Merging copies every piece it keeps, so what a copy would leave
  // behind never reaches a merged period.
  append(WorkPeriods.front(), true);
  for (std::size_t i = 1; i < WorkPeriods.size(); ++i) {
    const TWorkPeriod& B = *WorkPeriods[i];
    const std::size_t found =
        HasNoWorkedTime(B) ? index.FirstCrossing(KindKey(B), B.Start, B.Finish, pieces) : TCrossingIndex::kNone;
    if (found == TCrossingIndex::kNone) {
      append(WorkPeriods[i], true);
      continue;
    }
    const TPeriodPtr held = pieces[found];
    const TWorkPeriod& A = *held;

    if (ErrorResults != nullptr && !HasExcusedCrossingData(A) && !HasExcusedCrossingData(B)) {
      ErrorResults->CrossingFound(*this, A, B);
    }

    const TDate As = A.Start, Af = A.Finish;
    TWorkPeriodList cut = CutCrossingPeriods(A, B);
    index.Remove(found, As, Af);
    pieces[found].reset();
    for (TPeriodPtr& piece : cut) append(std::move(piece), false);
  }

  // The periods as read stay with the person (pack warnings may refer to
  // them); the division works on with its pieces only.
  FParsePeriods = std::move(WorkPeriods);
  WorkPeriods.clear();

  // Pieces with the same dates, kind and seniority basis add up their rates.
  // A piece still shared with the periods as read is copied before its rate
  // changes, so the periods as read keep theirs.
  using TSameDates = std::tuple<TDate, TDate, std::string>;
  TSameKeyIndex<TSameDates> byDates(walked);
  std::vector<bool> keptAsRead;  // per period of WorkPeriods
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    TPeriodPtr& Q = pieces[k];
    if (!Q) continue;
    TSameDates key{Q->Start, Q->Finish, KindKey(*Q)};
    const bool added = byDates.TakeFirst(key, [&](std::size_t at) {
      TPeriodPtr& O = WorkPeriods[at];
      if (!Q->Matches(*O) || Q->SeniorityBase() != O->SeniorityBase()) return false;
      if (keptAsRead[at]) {
        O = O->Clone();
        keptAsRead[at] = false;
      }
      O->Rate += Q->Rate;
      return true;
    });
    if (added) continue;
    byDates.Add(std::move(key));
    WorkPeriods.push_back(std::move(Q));
    keptAsRead.push_back(asRead[k]);
  }
}

void TWorker::MergeWorkPeriods(bool isIS, const TWorker* ISWorker) {
  if (WorkPeriods.empty()) return;
  SortByStart(WorkPeriods);

  const bool mayBeCovered = !isIS && ISWorker != nullptr && WorkPeriods.size() > 1;
  const TCoverage coverage(mayBeCovered ? ISWorker : nullptr);

  std::vector<TPeriodPtr> W;
  std::vector<std::string> keys;  // glue key of each period of W
  // A person with few periods has W walked; the date indexes are kept otherwise.
  const bool walked = WorkPeriods.size() <= kWalkedPeriods;
  TDateIndex byStart, byFinish;
  auto append = [&](TPeriodPtr period, std::string key) {
    const std::size_t at = W.size();
    if (!walked) {
      byStart[{key, period->Start}].insert(at);
      byFinish[{key, period->Finish}].insert(at);
    }
    keys.push_back(std::move(key));
    W.push_back(std::move(period));
  };
  auto bucket = [](TDateIndex& index, const std::string& key, std::int64_t date) -> const std::set<std::size_t>* {
    if (date < std::numeric_limits<TDate>::min() || date > std::numeric_limits<TDate>::max()) return nullptr;
    auto found = index.find({key, static_cast<TDate>(date)});
    return found == index.end() ? nullptr : &found->second;
  };

  append(WorkPeriods.front()->Clone(), GlueKey(*WorkPeriods.front(), 0));
  for (std::size_t i = 1; i < WorkPeriods.size(); ++i) {
    const TWorkPeriod& S = *WorkPeriods[i];
    std::string key = GlueKey(S, i);
    // Only periods that S can touch are worth a look: those starting the day
    // after S ends and those ending the day before S starts, in list order.
    std::vector<std::size_t> candidates;
    if (walked) {
      for (std::size_t at = 0; at < W.size(); ++at) {
        const TWorkPeriod& O = *W[at];
        if (keys[at] == key && (DaysBetween(S.Finish, O.Start) == 1 || DaysBetween(O.Finish, S.Start) == 1))
          candidates.push_back(at);
      }
    } else {
      const std::set<std::size_t>* front = bucket(byStart, key, static_cast<std::int64_t>(S.Finish) + 1);
      const std::set<std::size_t>* behind = bucket(byFinish, key, static_cast<std::int64_t>(S.Start) - 1);
      if (front) candidates.insert(candidates.end(), front->begin(), front->end());
      if (behind) candidates.insert(candidates.end(), behind->begin(), behind->end());
      std::sort(candidates.begin(), candidates.end());
      candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    }

    bool glued = false;
    for (std::size_t at : candidates) {
      TWorkPeriod& O = *W[at];
      if (!S.Matches(O)) continue;
      bool sameKindOfTime = S.HasFactWorkedTime() == O.HasFactWorkedTime();
      if (!sameKindOfTime && isIS) sameKindOfTime = S.HasNoLgotAddPdData() || O.HasNoLgotAddPdData();
      const bool covered = !sameKindOfTime && mayBeCovered && coverage.Covers(O.Start, S.Finish);
      if (!sameKindOfTime && !covered) continue;
      const bool inFront = DaysBetween(S.Finish, O.Start) == 1;
      const bool atBack = !inFront && DaysBetween(O.Finish, S.Start) == 1;
      if (!inFront && !atBack) continue;
      // Worked time that is no whole number cannot be added up; such periods
      // stay apart instead of failing the whole verification.
      TWorkedTime own, added;
      if (!ReadWorkedTime(O, own) || !ReadWorkedTime(S, added)) continue;

      if (!walked) {
        byStart[{keys[at], O.Start}].erase(at);
        byFinish[{keys[at], O.Finish}].erase(at);
      }
      if (inFront) {
        O.Start = S.Start;
      } else {
        O.Finish = S.Finish;
      }
      if (!walked) {
        byStart[{keys[at], O.Start}].insert(at);
        byFinish[{keys[at], O.Finish}].insert(at);
      }
      Glue(O, S, own, added);
      glued = true;
      break;
    }
    if (!glued) append(S.Clone(), std::move(key));
  }

  // Periods with the same dates that match add up their rates, capped at a
  // full rate. The periods of W are fresh copies nobody else holds, so they are
  // taken over as they are rather than copied once more.
  using TSameDates = std::tuple<TDate, TDate, std::string, std::string>;
  TSameKeyIndex<TSameDates> byDates(MergedWorkPeriods.size() + W.size() <= kWalkedPeriods);
  auto datesOf = [](const TWorkPeriod& p) {
    return TSameDates{p.Start, p.Finish, p.Bases.DelimitedText(), p.ProfessionCode};
  };
  for (const TPeriodPtr& O : MergedWorkPeriods) byDates.Add(datesOf(*O));

  byDates.Add(datesOf(*W.front()));
  MergedWorkPeriods.push_back(std::move(W.front()));
  for (std::size_t k = 1; k < W.size(); ++k) {
    TPeriodPtr& Q = W[k];
    TSameDates key = datesOf(*Q);
    const bool added = byDates.TakeFirst(key, [&](std::size_t at) {
      TWorkPeriod& O = *MergedWorkPeriods[at];
      if (!Q->Matches(O)) return false;
      O.Rate += Q->Rate;
      MergePeriodWC(*Q, O);
      if (O.Rate > 1) O.Rate = 1;
      O.TerritoryCondition += Q->TerritoryCondition;
      return true;
    });
    if (added) continue;
    byDates.Add(std::move(key));
    MergedWorkPeriods.push_back(std::move(Q));
  }
}

}  // namespace morvel
