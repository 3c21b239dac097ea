#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "kanaflow-check/check_command.h"
#include "kanaflow-check/library_check.h"
#include "kanaflow-check/reading_analysis.h"
#include "kanaflow-check/report_output.h"
#include "platform/text_encoding.h"
#include "support/temp_folder.h"

namespace kanaflow::check {
namespace {

using testing::ScopedCurrentDirectory;
using testing::TempFolder;

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// ---------------------------------------------------------------------------
// The pieces: readings, targets, key lines, paths.

TEST(CheckReadingTest, FindsCharactersWithoutTypeableRomaji) {
  const struct Row {
    std::string reading;
    const char* silent;
    const char* untypeable;
    std::size_t fullRomajiBytes;
  } rows[] = {
      {"いぬ", "", "", 3},        // inu
      {"かんじ漢", "漢", "", 6},  // kannji: the kanji spells nothing
      {"ゐど", "ゐ", "", 2},      // do
      {"ゑ", "ゑ", "", 0},
      {"ガっこう", "ガ", "", 4},  // kkou: voiced katakana have no half-width byte
      {"漢字漢", "漢字", "", 0},  // each character named once
      {"カナ", "", "カナ", 2},    // two half-width katakana bytes
      {"ｶﾅ", "", "ｶﾅ", 2},        // half-width katakana are copied
      {"abc", "", "", 3},
      {"あ、。", "", "", 3},             // a , .
      {Repeat("し", 123), "", "", 369},  // shi 123 times: beyond the 253-byte form
  };
  for (const Row& row : rows) {
    const ReadingAnalysis analysis = AnalyseReading(row.reading, SpellingPreferences());
    EXPECT_EQ(analysis.silentCharacters, row.silent) << row.reading;
    EXPECT_EQ(analysis.untypeableCharacters, row.untypeable) << row.reading;
    EXPECT_EQ(analysis.fullRomajiBytes, row.fullRomajiBytes) << row.reading;
  }
}

TEST(CheckReadingTest, TellsWhatTheModesAsk) {
  const struct Row {
    const char* text;
    bool typeable;
    bool plainHiragana;
    bool kanji;
  } rows[] = {
      {"abc ;", true, false, false},
      {"ｶ", false, false, false},
      {"\t", false, false, false},
      {"いぬ", false, true, false},
      {"らーめん、です。", false, true, false},
      {"イヌ", false, false, false},
      {"犬", false, false, true},
      {"いぬ犬", false, false, true},
      {"々", false, false, true},
      {"", true, false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(IsTypeable(row.text), row.typeable) << row.text;
    EXPECT_EQ(IsPlainHiragana(row.text), row.plainHiragana) << row.text;
    EXPECT_EQ(HoldsKanji(row.text), row.kanji) << row.text;
  }
}

TEST(CheckReadingTest, EstimatesTheEditBoxWidth) {
  const struct Row {
    std::string text;
    int width;
    bool fits;
  } rows[] = {
      {"", 0, true},
      {"abc", 24, true},
      {"漢字", 32, true},
      {std::string(75, 'a'), 600, true},
      {std::string(76, 'a'), 608, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(EstimatedEditBoxWidth(row.text), row.width) << row.text;
    EXPECT_EQ(FitsEditBox(row.text), row.fits) << row.text;
  }
  std::string kanji37, kanji38;
  for (int i = 0; i < 37; ++i) kanji37 += "漢";
  kanji38 = kanji37 + "漢";
  EXPECT_EQ(EstimatedEditBoxWidth(kanji37), 592);
  EXPECT_TRUE(FitsEditBox(kanji37));
  EXPECT_FALSE(FitsEditBox(kanji38));
}

TEST(CheckOutputTest, ShowsPathsFromWhereTheCheckerWasStarted) {
  const struct Row {
    const char* path;
    const char* folder;
    const char* shown;
  } rows[] = {
      {"./data/a.ini", ".", "data/a.ini"},
      {"./data/a.ini", "sample", "sample/data/a.ini"},
      {"./data/a.ini", "sample/", "sample/data/a.ini"},
      {"./data", "..", "../data"},
      {"data/q.txt", "w", "w/data/q.txt"},
      {"C:\\q.txt", "w", "C:\\q.txt"},
      {"/abs/q.txt", "w", "/abs/q.txt"},
      {"./Setting.ini", ".", "Setting.ini"},
  };
  for (const Row& row : rows) EXPECT_EQ(DisplayPath(row.path, row.folder), row.shown) << row.path;
}

// ---------------------------------------------------------------------------
// Fixture libraries: one fault each, and a clean one.

using Files = std::vector<std::pair<std::string, std::string>>;

// Lines of a Windows text file: each ends with CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string SetFile(std::initializer_list<std::string> keys) {
  std::string text = "[TypingQuesitonSetup]\r\n";
  for (const std::string& key : keys) text += key + "\r\n";
  return text;
}

struct Expected {
  std::string file;
  int line;
  Severity severity;
  std::string code;
  std::string message;
};

struct Fixture {
  std::string name;  // the finding it holds, "clean" for none
  Files files;
  std::vector<Expected> findings;
};

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;

// A set "./data/a.ini" whose question file is "./data/q.txt".
Files OneSet(std::initializer_list<std::string> keys, const std::string& questions) {
  return {{"data/a.ini", SetFile(keys)}, {"data/q.txt", questions}};
}

const std::string kTwoQuestions = Lines({"犬", "いぬ", "猫", "ねこ"});
const std::string kSubstituteMessage = "so the program asks the substitute question instead";

std::vector<Fixture> Fixtures() {
  return {
      {"clean",
       {{"data/animals.ini", SetFile({"Version=5", "QuestionNumber=2", "QuestionFileName=#animals.txt", "Title=動物",
                                      "Message=どうぶつの名前", "TypeSoundFileName=#type.wav", "BGMFileName=#bgm.mid",
                                      "BGMFileType=sequencer", "BackGroundPictureFileName=#back.bmp"})},
        {"data/animals.txt", kTwoQuestions},
        {"data/type.wav", "RIFF"},
        {"data/bgm.mid", "MThd"},
        {"data/back.bmp", "BM"},
        {"data/drills/home.ini", SetFile({"QuestionNumber=1", "QuestionFileName=#home.txt", "Title=ホーム"})},
        {"data/drills/home.txt", Lines({"asdf jkl;", "asdf jkl;"})},
        {"Setting.ini", Lines({"[Setting]", "Character_si=1"})}},
       {}},
      {"no-data-folder",
       {{"readme.txt", "x"}},
       {{"./data", 0, E, "no-data-folder", "no ./data folder: the program finds no question set (error 0105)"}}},
      {"no-question-set",
       {{"data/readme.txt", "x"}, {"data/sub/q.txt", "x"}},
       {{"./data", 0, E, "no-question-set",
         "no question set: no *.ini file directly in ./data or in a folder directly below it (error 0105)"}}},
      {"version-out-of-range",
       OneSet({"Version=6", "QuestionNumber=2", "QuestionFileName=#q.txt"}, kTwoQuestions),
       {{"./data/a.ini", 2, E, "version-out-of-range",
         "Version=6: the program reads Version 1 to 5 only (error 0102)"}}},
      {"version-unreadable",
       OneSet({"Version=abc", "QuestionNumber=2", "QuestionFileName=#q.txt"}, kTwoQuestions),
       {{"./data/a.ini", 2, E, "version-unreadable", "Version=abc is not a version number (error 0103)"}}},
      {"missing-key",
       {{"data/a.ini", SetFile({"Version=5", "QuestionNumber=2"})},
        {"data/b.ini", "[TypingQuestionSetup]\r\nQuestionNumber=2\r\nQuestionFileName=#q.txt\r\n"},
        {"data/q.txt", kTwoQuestions}},
       {{"./data/a.ini", 0, E, "missing-key",
         "QuestionFileName is missing, and the program cannot read the set without it (error 0104)"},
        {"./data/b.ini", 0, E, "missing-key",
         "QuestionNumber is missing, and the program cannot read the set without it (the file has no section "
         "[TypingQuesitonSetup], spelt so) (error 0104)"},
        {"./data/b.ini", 0, E, "missing-key",
         "QuestionFileName is missing, and the program cannot read the set without it (the file has no section "
         "[TypingQuesitonSetup], spelt so) (error 0104)"}}},
      {"error-value",
       OneSet({"Version=5", "QuestionNumber=2", "QuestionFileName=#q.txt", "Title=Error", "BGMFileName=Error"},
              kTwoQuestions),
       {{"./data/a.ini", 5, E, "error-value", "Title=Error: the value \"Error\" ends the program (error 0104)"},
        {"./data/a.ini", 6, E, "error-value", "BGMFileName=Error: the value \"Error\" ends the program (error 0104)"}}},
      {"settings-error-value",
       [] {
         Files files = OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt"}, kTwoQuestions);
         files.push_back({"Setting.ini", Lines({"[Setting]", "ShowKeyboard=1", "DisablePlayMusic=Error"})});
         return files;
       }(),
       {{"./Setting.ini", 3, E, "settings-error-value",
         "DisablePlayMusic=Error: the value \"Error\" ends the program (error 0104)"}}},
      {"settings-utf16",
       [] {
         Files files = OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt"}, kTwoQuestions);
         files.push_back({"Setting.ini", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12)});
         return files;
       }(),
       {{"./Setting.ini", 0, W, "settings-utf16",
         "the file is UTF-16 text: the program reads none of its values and cannot save the settings into it; "
         "save it as Shift_JIS"}}},
      {"question-count",
       OneSet({"Version=5", "QuestionNumber=0", "QuestionFileName=#q.txt"}, kTwoQuestions),
       {{"./data/a.ini", 3, E, "question-count", "QuestionNumber=0: a set asks for 1 to 8388608 questions (error 0106)"}}},
      {"question-file-missing",
       OneSet({"Version=5", "QuestionNumber=2", "QuestionFileName=#none.txt"}, kTwoQuestions),
       {{"./data/a.ini", 4, E, "question-file-missing",
         "the question file \"./data/none.txt\" cannot be opened (error 0101)"}}},
      {"empty-romaji",
       OneSet({"QuestionNumber=1", "QuestionFileName=#q.txt"}, Lines({"漢字", "漢字"})),
       {{"./data/q.txt", 2, W, "empty-romaji",
         "question 1: the reading \"漢字\" gives no romaji, so the question can never be completed in the basic "
         "mode"}}},
      {"silent-characters",
       OneSet({"QuestionNumber=1", "QuestionFileName=#q.txt"}, Lines({"井戸", "ゐど"})),
       {{"./data/q.txt", 2, W, "silent-characters",
         "question 1: the reading \"ゐど\" holds characters that add nothing to the romaji form: ゐ"}}},
      {"katakana-reading",
       OneSet({"QuestionNumber=1", "QuestionFileName=#q.txt"}, Lines({"カナ", "カナ"})),
       {{"./data/q.txt", 2, W, "katakana-reading",
         "question 1: the reading \"カナ\" holds characters whose romaji cannot be typed: カナ (katakana become "
         "half-width characters; write readings in hiragana)"}}},
      {"long-line",
       OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt"}, Lines({Repeat("あ", 130), "あ", "い", "い"})),
       {{"./data/q.txt", 1, W, "long-line",
         "the line is longer than 253 bytes: the program cuts it there and reads every later line as empty, so the "
         "questions after it become the substitute question"}}},
      {"romaji-cut",
       OneSet({"QuestionNumber=1", "QuestionFileName=#q.txt"}, Lines({"A", "a" + Repeat("し", 125)})),
       {{"./data/q.txt", 2, W, "romaji-cut",
         "question 1: the romaji form is 376 bytes long and is cut to 253, so the question ends early"}}},
      {"short-file",
       OneSet({"QuestionNumber=3", "QuestionFileName=#q.txt"}, kTwoQuestions),
       {{"./data/a.ini", 2, W, "short-file",
         "QuestionNumber=3 asks for 6 lines, but \"./data/q.txt\" has 4: question 3 becomes the substitute "
         "question"}}},
      {"file-too-large",
       // Pairs of 6 bytes up to past the read limit, which cuts the reading
       // line of pair 174763: its text line is the last line read.
       OneSet({"QuestionNumber=174763", "QuestionFileName=#q.txt"}, Repeat("ab\ncd\n", 174800)),
       {{"./data/a.ini", 2, W, "file-too-large",
         "QuestionNumber=174763 asks for 349526 lines, but the program reads only the first 1048576 bytes of "
         "\"./data/q.txt\", which hold 349525 whole lines: question 174763 becomes the substitute question"}}},
      {"set-left-out",
       [] {
         Files files = OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt"}, kTwoQuestions);
         files.push_back({"data/" + Repeat("漢", 80) + "/" + Repeat("字", 44) + ".ini",
                          SetFile({"QuestionNumber=2", "QuestionFileName=q.txt"})});
#ifndef _WIN32  // a file on Linux only: Windows makes a device of the name
         files.push_back({"data/aux.ini", SetFile({"QuestionNumber=2", "QuestionFileName=#q.txt"})});
#endif
         return files;
       }(),
       {
           {"./data/" + Repeat("漢", 80) + "/" + Repeat("字", 44) + ".ini", 0, W, "set-left-out",
            "the path is 260 bytes long, more than the 253 the practice screens are given: the set is left out of "
            "the library (shorten the folder or file name)"},
#ifndef _WIN32  // which the program on Windows leaves out (QuestionLibraryTest)
           {"./data/aux.ini", 0, W, "set-left-out",
            "on Windows the name aux opens a device, not a file: the program leaves the set out of the library "
            "(rename the file)"},
#endif
       }},
      {"ini-too-large",
       // The set's keys, then a comment past the limit: the set loads.
       OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt", ";" + std::string(1 << 20, 'x')}, kTwoQuestions),
       {{"./data/a.ini", 0, W, "ini-too-large",
         "the file is longer than 1048576 bytes: the program reads only the lines within its first 1048576 bytes, "
         "as if the rest were absent"}}},
      {"device-name",
       OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt", "BGMFileName=#nul.mid", "BGMFileType=sequencer"},
              kTwoQuestions),
       {{"./data/a.ini", 4, W, "device-name",
         "BGMFileName \"./data/nul.mid\": on Windows the name nul opens a device, not a file: no music plays"}}},
      {"empty-line",
       OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt"}, Lines({"犬", "", "猫", "ねこ"})),
       {{"./data/q.txt", 2, W, "empty-line", "question 1: the reading line is empty, " + kSubstituteMessage}}},
      {"missing-file",
       OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt", "TypeSoundFileName=#type.wav",
               "BackGroundPictureFileName=#back.bmp"},
              kTwoQuestions),
       {{"./data/a.ini", 4, W, "missing-file", "TypeSoundFileName: file \"./data/type.wav\" not found: no sound plays"},
        {"./data/a.ini", 5, W, "missing-file",
         "BackGroundPictureFileName: file \"./data/back.bmp\" not found: the practice screen shows error box 0100 "
         "at every start"}}},
      {"music-without-type",
       [] {
         Files files = OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt", "BGMFileName=#bgm.mid"}, kTwoQuestions);
         files.push_back({"data/bgm.mid", "MThd"});
         return files;
       }(),
       {{"./data/a.ini", 4, W, "music-without-type",
         "BGMFileName names \"./data/bgm.mid\" but BGMFileType is empty: no music plays (give the device type, for "
         "instance sequencer)"}}},
      {"version-too-old",
       [] {
         Files files =
             OneSet({"Version=1", "QuestionNumber=2", "QuestionFileName=data/q.txt", "TypeSoundFileName=#type.wav",
                     "EndBGMFileName=end.mid", "RandomQuestionSet=1", "ImeStatus=1", "KatakanaMode=1"},
                    kTwoQuestions);
         files.push_back({"data/type.wav", "RIFF"});
         return files;
       }(),
       {{"./data/a.ini", 6, W, "version-too-old",
         "EndBGMFileName needs Version 2 or later; this set is Version 1, so the program ignores it"},
        {"./data/a.ini", 7, W, "version-too-old",
         "RandomQuestionSet needs Version 3 or later; this set is Version 1, so the program ignores it"},
        {"./data/a.ini", 8, W, "version-too-old",
         "ImeStatus needs Version 4 or later; this set is Version 1, so the program ignores it"},
        {"./data/a.ini", 9, W, "version-too-old",
         "KatakanaMode needs Version 5 or later; this set is Version 1, so the program ignores it"},
        {"./data/a.ini", 5, W, "version-too-old",
         "TypeSoundFileName \"#type.wav\": a path starting with \"#\" needs Version 4 or later; in this Version 1 "
         "set the program looks for a file of that very name"}}},
      {"edit-box-overflow",
       {{"data/a.ini", SetFile({"QuestionNumber=1", "QuestionFileName=#a.txt"})},
        {"data/a.txt", Lines({Repeat("漢字", 19), "かんじ"})},
        {"data/b.ini", SetFile({"QuestionNumber=1", "QuestionFileName=#b.txt", "KatakanaMode=1"})},
        {"data/b.txt", Lines({"あ", Repeat("あ", 38)})}},
       {{"./data/a.txt", 1, W, "edit-box-overflow",
         "question 1: the text is about 608 pixels wide (76 bytes), more than the edit box of the kanji-kana mode "
         "holds (605 pixels, 253 bytes)"},
        {"./data/b.txt", 2, W, "edit-box-overflow",
         "question 1: the katakana form is about 608 pixels wide (76 bytes), more than the edit box of the "
         "hiragana mode holds (605 pixels, 253 bytes)"}}},
  };
}

