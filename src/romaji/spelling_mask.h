// A set of up to 128 spellings of one unit, one bit each: two 64-bit words,
// so that it builds with every compiler (MSVC has no 128-bit integer).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace kanaflow {

// The index of the lowest set bit of a word that is not 0.
inline int LowestBit(std::uint64_t word) {
#if defined(_MSC_VER)
  unsigned long index = 0;
  _BitScanForward64(&index, word);
  return static_cast<int>(index);
#else
  return __builtin_ctzll(word);
#endif
}

class SpellingMask {
 public:
  // Implicit, so that 0 reads as the empty mask.
  constexpr SpellingMask(std::uint64_t low = 0) : low_(low), high_(0) {}

  // The 64 spellings from `64 * half` on.
  constexpr std::uint64_t Word(unsigned half) const { return half == 0 ? low_ : high_; }
  constexpr bool Has(std::size_t index) const { return (Word(static_cast<unsigned>(index / 64)) >> (index % 64)) & 1; }
  constexpr bool empty() const { return (low_ | high_) == 0; }

  // The first `count` spellings (0 to 128).
  static constexpr SpellingMask First(std::size_t count) {
    SpellingMask mask;
    mask.low_ = count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    mask.high_ = count >= 128 ? ~std::uint64_t{0} : count > 64 ? (std::uint64_t{1} << (count - 64)) - 1 : 0;
    return mask;
  }
  static constexpr SpellingMask Only(std::size_t index) {
    SpellingMask mask;
    (index < 64 ? mask.low_ : mask.high_) = std::uint64_t{1} << (index % 64);
    return mask;
  }
  static constexpr SpellingMask FromWords(std::uint64_t low, std::uint64_t high) {
    SpellingMask mask(low);
    mask.high_ = high;
    return mask;
  }

  // The index of the lowest spelling; the mask must not be empty.
  int Lowest() const { return low_ != 0 ? LowestBit(low_) : 64 + LowestBit(high_); }
  // Removes the lowest spelling.
  void DropLowest() { low_ != 0 ? low_ &= low_ - 1 : high_ &= high_ - 1; }

  friend constexpr SpellingMask operator&(SpellingMask a, SpellingMask b) {
    return FromWords(a.low_ & b.low_, a.high_ & b.high_);
  }
  friend constexpr SpellingMask operator|(SpellingMask a, SpellingMask b) {
    return FromWords(a.low_ | b.low_, a.high_ | b.high_);
  }
  constexpr SpellingMask operator~() const { return FromWords(~low_, ~high_); }
  SpellingMask& operator|=(SpellingMask other) { return *this = *this | other; }
  SpellingMask& operator&=(SpellingMask other) { return *this = *this & other; }
  friend constexpr bool operator==(SpellingMask a, SpellingMask b) { return a.low_ == b.low_ && a.high_ == b.high_; }
  friend constexpr bool operator!=(SpellingMask a, SpellingMask b) { return !(a == b); }

 private:
  std::uint64_t low_;
  std::uint64_t high_;
};

}  // namespace kanaflow
