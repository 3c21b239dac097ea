#include "romaji/kana_tables.h"

#include <cstddef>

namespace kanaflow {
namespace {

constexpr AfterSokuon kPlain = AfterSokuon::Plain;
constexpr AfterSokuon kDoubled = AfterSokuon::Doubled;

// Kana with a spelling of their own, in the order of the romaji rules. A
// combination follows the row of its kana; a kana's combinations are tried in
// the order listed (only one small kana can follow, so at most one matches).
// Pairs not listed, such as しぇ or ふぉ, are a kana and a standalone small kana.
constexpr KanaRow kSpelledKana[] = {
    {"あ", {"a"}, kPlain, Pick::Fixed},
    {"い", {"i"}, kPlain, Pick::Fixed},
    {"う", {"u"}, kPlain, Pick::Fixed},
    {"うぃ", {"wi"}, kPlain, Pick::Fixed},
    {"うぇ", {"we"}, kPlain, Pick::Fixed},
    {"え", {"e"}, kPlain, Pick::Fixed},
    {"お", {"o"}, kPlain, Pick::Fixed},
    {"か", {"ka"}, kDoubled, Pick::Fixed},
    {"き", {"ki"}, kDoubled, Pick::Fixed},
    {"きゃ", {"kya"}, kDoubled, Pick::Fixed},
    {"きゅ", {"kyu"}, kDoubled, Pick::Fixed},
    {"きょ", {"kyo"}, kDoubled, Pick::Fixed},
    {"く", {"ku"}, kDoubled, Pick::Fixed},
    {"け", {"ke"}, kDoubled, Pick::Fixed},
    {"こ", {"ko"}, kDoubled, Pick::Fixed},
    {"が", {"ga"}, kDoubled, Pick::Fixed},
    {"ぎ", {"gi"}, kDoubled, Pick::Fixed},
    {"ぎゃ", {"gya"}, kDoubled, Pick::Fixed},
    {"ぎゅ", {"gyu"}, kDoubled, Pick::Fixed},
    {"ぎょ", {"gyo"}, kDoubled, Pick::Fixed},
    {"ぐ", {"gu"}, kDoubled, Pick::Fixed},
    {"げ", {"ge"}, kDoubled, Pick::Fixed},
    {"ご", {"go"}, kDoubled, Pick::Fixed},
    {"さ", {"sa"}, kDoubled, Pick::Fixed},
    {"し", {"si", "shi"}, kDoubled, Pick::si},
    {"しゃ", {"sya", "sha"}, kDoubled, Pick::sya},
    {"しゅ", {"syu", "shu"}, kDoubled, Pick::syu},
    {"しょ", {"syo", "sho"}, kDoubled, Pick::syo},
    {"す", {"su"}, kDoubled, Pick::Fixed},
    {"せ", {"se"}, kDoubled, Pick::Fixed},
    {"そ", {"so"}, kDoubled, Pick::Fixed},
    {"ざ", {"za"}, kDoubled, Pick::Fixed},
    {"じ", {"zi", "ji"}, kDoubled, Pick::zi},
    {"じゃ", {"ja", "zya", "jya"}, kDoubled, Pick::jya},
    {"じゅ", {"ju", "zyu", "jyu"}, kDoubled, Pick::jyu},
    {"じぇ", {"je", "zye", "jye"}, kDoubled, Pick::jye},
    {"じょ", {"jo", "zyo", "jyo"}, kDoubled, Pick::jyo},
    {"ず", {"zu"}, kDoubled, Pick::Fixed},
    {"ぜ", {"ze"}, kDoubled, Pick::Fixed},
    {"ぞ", {"zo"}, kDoubled, Pick::Fixed},
    {"た", {"ta"}, kDoubled, Pick::Fixed},
    {"ち", {"ti", "chi"}, kDoubled, Pick::ti},
    {"ちゃ", {"tya", "cha"}, kDoubled, Pick::tya},
    {"ちゅ", {"tyu", "chu"}, kDoubled, Pick::tyu},
    {"ちょ", {"tyo", "cho"}, kDoubled, Pick::tyo},
    {"つ", {"tu", "tsu"}, kDoubled, Pick::tu},
    {"て", {"te"}, kDoubled, Pick::Fixed},
    {"てぃ", {"thi"}, kDoubled, Pick::Fixed},
    {"と", {"to"}, kDoubled, Pick::Fixed},
    {"だ", {"da"}, kDoubled, Pick::Fixed},
    {"ぢ", {"di"}, kDoubled, Pick::Fixed},
    {"ぢゃ", {"dya"}, kDoubled, Pick::Fixed},
    {"ぢゅ", {"dyu"}, kDoubled, Pick::Fixed},
    {"ぢょ", {"dyo"}, kDoubled, Pick::Fixed},
    {"づ", {"du"}, kDoubled, Pick::Fixed},
    {"で", {"de"}, kDoubled, Pick::Fixed},
    {"でぃ", {"dhi"}, kDoubled, Pick::Fixed},
    {"ど", {"do"}, kDoubled, Pick::Fixed},
    {"な", {"na"}, kDoubled, Pick::Fixed},
    {"に", {"ni"}, kDoubled, Pick::Fixed},
    {"にゃ", {"nya"}, kDoubled, Pick::Fixed},
    {"にゅ", {"nyu"}, kDoubled, Pick::Fixed},
    {"にょ", {"nyo"}, kDoubled, Pick::Fixed},
    {"ぬ", {"nu"}, kDoubled, Pick::Fixed},
    {"ね", {"ne"}, kDoubled, Pick::Fixed},
    {"の", {"no"}, kDoubled, Pick::Fixed},
    {"は", {"ha"}, kDoubled, Pick::Fixed},
    {"ひ", {"hi"}, kDoubled, Pick::Fixed},
    {"ひゃ", {"hya"}, kDoubled, Pick::Fixed},
    {"ひゅ", {"hyu"}, kDoubled, Pick::Fixed},
    {"ひょ", {"hyo"}, kDoubled, Pick::Fixed},
    {"ふ", {"hu", "fu"}, kDoubled, Pick::hu},
    {"ふぁ", {"fa"}, kDoubled, Pick::Fixed},
    {"ふぃ", {"fi"}, kDoubled, Pick::Fixed},
    {"ふぇ", {"fe"}, kDoubled, Pick::Fixed},
    {"へ", {"he"}, kDoubled, Pick::Fixed},
    {"ほ", {"ho"}, kDoubled, Pick::Fixed},
    {"ば", {"ba"}, kDoubled, Pick::Fixed},
    {"び", {"bi"}, kDoubled, Pick::Fixed},
    {"びゃ", {"bya"}, kDoubled, Pick::Fixed},
    {"びゅ", {"byu"}, kDoubled, Pick::Fixed},
    {"びょ", {"byo"}, kDoubled, Pick::Fixed},
    {"ぶ", {"bu"}, kDoubled, Pick::Fixed},
    {"べ", {"be"}, kDoubled, Pick::Fixed},
    {"ぼ", {"bo"}, kDoubled, Pick::Fixed},
    {"ぱ", {"pa"}, kDoubled, Pick::Fixed},
    {"ぴ", {"pi"}, kDoubled, Pick::Fixed},
    {"ぴゃ", {"pya"}, kDoubled, Pick::Fixed},
    {"ぴゅ", {"pyu"}, kDoubled, Pick::Fixed},
    {"ぴょ", {"pyo"}, kDoubled, Pick::Fixed},
    {"ぷ", {"pu"}, kDoubled, Pick::Fixed},
    {"ぺ", {"pe"}, kDoubled, Pick::Fixed},
    {"ぽ", {"po"}, kDoubled, Pick::Fixed},
    {"ま", {"ma"}, kDoubled, Pick::Fixed},
    {"み", {"mi"}, kDoubled, Pick::Fixed},
    {"みゃ", {"mya"}, kDoubled, Pick::Fixed},
    {"みゅ", {"myu"}, kDoubled, Pick::Fixed},
    {"みょ", {"myo"}, kDoubled, Pick::Fixed},
    {"む", {"mu"}, kDoubled, Pick::Fixed},
    {"め", {"me"}, kDoubled, Pick::Fixed},
    {"も", {"mo"}, kDoubled, Pick::Fixed},
    {"や", {"ya"}, kDoubled, Pick::Fixed},
    {"ゆ", {"yu"}, kDoubled, Pick::Fixed},
    {"よ", {"yo"}, kDoubled, Pick::Fixed},
    {"ら", {"ra"}, kDoubled, Pick::Fixed},
    {"り", {"ri"}, kDoubled, Pick::Fixed},
    {"りゃ", {"rya"}, kDoubled, Pick::Fixed},
    {"りゅ", {"ryu"}, kDoubled, Pick::Fixed},
    {"りょ", {"ryo"}, kDoubled, Pick::Fixed},
    {"る", {"ru"}, kDoubled, Pick::Fixed},
    {"れ", {"re"}, kDoubled, Pick::Fixed},
    {"ろ", {"ro"}, kDoubled, Pick::Fixed},
    {"わ", {"wa"}, kDoubled, Pick::Fixed},
    {"を", {"wo"}, kDoubled, Pick::Fixed},
};

// っ when the kana after it has no after-っ spelling of its own to take it.
constexpr KanaRow kSmallTsuAlone = {"っ", {"ltu", "xtu"}, kPlain, Pick::Komoji};

// Small kana that no kana before them took, ん (always "nn", so that a single
// n never has to be told apart from the start of the next kana), and the
// full-width symbols that are typed with the ASCII key of the same look.
constexpr KanaRow kStandalone[] = {
    {"ゃ", {"lya", "xya"}, kPlain, Pick::Komoji},
    {"ゅ", {"lyu", "xyu"}, kPlain, Pick::Komoji},
    {"ょ", {"lyo", "xyo"}, kPlain, Pick::Komoji},
    {"ぁ", {"la", "xa"}, kPlain, Pick::Komoji},
    {"ぃ", {"li", "xi"}, kPlain, Pick::Komoji},
    {"ぅ", {"lu", "xu"}, kPlain, Pick::Komoji},
    {"ぇ", {"le", "xe"}, kPlain, Pick::Komoji},
    {"ぉ", {"lo", "xo"}, kPlain, Pick::Komoji},
    {"ゎ", {"lwa", "xwa"}, kPlain, Pick::Komoji},
    {"ん", {"nn"}, kPlain, Pick::Fixed},
    {"！", {"!"}, kPlain, Pick::Fixed},
    {"”", {"\""}, kPlain, Pick::Fixed},
    {"＃", {"#"}, kPlain, Pick::Fixed},
    {"＄", {"$"}, kPlain, Pick::Fixed},
    {"％", {"%"}, kPlain, Pick::Fixed},
    {"＆", {"&"}, kPlain, Pick::Fixed},
    {"’", {"'"}, kPlain, Pick::Fixed},
    {"（", {"("}, kPlain, Pick::Fixed},
    {"）", {")"}, kPlain, Pick::Fixed},
    {"ー", {"-"}, kPlain, Pick::Fixed},  // the long vowel mark is typed, not lengthened
    {"＝", {"="}, kPlain, Pick::Fixed},
    {"＾", {"^"}, kPlain, Pick::Fixed},
    {"～", {"~"}, kPlain, Pick::Fixed},
    {"＠", {"@"}, kPlain, Pick::Fixed},
    {"「", {"["}, kPlain, Pick::Fixed},
    {"」", {"]"}, kPlain, Pick::Fixed},
    {"｛", {"{"}, kPlain, Pick::Fixed},
    {"｝", {"}"}, kPlain, Pick::Fixed},
    {"：", {":"}, kPlain, Pick::Fixed},
    {"＊", {"*"}, kPlain, Pick::Fixed},
    {"；", {";"}, kPlain, Pick::Fixed},
    {"＋", {"+"}, kPlain, Pick::Fixed},
    {"＜", {"<"}, kPlain, Pick::Fixed},
    {"＞", {">"}, kPlain, Pick::Fixed},
    {"、", {","}, kPlain, Pick::Fixed},
    {"。", {"."}, kPlain, Pick::Fixed},
    {"？", {"?"}, kPlain, Pick::Fixed},
    {"・", {"/"}, kPlain, Pick::Fixed},
    {"＿", {"_"}, kPlain, Pick::Fixed},
    {"￥", {"\\"}, kPlain, Pick::Fixed},
    {"　", {" "}, kPlain, Pick::Fixed},
};

// The symbol codes as the rules give them, to catch a literal that the
// compiler wrote as some other code (～ and ￥ have look-alikes).
constexpr std::uint16_t kSymbolCodes[] = {
    0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169, 0x816A, 0x815B, 0x8181,
    0x814F, 0x8160, 0x8197, 0x8175, 0x8176, 0x816F, 0x8170, 0x8146, 0x8196, 0x8147, 0x817B,
    0x8183, 0x8184, 0x8141, 0x8142, 0x8148, 0x8145, 0x8151, 0x818F, 0x8140,
};
constexpr std::size_t kFirstSymbol = 10;

constexpr std::uint16_t CodeOf(std::string_view kana, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(kana[at]) << 8 |
                                    static_cast<unsigned char>(kana[at + 1]));
}

// Every table character lies in one span of codes, from the full-width space
// to ん, so one small index by code answers both lookups directly.
constexpr std::uint16_t kFirstCode = 0x8140;
constexpr std::uint16_t kLastCode = 0x82F1;
constexpr std::size_t kCodeCount = kLastCode - kFirstCode + 1;

struct CodeEntry {
  std::uint8_t spelledRow = 0;      // 1 + the kana's row in kSpelledKana, 0 for none
  std::uint8_t combinations = 0;    // how many combination rows follow it
  std::uint8_t standaloneRow = 0;   // 1 + the row in kStandalone, 0 for none
};

constexpr bool InRange(std::uint16_t code) { return code >= kFirstCode && code <= kLastCode; }

constexpr std::array<CodeEntry, kCodeCount> BuildIndex() {
  std::array<CodeEntry, kCodeCount> index{};
  std::size_t rowCount = sizeof kSpelledKana / sizeof kSpelledKana[0];
  for (std::size_t row = 0; row < rowCount; ++row) {
    const std::uint16_t code = CodeOf(kSpelledKana[row].kana, 0);
    CodeEntry& entry = index[code - kFirstCode];
    if (kSpelledKana[row].IsCombination()) {
      ++entry.combinations;
    } else {
      entry.spelledRow = static_cast<std::uint8_t>(row + 1);
    }
  }
  rowCount = sizeof kStandalone / sizeof kStandalone[0];
  for (std::size_t row = 0; row < rowCount; ++row) {
    index[CodeOf(kStandalone[row].kana, 0) - kFirstCode].standaloneRow = static_cast<std::uint8_t>(row + 1);
  }
  return index;
}

constexpr std::array<CodeEntry, kCodeCount> kIndex = BuildIndex();

// The index is only right if the tables are shaped as it assumes: every
// character in range, each kana listed once, its combinations right after it,
// no character in both tables, and the symbols at the codes the rules give.
constexpr bool TablesAreConsistent() {
  std::uint16_t kanaCode = 0;
  std::size_t kanaCount = 0;
  for (const KanaRow& row : kSpelledKana) {
    const std::uint16_t code = CodeOf(row.kana, 0);
    if (!InRange(code) || (row.kana.size() != 2 && row.kana.size() != 4)) return false;
    if (row.IsCombination()) {
      if (code != kanaCode || !InRange(CodeOf(row.kana, 2))) return false;
    } else {
      kanaCode = code;
      ++kanaCount;
    }
    if ((row.pickedBy == Pick::Fixed) != row.spellings[1].empty() || row.spellings[0].empty()) return false;
  }
  for (const KanaRow& row : kSpelledKana) {
    for (const std::string_view& spelling : row.spellings) {
      if (spelling.size() > kLongestSpelling) return false;
    }
  }
  for (const KanaRow& row : kStandalone) {
    for (const std::string_view& spelling : row.spellings) {
      if (spelling.size() > kLongestSpelling) return false;
    }
  }
  std::size_t combiningKana = 0;
  std::array<std::uint16_t, kMaxCombiningSmallKana> smallKana{};
  std::size_t smallKanaCount = 0;
  for (std::size_t row = 0; row < sizeof kSpelledKana / sizeof kSpelledKana[0]; ++row) {
    if (!kSpelledKana[row].IsCombination()) continue;
    if (!kSpelledKana[row - 1].IsCombination()) ++combiningKana;
    const std::uint16_t second = CodeOf(kSpelledKana[row].kana, 2);
    bool known = false;
    for (std::size_t i = 0; i < smallKanaCount; ++i) known = known || smallKana[i] == second;
    if (known) continue;
    if (smallKanaCount == kMaxCombiningSmallKana) return false;
    smallKana[smallKanaCount++] = second;
  }
  if (combiningKana > kMaxCombiningKana) return false;
  std::size_t indexedKana = 0;
  for (const CodeEntry& entry : kIndex) {
    if (entry.spelledRow != 0) ++indexedKana;
    if (entry.spelledRow != 0 && entry.standaloneRow != 0) return false;
  }
  std::size_t standaloneCount = 0;
  for (const KanaRow& row : kStandalone) {
    if (row.kana.size() != 2 || !InRange(CodeOf(row.kana, 0))) return false;
    if (kIndex[CodeOf(row.kana, 0) - kFirstCode].standaloneRow != standaloneCount + 1) return false;
    if (standaloneCount >= kFirstSymbol &&
        CodeOf(row.kana, 0) != kSymbolCodes[standaloneCount - kFirstSymbol]) {
      return false;
    }
    ++standaloneCount;
  }
  return indexedKana == kanaCount &&
         standaloneCount == kFirstSymbol + sizeof kSymbolCodes / sizeof kSymbolCodes[0] &&
         CodeOf(kSmallTsuAlone.kana, 0) == kSmallTsu;
}
static_assert(TablesAreConsistent(), "the kana tables do not have the shape their index assumes");

}  // namespace

