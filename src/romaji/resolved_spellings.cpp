#include "romaji/resolved_spellings.h"

#include <algorithm>
#include <string_view>

#include "platform/cp932.h"

namespace kanaflow::spellings {
namespace {

void AppendKatakana(std::uint16_t code, Spelled& spelled) {
  const std::uint16_t katakana = cp932::HiraganaToKatakana(code);
  spelled.katakana[spelled.katakanaLength] = static_cast<char>(katakana >> 8);
  spelled.katakana[spelled.katakanaLength + 1] = static_cast<char>(katakana & 0xFF);
  spelled.katakanaLength = static_cast<std::uint8_t>(spelled.katakanaLength + kCodeBytes);
}

Spelled MakeSpelled(std::string_view spelling, bool doubled) {
  Spelled spelled;
  // copy() rather than memcpy: an empty spelling may have no data pointer.
  const std::size_t length = spelling.copy(spelled.text, kLongestSpelling);
  spelled.length = static_cast<std::uint8_t>(length);
  spelled.doubled = doubled && length > 0;
  return spelled;
}

// The row's kana and, for a combination, its small kana give the katakana.
Spelled SpelledRow(const KanaRow& row, const SpellingPreferences& preferences) {
  Spelled spelled = MakeSpelled(SpellingOf(row, preferences), row.afterSokuon == AfterSokuon::Doubled);
  for (std::size_t at = 0; at < row.kana.size(); at += kCodeBytes) AppendKatakana(TwoBytesAt(&row.kana[at]), spelled);
  return spelled;
}

constexpr std::uint16_t SecondKanaOf(const KanaRow& combination) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(combination.kana[2]) << 8 |
                                    static_cast<unsigned char>(combination.kana[3]));
}

}  // namespace

void ResolvedSpellings::Build(const SpellingPreferences& preferences) {
  // Cleared in place: a fresh copy would be one more large block of memory
  // to touch, and a fresh page costs more than building the tables.
  codes_.fill(CodeSpelling());
  combinations_.fill(CombinationSpelling());
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
      if (combinations.count > 0) entry.combinationRow = static_cast<std::uint8_t>(rows++);
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
    // Characters of no row stay as they are in the katakana form.
    if (entry.alone.katakanaLength == 0) AppendKatakana(code, entry.alone);
  }

  for (std::size_t slot = 1; slot < slots; ++slot) {
    codes_[smallKana[slot] - kFirstCode].smallKanaSlot = static_cast<std::uint8_t>(slot);
  }
  for (std::size_t i = 0; i < kCodeCount; ++i) {
    const auto code = static_cast<std::uint16_t>(kFirstCode + i);
    CodeSpelling& entry = codes_[i];
    entry.plain = !entry.isSmallTsu && entry.smallKanaSlot == 0 && cp932::IsTrailByte(code & 0xFF);
    if (entry.combinationRow == 0) continue;
    for (std::size_t slot = 1; slot < slots; ++slot) {
      // Whatever the ordered search finds for this pair, and only that.
      const KanaRow* found = FindSpelledKana(code, smallKana[slot]);
      if (found == nullptr || !found->IsCombination()) continue;
      combinations_[entry.combinationRow * kGridWidth + slot] = {SpelledRow(*found, preferences), true};
    }
  }
}

char* WriteFarCharacter(std::uint16_t code, char* out) {
  if (const auto halfWidth = cp932::HalfWidthForm(code)) *out++ = static_cast<char>(*halfWidth);
  return out;
}

}  // namespace kanaflow::spellings
