#include "romaji/input_method_spellings.h"

#include <cstddef>

namespace kanaflow {
namespace {

constexpr std::uint16_t CodeOf(std::string_view character) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(character[0]) << 8 |
                                    static_cast<unsigned char>(character[1]));
}

// In the order of the codes, so that a row is found by a binary search; a
// kana's own row before its two-kana sounds.
constexpr InputMethodRow kRows[] = {
    {"・", {"z/"}},
    {"～", {"z-"}},
    {"￥", {"yen"}},
    {"ぃ", {"lyi", "xyi"}},
    {"いぇ", {"ye"}},
    {"う", {"wu", "whu"}},
    {"うぁ", {"wha"}},
    {"うぃ", {"whi"}},
    {"うぇ", {"whe"}},
    {"うぉ", {"who"}},
    {"ぇ", {"lye", "xye"}},
    {"か", {"ca"}},
    {"きぃ", {"kyi"}},
    {"きぇ", {"kye"}},
    {"ぎぃ", {"gyi"}},
    {"ぎぇ", {"gye"}},
    {"く", {"cu", "qu"}},
    {"くぁ", {"qa", "kwa"}},
    {"くぃ", {"qi", "kwi"}},
    {"くぇ", {"qe", "kwe"}},
    {"くぉ", {"qo", "kwo"}},
    {"ぐぁ", {"gwa"}},
    {"こ", {"co"}},
    {"し", {"ci"}},
    {"しぃ", {"syi"}},
    {"しぇ", {"she", "sye"}},
    {"じぃ", {"zyi", "jyi"}},
    {"せ", {"ce"}},
    {"ちぃ", {"tyi", "cyi"}},
    {"ちぇ", {"che", "tye", "cye"}},
    {"ちゃ", {"cya"}},
    {"ちゅ", {"cyu"}},
    {"ちょ", {"cyo"}},
    {"ぢぃ", {"dyi"}},
    {"ぢぇ", {"dye"}},
    {"つぁ", {"tsa"}},
    {"つぃ", {"tsi"}},
    {"つぇ", {"tse"}},
    {"つぉ", {"tso"}},
    {"てぃ", {"t'i"}},
    {"てぇ", {"the"}},
    {"てゃ", {"tha"}},
    {"てゅ", {"thu", "t'yu"}},
    {"てょ", {"tho"}},
    {"でぃ", {"d'i"}},
    {"でぇ", {"dhe"}},
    {"でゃ", {"dha"}},
    {"でゅ", {"dhu", "d'yu"}},
    {"でょ", {"dho"}},
    {"とぁ", {"twa"}},
    {"とぃ", {"twi"}},
    {"とぅ", {"twu", "t'u"}},
    {"とぇ", {"twe"}},
    {"とぉ", {"two"}},
    {"どぁ", {"dwa"}},
    {"どぃ", {"dwi"}},
    {"どぅ", {"dwu", "d'u"}},
    {"どぇ", {"dwe"}},
    {"どぉ", {"dwo"}},
    {"にぃ", {"nyi"}},
    {"にぇ", {"nye"}},
    {"ひぃ", {"hyi"}},
    {"ひぇ", {"hye"}},
    {"びぃ", {"byi"}},
    {"びぇ", {"bye"}},
    {"ぴぃ", {"pyi"}},
    {"ぴぇ", {"pye"}},
    {"ふぁ", {"hwa"}},
    {"ふぃ", {"hwi", "fyi"}},
    {"ふぇ", {"hwe", "fye"}},
    {"ふぉ", {"fo", "hwo"}},
    {"ふゃ", {"fya"}},
    {"ふゅ", {"fyu", "hwyu"}},
    {"ふょ", {"fyo"}},
    {"みぃ", {"myi"}},
    {"みぇ", {"mye"}},
    {"りぃ", {"ryi"}},
    {"りぇ", {"rye"}},
    {"ん", {"n'", "xn"}},
};
constexpr std::size_t kRowCount = sizeof kRows / sizeof kRows[0];

constexpr std::uint32_t KeyOf(std::uint16_t kana, std::uint16_t small) {
  return static_cast<std::uint32_t>(kana) << 16 | small;
}

constexpr std::uint32_t KeyOf(const InputMethodRow& row) {
  return KeyOf(CodeOf(row.kana), row.kana.size() == 4 ? CodeOf(row.kana.substr(2)) : std::uint16_t{0});
}

constexpr bool RowsAreInOrder() {
  for (std::size_t i = 0; i < kRowCount; ++i) {
    const InputMethodRow& row = kRows[i];
    if (row.kana.size() != 2 && row.kana.size() != 4) return false;
    if (i > 0 && KeyOf(kRows[i - 1]) >= KeyOf(row)) return false;
    for (const std::string_view& spelling : row.spellings) {
      if (spelling.size() > kLongestInputMethodSpelling) return false;
    }
  }
  return true;
}
static_assert(RowsAreInOrder(), "input-method rows must be in code order, each character once");

constexpr std::array<std::uint32_t, kRowCount> KeysOfRows() {
  std::array<std::uint32_t, kRowCount> keys{};
  for (std::size_t i = 0; i < kRowCount; ++i) keys[i] = KeyOf(kRows[i]);
  return keys;
}
constexpr std::array<std::uint32_t, kRowCount> kKeys = KeysOfRows();

// Every row's character lies between the full-width space and ん; for each
// code there, 1 + its first row, or 0 for none.
constexpr std::uint16_t kFirstCode = 0x8140;
constexpr std::uint16_t kLastCode = 0x82F1;
constexpr std::array<std::uint8_t, kLastCode - kFirstCode + 1> FirstRows() {
  std::array<std::uint8_t, kLastCode - kFirstCode + 1> first{};
  for (std::size_t i = kRowCount; i-- > 0;) first[(kKeys[i] >> 16) - kFirstCode] = static_cast<std::uint8_t>(i + 1);
  return first;
}
constexpr std::array<std::uint8_t, kLastCode - kFirstCode + 1> kFirstRow = FirstRows();
static_assert(kRowCount < 255 && (kKeys[0] >> 16) >= kFirstCode && (kKeys[kRowCount - 1] >> 16) <= kLastCode,
              "every row is in the index");

}  // namespace

const InputMethodRow* FindInputMethodRow(std::uint16_t kana, std::uint16_t small) {
  // Most characters have no row: one look at the index says so.
  if (kana < kFirstCode || kana > kLastCode || kFirstRow[kana - kFirstCode] == 0) return nullptr;
  for (std::size_t i = kFirstRow[kana - kFirstCode] - 1u; i < kRowCount && kKeys[i] >> 16 == kana; ++i) {
    if ((kKeys[i] & 0xFFFF) == small) return &kRows[i];
  }
  return nullptr;
}

}  // namespace kanaflow
