#include "typing/weak_keys.h"

#include <gtest/gtest.h>

namespace kanaflow {
namespace {

RunRecord BasicRun(std::vector<KeyFigures> keys) {
  RunRecord run;
  run.keys = std::move(keys);
  return run;
}

TEST(WeakKeysTest, MissRateAndSlownessChooseTheKeysAndTheLastRunWeighsMost) {
  const RunRecord run =
      BasicRun({{'A', 20, 0, 4000}, {'K', 10, 4, 3000}, {'T', 10, 0, 5000}, {'O', 10, 0, 2000}, {'-', 10, 2, 2000}});
  EXPECT_EQ(KeysText(WeakKeys({run})), "K T -");
  // The same figures, A's bad in the earlier run and B's in the later one.
  const RunRecord aBad = BasicRun({{'A', 10, 5, 3000}, {'B', 10, 0, 2000}});
  const RunRecord bBad = BasicRun({{'A', 10, 0, 2000}, {'B', 10, 5, 3000}});
  EXPECT_EQ(WeakKeys({aBad, bBad}, 1), std::vector<char>{'B'});
  RunRecord editBoxRun = aBad;
  editBoxRun.mode = 1;
  EXPECT_TRUE(WeakKeys({editBoxRun}).empty()) << "only basic runs are judged";
}

TEST(WeakKeysTest, DrillTakesEachQuestionOnceByHowMuchItUsesTheKeys) {
  const std::vector<Question> library = {
      {"田", "た", "ta", ""},         {"切手", "きって", "kitte", ""}, {"愛上", "あいうえお", "aiueo", ""},
      {"珈琲", "こーひー", "ko-hi-", ""}, {"切手", "きって", "kitte", ""}, {"時計", "とけい", "tokei", ""},
  };
  const std::vector<char> keys = {'K', 'T', '-'};
  std::vector<std::string> chosen;
  for (const Question& question : ChooseDrillQuestions(library, keys)) chosen.push_back(question.romaji);
  EXPECT_EQ(chosen, (std::vector<std::string>{"kitte", "ko-hi-", "tokei", "ta"}));
  EXPECT_EQ(ChooseDrillQuestions(library, keys, 2).size(), 2u);
  for (const std::string& romaji : chosen) {
    bool usesAKey = false;
    for (const char c : romaji) usesAKey |= KeyOfRomaji(c) == 'K' || KeyOfRomaji(c) == 'T' || c == '-';
    EXPECT_TRUE(usesAKey) << romaji;
  }
}

}  // namespace
}  // namespace kanaflow
