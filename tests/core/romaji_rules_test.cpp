#include "romaji/romaji_rules.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

using Field = std::int32_t SpellingPreferences::*;
using SP = SpellingPreferences;

// Readings are CP932; a failing row is named in UTF-8 so that it reads.
std::string Show(std::string_view cp932) { return Cp932ToUtf8(cp932).value_or(std::string(cp932)); }

struct Row {
  const char* reading;
  const char* romaji;
};

void ExpectDefaultForms(const std::vector<Row>& rows) {
  for (const Row& row : rows) EXPECT_EQ(MakeRomaji(row.reading, SP()), row.romaji) << Show(row.reading);
}

TEST(RomajiRulesTest, GivesTheDocumentedFormsOfTheExamples) {
  struct Example {
    const char* reading;
    std::vector<std::pair<Field, std::int32_t>> preferences;
    const char* romaji;
  };
  const Example examples[] = {
      {"しんぶん", {}, "shinnbunn"},
      {"ちょっと", {}, "chotto"},
      {"いっしょ", {}, "issho"},
      {"まっちゃ", {}, "maccha"},
      {"がっこう", {}, "gakkou"},
      {"じゃま", {}, "jyama"},
      {"ふぁいる", {}, "fairu"},
      {"しちつふじ", {{&SP::si, 0}, {&SP::ti, 0}, {&SP::tu, 0}, {&SP::hu, 0}, {&SP::zi, 0}}, "sitituhuzi"},
      {"しゃちゃじゃ", {{&SP::sya, 0}, {&SP::tya, 0}, {&SP::jya, 0}}, "syatyaja"},
      {"じゃじゃじゃ", {{&SP::jya, 1}}, "zyazyazya"},
      {"あっ", {}, "axtu"},
      {"あっ", {{&SP::Komoji, 0}}, "altu"},
      {"あっっか", {}, "axtukka"},
      {"っあ", {}, "a"},
      {"っ！", {}, "xtu!"},
      {"らーめん", {}, "ra-menn"},
      {"しぇ", {}, "shixe"},
  };
  for (const Example& example : examples) {
    SpellingPreferences preferences;
    for (const auto& [field, value] : example.preferences) preferences.*field = value;
    EXPECT_EQ(MakeRomaji(example.reading, preferences), example.romaji) << Show(example.reading);
  }
}

