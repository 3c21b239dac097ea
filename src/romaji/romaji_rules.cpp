#include "romaji/romaji_rules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/cp932.h"
#include "romaji/kana_tables.h"

namespace kanaflow {
namespace {

// The two-byte character at `p`, or 0 for a single byte, the end, or a lead
// byte without a trail byte (at the end, or before the zero that ends the
// reading). Every table code has a non-zero trail byte, so 0 matches nothing.
inline std::uint16_t CodeAt(const char* p, const char* end) {
  if (end - p < 2) return 0;
  const auto lead = static_cast<unsigned char>(p[0]);
  const auto trail = static_cast<unsigned char>(p[1]);
  if (!cp932::IsLeadByte(lead) || trail == 0) return 0;
  return static_cast<std::uint16_t>(lead << 8 | trail);
}

// The two bytes at `p` as a code, without asking whether they form a
// character: enough to look ahead for a kana of the tables, whose codes all
// have a lead byte and a non-zero trail byte. 0 past the end.
inline std::uint16_t BytesAt(const char* p, const char* end) {
  if (end - p < 2) return 0;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) << 8 | static_cast<unsigned char>(p[1]));
}

// Conversion runs for every character of every question at load time, so
// the tables' answers are looked up once per set of preferences and kept
// here by code: one step per character instead of a search. The answers are
// those of the table lookups themselves, so the two cannot disagree.
constexpr std::uint16_t kFirstCode = 0x8140;  // the full-width space
constexpr std::uint16_t kLastCode = 0x8396;   // ヶ, the last katakana
constexpr std::size_t kCodeCount = kLastCode - kFirstCode + 1;

constexpr bool InRange(std::uint16_t code) { return code >= kFirstCode && code <= kLastCode; }

struct Spelled {
  char text[kLongestSpelling + 1] = {};  // copied whole, whatever the length
  std::uint8_t length = 0;               // 0: nothing is typed
  bool doubled = false;                  // after っ the first letter comes twice
};

// A unit starts at most kMaxRomajiBytes in and writes a doubled letter and
// a whole `text`, all before the limit is checked.
static_assert(kRomajiBufferBytes >= kMaxRomajiBytes + 1 + sizeof(Spelled::text), "room for a unit past the limit");

struct CodeSpelling {
  Spelled alone;
  bool isSmallTsu = false;
  bool takesSokuon = false;          // a kana of its own: a っ before it joins its unit
  std::uint16_t smallKanaSlot = 0;   // as the second kana of a combination; 0 for none
  std::uint16_t combinationRow = 0;  // its combinations; 0 for none
};

struct CombinationSpelling {
  Spelled spelled;
  bool present = false;  // even a combination that spells nothing takes its small kana
};

Spelled MakeSpelled(std::string_view spelling, bool doubled) {
  Spelled spelled;
  // copy() rather than memcpy: an empty spelling may have no data pointer.
  const std::size_t length = spelling.copy(spelled.text, kLongestSpelling);
  spelled.length = static_cast<std::uint8_t>(length);
  spelled.doubled = doubled && length > 0;
  return spelled;
}

Spelled SpelledRow(const KanaRow& row, const SpellingPreferences& preferences) {
  return MakeSpelled(SpellingOf(row, preferences), row.afterSokuon == AfterSokuon::Doubled);
}

constexpr std::uint16_t SecondKanaOf(const KanaRow& combination) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(combination.kana[2]) << 8 |
                                    static_cast<unsigned char>(combination.kana[3]));
}

// The combinations form a small grid, kana by small kana, so that finding
// one takes no search and no branch on the text. Row 0 and column 0 stand
// for "none" and stay empty.
constexpr std::size_t kGridWidth = kMaxCombiningSmallKana + 1;
constexpr std::size_t kGridSize = (kMaxCombiningKana + 1) * kGridWidth;

class ResolvedSpellings {
 public:
  // Empty until built; constant, so that a thread_local one needs no guard.
  constexpr ResolvedSpellings() = default;