// Every finding the checker knows, each to be produced by its own fixture.
const std::vector<std::string> kCatalogue = {
    "no-data-folder",
    "no-question-set",
    "version-out-of-range",
    "version-unreadable",
    "missing-key",
    "error-value",
    "settings-error-value",
    "settings-utf16",
    "question-count",
    "question-file-missing",
    "empty-romaji",
    "silent-characters",
    "katakana-reading",
    "long-line",
    "romaji-cut",
    "short-file",
    "file-too-large",
    "set-left-out",
    "ini-too-large",
    "device-name",
    "empty-line",
    "missing-file",
    "music-without-type",
    "version-too-old",
    "edit-box-overflow",
};

class FixtureFolder {
 public:
  explicit FixtureFolder(const Fixture& fixture) {
    for (const auto& [path, bytes] : fixture.files) folder_.Write(path, bytes);
  }
  const std::string& path() const { return folder_.path(); }

  CheckReport Check() const {
    const ScopedCurrentDirectory inside(folder_.path());
    return CheckWorkingFolder();
  }

 private:
  TempFolder folder_;
};

std::vector<Finding> AllFindings(const CheckReport& report) {
  std::vector<Finding> findings = report.general;
  for (const SetReport& set : report.sets) findings.insert(findings.end(), set.findings.begin(), set.findings.end());
  return findings;
}