TEST(RomajiRulesTest, EachPreferencePicksItsSpellingAndUnlistedValuesDropTheKana) {
  struct PreferenceRow {
    const char* reading;
    Field field;
    std::int32_t value;
    const char* romaji;
  } rows[] = {
      {"し", &SP::si, 0, "si"},      {"し", &SP::si, 1, "shi"},      {"し", &SP::si, 2, ""},
      {"っし", &SP::si, 0, "ssi"},   {"っし", &SP::si, 1, "sshi"},   {"っし", &SP::si, 2, ""},
      {"ち", &SP::ti, 0, "ti"},      {"ち", &SP::ti, 1, "chi"},      {"ち", &SP::ti, 7, ""},
      {"っち", &SP::ti, 0, "tti"},   {"っち", &SP::ti, 1, "cchi"},   {"つ", &SP::tu, 0, "tu"},
      {"つ", &SP::tu, 1, "tsu"},     {"つ", &SP::tu, -1, ""},        {"っつ", &SP::tu, 1, "ttsu"},
      {"ふ", &SP::hu, 0, "hu"},      {"ふ", &SP::hu, 1, "fu"},       {"ふ", &SP::hu, 2, ""},
      {"っふ", &SP::hu, 0, "hhu"},   {"っふ", &SP::hu, 1, "ffu"},    {"じ", &SP::zi, 0, "zi"},
      {"じ", &SP::zi, 1, "ji"},      {"じ", &SP::zi, 2, ""},         {"っじ", &SP::zi, 1, "jji"},
      {"しゃ", &SP::sya, 0, "sya"},  {"しゃ", &SP::sya, 1, "sha"},   {"しゃ", &SP::sya, 2, ""},
      {"っしゃ", &SP::sya, 0, "ssya"}, {"しゅ", &SP::syu, 0, "syu"}, {"しゅ", &SP::syu, 1, "shu"},
      {"しゅ", &SP::syu, 7, ""},     {"っしゅ", &SP::syu, 1, "sshu"}, {"しょ", &SP::syo, 0, "syo"},
      {"しょ", &SP::syo, 1, "sho"},  {"しょ", &SP::syo, -1, ""},     {"っしょ", &SP::syo, 0, "ssyo"},
      {"じゃ", &SP::jya, 0, "ja"},   {"じゃ", &SP::jya, 1, "zya"},   {"じゃ", &SP::jya, 2, "jya"},
      {"じゃ", &SP::jya, 3, ""},     {"っじゃ", &SP::jya, 0, "jja"}, {"っじゃ", &SP::jya, 1, "zzya"},
      {"じゅ", &SP::jyu, 0, "ju"},   {"じゅ", &SP::jyu, 1, "zyu"},   {"じゅ", &SP::jyu, 2, "jyu"},
      {"じゅ", &SP::jyu, -1, ""},    {"っじゅ", &SP::jyu, 2, "jjyu"}, {"じぇ", &SP::jye, 0, "je"},
      {"じぇ", &SP::jye, 1, "zye"},  {"じぇ", &SP::jye, 2, "jye"},   {"じぇ", &SP::jye, 3, ""},
      {"っじぇ", &SP::jye, 1, "zzye"}, {"じょ", &SP::jyo, 0, "jo"},  {"じょ", &SP::jyo, 1, "zyo"},
      {"じょ", &SP::jyo, 2, "jyo"},  {"じょ", &SP::jyo, 7, ""},      {"っじょ", &SP::jyo, 0, "jjo"},
      {"ちゃ", &SP::tya, 0, "tya"},  {"ちゃ", &SP::tya, 1, "cha"},   {"ちゃ", &SP::tya, 2, ""},
      {"っちゃ", &SP::tya, 0, "ttya"}, {"ちゅ", &SP::tyu, 0, "tyu"}, {"ちゅ", &SP::tyu, 1, "chu"},
      {"ちゅ", &SP::tyu, 2, ""},     {"っちゅ", &SP::tyu, 1, "cchu"}, {"ちょ", &SP::tyo, 0, "tyo"},
      {"ちょ", &SP::tyo, 1, "cho"},  {"ちょ", &SP::tyo, -1, ""},     {"っちょ", &SP::tyo, 0, "ttyo"},
      {"ゃ", &SP::Komoji, 0, "lya"}, {"ゃ", &SP::Komoji, 1, "xya"},  {"ゃ", &SP::Komoji, 2, ""},
      {"あっ", &SP::Komoji, 2, "a"}, {"っん", &SP::Komoji, 7, "nn"},
      // A combination follows its own preference, not that of its kana.
      {"しゃ", &SP::si, 2, "sha"},   {"じゃ", &SP::zi, 0, "jya"},    {"ちょ", &SP::ti, 0, "cho"},
      {"しぇ", &SP::si, 0, "sixe"},  {"しぇ", &SP::Komoji, 0, "shile"}, {"さ", &SP::si, 2, "sa"},
  };
  for (const PreferenceRow& row : rows) {
    SpellingPreferences preferences;
    preferences.*row.field = row.value;
    EXPECT_EQ(MakeRomaji(row.reading, preferences), row.romaji) << Show(row.reading) << " value " << row.value;
  }
}

