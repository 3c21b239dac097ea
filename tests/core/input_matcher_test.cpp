#include "typing/input_matcher.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "draw/virtual_keyboard.h"
#include "questions/question_set.h"
#include "settings/software_setting_data.h"
#include "support/temp_folder.h"

namespace kanaflow {
namespace {

using testing::ScopedCurrentDirectory;
using testing::TempFolder;

// Key indices of the JIS layout.
constexpr int kKeyU = 22, kKeyI = 23, kKeyA = 29, kKeyS = 30, kKeyH = 34, kKeyK = 36, kKeyN = 47;

// Writes down every effect as a word, in order.
class RecordedEffects : public PracticeEffects {
 public:
  void PlayTypeSound() override { Note("type"); }
  void PlayMissSound() override { Note("miss"); }
  void ShakeWindow() override { Note("shake"); }
  void FinishRun() override { Note("finish"); }
  void Repaint() override { Note("repaint"); }
  void ClearEditBox() override { Note("clear"); }

  // The effects since the last call, such as "miss shake repaint".
  std::string Take() { return std::exchange(log_, std::string()); }

 private:
  void Note(const char* word) { log_ += (log_.empty() ? "" : " ") + std::string(word); }
  std::string log_;
};

class MatcherTest : public ::testing::Test {
 protected:
  MatcherTest() : inside_(folder_.path()) {}

  // A fresh set of `count` questions from `pairs` (text and reading lines),
  // with a fresh keyboard and effects for it.
  void Load(const std::string& pairs, int count, bool random = false, bool katakana = false) {
    folder_.Write("data/a.ini", "[TypingQuesitonSetup]\nQuestionNumber=" + std::to_string(count) +
                                    "\nQuestionFileName=#q.txt\nRandomQuestionSet=" + (random ? "1" : "0") +
                                    "\nKatakanaMode=" + (katakana ? "1" : "0") + "\n");
    folder_.Write("data/q.txt", pairs);
    set_ = std::make_unique<CQuestionSet>("./data/a.ini");
    set_->LoadQuestions(SpellingPreferences());
    keyboard_ = std::make_unique<CVirtualKeyboard>(KeyboardColours{}, 16, 14, 40);
    effects_ = RecordedEffects();
  }

  CKeyboardMatcher MakeKeyboardMatcher() {
    return CKeyboardMatcher(*set_, *keyboard_, settings_, effects_, [this] { return now_; });
  }
  CEditBoxMatcher MakeEditMatcher(PracticeMode mode) {
    return CEditBoxMatcher(*set_, mode, settings_, effects_, [this] { return now_; });
  }

  std::set<int> MarkedKeys() const {
    std::set<int> marked;
    for (int i = 0; i < CVirtualKeyboard::kKeyCount; ++i) {
      if (keyboard_->key(i).marked()) marked.insert(i);
    }
    return marked;
  }

