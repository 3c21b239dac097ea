#include "questions/question_setting_data.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace kanaflow {
namespace {

using testing::ExpectFatal;
using testing::TempFolder;

std::string SetFile(const std::string& version, const std::string& keys) {
  std::string text = "[TypingQuesitonSetup]\r\n";
  if (!version.empty()) text += "Version=" + version + "\r\n";
  return text + "QuestionNumber=3\r\nQuestionFileName=q.txt\r\n" + keys;
}

QuestionSetValues LoadFull(const std::string& path) {
  CQuestionSettingData data;
  data.Load(path);
  return data.values();
}

QuestionSetValues LoadMenu(const std::string& path) {
  CMenuQuestionLoader data;
  data.Load(path);
  return data.values();
}

TEST(QuestionSettingDataTest, DefaultsOfAMinimalSet) {
  TempFolder folder;
  const QuestionSetValues v = LoadFull(folder.Write("a.ini", SetFile("", "")));
  EXPECT_EQ(v.questionNumber, 3);
  EXPECT_EQ(v.questionFileName, "q.txt");
  EXPECT_EQ(v.title, "No Title...");
  EXPECT_EQ(v.message, "No Message...");
  EXPECT_EQ(v.backColorKoyubi, 0x8080FF);
  EXPECT_EQ(v.backColorKusuriyubi, 0x80FFFF);
  EXPECT_EQ(v.backColorNakayubi, 0x80FF80);
  EXPECT_EQ(v.backColorHitosashiyubi, 0xFFFF80);
  EXPECT_EQ(v.backColorOther, 0xFFFFFF);
  EXPECT_EQ(v.windowBackColor, 0xFFFFFF);
  EXPECT_EQ(v.windowStringColor, 0);
  EXPECT_EQ(v.keyboardLineColor, 0);
  EXPECT_EQ(v.keyboardStringColor, 0);
  EXPECT_EQ(v.nextTypeKeyColor, 0x0000FF);
  EXPECT_FALSE(v.randomQuestionSet);
  EXPECT_EQ(v.imeStatus, 0);
  EXPECT_FALSE(v.katakanaMode);
  EXPECT_TRUE(v.bgmFileName.empty() && v.endBgmFileName.empty() && v.typeSoundFileName.empty());
}

TEST(QuestionSettingDataTest, BadVersionsAreFatalWithTheirNumbers) {
  struct Row {
    const char* version;
    int number;
    const char* versionLine;
  } rows[] = {{"6", 102, "読み込もうとしたファイルのバージョン：6"},
              {"-1", 102, "読み込もうとしたファイルのバージョン：-1"},
              {"0", 103, "読み込もうとしたファイルのバージョン：0"},
              {"abc", 103, "読み込もうとしたファイルのバージョン：0"}};
  for (const Row& row : rows) {
    TempFolder folder;
    const std::string path = folder.Write("a.ini", SetFile(row.version, ""));
    const auto raised = ExpectFatal([&] { LoadFull(path); });
    EXPECT_EQ(raised.number, row.number) << row.version;
    EXPECT_NE(raised.text.find(row.versionLine), std::string::npos) << row.version;
    if (row.number == 102) {
      EXPECT_NE(raised.text.find("情報\nこのプログラムの扱うことのできるバージョンの最大値：5\n" + std::string(row.versionLine) +
                                 "\n読み込み対象ファイル名：" + path + "\nカレントディレクトリ："),
                std::string::npos)
          << raised.text;
    } else {
      EXPECT_NE(raised.text.find("情報\n設定ファイル名：" + path + "\n" + row.versionLine + "\nカレントディレクトリ："),
                std::string::npos)
          << raised.text;
    }
  }
}

TEST(QuestionSettingDataTest, MissingRequiredKeyOrErrorValueIsFatal0104) {
  struct Row {
    std::string file;
    const char* key;
  } rows[] = {{"[TypingQuesitonSetup]\nQuestionFileName=q.txt\n", "QuestionNumber"},
              {"[TypingQuesitonSetup]\nQuestionNumber=1\n", "QuestionFileName"},
              {SetFile("5", "Title=Error\n"), "Title"},
              {SetFile("5", "BackColor_Other=Error\n"), "BackColor_Other"}};
  for (const Row& row : rows) {
    TempFolder folder;
    const std::string path = folder.Write("a.ini", row.file);
    const auto raised = ExpectFatal([&] { LoadFull(path); });
    EXPECT_EQ(raised.number, 104) << row.key;
    EXPECT_NE(raised.text.find("セクション名：TypingQuesitonSetup\nキー名：" + std::string(row.key) + "\n"),
              std::string::npos)
        << raised.text;
  }
}

TEST(QuestionSettingDataTest, EndSoundKeysNameTheEndMusicInVersionOne) {
  const std::string keys = "EndSoundFileName=end.mid\r\nEndSoundFileType=sequencer\r\nEndBGMFileName=e.mid\r\n"
                           "EndBGMFileType=x\r\n";
  TempFolder folder;
  const QuestionSetValues v1 = LoadFull(folder.Write("v1.ini", SetFile("1", keys)));
  EXPECT_EQ(v1.endBgmFileName, "end.mid");
  EXPECT_EQ(v1.endBgmFileType, "sequencer");
  EXPECT_EQ(v1.endSoundFileName, "");
  const QuestionSetValues v2 = LoadFull(folder.Write("v2.ini", SetFile("2", keys)));
  EXPECT_EQ(v2.endSoundFileName, "end.mid");
  EXPECT_EQ(v2.endSoundFileType, "");
  EXPECT_EQ(v2.endBgmFileName, "e.mid");
  EXPECT_EQ(v2.endBgmFileType, "x");
}

TEST(QuestionSettingDataTest, OptionsOnlyFromTheVersionThatHasThem) {
  const std::string keys = "RandomQuestionSet=1\r\nImeStatus=1\r\nKatakanaMode=1\r\n";
  struct Row {
    const char* version;
    bool random;
    int ime;
    bool katakana;
  } rows[] = {{"1", false, 0, false}, {"2", false, 0, false}, {"3", true, 0, false},
              {"4", true, 1, false},  {"5", true, 1, true},   {"", true, 1, true}};
  for (const Row& row : rows) {
    TempFolder folder;
    const QuestionSetValues v = LoadFull(folder.Write("a.ini", SetFile(row.version, keys)));
    EXPECT_EQ(v.randomQuestionSet, row.random) << "version " << row.version;
    EXPECT_EQ(v.imeStatus, row.ime) << "version " << row.version;
    EXPECT_EQ(v.katakanaMode, row.katakana) << "version " << row.version;
  }
}

TEST(QuestionSettingDataTest, OptionValuesAreReadFromTheirFirstNineCharacters) {
  TempFolder folder;
  const QuestionSetValues v = LoadFull(
      folder.Write("a.ini", SetFile("5", "RandomQuestionSet=0000000001\r\nImeStatus=-2\r\nKatakanaMode=x\r\n")));
  EXPECT_FALSE(v.randomQuestionSet) << "the tenth character is beyond the option's width";
  EXPECT_EQ(v.imeStatus, -2);
  EXPECT_FALSE(v.katakanaMode);
}

TEST(QuestionSettingDataTest, ParseColorReadsHexOnlyAfterLowerCase0x) {
  struct Row {
    const char* text;
    Colour expected;
  } rows[] = {{"0x0000FF", 0xFF},  {"0xff0000", 0xFF0000}, {"255", 255},    {"0X80", 0},
              {" 0x10", 0},        {"-1", -1},             {"abc", 0},      {"0x", 0},
              {"0xFFFFFFFF", 0x7FFFFFFF}};
  for (const Row& row : rows) EXPECT_EQ(ParseColor(row.text), row.expected) << row.text;
}

TEST(QuestionSettingDataTest, PathRulesRewriteFieldsInPlace) {
  struct Row {
    const char* setPath;
    const char* field;
    const char* setRelative;
    const char* rootRelative;
  } rows[] = {
      {"./data/sub/a.ini", "#q.txt", "./data/sub/q.txt", "#q.txt"},
      {"./data/sub/a.ini", "#/q.txt", "./data/sub/q.txt", "#/q.txt"},
      {"./data/sub/a.ini", "#./q.txt", "./data/sub/q.txt", "#./q.txt"},
      {"./data/sub/a.ini", "?.\\q.txt", "./data/sub/q.txt", "?.\\q.txt"},
      {".\\data\\a.ini", "#q.txt", ".\\data\\q.txt", "#q.txt"},
      {"./data/ソフト/a.ini", "#q.txt", "./data/ソフト/q.txt", "#q.txt"},
      {"a.ini", "#q.txt", "q.txt", "#q.txt"},
      {"./data/a.ini", "/data/q.txt", "/data/q.txt", "./data/q.txt"},
      {"./data/a.ini", "\\q.txt", "\\q.txt", "./q.txt"},
      {"./data/a.ini", ".\\q.txt", ".\\q.txt", ".\\q.txt"},
      {"./data/a.ini", "C:\\q.txt", "C:\\q.txt", "C:\\q.txt"},
      {"./data/a.ini", "", "", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ResolveSetRelativePath(row.setPath, row.field), row.setRelative) << row.setPath << " " << row.field;
    EXPECT_EQ(ResolveRootRelativePath(row.field), row.rootRelative) << row.field;
  }
}

TEST(QuestionSettingDataTest, SetRelativeNamesOnlyFromVersionFourButAlwaysOnTheMenu) {
  struct Row {
    const char* version;
    const char* practice;
  } rows[] = {{"1", "#q.txt"}, {"3", "#q.txt"}, {"4", "./data/sub/q.txt"}, {"5", "./data/sub/q.txt"}};
  for (const Row& row : rows) {
    TempFolder folder;
    testing::ScopedCurrentDirectory inside(folder.path());
    folder.Write("data/sub/a.ini", "[TypingQuesitonSetup]\nVersion=" + std::string(row.version) +
                                       "\nQuestionNumber=1\nQuestionFileName=#q.txt\n"
                                       "TypeSoundFileName=#t.wav\nBGMFileType=#x\n");
    const std::string path = "./data/sub/a.ini";
    const QuestionSetValues full = LoadFull(path);
    EXPECT_EQ(full.questionFileName, row.practice) << "version " << row.version;
    EXPECT_EQ(full.bgmFileType, "#x") << "types are not paths";
    EXPECT_EQ(LoadMenu(path).questionFileName, "./data/sub/q.txt") << "version " << row.version;
  }
}

TEST(QuestionSettingDataTest, MenuRecordReadsOnlyItsFourKeys) {
  TempFolder folder;
  const QuestionSetValues v = LoadMenu(
      folder.Write("a.ini", SetFile("5", "Title=犬と猫\r\nBackColor_Other=Error\r\nBGMFileName=m.mid\r\n")));
  EXPECT_EQ(v.title, "犬と猫");
  EXPECT_EQ(v.message, "No Message...");
  EXPECT_EQ(v.backColorOther, 0) << "the menu never reads the colours, so Error there is not fatal";
  EXPECT_EQ(v.bgmFileName, "");
}

TEST(QuestionSettingDataTest, LongTextsAreCutToTheFieldAtACharacterBoundary) {
  std::string title = "x";
  while (title.size() < 400) title += "あ";
  TempFolder folder;
  const QuestionSetValues v = LoadFull(folder.Write("a.ini", SetFile("5", "Title=" + title + "\r\n")));
  EXPECT_EQ(v.title.size(), 253u) << "254 bytes would end inside a kana";
  EXPECT_EQ(v.title, title.substr(0, 253));
}

}  // namespace
}  // namespace kanaflow