TEST(RomajiRulesTest, SpellsEveryKanaAndDoublesItsFirstLetterAfterSmallTsu) {
  ExpectDefaultForms({
      {"あいうえお", "aiueo"},           {"っあっいっうっえっお", "aiueo"},
      {"かきくけこ", "kakikukeko"},      {"っかっきっくっけっこ", "kkakkikkukkekko"},
      {"がぎぐげご", "gagigugego"},      {"っがっぎっぐっげっご", "ggaggigguggeggo"},
      {"さしすせそ", "sashisuseso"},     {"っさっしっすっせっそ", "ssasshissussesso"},
      {"ざじずぜぞ", "zajizuzezo"},      {"っざっじっずっぜっぞ", "zzajjizzuzzezzo"},
      {"たちつてと", "tachitsuteto"},    {"ったっちっつってっと", "ttacchittsuttetto"},
      {"だぢづでど", "dadidudedo"},      {"っだっぢっづっでっど", "ddaddidduddeddo"},
      {"なにぬねの", "naninuneno"},      {"っなっにっぬっねっの", "nnanninnunnenno"},
      {"はひふへほ", "hahifuheho"},      {"っはっひっふっへっほ", "hhahhiffuhhehho"},
      {"ばびぶべぼ", "babibubebo"},      {"っばっびっぶっべっぼ", "bbabbibbubbebbo"},
      {"ぱぴぷぺぽ", "papipupepo"},      {"っぱっぴっぷっぺっぽ", "ppappippuppeppo"},
      {"まみむめも", "mamimumemo"},      {"っまっみっむっめっも", "mmammimmummemmo"},
      {"やゆよ", "yayuyo"},              {"っやっゆっよ", "yyayyuyyo"},
      {"らりるれろ", "rarirurero"},      {"っらっりっるっれっろ", "rrarrirrurrerro"},
      {"わを", "wawo"},                  {"っわっを", "wwawwo"},
  });
}

TEST(RomajiRulesTest, SpellsEveryCombinationAsOneUnit) {
  ExpectDefaultForms({
      {"うぃうぇ", "wiwe"},                 {"っうぃっうぇ", "wiwe"},
      {"きゃきゅきょ", "kyakyukyo"},        {"っきゃっきゅっきょ", "kkyakkyukkyo"},
      {"ぎゃぎゅぎょ", "gyagyugyo"},        {"っぎゃっぎゅっぎょ", "ggyaggyuggyo"},
      {"しゃしゅしょ", "shashusho"},        {"っしゃっしゅっしょ", "sshasshussho"},
      {"じゃじゅじぇじょ", "jyajyujyejyo"}, {"っじゃっじゅっじぇっじょ", "jjyajjyujjyejjyo"},
      {"ちゃちゅちょ", "chachucho"},        {"っちゃっちゅっちょ", "cchacchuccho"},
      {"てぃでぃ", "thidhi"},               {"ってぃっでぃ", "tthiddhi"},
      {"ぢゃぢゅぢょ", "dyadyudyo"},        {"っぢゃっぢゅっぢょ", "ddyaddyuddyo"},
      {"にゃにゅにょ", "nyanyunyo"},        {"っにゃっにゅっにょ", "nnyannyunnyo"},
      {"ひゃひゅひょ", "hyahyuhyo"},        {"っひゃっひゅっひょ", "hhyahhyuhhyo"},
      {"ふぁふぃふぇ", "fafife"},           {"っふぁっふぃっふぇ", "ffaffiffe"},
      {"びゃびゅびょ", "byabyubyo"},        {"っびゃっびゅっびょ", "bbyabbyubbyo"},
      {"ぴゃぴゅぴょ", "pyapyupyo"},        {"っぴゃっぴゅっぴょ", "ppyappyuppyo"},
      {"みゃみゅみょ", "myamyumyo"},        {"っみゃっみゅっみょ", "mmyammyummyo"},
      {"りゃりゅりょ", "ryaryuryo"},        {"っりゃっりゅっりょ", "rryarryurryo"},
  });
}

TEST(RomajiRulesTest, OtherPairsAreAKanaAndAStandaloneSmallKana) {
  ExpectDefaultForms({
      {"しぇ", "shixe"}, {"ちぇ", "chixe"}, {"ふぉ", "fuxo"},   {"うぉ", "uxo"},   {"てゅ", "texyu"},
      {"でゅ", "dexyu"}, {"きぇ", "kixe"},  {"じぃ", "jixi"},   {"ふゃ", "fuxya"}, {"にぁ", "nixa"},
      {"いぇ", "ixe"},   {"つぁ", "tsuxa"}, {"ゃき", "xyaki"},  {"きあゃ", "kiaxya"},
  });
}