TEST(CheckFixtureTest, EachFixtureGivesExactlyItsFindings) {
  for (const Fixture& fixture : Fixtures()) {
    const std::vector<Finding> actual = AllFindings(FixtureFolder(fixture).Check());
    ASSERT_EQ(actual.size(), fixture.findings.size()) << fixture.name;
    for (std::size_t i = 0; i < actual.size(); ++i) {
      const Expected& expected = fixture.findings[i];
      EXPECT_EQ(actual[i].file, expected.file) << fixture.name << " #" << i;
      EXPECT_EQ(actual[i].line, expected.line) << fixture.name << " #" << i;
      EXPECT_EQ(actual[i].severity, expected.severity) << fixture.name << " #" << i;
      EXPECT_EQ(actual[i].code, expected.code) << fixture.name << " #" << i;
      EXPECT_EQ(actual[i].message, expected.message) << fixture.name << " #" << i;
    }
  }
}

TEST(CheckFixtureTest, EveryFindingComesFromItsFixtureAndNoOther) {
  std::set<std::string> named;
  for (const Fixture& fixture : Fixtures()) {
    std::set<std::string> produced;
    for (const Finding& finding : AllFindings(FixtureFolder(fixture).Check())) produced.insert(finding.code);
    for (const std::string& code : kCatalogue) {
      EXPECT_EQ(produced.count(code), code == fixture.name ? 1u : 0u) << "fixture " << fixture.name << ", " << code;
    }
    named.insert(fixture.name);
  }
  for (const std::string& code : kCatalogue) EXPECT_EQ(named.count(code), 1u) << "no fixture for " << code;
}

