// The kana tables resolved for one set of spelling preferences: what every
// character of the kept range becomes in romaji and in katakana, and the
// unit (っ, kana, small kana) that starts at a character, each found in one
// step by code instead of a search. The answers are those of the table
// lookups themselves, so the two cannot disagree. Used by the conversion of
// single readings (romaji_rules.cpp) and of whole files of them (the batch
// line converter of kanaflow-romaji).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "romaji/kana_tables.h"
#include "settings/spelling_preferences.h"

namespace kanaflow::spellings {

// Every table character lies between these codes; past them only kanji and a
// few symbols remain, which the tables do not list.
inline constexpr std::uint16_t kFirstCode = 0x8140;  // the full-width space
inline constexpr std::uint16_t kLastCode = 0x8396;   // ヶ, the last katakana
inline constexpr std::size_t kCodeCount = kLastCode - kFirstCode + 1;
inline constexpr std::size_t kCodeBytes = 2;

constexpr bool InRange(std::uint16_t code) { return code >= kFirstCode && code <= kLastCode; }

// The two bytes at `p` as a code, first byte high, without asking whether
// they form a character.
inline std::uint16_t TwoBytesAt(const char* p) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) << 8 | static_cast<unsigned char>(p[1]));
}

// The same, or 0 when fewer than two bytes are left before `end`: enough to
// look ahead for a kana of the tables, whose codes all have a lead byte and a
// non-zero trail byte.
inline std::uint16_t BytesAt(const char* p, const char* end) { return end - p < 2 ? 0 : TwoBytesAt(p); }

// What a unit becomes: its romaji, and its own characters in katakana. A っ
// before the unit adds its ッ to the katakana and, where `doubled`, a letter
// to the romaji.
struct Spelled {
  char text[kLongestSpelling + 1] = {};  // copied whole, whatever the length
  std::uint8_t length = 0;               // 0: nothing is typed
  bool doubled = false;                  // after っ the first letter comes twice
  char katakana[2 * kCodeBytes] = {};    // one or two characters, copied whole
  std::uint8_t katakanaLength = 0;
};

struct CodeSpelling {
  Spelled alone;
  // Well-formed, and neither っ nor a small kana that may join the kana
  // before it: a walk over many readings writes these without further tests.
  bool plain = false;
  bool isSmallTsu = false;
  bool takesSokuon = false;         // a kana of its own: a っ before it joins its unit
  std::uint8_t smallKanaSlot = 0;   // as the second kana of a combination; 0 for none
  std::uint8_t combinationRow = 0;  // its combinations; 0 for none
};
// Small enough that finding an entry takes a shift.
static_assert(sizeof(CodeSpelling) == 16, "one entry per 16 bytes");
static_assert(kMaxCombiningKana < 256 && kMaxCombiningSmallKana < 256, "rows and slots fit a byte");

struct CombinationSpelling {
  Spelled spelled;
  bool present = false;  // even a combination that spells nothing takes its small kana
};

// The combinations form a small grid, kana by small kana, so that finding
// one takes no search and no branch on the text. Row 0 and column 0 stand
// for "none" and stay empty.
inline constexpr std::size_t kGridWidth = kMaxCombiningSmallKana + 1;
inline constexpr std::size_t kGridSize = (kMaxCombiningKana + 1) * kGridWidth;

class ResolvedSpellings {
 public:
  // Empty until built; constant, so that a thread_local one needs no guard.
  constexpr ResolvedSpellings() = default;

  void Build(const SpellingPreferences& preferences);

  // The tables as plain pointers, for the conversion loops to copy into
  // locals: the output is written through a char pointer, which could alias
  // members and would make the compiler reload them on every character.
  struct View {
    const CodeSpelling* codes;
    const CombinationSpelling* combinations;
    const Spelled* smallTsu;

    // The entry of a code of the kept range.
    const CodeSpelling& Code(std::uint16_t code) const { return codes[code - kFirstCode]; }
  };
  View view() const { return {codes_.data(), combinations_.data(), &smallTsu_}; }

 private:
  std::array<CodeSpelling, kCodeCount> codes_{};
  std::array<CombinationSpelling, kGridSize> combinations_{};
  Spelled smallTsu_;
};

// `out` has room for the doubled letter and the whole of `text`.
inline char* Write(const Spelled& spelled, bool afterSokuon, char* out) {
  if (afterSokuon && spelled.doubled) *out++ = spelled.text[0];
  std::memcpy(out, spelled.text, sizeof spelled.text);
  return out + spelled.length;
}

// `out` has room for a ッ and the whole of `katakana`.
inline char* WriteKatakanaOf(const Spelled& spelled, bool afterSokuon, char* out) {
  if (afterSokuon) {
    std::memcpy(out, "ッ", kCodeBytes);
    out += kCodeBytes;
  }
  std::memcpy(out, spelled.katakana, sizeof spelled.katakana);
  return out + spelled.katakanaLength;
}

// The romaji of a two-byte character past the kept range: only kanji and a
// few IBM symbols remain there, and the symbols have a one-byte form.
char* WriteFarCharacter(std::uint16_t code, char* out);

struct Unit {
  const char* next;  // just after the last character the unit used
  const Spelled* spelled;
  bool afterSokuon;
};

// The unit of the kana `entry` at `at`, where `second` is the code after it:
// the kana alone, or the kana and `second` when they form a combination.
inline Unit UnitOf(const ResolvedSpellings::View& view, const CodeSpelling& entry, const char* at,
                   std::uint16_t second, bool afterSokuon) {
  // Row 0 and slot 0 of the grid are empty, so a kana without combinations
  // or a character that is no small kana needs no test of its own.
  const std::size_t slot = InRange(second) ? view.Code(second).smallKanaSlot : 0;
  const CombinationSpelling& combination = view.combinations[entry.combinationRow * kGridWidth + slot];
  if (combination.present) return {at + 2 * kCodeBytes, &combination.spelled, afterSokuon};
  return {at + kCodeBytes, &entry.alone, afterSokuon};
}

// The unit that starts at `p` with `code`, a character of the kept range: a
// っ, the kana after it, and a small kana that combines with that kana.
inline Unit FindUnit(const ResolvedSpellings::View& view, const char* p, const char* end, std::uint16_t code) {
  const CodeSpelling* entry = &view.Code(code);
  const char* at = p;
  bool sokuon = false;
  if (entry->isSmallTsu) {
    const std::uint16_t nextCode = BytesAt(p + kCodeBytes, end);
    if (!InRange(nextCode) || !view.Code(nextCode).takesSokuon) {
      // No kana after the っ takes it: it is spelled by itself, and whatever
      // follows (another っ, ん, a small kana, a symbol, the end) is the
      // next unit.
      return {p + kCodeBytes, view.smallTsu, false};
    }
    sokuon = true;
    at = p + kCodeBytes;
    entry = &view.Code(nextCode);
  }
  return UnitOf(view, *entry, at, BytesAt(at + kCodeBytes, end), sokuon);
}

}  // namespace kanaflow::spellings