TEST(RomajiRulesTest, StandaloneSmallKanaFollowKomoji) {
  struct SmallRow {
    const char* reading;
    const char* withL;
    const char* withX;
  } rows[] = {{"ゃ", "lya", "xya"}, {"ゅ", "lyu", "xyu"}, {"ょ", "lyo", "xyo"}, {"ぁ", "la", "xa"},
              {"ぃ", "li", "xi"},   {"ぅ", "lu", "xu"},   {"ぇ", "le", "xe"},   {"ぉ", "lo", "xo"},
              {"ゎ", "lwa", "xwa"}, {"あっ", "altu", "axtu"}};
  for (const SmallRow& row : rows) {
    SpellingPreferences preferences;
    preferences.Komoji = 0;
    EXPECT_EQ(MakeRomaji(row.reading, preferences), row.withL) << Show(row.reading);
    preferences.Komoji = 1;
    EXPECT_EQ(MakeRomaji(row.reading, preferences), row.withX) << Show(row.reading);
  }
}

TEST(RomajiRulesTest, SmallTsuWithoutADoublingKanaIsSpelledByItself) {
  ExpectDefaultForms({
      {"っあ", "a"},         {"っうぃ", "wi"},       {"っん", "xtunn"},  {"っ！", "xtu!"},
      {"っー", "xtu-"},      {"あっ", "axtu"},       {"っ", "xtu"},      {"っっか", "xtukka"},
      {"っっっ", "xtuxtuxtu"}, {"っゃ", "xtuxya"},   {"っa", "xtua"},    {"っ漢", "xtu"},
      {"っカ", "xtu\xB6"},   {"っゐ", "xtu"},        {"っＡ", "xtuA"},   {"んっな", "nnnna"},
  });
}

TEST(RomajiRulesTest, SpellsEverySymbolAsItsKey) {
  ExpectDefaultForms({
      {"！", "!"}, {"”", "\""}, {"＃", "#"}, {"＄", "$"}, {"％", "%"}, {"＆", "&"}, {"’", "'"},
      {"（", "("}, {"）", ")"}, {"ー", "-"}, {"＝", "="}, {"＾", "^"}, {"～", "~"}, {"＠", "@"},
      {"「", "["}, {"」", "]"}, {"｛", "{"}, {"｝", "}"}, {"：", ":"}, {"＊", "*"}, {"；", ";"},
      {"＋", "+"}, {"＜", "<"}, {"＞", ">"}, {"、", ","}, {"。", "."}, {"？", "?"}, {"・", "/"},
      {"＿", "_"}, {"￥", "\\"}, {"　", " "}, {"ん", "nn"},
  });
}

TEST(RomajiRulesTest, OtherCharactersGiveTheirOneByteFormOrNothing) {
  ExpectDefaultForms({
      {"Ａ", "A"},  {"ｚ", "z"},  {"１", "1"},      {"０９", "09"},   {"＼", "\\"}, {"｜", "|"},
      {"ア", "\xB1"}, {"ヲ", "\xA6"}, {"ッ", "\xAF"}, {"ガ", ""},     {"ヴ", ""},   {"漢字", ""},
      {"ゐゑ", ""},  {"×", ""},   {"あ漢い", "ai"},
      // ＇ and ＂ exist twice (IBM 0xFA56/0xFA57 and NEC's copies 0xEEFB/0xEEFC):
      // both codes are the same character.
      {"\xFA\x56\xEE\xFB", "''"}, {"\xFA\x57\xEE\xFC", "\"\""},
  });
}

TEST(RomajiRulesTest, CopiesSingleBytesUnchanged) {
  ExpectDefaultForms({
      {"abcXYZ", "abcXYZ"}, {"0 9!?~", "0 9!?~"}, {"\xB1\xDE", "\xB1\xDE"}, {"aしb", "ashib"},
      {"ＡBC", "ABC"},      {"", ""},
  });
}