  TempFolder folder_;
  ScopedCurrentDirectory inside_;
  std::unique_ptr<CQuestionSet> set_;
  std::unique_ptr<CVirtualKeyboard> keyboard_;
  RecordedEffects effects_;
  SoftwareSettings settings_;
  std::uint32_t now_ = 0;
};

// ---------------------------------------------------------------- keyboard screen

TEST_F(MatcherTest, WholeBasicRun) {
  Load("詩\nし\n蚊\nか\n", 2);
  CKeyboardMatcher matcher = MakeKeyboardMatcher();
  now_ = 1000;
  matcher.StartTyping();
  EXPECT_EQ(matcher.lastKeyTime(), 1000u);
  EXPECT_EQ(MarkedKeys(), std::set<int>{kKeyS}) << "the first key of shi";

  struct Step {
    const char* label;
    std::uint32_t at;
    char key;
    MatchResult result;
    const char* effects;
    int points, lastChange, romajiPos, missesOnKey, marked;
  } steps[] = {
      {"x for s", 1000, 'x', MatchResult::Miss, "miss shake repaint", -100, -100, 0, 1, kKeyS},
      {"a for s", 1000, 'a', MatchResult::Miss, "miss shake repaint", -200, -100, 0, 2, kKeyS},
      {"s after 250 ms", 1250, 's', MatchResult::Right, "type repaint", -160, 40, 1, 0, kKeyH},
      {"h after 20000 ms", 21250, 'h', MatchResult::Right, "type repaint", -160, 0, 2, 0, kKeyI},
      {"i completes shi: 40 and 5 x 3", 21500, 'i', MatchResult::Right, "type repaint", -105, 15, 0, 0, kKeyK},
      {"k", 21750, 'k', MatchResult::Right, "type repaint", -65, 40, 1, 0, kKeyA},
      {"a ends the run: 40 and 5 x 2", 22000, 'a', MatchResult::RunFinished, "finish", -15, 10, 0, 0, kKeyA},
      {"a key after the end", 23000, 'x', MatchResult::Ignored, "", -15, 10, 0, 0, kKeyA},
  };
  for (const Step& step : steps) {
    now_ = step.at;
    EXPECT_EQ(matcher.MatchTypedChar(static_cast<unsigned char>(step.key)), step.result) << step.label;
    EXPECT_EQ(effects_.Take(), step.effects) << step.label;
    EXPECT_EQ(matcher.points().points(), step.points) << step.label;
    EXPECT_EQ(matcher.points().lastChange(), step.lastChange) << step.label;
    EXPECT_EQ(matcher.romajiPos(), step.romajiPos) << step.label;
    EXPECT_EQ(matcher.missesOnKey(), step.missesOnKey) << step.label;
    EXPECT_EQ(MarkedKeys(), std::set<int>{step.marked}) << step.label;
  }
  EXPECT_EQ(matcher.counters().questionsDone, 2);
  EXPECT_EQ(matcher.counters().typedKeys, 5);
  EXPECT_EQ(matcher.counters().missCount, 2);
  EXPECT_TRUE(matcher.finished());

  struct KeyRow {
    const char* label;
    int key, strokes, misses;
    std::uint32_t ms;
  } keys[] = {
      {"S, after two misses", kKeyS, 1, 2, 250},
      {"H", kKeyH, 1, 0, 20000},
      {"I", kKeyI, 1, 0, 250},
      {"K", kKeyK, 1, 0, 250},
      {"A, pressed by mistake for s: not charged", kKeyA, 1, 0, 250},
  };
  for (const KeyRow& row : keys) {
    EXPECT_EQ(keyboard_->key(row.key).strokeCount(), row.strokes) << row.label;
    EXPECT_EQ(keyboard_->key(row.key).keyMisses(), row.misses) << row.label;
    EXPECT_EQ(keyboard_->key(row.key).keyTimeTotal(), row.ms) << row.label;
  }
}

TEST_F(MatcherTest, KeysAreMatchedByteForByte) {
  struct Row {
    const char* label;
    const char* reading;
    std::vector<unsigned> codes;
    MatchResult last;
    int romajiPos, missCount, questionsDone;
  } rows[] = {
      {"shi typed s h i", "し", {'s', 'h', 'i'}, MatchResult::RunFinished, 0, 0, 1},
      {"shi typed s i: i is a miss", "し", {'s', 'i'}, MatchResult::Miss, 1, 1, 0},
      {"shi typed s i h: h still accepted", "し", {'s', 'i', 'h'}, MatchResult::Right, 2, 1, 0},
      {"S for s", "し", {'S'}, MatchResult::Miss, 0, 1, 0},
      {"Escape is never a miss", "し", {27}, MatchResult::Ignored, 0, 0, 0},
      {"a code above a byte is no byte, whatever its low byte", "し", {0x173}, MatchResult::Miss, 0, 1, 0},
      {"a code whose low byte is 27 is no Escape", "し", {0x11B}, MatchResult::Miss, 0, 1, 0},
      {"Backspace is a miss", "し", {'s', 8}, MatchResult::Miss, 1, 1, 0},
      {"ん after one n", "ん", {'n'}, MatchResult::Right, 1, 0, 0},
      {"ん: a after one n", "ん", {'n', 'a'}, MatchResult::Miss, 1, 1, 0},
      {"ん typed nn", "ん", {'n', 'a', 'n'}, MatchResult::RunFinished, 0, 1, 1},
  };
  for (const Row& row : rows) {
    Load(std::string("問\n") + row.reading + "\n", 1);
    CKeyboardMatcher matcher = MakeKeyboardMatcher();
    matcher.StartTyping();
    MatchResult last = MatchResult::Ignored;
    for (unsigned code : row.codes) last = matcher.MatchTypedChar(code);
    EXPECT_EQ(last, row.last) << row.label;
    EXPECT_EQ(matcher.romajiPos(), row.romajiPos) << row.label;
    EXPECT_EQ(matcher.counters().missCount, row.missCount) << row.label;
    EXPECT_EQ(matcher.counters().questionsDone, row.questionsDone) << row.label;
  }
}

TEST_F(MatcherTest, NothingCountsBeforeTypingStarts) {
  Load("詩\nし\n", 1);
  CKeyboardMatcher matcher = MakeKeyboardMatcher();
  EXPECT_EQ(matcher.MatchTypedChar('x'), MatchResult::Ignored);
  EXPECT_EQ(matcher.MatchTypedChar('s'), MatchResult::Ignored);
  EXPECT_EQ(effects_.Take(), "");
  EXPECT_EQ(matcher.counters().missCount, 0);
  EXPECT_EQ(matcher.romajiPos(), 0);
  EXPECT_TRUE(MarkedKeys().empty()) << "no key is marked during the countdown";
}

TEST_F(MatcherTest, AnEmptyRomajiCanNeverBeCompleted) {
  Load("漢字\n漢字\n", 1);  // kanji have no spelling: nothing to type
  CKeyboardMatcher matcher = MakeKeyboardMatcher();
  ASSERT_TRUE(matcher.Romaji().empty());
  matcher.StartTyping();
  EXPECT_TRUE(MarkedKeys().empty());
  for (unsigned code : {0u, unsigned{'a'}, unsigned{' '}, 13u, 0x100u}) {
    EXPECT_EQ(matcher.MatchTypedChar(code), MatchResult::Miss) << code;
  }
  EXPECT_EQ(matcher.counters().missCount, 5);
  EXPECT_EQ(matcher.romajiPos(), 0);
  EXPECT_EQ(matcher.TypedRomaji(), "");
  EXPECT_FALSE(matcher.finished());
}

TEST_F(MatcherTest, TheNextKeyMarkFollowsTheSetting) {
  struct Row {
    bool show;
    std::set<int> atStart, afterS;
  } rows[] = {{true, {kKeyS}, {kKeyH}}, {false, {}, {}}};
  for (const Row& row : rows) {
    Load("詩\nし\n", 1);
    settings_.showNextTypeKey = row.show;
    CKeyboardMatcher matcher = MakeKeyboardMatcher();
    keyboard_->HighlightNextKey("a");  // a stale mark that must not stay
    matcher.StartTyping();
    EXPECT_EQ(MarkedKeys(), row.atStart) << "ShowNextTypeKey " << row.show;
    (void)matcher.MatchTypedChar('s');
    EXPECT_EQ(MarkedKeys(), row.afterS) << "ShowNextTypeKey " << row.show;
  }
}

TEST_F(MatcherTest, FlexibleInputFollowsTheUsersSpelling) {
  Load("新聞\nしんぶん\n蚊\nか\n", 2);
  settings_.flexibleInput = true;
  CKeyboardMatcher matcher = MakeKeyboardMatcher();
  matcher.StartTyping();
  EXPECT_EQ(matcher.Romaji(), "shinnbunn") << "the preferred spellings before anything is typed";
  const auto type = [&](const std::string& keys) {
    for (char key : keys) EXPECT_EQ(matcher.MatchTypedChar(static_cast<unsigned char>(key)), MatchResult::Right) << key;
  };
  type("sinb");
  EXPECT_EQ(matcher.Romaji(), "sinbunn");
  EXPECT_EQ(matcher.TypedRomaji(), "sinb");
  EXPECT_EQ(MarkedKeys(), std::set<int>{kKeyU}) << "the next key of the shown row";
  EXPECT_EQ(matcher.MatchTypedChar('x'), MatchResult::Miss);
  EXPECT_EQ(matcher.romajiPos(), 4) << "a miss changes nothing of what is typed";
  type("un");
  EXPECT_EQ(matcher.MatchTypedChar('k'), MatchResult::Miss) << "a single n is not enough at the end";
  EXPECT_EQ(matcher.MatchTypedChar('n'), MatchResult::Right);
  EXPECT_EQ(matcher.counters().questionsDone, 1);
  EXPECT_EQ(matcher.points().lastChange(), 5 * 7) << "the bonus counts the seven keys typed";
  EXPECT_EQ(matcher.Romaji(), "ka");
  EXPECT_EQ(keyboard_->key(kKeyI).strokeCount(), 1) << "a right key is charged to the key typed";
  EXPECT_EQ(keyboard_->key(kKeyH).strokeCount(), 0);
}

TEST_F(MatcherTest, QuestionOrder) {
  const std::string five = "a\nあ\nb\nい\nc\nう\nd\nえ\ne\nお\n";
  struct Row {
    const char* label;
    std::string pairs;
    int count;
    bool random;
    std::uint32_t clockStart;
  } rows[] = {
      {"one question, random", "a\nあ\n", 1, true, 5},
      {"two questions, random", "a\nあ\nb\nい\n", 2, true, 0},
      {"two questions, random, other clock", "a\nあ\nb\nい\n", 2, true, 987654},
      {"five questions, random", five, 5, true, 0},
      {"five questions, random, other clock", five, 5, true, 123456},
      {"five questions, random, clock near its wrap", five, 5, true, 0xFFFFFFF0u},
      {"five questions, file order", five, 5, false, 77},
  };
  for (const Row& row : rows) {
    Load(row.pairs, row.count, row.random);
    now_ = row.clockStart;
    CKeyboardMatcher matcher = MakeKeyboardMatcher();
    matcher.StartTyping();
    std::vector<int> asked{matcher.counters().currentQuestion};
    while (!matcher.finished()) {
      now_ += 137;
      const std::string romaji(matcher.Romaji());
      for (char key : romaji) (void)matcher.MatchTypedChar(static_cast<unsigned char>(key));
      if (!matcher.finished()) asked.push_back(matcher.counters().currentQuestion);
    }
    if (row.random && row.count <= 2) {
      EXPECT_EQ(asked, (row.count == 1 ? std::vector<int>{0} : std::vector<int>{0, 1})) << row.label;
    } else if (row.random) {
      EXPECT_EQ(std::set<int>(asked.begin(), asked.end()), (std::set<int>{0, 1, 2, 3, 4})) << row.label;
      EXPECT_EQ(asked.size(), 5u) << row.label;
    } else {
      EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4})) << row.label;
    }
  }
}

