// The kana tables of the romaji form: which spelling each kana, kana
// combination and full-width symbol gets, and which spelling preference
// picks it where there is a choice.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/spelling_preferences.h"

namespace kanaflow {

// The spelling preference that picks a row's spelling; `Fixed` rows have
// one spelling only.
enum class Pick : std::uint8_t { Fixed, si, ti, tu, hu, zi, sya, syu, syo, jya, jyu, jye, jyo, tya, tyu, tyo, Komoji };

// Whether a row has an after-っ spelling, made by doubling the first letter
// of the picked spelling (ka -> kka, cha -> ccha).
enum class AfterSokuon : std::uint8_t { Plain, Doubled };

// No spelling is longer, after っ or not, so a unit's letters fit a small
// fixed buffer.
inline constexpr std::size_t kLongestSpelling = 3;

// How many kana form combinations, and how many different small kana end
// one, at most: code built on the tables may size fixed arrays by these.
inline constexpr std::size_t kMaxCombiningKana = 31;
inline constexpr std::size_t kMaxCombiningSmallKana = 7;

struct KanaRow {
  std::string_view kana;                      // one kana, or a kana and its small kana
  std::array<std::string_view, 3> spellings;  // by preference value; empty where not listed
  AfterSokuon afterSokuon;
  Pick pickedBy;

  // A kana and the small kana after it, spelled as one.
  constexpr bool IsCombination() const { return kana.size() == 4; }
};

// The row's spelling for the user's preferences; empty when the preference
// holds a value that the row does not list.
std::string_view SpellingOf(const KanaRow& row, const SpellingPreferences& preferences);

// A kana with a spelling of its own: the row of `kana`, or of the combination
// that it forms with `next` (the character after it, 0 when there is none),
// or nullptr when `kana` has no such row.
const KanaRow* FindSpelledKana(std::uint16_t kana, std::uint16_t next);

// The combinations that `kana` forms with a small kana after it, in the order
// they are checked: `count` rows from `first` (none for most kana).
struct KanaRows {
  const KanaRow* first = nullptr;
  std::size_t count = 0;
};
KanaRows CombinationsOf(std::uint16_t kana);

// What stands on its own when no kana before it took it: the small kana
// spelled with "l" or "x", ん, and the full-width symbols with an ASCII
// spelling. nullptr for anything else.
const KanaRow* FindStandaloneCharacter(std::uint16_t code);

// っ spelled by itself, when no kana after it takes it.
const KanaRow& SmallTsuRow();

inline constexpr std::uint16_t kSmallTsu = 0x82C1;  // っ

}  // namespace kanaflow
