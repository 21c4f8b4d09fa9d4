#include "base/insurance_number_index.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace morvel {
namespace {

// "DDD-DDD-DDD DD": the bytes between the digit groups.
constexpr bool IsSeparatorAt(std::size_t i) { return i == 3 || i == 7 || i == 11; }
constexpr std::size_t kNumberLength = 14;
// Eleven decimal digits stay below 2^37; the three separator bytes go above.
constexpr unsigned kDigitBits = 37;
static_assert(99'999'999'999ULL < (1ULL << kDigitBits));
static_assert(kDigitBits + 3 * 8 < 64, "the top bits of a packed key stay clear for the free mark");

constexpr std::size_t kMinSlots = 16;
// Fibonacci hashing: the product's top bits are the slot, and they depend on
// every digit, so numbers given out in sequence still spread over the table.
constexpr std::uint64_t kGoldenRatio = 0x9E3779B97F4A7C15ULL;

}  // namespace

bool TInsuranceNumberIndex::Pack(std::string_view sn, std::uint64_t& key) {
  if (sn.size() != kNumberLength) return false;
  std::uint64_t digits = 0;
  std::uint64_t separators = 0;
  for (std::size_t i = 0; i < kNumberLength; ++i) {
    const auto c = static_cast<unsigned char>(sn[i]);
    if (IsSeparatorAt(i)) {
      separators = separators << 8 | c;
    } else if (c >= '0' && c <= '9') {
      digits = digits * 10 + (c - '0');
    } else {
      return false;
    }
  }
  key = separators << kDigitBits | digits;
  return true;
}

std::size_t TInsuranceNumberIndex::Probe(std::uint64_t key) const {
  // The table is never more than half full, so a free slot ends every run.
  const std::size_t mask = fSlots.size() - 1;
  auto i = static_cast<std::size_t>((key * kGoldenRatio) >> fShift);
  while (fSlots[i].key != key && fSlots[i].key != kFree) i = (i + 1) & mask;
  return i;
}

void TInsuranceNumberIndex::Rehash(std::size_t slotCount) {
  std::vector<TSlot> old(slotCount, TSlot{kFree, 0});
  old.swap(fSlots);
  fShift = 64 - static_cast<unsigned>(std::countr_zero(slotCount));
  for (const TSlot& slot : old) {
    if (slot.key != kFree) fSlots[Probe(slot.key)] = slot;
  }
}

std::size_t TInsuranceNumberIndex::Find(std::string_view sn) const {
  std::uint64_t key;
  if (Pack(sn, key)) {
    if (fSlots.empty()) return npos;
    const TSlot& slot = fSlots[Probe(key)];
    return slot.key == key ? slot.position : npos;
  }
  if (fOthers.empty()) return npos;
  const auto found = fOthers.find(sn);
  return found != fOthers.end() ? found->second : npos;
}

std::pair<std::size_t, bool> TInsuranceNumberIndex::TryEmplace(std::string_view sn, std::size_t position) {
  std::uint64_t key;
  if (!Pack(sn, key)) {
    const auto [it, added] = fOthers.try_emplace(std::string(sn), position);
    return {it->second, added};
  }
  if (!fSlots.empty()) {
    const TSlot& slot = fSlots[Probe(key)];
    if (slot.key == key) return {slot.position, false};
  }
  if ((fPackedCount + 1) * 2 > fSlots.size()) Rehash(std::max(kMinSlots, fSlots.size() * 2));
  fSlots[Probe(key)] = TSlot{key, position};
  ++fPackedCount;
  return {position, true};
}

void TInsuranceNumberIndex::Reserve(std::size_t count) {
  if (count == 0) return;
  if (count > fSlots.max_size() / 4) throw std::length_error("TInsuranceNumberIndex::Reserve");
  const std::size_t needed = std::max(kMinSlots, std::bit_ceil(count * 2));
  if (needed > fSlots.size()) Rehash(needed);
}

void TInsuranceNumberIndex::Clear() {
  // The slots stay: a rebuild fills them again to about the same count.
  std::fill(fSlots.begin(), fSlots.end(), TSlot{kFree, 0});
  fPackedCount = 0;
  fOthers.clear();
}

}  // namespace morvel