TEST_F(MatcherTest, DisableWindowVibrationKeepsTheWindowStill) {
  struct Row {
    bool disable;
    const char* keyboardMiss;
    const char* editMiss;
  } rows[] = {{false, "miss shake repaint", "miss shake repaint"}, {true, "miss repaint", "miss repaint"}};
  for (const Row& row : rows) {
    Load("朝\nあさ\n", 1);
    settings_.disableWindowVibration = row.disable;
    CKeyboardMatcher keys = MakeKeyboardMatcher();
    keys.StartTyping();
    (void)keys.MatchTypedChar('x');
    EXPECT_EQ(effects_.Take(), row.keyboardMiss) << "keyboard, disabled " << row.disable;
    CEditBoxMatcher edit = MakeEditMatcher(PracticeMode::Hiragana);
    (void)edit.MatchEditText("い");
    EXPECT_EQ(effects_.Take(), row.editMiss) << "edit text, disabled " << row.disable;
    (void)edit.MatchAnswer("");
    EXPECT_EQ(effects_.Take(), row.editMiss) << "early Enter, disabled " << row.disable;
  }
}

// ---------------------------------------------------------------- edit-box screen

TEST_F(MatcherTest, EditBoxRun) {
  Load("朝\nあさ\n海\nうみ\n", 2);
  CEditBoxMatcher matcher = MakeEditMatcher(PracticeMode::Hiragana);
  enum Call { Edit, Enter };
  struct Step {
    const char* label;
    Call call;
    const char* text;
    MatchResult result;
    const char* effects;
    int acceptedLen, typedKeys, missCount, questionsDone, points, lastChange;
    const char* accepted;
  } steps[] = {
      {"commit あ", Edit, "あ", MatchResult::Right, "repaint", 2, 2, 0, 0, 40, 40, "あ"},
      {"the same text again", Edit, "あ", MatchResult::Ignored, "", 2, 2, 0, 0, 40, 40, "あ"},
      {"い instead of さ", Edit, "あい", MatchResult::Miss, "miss shake repaint", 2, 2, 1, 0, -60, -100, "あ"},
      {"delete い", Edit, "あ", MatchResult::Ignored, "", 2, 2, 1, 0, -60, -100, "あ"},
      {"commit さ", Edit, "あさ", MatchResult::Right, "repaint", 4, 4, 1, 0, -20, 40, "あさ"},
      {"delete さ: nothing given back", Edit, "あ", MatchResult::Ignored, "", 4, 4, 1, 0, -20, 40, "あさ"},
      {"Enter with the whole target", Enter, "あさ", MatchResult::Right, "clear repaint", 0, 4, 1, 1, -20, 40, ""},
      {"Enter with a right but short text", Enter, "う", MatchResult::Miss, "miss shake repaint", 0, 4, 2, 1, -120, -100,
       ""},
      {"delete everything", Edit, "", MatchResult::Ignored, "", 0, 4, 2, 1, -120, -100, ""},
      {"うみ in one commit", Edit, "うみ", MatchResult::Right, "repaint", 4, 8, 2, 1, 40, 160, "うみ"},
      {"longer than the target", Edit, "うみa", MatchResult::Miss, "miss shake repaint", 4, 8, 3, 1, -60, -100, "うみ"},
      {"Enter ends the run", Enter, "うみ", MatchResult::RunFinished, "clear finish repaint", 0, 8, 3, 2, -60,
       -100, ""},
      {"text after the end", Edit, "x", MatchResult::Ignored, "", 0, 8, 3, 2, -60, -100, ""},
      {"Enter after the end", Enter, "x", MatchResult::Ignored, "", 0, 8, 3, 2, -60, -100, ""},
  };
  for (const Step& step : steps) {
    const MatchResult result = step.call == Edit ? matcher.MatchEditText(step.text) : matcher.MatchAnswer(step.text);
    EXPECT_EQ(result, step.result) << step.label;
    EXPECT_EQ(effects_.Take(), step.effects) << step.label;
    EXPECT_EQ(matcher.acceptedLen(), step.acceptedLen) << step.label;
    EXPECT_EQ(matcher.counters().typedKeys, step.typedKeys) << step.label;
    EXPECT_EQ(matcher.counters().missCount, step.missCount) << step.label;
    EXPECT_EQ(matcher.counters().questionsDone, step.questionsDone) << step.label;
    EXPECT_EQ(matcher.counters().currentQuestion, step.questionsDone < 2 ? step.questionsDone : 1) << step.label;
    EXPECT_EQ(matcher.points().points(), step.points) << step.label;
    EXPECT_EQ(matcher.points().lastChange(), step.lastChange) << step.label;
    EXPECT_EQ(matcher.AcceptedText(), step.accepted) << step.label;
  }
}

