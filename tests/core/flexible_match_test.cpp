#include "romaji/flexible_match.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "romaji/flexible_spellings.h"
#include "romaji/romaji_rules.h"

namespace kanaflow {
namespace {

// A fresh match of `reading` with the default preferences (shi, chi, tsu,
// fu, ji, jya, cha, small kana with x).
FlexibleMatch Started(const std::string& reading) {
  FlexibleMatch match;
  match.Start(reading, MakeRomaji(reading, SpellingPreferences()), SpellingPreferences());
  return match;
}

// How many bytes of `keys` are accepted in a row from the start.
std::size_t AcceptedPrefix(FlexibleMatch& match, const std::string& keys) {
  std::size_t n = 0;
  while (n < keys.size() && match.Accept(keys[n])) ++n;
  return n;
}

struct Case {
  const char* reading;
  std::vector<std::string> accepted;  // each completes the reading
  std::vector<std::string> misses;    // all but the last byte accepted, the last a miss
};

const Case kCases[] = {
    {"し", {"shi", "si"}, {"sa", "shy", "sy"}},
    {"ち", {"chi", "ti"}, {"ci", "cy", "ts"}},
    {"つ", {"tsu", "tu"}, {"tsa", "c"}},
    {"ふ", {"fu", "hu"}, {"fa", "hi"}},
    {"じゃ", {"jya", "ja", "zya", "jixya", "zilya"}, {"za", "jyu", "jixyu"}},
    {"ちょ", {"cho", "tyo", "chixyo", "tilyo"}, {"cha", "tyu"}},
    {"ぁ", {"xa", "la"}, {"a", "xi"}},
    {"ゃ", {"xya", "lya"}, {"y"}},
    {"っか", {"kka", "ltuka", "xtuka", "ltsuka", "xtsuka"}, {"ka", "kkk", "ltsk"}},
    {"っし", {"sshi", "ssi", "xtushi", "ltsusi"}, {"si", "sh"}},
    {"っち", {"cchi", "tchi", "tti", "ltuchi"}, {"tci", "ch"}},
    {"っじゃ", {"jjya", "jja", "zzya", "jjixya", "xtsuja", "ltujixya"}, {"ja", "jz"}},
    {"っあ", {"a", "ltua", "xtsua"}, {"aa", "ltuk"}},
    {"あっ", {"axtu", "altu", "axtsu", "altsu"}, {"aa", "ak", "axa"}},
    {"っ！", {"xtu!", "ltsu!"}, {"!"}},
    {"んあ", {"nna", "n'a", "xna"}, {"na", "ma"}},
    {"んうぃ", {"nwi", "nnwi", "nnuxi"}, {"nu", "mw"}},
    {"んぱ", {"npa", "mpa"}, {"mm"}},
    {"しぇ", {"shixe", "cile"}, {"sha", "sa"}},
    {"っちぇ", {"cche", "tche", "ttye", "xtuche", "ttixe"}, {"ch", "tcha"}},
    {"うぉ", {"who", "uxo"}, {"wo"}},
    {"んや", {"nnya"}, {"ny"}},
    {"んな", {"nnna"}, {"nna"}},
    {"んか", {"nnka", "nka"}, {"nx"}},
    {"かん", {"kann"}, {"kana"}},
    {"しんぶん", {"shinbunn", "sinnbunn", "shinnbunn"}, {"shinbun!"}},
    {"a1", {"a1"}, {"A"}},
};

TEST(FlexibleMatchTest, EveryUsualSpellingOfEachUnitIsAcceptedAndNothingElse) {
  for (const Case& c : kCases) {
    for (const std::string& keys : c.accepted) {
      FlexibleMatch match = Started(c.reading);
      EXPECT_EQ(AcceptedPrefix(match, keys), keys.size()) << keys;
      EXPECT_TRUE(match.Done()) << keys;
      EXPECT_EQ(match.Shown(), keys) << keys;
    }
    for (const std::string& keys : c.misses) {
      FlexibleMatch match = Started(c.reading);
      EXPECT_EQ(AcceptedPrefix(match, keys), keys.size() - 1) << keys;
    }
  }
}

// Mozc's romaji table (src/data/preedit/romanji-hiragana.tsv) as published,
// romaji:kana, with its doubled consonants for っ and the rows uim adds (tc
// for っ before ch, m for ん before b and p, fyi, fye); left out are the kana
// and symbols the kana tables do not know (ゔ, ゐ, ゑ, ヵ, arrows).
constexpr const char* kInputMethodTable =
    "- ー ~ ～ . 。 , 、 z/ ・ z- ～ [ 「 ] 」 kya きゃ kyi きぃ kyu きゅ kye きぇ kyo きょ gya ぎゃ gyi ぎぃ "
    "gyu ぎゅ gye ぎぇ gyo ぎょ sya しゃ syi しぃ syu しゅ sye しぇ syo しょ sha しゃ shi し shu しゅ she しぇ "
    "sho しょ zya じゃ zyi じぃ zyu じゅ zye じぇ zyo じょ tya ちゃ tyi ちぃ tyu ちゅ tye ちぇ tyo ちょ cha ちゃ "
    "chi ち chu ちゅ che ちぇ cho ちょ cya ちゃ cyi ちぃ cyu ちゅ cye ちぇ cyo ちょ dya ぢゃ dyi ぢぃ dyu ぢゅ "
    "dye ぢぇ dyo ぢょ tsa つぁ tsi つぃ tse つぇ tso つぉ tha てゃ thi てぃ t'i てぃ thu てゅ the てぇ tho てょ "
    "t'yu てゅ dha でゃ dhi でぃ d'i でぃ dhu でゅ dhe でぇ dho でょ d'yu でゅ twa とぁ twi とぃ twu とぅ twe とぇ "
    "two とぉ t'u とぅ dwa どぁ dwi どぃ dwu どぅ dwe どぇ dwo どぉ d'u どぅ nya にゃ nyi にぃ nyu にゅ nye にぇ "
    "nyo にょ hya ひゃ hyi ひぃ hyu ひゅ hye ひぇ hyo ひょ bya びゃ byi びぃ byu びゅ bye びぇ byo びょ pya ぴゃ "
    "pyi ぴぃ pyu ぴゅ pye ぴぇ pyo ぴょ fa ふぁ fi ふぃ fu ふ fe ふぇ fo ふぉ fya ふゃ fyu ふゅ fyo ふょ hwa ふぁ "
    "hwi ふぃ hwe ふぇ hwo ふぉ hwyu ふゅ mya みゃ myi みぃ myu みゅ mye みぇ myo みょ rya りゃ ryi りぃ ryu りゅ "
    "rye りぇ ryo りょ n' ん nn ん n ん xn ん a あ i い u う wu う e え o お xa ぁ xi ぃ xu ぅ xe ぇ xo ぉ la ぁ li ぃ "
    "lu ぅ le ぇ lo ぉ lyi ぃ xyi ぃ lye ぇ xye ぇ ye いぇ ka か ki き ku く ke け ko こ ga が gi ぎ gu ぐ ge げ "
    "go ご sa さ si し su す se せ so そ ca か ci し cu く ce せ co こ qa くぁ qi くぃ qu く qe くぇ qo くぉ "
    "kwa くぁ kwi くぃ kwe くぇ kwo くぉ gwa ぐぁ za ざ zi じ zu ず ze ぜ zo ぞ ja じゃ ji じ ju じゅ je じぇ "
    "jo じょ jya じゃ jyi じぃ jyu じゅ jye じぇ jyo じょ ta た ti ち tu つ tsu つ te て to と da だ di ぢ du づ "
    "de で do ど xtu っ xtsu っ ltu っ ltsu っ na な ni に nu ぬ ne ね no の ha は hi ひ hu ふ he へ ho ほ "
    "ba ば bi び bu ぶ be べ bo ぼ pa ぱ pi ぴ pu ぷ pe ぺ po ぽ ma ま mi み mu む me め mo も xya ゃ lya ゃ "
    "ya や xyu ゅ lyu ゅ yu ゆ xyo ょ lyo ょ yo よ ra ら ri り ru る re れ ro ろ xwa ゎ lwa ゎ wa わ wi うぃ "
    "we うぇ wo を wha うぁ whi うぃ whu う whe うぇ who うぉ wwa っわ wwi っうぃ wwu っう wwe っうぇ "
    "wwo っを wwha っうぁ wwho っうぉ qqa っくぁ cca っか kkyi っきぃ ggwa っぐぁ sshe っしぇ "
    "zzyi っじぃ jje っじぇ ttsa っつぁ ddhu っでゅ hhye っひぇ ffo っふぉ bbye っびぇ ppyi っぴぃ mmye っみぇ "
    "yye っいぇ rrye っりぇ tchi っち tcho っちょ tche っちぇ mba んば mpo んぽ fyi ふぃ fye ふぇ";

TEST(FlexibleMatchTest, EverySpellingOfTheInputMethodsIsAccepted) {
  std::istringstream table(kInputMethodTable);
  std::string romaji, kana;
  while (table >> romaji >> kana) {
    FlexibleMatch match = Started(kana + "か");  // a unit after it, so that ん may take one letter
    EXPECT_EQ(AcceptedPrefix(match, romaji + "ka"), romaji.size() + 2) << romaji;
    EXPECT_TRUE(match.Done()) << romaji;
  }
}

TEST(FlexibleMatchTest, TheShownRowFollowsWhatIsTyped) {
  FlexibleMatch match = Started("しっつん");
  EXPECT_EQ(match.Shown(), "shittsunn") << "the preferences' spellings before anything is typed";
  AcceptedPrefix(match, "si");
  EXPECT_EQ(match.Shown(), "sittsunn");
  AcceptedPrefix(match, "lt");
  EXPECT_EQ(match.Shown(), "siltutsunn") << "っ typed on its own: the kana after it in its preferred form";
  AcceptedPrefix(match, "utu");
  EXPECT_EQ(match.Shown(), "siltutunn");
  AcceptedPrefix(match, "n");
  EXPECT_EQ(match.Shown(), "siltutunn");
}

// The kana of the tables, and a few single bytes between them.
std::vector<std::string> Characters() {
  std::vector<std::string> characters;
  for (unsigned trail = 0x9F; trail <= 0xF1; ++trail) {
    characters.push_back({static_cast<char>(0x82), static_cast<char>(trail)});
  }
  characters.insert(characters.end(), {"-", "！", "、"});
  return characters;
}

TEST(FlexibleMatchTest, RandomSpellingsCompleteAndWrongBytesChangeNothing) {
  const std::vector<std::string> characters = Characters();
  std::mt19937 random(12);
  const std::string wrong = "QVZ0189?@";  // in no spelling of these characters
  for (int run = 0; run < 3000; ++run) {
    std::string reading;
    const int length = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < length; ++i) reading += characters[random() % characters.size()];

    FlexibleSpellings spellings;
    spellings.Build(reading, SpellingPreferences());
    std::string keys;
    for (std::size_t unit = 0; unit < spellings.unitCount(); ++unit) {
      ASSERT_LT(spellings.spellingCount(unit), kMaxUnitSpellings) << reading << ": a full unit may have lost some";
      std::vector<std::size_t> allowed;  // a single n for ん is tried by the table above
      for (std::size_t s = 0; s < spellings.spellingCount(unit); ++s) {
        if ((spellings.InitialMask(unit) & ~spellings.GuardedMask(unit)).Has(s)) allowed.push_back(s);
      }
      keys += spellings.Spelling(unit, allowed[random() % allowed.size()]);
    }

    FlexibleMatch match = Started(reading);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const std::string shown(match.Shown());
      const char bad = wrong[random() % wrong.size()];
      ASSERT_FALSE(match.Accept(bad)) << reading << " " << keys << " at " << i;
      ASSERT_EQ(match.Shown(), shown);
      ASSERT_EQ(match.typedLength(), i);
      ASSERT_EQ(match.Shown().substr(0, i), keys.substr(0, i));
      ASSERT_TRUE(match.Accept(keys[i])) << reading << " " << keys << " at " << i;
    }
    EXPECT_TRUE(match.Done()) << reading << " " << keys;
  }
}

}  // namespace
}  // namespace kanaflow