  void Build(const SpellingPreferences& preferences) {
    *this = ResolvedSpellings();
    smallTsu_ = SpelledRow(SmallTsuRow(), preferences);
    std::array<std::uint16_t, kGridWidth> smallKana{};
    std::size_t slots = 1;
    std::size_t rows = 1;
    for (std::size_t i = 0; i < kCodeCount; ++i) {
      const auto code = static_cast<std::uint16_t>(kFirstCode + i);
      CodeSpelling& entry = codes_[i];
      if (const KanaRow* row = FindSpelledKana(code, 0)) {
        entry.alone = SpelledRow(*row, preferences);
        entry.takesSokuon = true;
        const KanaRows combinations = CombinationsOf(code);
        if (combinations.count > 0) entry.combinationRow = static_cast<std::uint16_t>(rows++);
        for (std::size_t c = 0; c < combinations.count; ++c) {
          const std::uint16_t second = SecondKanaOf(combinations.first[c]);
          if (std::find(smallKana.begin(), smallKana.begin() + slots, second) == smallKana.begin() + slots) {
            smallKana[slots++] = second;
          }
        }
      } else if (code == kSmallTsu) {
        entry.isSmallTsu = true;
      } else if (const KanaRow* standalone = FindStandaloneCharacter(code)) {
        entry.alone = SpelledRow(*standalone, preferences);
      } else if (const auto halfWidth = cp932::HalfWidthForm(code)) {
        const char byte = static_cast<char>(*halfWidth);
        entry.alone = MakeSpelled(std::string_view(&byte, 1), false);
      }
    }

    for (std::size_t slot = 1; slot < slots; ++slot) {
      codes_[smallKana[slot] - kFirstCode].smallKanaSlot = static_cast<std::uint16_t>(slot);
    }
    for (std::size_t i = 0; i < kCodeCount; ++i) {
      if (codes_[i].combinationRow == 0) continue;
      const auto code = static_cast<std::uint16_t>(kFirstCode + i);
      for (std::size_t slot = 1; slot < slots; ++slot) {
        // Whatever the ordered search finds for this pair, and only that.
        const KanaRow* found = FindSpelledKana(code, smallKana[slot]);
        if (found == nullptr || !found->IsCombination()) continue;
        combinations_[codes_[i].combinationRow * kGridWidth + slot] = {SpelledRow(*found, preferences), true};
      }
    }
  }

  // The tables as plain pointers, for the conversion loops to copy into
  // locals: the output is written through a char pointer, which could alias
  // members and would make the compiler reload them on every character.
  struct View {
    const CodeSpelling* codes;
    const CombinationSpelling* combinations;
    const Spelled* smallTsu;
  };
  View view() const { return {codes_.data(), combinations_.data(), &smallTsu_}; }

 private:
  std::array<CodeSpelling, kCodeCount> codes_{};
  std::array<CombinationSpelling, kGridSize> combinations_{};
  Spelled smallTsu_;
};

bool SamePreferences(const SpellingPreferences& a, const SpellingPreferences& b) {
  return a.si == b.si && a.ti == b.ti && a.tu == b.tu && a.hu == b.hu && a.zi == b.zi && a.sya == b.sya &&
         a.syu == b.syu && a.syo == b.syo && a.jya == b.jya && a.jyu == b.jyu && a.jye == b.jye && a.jyo == b.jyo &&
         a.tya == b.tya && a.tyu == b.tyu && a.tyo == b.tyo && a.Komoji == b.Komoji;
}

// Loading converts every question with the same preferences, so the spellings
// for the last preferences seen are kept.
const ResolvedSpellings& SpellingsFor(const SpellingPreferences& preferences) {
  thread_local ResolvedSpellings resolved;
  thread_local SpellingPreferences resolvedFor;
  thread_local bool built = false;
  if (!built || !SamePreferences(resolvedFor, preferences)) {
    resolved.Build(preferences);
    resolvedFor = preferences;
    built = true;
  }
  return resolved;
}

// `out` has room for the doubled letter and the whole of `text`.
inline char* Write(const Spelled& spelled, bool afterSokuon, char* out) {
  if (afterSokuon && spelled.doubled) *out++ = spelled.text[0];
  std::memcpy(out, spelled.text, sizeof spelled.text);
  return out + spelled.length;
}

// Past the kept range only kanji and a few IBM symbols remain; the symbols
// have a one-byte form.
char* WriteFarCharacter(std::uint16_t code, char* out) {
  if (const auto halfWidth = cp932::HalfWidthForm(code)) *out++ = static_cast<char>(*halfWidth);
  return out;
}

struct Unit {
  const char* next;  // just after the last character the unit used
  char* out;
};

