// Positions of persons by their insurance number ("СтраховойНомер"). Every
// reconciliation looks each person up by number several times, and a large
// employer has a hundred thousand and more of them, so the look-up is built to
// touch one cache line rather than a bucket array and a scattered node.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace morvel {

// Maps the text of an insurance number to a position (an index into the
// caller's own list of persons). A text shaped like a number, "DDD-DDD-DDD DD"
// (eleven digits with any three bytes between the groups), is packed exactly
// into 64 bits and kept in one open-addressing table; every other text, which
// only bad input brings, is kept in an ordinary map of strings beside it. Texts
// are compared byte for byte, separators included: "123-456-789 01" and
// "123-456-789-01" are two different numbers here.
class TInsuranceNumberIndex {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // The position kept for the text, or npos.
  std::size_t Find(std::string_view sn) const;
  // Keeps `position` for a text not yet there; a text already there keeps the
  // position it has. Returns the text's position and whether it was added now.
  std::pair<std::size_t, bool> TryEmplace(std::string_view sn, std::size_t position);
  // Room for `count` texts in all without growing.
  void Reserve(std::size_t count);
  void Clear();
  std::size_t Size() const { return fPackedCount + fOthers.size(); }
  bool Empty() const { return Size() == 0; }

 private:
  struct TSlot {
    std::uint64_t key;
    std::size_t position;
  };
  // Hashes the whole key: the other map takes only the rare texts.
  struct TTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };

  // No packed key has its top bits set, so this marks a free slot.
  static constexpr std::uint64_t kFree = ~std::uint64_t{0};

  // The exact 64-bit key of a text shaped like a number; false for any other.
  static bool Pack(std::string_view sn, std::uint64_t& key);
  // The slot holding `key`, or the free slot where it belongs.
  std::size_t Probe(std::uint64_t key) const;
  void Rehash(std::size_t slotCount);

  std::vector<TSlot> fSlots;  // empty, or a power of two of them
  std::size_t fPackedCount = 0;
  unsigned fShift = 64;  // 64 - log2(slot count): the hash keeps the top bits
  std::unordered_map<std::string, std::size_t, TTextHash, std::equal_to<>> fOthers;
};

}  // namespace morvel
