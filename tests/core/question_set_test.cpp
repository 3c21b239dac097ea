#include "questions/question_set.h"

#include <gtest/gtest.h>

#include <set>

#include "questions/question_file.h"
#include "support/temp_folder.h"

namespace kanaflow {
namespace {

using testing::ExpectFatal;
using testing::ScopedCurrentDirectory;
using testing::TempFolder;

// The substitute reading spelled out with the default preferences.
constexpr char kSubstituteRomaji[] = "monndaibunngateigisareteimasenndeshita.";

class QuestionSetTest : public ::testing::Test {
 protected:
  QuestionSetTest() : inside_(folder_.path()) {}

  // A set in ./data with `count` questions read from ./data/q.txt.
  CQuestionSet Load(const std::string& count, const std::string& questionFile, bool random = false) {
    folder_.Write("data/a.ini", "[TypingQuesitonSetup]\r\nQuestionNumber=" + count +
                                    "\r\nQuestionFileName=#q.txt\r\nRandomQuestionSet=" + (random ? "1" : "0") +
                                    "\r\n");
    folder_.Write("data/q.txt", questionFile);
    CQuestionSet set("./data/a.ini");
    set.LoadQuestions(SpellingPreferences());
    return set;
  }

  TempFolder folder_;
  ScopedCurrentDirectory inside_;
};

// Editors that save "UTF-8 with BOM" put three bytes before the first line;
// the question reader passes over them as the ini reader does, so the first
// question does not show them as "･ｿ".
TEST_F(QuestionSetTest, AUtf8MarkBeforeTheFirstQuestionIsPassedOver) {
  const CQuestionSet set = Load("2", "\xEF\xBB\xBF犬\r\nいぬ\r\n猫\r\nねこ\r\n");
  EXPECT_EQ(set.GetQuestion(0).text, "犬");
  EXPECT_EQ(set.GetQuestion(0).reading, "いぬ");
}

TEST_F(QuestionSetTest, ShortFileGivesSubstituteQuestions) {
  const CQuestionSet set = Load("3", "犬\r\nいぬ\r\n猫\r\nねこ\r\n");
  ASSERT_EQ(set.questionCount(), 3);
  const Question dog = set.GetQuestion(0);
  EXPECT_EQ(dog.text, "犬");
  EXPECT_EQ(dog.reading, "いぬ");
  EXPECT_EQ(dog.romaji, "inu");
  EXPECT_EQ(dog.katakana, "イヌ");
  EXPECT_EQ(set.GetQuestion(1).romaji, "neko");
  const Question missing = set.GetQuestion(2);
  EXPECT_EQ(missing.text, "問題文が定義されていませんでした。");
  EXPECT_EQ(missing.reading, "");
  EXPECT_EQ(missing.katakana, "");
  EXPECT_EQ(missing.romaji, kSubstituteRomaji);
}

TEST_F(QuestionSetTest, AnEmptyLineOfAPairMakesTheSubstituteText) {
  const CQuestionSet set = Load("2", "犬\n\n\nいぬ\n");
  const Question noReading = set.GetQuestion(0);
  EXPECT_EQ(noReading.text, "問題文が定義されていませんでした。");
  EXPECT_EQ(noReading.reading, "");
  EXPECT_EQ(noReading.romaji, kSubstituteRomaji);
  const Question noText = set.GetQuestion(1);
  EXPECT_EQ(noText.text, "問題文が定義されていませんでした。");
  EXPECT_EQ(noText.reading, "いぬ") << "the reading as read stays";
  EXPECT_EQ(noText.katakana, "イヌ");
  EXPECT_EQ(noText.romaji, kSubstituteRomaji) << "the romaji is that of the substitute reading";
}

TEST_F(QuestionSetTest, LineEndsAsciiAndAMissingFinalBreak) {
  const CQuestionSet crlf = Load("2", "CD\r\nしーでぃー\r\nABC\r\nえーびーしー123abc");
  const CQuestionSet lf = Load("2", "CD\nしーでぃー\nABC\nえーびーしー123abc");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(crlf.GetQuestion(i).text, lf.GetQuestion(i).text);
    EXPECT_EQ(crlf.GetQuestion(i).reading, lf.GetQuestion(i).reading);
    EXPECT_EQ(crlf.GetQuestion(i).romaji, lf.GetQuestion(i).romaji);
  }
  EXPECT_EQ(lf.GetQuestion(1).reading, "えーびーしー123abc");
  EXPECT_EQ(lf.GetQuestion(1).romaji, "e-bi-shi-123abc");
}

TEST_F(QuestionSetTest, CountBelowOneIsFatal0106BeforeTheFileIsOpened) {
  folder_.Write("data/a.ini", "[TypingQuesitonSetup]\nQuestionNumber=0\nQuestionFileName=#missing.txt\n");
  CQuestionSet set("./data/a.ini");
  const auto raised = ExpectFatal([&] { set.LoadQuestions(SpellingPreferences()); });
  EXPECT_EQ(raised.number, 106);
  EXPECT_NE(raised.text.find("情報\n設定ファイル名：./data/missing.txt\nキー名：QuestionNumber\n値：0\n"
                             "カレントディレクトリ："),
            std::string::npos)
      << raised.text;
}

TEST_F(QuestionSetTest, MissingQuestionFileIsFatal0101) {
  folder_.Write("data/a.ini", "[TypingQuesitonSetup]\nQuestionNumber=2\nQuestionFileName=nowhere.txt\n");
  CQuestionSet set("./data/a.ini");
  const auto raised = ExpectFatal([&] { set.LoadQuestions(SpellingPreferences()); });
  EXPECT_EQ(raised.number, 101);
  EXPECT_NE(raised.text.find("情報\nファイル名：nowhere.txt\nカレントディレクトリ："), std::string::npos);
}

TEST_F(QuestionSetTest, ACountAboveTheMostQuestionsIs0106) {
  for (const char* count : {"8388609", "2147483647"}) {
    folder_.Write("data/a.ini", std::string("[TypingQuesitonSetup]\nQuestionNumber=") + count +
                                    "\nQuestionFileName=#q.txt\n");
    folder_.Write("data/q.txt", "犬\nいぬ\n");
    CQuestionSet set("./data/a.ini");
    const auto raised = ExpectFatal([&] { set.LoadQuestions(SpellingPreferences()); });
    EXPECT_EQ(raised.number, 106) << count;
    EXPECT_NE(raised.text.find(std::string("キー名：QuestionNumber\n値：") + count + "\n"), std::string::npos);
  }
}

TEST_F(QuestionSetTest, TheMostQuestionsOverAShortFileShareOneSubstitute) {
  const CQuestionSet set = Load("8388608", "犬\nいぬ\n猫\n");
  ASSERT_EQ(set.questionCount(), 8388608);
  EXPECT_LE(set.storedQuestions(), 3) << "the questions past the file's end are not held one by one";
  EXPECT_EQ(set.GetQuestion(0).text, "犬");
  for (const int index : {1, 2, 4096, 8388607}) {
    const Question question = set.GetQuestion(index);
    EXPECT_EQ(question.text, kSubstituteText) << index;
    EXPECT_EQ(question.romaji, kSubstituteRomaji) << index;
  }
  EXPECT_EQ(set.GetQuestion(1).reading, "") << "猫 has no reading line";
}

TEST_F(QuestionSetTest, AFileIsReadUpToTheLimitAndALineItCutsIsDropped) {
  // Pairs of 6 bytes: the limit falls inside the reading line of the pair
  // after the last whole one.
  const std::size_t wholePairs = kMaxQuestionFileBytes / 6;
  ASSERT_GT(kMaxQuestionFileBytes % 6, 3u) << "the text line of the cut pair fits";
  std::string file;
  for (std::size_t i = 0; i <= wholePairs + 10; ++i) file += "ab\ncd\n";
  const int cutPair = static_cast<int>(wholePairs);
  const CQuestionSet set = Load(std::to_string(cutPair + 5), file);
  EXPECT_EQ(set.GetQuestion(cutPair - 1).reading, "cd");
  EXPECT_EQ(set.GetQuestion(cutPair).reading, "") << "not the part of \"cd\" before the limit";
  EXPECT_EQ(set.GetQuestion(cutPair).text, kSubstituteText);
  EXPECT_EQ(set.GetQuestion(cutPair + 4).text, kSubstituteText);
}

TEST_F(QuestionSetTest, WindowsSeparatorsInFileNamesWork) {
  folder_.Write("data/a.ini", "[TypingQuesitonSetup]\nQuestionNumber=1\nQuestionFileName=.\\data\\ソフト\\q.txt\n");
  folder_.Write("data/ソフト/q.txt", "犬\nいぬ\n");
  CQuestionSet set("./data/a.ini");
  set.LoadQuestions(SpellingPreferences());
  EXPECT_EQ(set.GetQuestion(0).text, "犬") << "a backslash separates folders; ソ keeps its 0x5C trail byte";
}

TEST_F(QuestionSetTest, PreferencesShapeTheRomaji) {
  folder_.Write("data/a.ini", "[TypingQuesitonSetup]\nQuestionNumber=1\nQuestionFileName=#q.txt\n");
  folder_.Write("data/q.txt", "写真\nしゃしん\n");
  CQuestionSet set("./data/a.ini");
  SpellingPreferences preferences;
  preferences.sya = 0;
  preferences.si = 0;
  set.LoadQuestions(preferences);
  EXPECT_EQ(set.GetQuestion(0).romaji, "syasinn");
}

TEST(QuestionLineReaderTest, ALongLineStopsTheReading) {
  std::string longLine = "x";
  while (longLine.size() < 300) longLine += "あ";
  const std::string file = "a\r\n" + longLine + "\r\nb\r\nc\r\n";
  QuestionLineReader reader(file);
  EXPECT_EQ(reader.NextLine(), "a");
  EXPECT_EQ(reader.NextLine(), longLine.substr(0, 253)) << "253 bytes: x and 126 kana";
  EXPECT_TRUE(reader.stoppedAtLongLine());
  EXPECT_EQ(reader.NextLine(), "");
  EXPECT_EQ(reader.NextLine(), "");
}

TEST(QuestionLineReaderTest, LimitIsInBytesAndNeverSplitsACharacter) {
  const std::string exact(253, 'a');
  const std::string kana = std::string(252, 'a') + "い";  // 254 bytes, the limit falls inside い
  const std::string exactFile = exact + "\nnext\n";
  const std::string kanaFile = kana + "\nnext\n";
  QuestionLineReader exactReader(exactFile);
  EXPECT_EQ(exactReader.NextLine(), exact);
  EXPECT_EQ(exactReader.NextLine(), "next") << "253 bytes is not too long";
  QuestionLineReader kanaReader(kanaFile);
  EXPECT_EQ(kanaReader.NextLine(), std::string(252, 'a'));
  EXPECT_EQ(kanaReader.NextLine(), "");
}

TEST(QuestionLineReaderTest, AZeroByteEndsTheLinesText) {
  const std::string file("ab\0cd\nef", 8);
  QuestionLineReader reader(file);
  EXPECT_EQ(reader.NextLine(), "ab");
  EXPECT_EQ(reader.NextLine(), "ef");
}

TEST_F(QuestionSetTest, RandomOrderRules) {
  const std::string fiveQuestions = "a\nあ\nb\nい\nc\nう\nd\nえ\ne\nお\n";
  for (std::uint32_t seed : {0u, 1u, 77u, 123456u, 0xFFFFFFFFu}) {
    CQuestionSet one = Load("1", "a\nあ\n", true);
    EXPECT_EQ(one.PickRandomQuestion(seed), 0);

    CQuestionSet two = Load("2", "a\nあ\nb\nい\n", true);
    EXPECT_EQ(two.PickRandomQuestion(seed), 0) << "modulo 1: the first probe is always 0";
    EXPECT_EQ(two.PickRandomQuestion(seed), 1);

    CQuestionSet five = Load("5", fiveQuestions, true);
    std::set<int> asked;
    for (int i = 0; i < 5; ++i) asked.insert(five.PickRandomQuestion(seed + static_cast<std::uint32_t>(i)));
    EXPECT_EQ(asked, (std::set<int>{0, 1, 2, 3, 4})) << "seed " << seed;
  }
  // The runtime's generator: srand(1) makes 41 its first number, srand(0) 38.
  CQuestionSet five = Load("5", fiveQuestions, true);
  EXPECT_EQ(five.PickRandomQuestion(1), 41 % 4);
  EXPECT_EQ(five.PickRandomQuestion(0), 38 % 4);
  EXPECT_EQ(five.PickRandomQuestion(0), 38 % 4 + 1) << "a picked question is skipped";
}

}  // namespace
}  // namespace kanaflow