// A set named with characters that Shift_JIS cannot write, as Linux input
// methods type them (〜 U+301C, − U+2212 where Shift_JIS has ～ and －), is
// never listed, without a word from the program; the checker names it.
TEST(CheckFixtureTest, NamesThatShiftJisCannotWriteAreNamedAndWhy) {
  TempFolder folder;
  for (const auto& [path, bytes] : OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt"}, kTwoQuestions)) {
    folder.Write(path, bytes);
  }
  folder.MakeFolder("data/sub");
  const std::string base = Cp932ToUtf8(folder.path()).value_or("");
  for (const char* name : {u8"/data/波\u301C.ini", u8"/data/sub/\u22121.ini", u8"/data/memo\u301C.txt"}) {
    std::ofstream(std::filesystem::u8path(base + name)) << "[TypingQuesitonSetup]\r\nQuestionNumber=2\r\n";
  }
  const ScopedCurrentDirectory inside(folder.path());
  const CheckReport report = CheckWorkingFolder();
  ASSERT_EQ(report.sets.size(), 1u) << "the program lists none of them";
  ASSERT_EQ(report.general.size(), 2u);
  EXPECT_EQ(report.general[0].file, "./data");
  EXPECT_EQ(report.general[0].message,
            "\"波<U+301C>.ini\": the name holds characters that Shift_JIS cannot write (U+301C), so the program "
            "cannot open the file and leaves the set out (use ～ U+FF5E for a wave dash, － U+FF0D for a minus sign)");
  EXPECT_EQ(report.general[1].file, "./data/sub");
  EXPECT_EQ(report.general[1].message.substr(0, 16), "\"<U+2212>1.ini\":");
}

