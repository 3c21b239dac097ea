// The spellings that the romaji tables of Japanese input methods (Mozc's,
// and uim's that Anthy users type with) give for the kana and symbols of the
// kana tables, beyond the spellings the kana tables list themselves: ca for
// か, whu for う, cya for ちゃ, and the two-kana sounds of loanwords that the
// kana tables spell as a kana and a small kana (she for しぇ, thi for てぃ,
// fo for ふぉ, ye for いぇ). FlexibleInput accepts them; the romaji form
// never uses them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kanaflow {

// No input-method spelling is longer; after っ one letter more.
inline constexpr std::size_t kLongestInputMethodSpelling = 4;

struct InputMethodRow {
  std::string_view kana;  // a kana or a full-width symbol, or a kana and a small kana
  std::array<std::string_view, 3> spellings;  // empty where not listed
};

// The row of `kana` alone (small 0) or of `kana` followed by `small`, or
// nullptr when input methods spell it no other way than the kana tables do.
const InputMethodRow* FindInputMethodRow(std::uint16_t kana, std::uint16_t small);

}  // namespace kanaflow