TEST(RomajiRulesTest, MakesKatakana) {
  const Row rows[] = {
      {"ひらがな", "ヒラガナ"}, {"ぁゃっゎん", "ァャッヮン"}, {"ゐゑを", "ヰヱヲ"}, {"ゝゞ", "ヽヾ"},
      {"ぱーてぃー", "パーティー"}, {"カナ漢字abc！", "カナ漢字abc！"}, {"", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(MakeKatakana(row.reading), row.romaji) << Show(row.reading);
  EXPECT_EQ(MakeKatakana(std::string("あ\x82", 3)), std::string("ア\x82", 3)) << "lone lead byte kept";
  EXPECT_EQ(MakeKatakana(std::string("あ\0い", 5)), "ア") << "a zero byte ends the reading";
}

std::string Repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(RomajiRulesTest, KeepsOnlyWholeUnitsThatFitIn253Bytes) {
  // ゃ is three letters, so 84 of them make 252 bytes.
  struct LimitRow {
    std::string reading;
    std::string romaji;
  } rows[] = {
      {Repeat("ゃ", 84), Repeat("xya", 84)},
      {"a" + Repeat("ゃ", 84), "a" + Repeat("xya", 84)},  // exactly 253
      {"ab" + Repeat("ゃ", 84), "ab" + Repeat("xya", 83)},
      {"ab" + Repeat("ゃ", 84) + "c", "ab" + Repeat("xya", 83)},  // stops, though "c" would fit
      {"a" + Repeat("ゃ", 83) + "っか", "a" + Repeat("xya", 83) + "kka"},
      {"ab" + Repeat("ゃ", 83) + "っか", "ab" + Repeat("xya", 83)},  // never half of "kka"
      {Repeat("ぁ", 126), Repeat("xa", 126)},
      {Repeat("a", 300), Repeat("a", 253)},
  };
  for (const LimitRow& row : rows) {
    EXPECT_EQ(MakeRomaji(row.reading, SP()), row.romaji) << "reading of " << row.reading.size() << " bytes";
  }
  char buffer[kRomajiBufferBytes];
  char* end = WriteRomaji(Repeat("ゃ", 85), SP(), buffer);
  EXPECT_EQ(std::string(buffer, end), Repeat("xya", 84)) << "written into a caller's buffer";
}

TEST(RomajiRulesTest, NeverReadsPastTheEndOfTheReading) {
  // The byte after each view would complete a kana or a combination if read.
  const std::string shiSmallYa = "しゃ";
  const std::string smallTsuKa = "っか";
  EXPECT_EQ(MakeRomaji(std::string_view(shiSmallYa.data(), 3), SP()), "shi");
  EXPECT_EQ(MakeRomaji(std::string_view(smallTsuKa.data(), 3), SP()), "xtu");
  EXPECT_EQ(MakeRomaji(std::string_view(smallTsuKa.data(), 1), SP()), "");
  EXPECT_EQ(MakeRomaji(std::string_view(shiSmallYa.data(), 2), SP()), "shi");
  EXPECT_EQ(MakeRomaji(std::string("ab\x82", 3), SP()), "ab") << "lone lead byte contributes nothing";
  EXPECT_EQ(MakeRomaji(std::string("し\0ゃ", 5), SP()), "shi") << "a zero byte ends the reading";
  EXPECT_EQ(MakeRomaji(std::string("\x82\0a", 3), SP()), "");
}

TEST(RomajiRulesTest, AppendKanaRomajiReturnsTheLastCharacterOfTheUnit) {
  struct UnitRow {
    const char* reading;
    std::size_t pos;
    const char* appended;
    std::size_t last;
  } rows[] = {
      {"しゃ", 0, "sha", 2}, {"しあ", 0, "shi", 0}, {"っか", 0, "kka", 2}, {"っきゃ", 0, "kkya", 4},
      {"っうぃ", 0, "wi", 4}, {"っん", 0, "xtu", 0}, {"っ", 0, "xtu", 0},  {"aしゃb", 1, "sha", 3},
      {"ん", 0, "nn", 0},     {"漢", 0, "", 0},     {"ゃ", 0, "xya", 0},
  };
  for (const UnitRow& row : rows) {
    std::string romaji = "=";
    EXPECT_EQ(AppendKanaRomaji(row.reading, row.pos, romaji, SP()), row.last) << Show(row.reading);
    EXPECT_EQ(romaji, std::string("=") + row.appended) << Show(row.reading);
  }
}

}  // namespace
}  // namespace kanaflow