TEST(CheckFixtureTest, SummarisesEverySetThatLoads) {
  const CheckReport report = FixtureFolder(Fixtures()[0]).Check();
  ASSERT_EQ(report.sets.size(), 2u);
  const SetSummary& animals = report.sets[0].summary;
  EXPECT_TRUE(report.sets[0].loaded);
  EXPECT_EQ(animals.file, "./data/animals.ini");
  EXPECT_EQ(animals.category, "分類項目なし");
  EXPECT_EQ(animals.title, "動物");
  EXPECT_EQ(animals.questions, 2);
  EXPECT_EQ(animals.keystrokes, 7);  // inu, neko
  EXPECT_TRUE(animals.suitsBasic && animals.suitsHiragana && animals.suitsKanjiKana);
  const SetSummary& home = report.sets[1].summary;
  EXPECT_EQ(home.file, "./data/drills/home.ini");
  EXPECT_EQ(home.category, "drills");
  EXPECT_EQ(home.title, "ホーム");
  EXPECT_EQ(home.keystrokes, 9);
  EXPECT_TRUE(home.suitsBasic);
  EXPECT_FALSE(home.suitsHiragana || home.suitsKanjiKana);
}

TEST(CheckFixtureTest, SummaryModesFollowTheQuestions) {
  const struct Row {
    const char* name;
    std::string questions;
    bool basic, hiragana, kanjiKana;
  } rows[] = {
      {"katakana reading", Lines({"犬", "いぬ", "カナ", "カナ"}), false, false, true},
      {"hiragana text", Lines({"いぬ", "いぬ", "ねこ", "ねこ"}), true, true, false},
      {"kanji only reading", Lines({"漢字", "漢字", "ねこ", "ねこ"}), false, false, true},
      {"substitute question", Lines({"いぬ", "いぬ", "", "ねこ"}), true, true, false},
  };
  for (const Row& row : rows) {
    const Fixture fixture{row.name, OneSet({"QuestionNumber=2", "QuestionFileName=#q.txt"}, row.questions), {}};
    const CheckReport report = FixtureFolder(fixture).Check();
    ASSERT_EQ(report.sets.size(), 1u) << row.name;
    const SetSummary& summary = report.sets[0].summary;
    EXPECT_EQ(summary.suitsBasic, row.basic) << row.name;
    EXPECT_EQ(summary.suitsHiragana, row.hiragana) << row.name;
    EXPECT_EQ(summary.suitsKanjiKana, row.kanjiKana) << row.name;
  }
}

