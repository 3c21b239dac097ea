#include "romaji/flexible_match.h"

#include <gtest/gtest.h>

#include <random>
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
    {"っち", {"cchi", "tti", "ltuchi"}, {"tc", "ch"}},
    {"っじゃ", {"jjya", "jja", "zzya", "jjixya", "xtsuja", "ltujixya"}, {"ja", "jz"}},
    {"っあ", {"a", "ltua", "xtsua"}, {"aa", "ltuk"}},
    {"あっ", {"axtu", "altu", "axtsu", "altsu"}, {"aa", "ak", "axa"}},
    {"っ！", {"xtu!", "ltsu!"}, {"!"}},
    {"んあ", {"nna"}, {"na"}},
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
      std::vector<std::size_t> allowed;
      for (std::size_t s = 0; s < spellings.spellingCount(unit); ++s) {
        if (spellings.InitialMask(unit) >> s & 1) allowed.push_back(s);
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