// One kana unit from `p`, where the two-byte character `code` is: a っ, the
// kana after it, and a small kana that combines with that kana.
inline Unit SpellUnit(const ResolvedSpellings::View& view, const char* p, const char* end, std::uint16_t code,
                      char* out) {
  if (!InRange(code)) return {p + 2, WriteFarCharacter(code, out)};
  const CodeSpelling* entry = &view.codes[code - kFirstCode];
  const char* at = p;
  bool sokuon = false;
  if (entry->isSmallTsu) {
    const std::uint16_t nextCode = BytesAt(p + 2, end);
    if (!InRange(nextCode) || !view.codes[nextCode - kFirstCode].takesSokuon) {
      // No kana after the っ takes it: it is spelled by itself, and whatever
      // follows (another っ, ん, a small kana, a symbol, the end) is the
      // next unit.
      return {p + 2, Write(*view.smallTsu, false, out)};
    }
    sokuon = true;
    at = p + 2;
    entry = &view.codes[nextCode - kFirstCode];
  }
  // Row 0 and slot 0 of the grid are empty, so a kana without combinations
  // or a character that is no small kana needs no test of its own.
  const std::uint16_t second = BytesAt(at + 2, end);
  const std::size_t slot = InRange(second) ? view.codes[second - kFirstCode].smallKanaSlot : 0;
  const CombinationSpelling& combination = view.combinations[entry->combinationRow * kGridWidth + slot];
  const Spelled& spelled = combination.present ? combination.spelled : entry->alone;
  return {at + (combination.present ? 4 : 2), Write(spelled, sokuon, out)};
}

// The katakana of every code with the lead byte 0x81 or 0x82, as the two
// bytes to write, indexed by (lead - 0x81) * 256 + trail. Every hiragana has
// one of these lead bytes (ぁ..ん and ゝゞ); any other code stays as it is.
constexpr unsigned kFirstKanaLead = 0x81;
using CodeBytes = std::array<char, 2>;

std::array<CodeBytes, 2 * 256> BuildKatakana() {
  std::array<CodeBytes, 2 * 256> katakana{};
  for (std::size_t i = 0; i < katakana.size(); ++i) {
    const std::uint16_t code = cp932::HiraganaToKatakana(static_cast<std::uint16_t>((kFirstKanaLead << 8) + i));
    katakana[i] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  }
  return katakana;
}

const std::array<CodeBytes, 2 * 256> kKatakana = BuildKatakana();

}  // namespace

std::string MakeKatakana(std::string_view reading) {
  std::string katakana(reading.size(), '\0');
  katakana.resize(static_cast<std::size_t>(WriteKatakana(reading, katakana.data()) - katakana.data()));
  return katakana;
}

std::string MakeRomaji(std::string_view reading, const SpellingPreferences& preferences) {
  char buffer[kRomajiBufferBytes];
  return std::string(buffer, WriteRomaji(reading, preferences, buffer));
}

char* WriteKatakana(std::string_view reading, char* out) {
  const char* p = reading.data();
  const char* const end = p + reading.size();
  while (p < end) {
    const auto byte = static_cast<unsigned char>(*p);
    const unsigned kanaLead = byte - kFirstKanaLead;
    if (kanaLead < 2 && end - p >= 2 && p[1] != '\0') {
      std::memcpy(out, kKatakana[kanaLead * 256 + static_cast<unsigned char>(p[1])].data(), 2);
      out += 2;
      p += 2;
    } else if (byte == 0) {
      break;
    } else if (CodeAt(p, end) != 0) {
      std::memcpy(out, p, 2);  // no hiragana lies under another lead byte
      out += 2;
      p += 2;
    } else {
      *out++ = *p++;  // a single byte, or a lone lead byte kept as it is
    }
  }
  return out;
}

char* WriteRomaji(std::string_view reading, const SpellingPreferences& preferences, char* out) {
  const ResolvedSpellings::View view = SpellingsFor(preferences).view();
  const char* p = reading.data();
  const char* const end = p + reading.size();
  char* const limit = out + kMaxRomajiBytes;
  while (p < end) {
    const auto byte = static_cast<unsigned char>(*p);
    char* const unitStart = out;
    if (!cp932::IsLeadByte(byte)) {
      if (byte == 0) break;
      *out++ = static_cast<char>(byte);
      ++p;
    } else if (end - p < 2 || p[1] == '\0') {
      break;  // a lone lead byte: half a character, nothing to spell
    } else {
      const auto code = static_cast<std::uint16_t>(byte << 8 | static_cast<unsigned char>(p[1]));
      const Unit unit = SpellUnit(view, p, end, code, out);
      p = unit.next;
      out = unit.out;
    }
    if (out > limit) return unitStart;
  }
  return out;
}

std::size_t AppendKanaRomaji(std::string_view reading, std::size_t pos, std::string& romaji,
                             const SpellingPreferences& preferences) {
  const char* const end = reading.data() + reading.size();
  const std::uint16_t code = pos < reading.size() ? CodeAt(reading.data() + pos, end) : 0;
  if (code == 0) return pos;  // not a two-byte character: nothing to convert
  char buffer[16];
  const Unit unit = SpellUnit(SpellingsFor(preferences).view(), reading.data() + pos, end, code, buffer);
  romaji.append(buffer, static_cast<std::size_t>(unit.out - buffer));
  return static_cast<std::size_t>(unit.next - reading.data()) - 2;
}

}  // namespace kanaflow