TEST(CheckFixtureTest, ABadSetDoesNotHideTheOthers) {
  const Fixture fixture{"two",
                        {{"data/a.ini", SetFile({"Version=7"})},
                         {"data/b/c.ini", SetFile({"QuestionNumber=1", "QuestionFileName=#q.txt"})},
                         {"data/b/q.txt", Lines({"犬", "いぬ"})}},
                        {}};
  const CheckReport report = FixtureFolder(fixture).Check();
  ASSERT_EQ(report.sets.size(), 2u);
  EXPECT_EQ(report.sets[0].file, "./data/a.ini");
  EXPECT_FALSE(report.sets[0].loaded);
  EXPECT_EQ(report.sets[1].file, "./data/b/c.ini");
  EXPECT_TRUE(report.sets[1].loaded);
  EXPECT_EQ(report.sets[1].summary.category, "b");
}

// ---------------------------------------------------------------------------
// The command: options, output and exit codes.

CommandResult RunIn(const Fixture& fixture, std::vector<std::string> options) {
  const FixtureFolder folder(fixture);
  options.push_back(folder.path());
  return RunCheckCommand(options);
}

const Fixture& FixtureNamed(const std::string& name) {
  static const std::vector<Fixture> fixtures = Fixtures();
  return *std::find_if(fixtures.begin(), fixtures.end(), [&](const Fixture& f) { return f.name == name; });
}