TEST_F(MatcherTest, EditBoxTargetByModeAndKatakanaMode) {
  struct Row {
    PracticeMode mode;
    bool katakana;
    const char* target;
    const char* rightStart;
    const char* wrongStart;
  } rows[] = {
      {PracticeMode::Hiragana, false, "あさ", "あ", "ア"},
      {PracticeMode::Hiragana, true, "アサ", "ア", "あ"},
      {PracticeMode::KanjiKana, false, "朝", "朝", "あ"},
      {PracticeMode::KanjiKana, true, "朝", "朝", "ア"},
      {PracticeMode::Basic, false, "朝", "朝", "あ"},  // every mode but hiragana writes the text
  };
  for (const Row& row : rows) {
    Load("朝\nあさ\n", 1, false, row.katakana);
    CEditBoxMatcher matcher = MakeEditMatcher(row.mode);
    const std::string label = "mode " + std::to_string(static_cast<int>(row.mode)) + ", katakana " + std::to_string(row.katakana);
    EXPECT_EQ(matcher.Target(), row.target) << label;
    EXPECT_EQ(matcher.MatchEditText(row.wrongStart), MatchResult::Miss) << label;
    EXPECT_EQ(matcher.MatchEditText(row.rightStart), MatchResult::Right) << label;
    EXPECT_EQ(matcher.MatchAnswer(row.target), MatchResult::RunFinished) << label;
  }
}

}  // namespace
}  // namespace kanaflow