std::string_view SpellingOf(const KanaRow& row, const SpellingPreferences& preferences) {
  std::int32_t value = 0;
  switch (row.pickedBy) {
    case Pick::Fixed: return row.spellings[0];
    case Pick::si: value = preferences.si; break;
    case Pick::ti: value = preferences.ti; break;
    case Pick::tu: value = preferences.tu; break;
    case Pick::hu: value = preferences.hu; break;
    case Pick::zi: value = preferences.zi; break;
    case Pick::sya: value = preferences.sya; break;
    case Pick::syu: value = preferences.syu; break;
    case Pick::syo: value = preferences.syo; break;
    case Pick::jya: value = preferences.jya; break;
    case Pick::jyu: value = preferences.jyu; break;
    case Pick::jye: value = preferences.jye; break;
    case Pick::jyo: value = preferences.jyo; break;
    case Pick::tya: value = preferences.tya; break;
    case Pick::tyu: value = preferences.tyu; break;
    case Pick::tyo: value = preferences.tyo; break;
    case Pick::Komoji: value = preferences.Komoji; break;
  }
  // A value the setup dialog never writes (a hand-edited Setting.ini) picks
  // nothing rather than a guess.
  if (value < 0 || value >= static_cast<std::int32_t>(row.spellings.size())) return {};
  return row.spellings[static_cast<std::size_t>(value)];
}

const KanaRow* FindSpelledKana(std::uint16_t kana, std::uint16_t next) {
  if (!InRange(kana)) return nullptr;
  const CodeEntry& entry = kIndex[kana - kFirstCode];
  if (entry.spelledRow == 0) return nullptr;
  const KanaRow* row = &kSpelledKana[entry.spelledRow - 1];
  for (std::size_t i = 1; i <= entry.combinations; ++i) {
    if (CodeOf(row[i].kana, 2) == next) return &row[i];
  }
  return row;
}

KanaRows CombinationsOf(std::uint16_t kana) {
  if (!InRange(kana)) return {};
  const CodeEntry& entry = kIndex[kana - kFirstCode];
  if (entry.spelledRow == 0) return {};
  return {&kSpelledKana[entry.spelledRow], entry.combinations};
}

const KanaRow* FindStandaloneCharacter(std::uint16_t code) {
  if (!InRange(code)) return nullptr;
  const std::uint8_t row = kIndex[code - kFirstCode].standaloneRow;
  return row == 0 ? nullptr : &kStandalone[row - 1];
}

const KanaRow& SmallTsuRow() { return kSmallTsuAlone; }

}  // namespace kanaflow