TEST(CheckCommandTest, ExitCodeTellsErrorsFromWarnings) {
  const struct Row {
    const char* fixture;
    int exitCode;
  } rows[] = {
      {"clean", 0}, {"short-file", 0}, {"version-out-of-range", 1}, {"no-data-folder", 1}, {"settings-error-value", 1}};
  for (const Row& row : rows) {
    const CommandResult result = RunIn(FixtureNamed(row.fixture), {});
    EXPECT_EQ(result.exitCode, row.exitCode) << row.fixture << "\n" << result.output;
    EXPECT_EQ(result.errors, "") << row.fixture;
  }
}

TEST(CheckCommandTest, UsageErrorsExitWithTwo) {
  const struct Row {
    std::vector<std::string> arguments;
    const char* message;
  } rows[] = {
      {{"--bogus"}, "kanaflow-check: unknown option '--bogus'\n"},
      {{"a", "b"}, "kanaflow-check: more than one FOLDER\n"},
      {{"no/such/folder/here"}, "kanaflow-check: cannot enter folder 'no/such/folder/here'\n"},
  };
  for (const Row& row : rows) {
    const CommandResult result = RunCheckCommand(row.arguments);
    EXPECT_EQ(result.exitCode, 2) << row.message;
    EXPECT_EQ(result.output, "") << row.message;
    EXPECT_EQ(result.errors.rfind(row.message, 0), 0u) << result.errors;
    EXPECT_NE(result.errors.find("usage: kanaflow-check"), std::string::npos) << row.message;
  }
  const CommandResult help = RunCheckCommand({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.output.rfind("usage: kanaflow-check [--utf8] [--json] [FOLDER]\n", 0), 0u);
}

TEST(CheckCommandTest, WritesOneLinePerFindingAndASummaryPerSet) {
  const Fixture fixture{
      "titled short file", OneSet({"QuestionNumber=3", "QuestionFileName=#q.txt", "Title=動物"}, kTwoQuestions), {}};
  const FixtureFolder folder(fixture);
  const std::string f = folder.path();  // ASCII: the same bytes in CP932 and UTF-8
  // 犬 inu, 猫 neko, and the substitute question's 39 keystrokes:
  // mo nn da i bu nn ga te i gi sa re te i ma se nn de shi ta .
  const std::string finding =
      "/data/a.ini:2: warning: QuestionNumber=3 asks for 6 lines, but \"./data/q.txt\" has 4: "
      "question 3 becomes the substitute question\n";
  const std::string counts = "kanaflow-check: 1 set, 0 errors, 1 warning\n";
  EXPECT_EQ(RunCheckCommand({f}).output,
            f + finding + f +
                "/data/a.ini: summary: \"動物\", 3 questions, 46 romaji keystrokes, suits basic, "
                "kanji-kana\n" +
                counts);
  EXPECT_EQ(RunCheckCommand({"--utf8", f}).output,
            f + finding + f +
                u8"/data/a.ini: summary: \"動物\", 3 questions, 46 romaji keystrokes, suits basic, "
                u8"kanji-kana\n" +
                counts);
}

TEST(CheckCommandTest, ChecksTheCurrentFolderWhenNoneIsGiven) {
  const FixtureFolder folder(FixtureNamed("question-count"));
  const ScopedCurrentDirectory inside(folder.path());
  const CommandResult result = RunCheckCommand({});
  EXPECT_EQ(result.output,
            "data/a.ini:3: error: QuestionNumber=0: a set asks for 1 to 8388608 questions (error 0106)\n"
            "kanaflow-check: 1 set, 1 error, 0 warnings\n");
  EXPECT_EQ(result.exitCode, 1);
}

TEST(CheckCommandTest, AFindingWithoutALineNamesTheFileOnly) {
  const FixtureFolder folder(FixtureNamed("no-data-folder"));
  const ScopedCurrentDirectory inside(folder.path());
  EXPECT_EQ(RunCheckCommand({}).output,
            "data: error: no ./data folder: the program finds no question set (error 0105)\n"
            "kanaflow-check: 0 sets, 1 error, 0 warnings\n");
}

TEST(CheckCommandTest, WritesJsonForTools) {
  const FixtureFolder folder(FixtureNamed("katakana-reading"));
  const ScopedCurrentDirectory inside(folder.path());
  const CommandResult result = RunCheckCommand({"--json"});
  EXPECT_EQ(result.output, std::string(u8R"json({
  "folder": ".",
  "errors": 0,
  "warnings": 1,
  "findings": [
    {"file": "data/q.txt", "line": 2, "severity": "warning", "code": "katakana-reading", "message": "question 1: the reading \"カナ\" holds characters whose romaji cannot be typed: カナ (katakana become half-width characters; write readings in hiragana)"}
  ],
  "sets": [
    {"file": "data/a.ini", "category": "分類項目なし", "title": "No Title...", "questions": 1, "keystrokes": 2, "suits": []}
  ]
}
)json"));
  EXPECT_EQ(result.exitCode, 0);
}

TEST(CheckCommandTest, JsonGivesNullForFindingsWithoutALineAndEmptyLists) {
  const FixtureFolder folder(FixtureNamed("no-data-folder"));
  const ScopedCurrentDirectory inside(folder.path());
  EXPECT_EQ(RunCheckCommand({"--json"}).output,
            "{\n  \"folder\": \".\",\n  \"errors\": 1,\n  \"warnings\": 0,\n  \"findings\": [\n"
            "    {\"file\": \"data\", \"line\": null, \"severity\": \"error\", \"code\": \"no-data-folder\", "
            "\"message\": \"no ./data folder: the program finds no question set (error 0105)\"}\n  ],\n"
            "  \"sets\": []\n}\n");
}

}  // namespace
}  // namespace kanaflow::check
