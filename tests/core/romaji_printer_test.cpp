#include "kanaflow-romaji/romaji_printer.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "support/temp_folder.h"

namespace kanaflow {
namespace {

PrinterResult Print(std::string_view input, const PrinterOptions& options = {}) {
  PrinterResult result;
  PrintReadings(input, "in.txt", options, result);
  return result;
}

// Files and standard input served from memory; settings files give si = 0.
struct FakeEnvironment {
  std::map<std::string, std::string> files;
  std::string standardInput;

  PrinterResult Run(const std::vector<std::string>& arguments) const {
    PrinterEnvironment environment;
    environment.openFile = [this](const std::string& path) -> std::optional<InputReader> {
      const auto found = files.find(path);
      if (found == files.end()) return std::nullopt;
      return ReaderFromString(found->second);
    };
    environment.standardInput = [this] { return ReaderFromString(standardInput); };
    environment.loadSettings = [this](const std::string& path) -> std::optional<SpellingPreferences> {
      if (files.count(path) == 0) return std::nullopt;
      SpellingPreferences preferences;
      preferences.si = 0;
      return preferences;
    };
    return RunRomajiPrinter(arguments, environment);
  }
};

TEST(RomajiPrinterTest, PrintsReadingRomajiAndKatakanaSeparatedByTabs) {
  struct Row {
    const char* input;
    const char* output;
  } rows[] = {
      {"しんぶん\nじゃま\n", "しんぶん\tshinnbunn\tシンブン\nじゃま\tjyama\tジャマ\n"},
      {"いぬ\r\nねこ\r\n", "いぬ\tinu\tイヌ\nねこ\tneko\tネコ\n"},
      {"いぬ\nねこ", "いぬ\tinu\tイヌ\nねこ\tneko\tネコ\n"},
      {"\n漢字\n", "\t\t\n漢字\t\t漢字\n"},
      {"", ""},
  };
  for (const Row& row : rows) {
    const PrinterResult result = Print(row.input);
    EXPECT_EQ(result.output, row.output) << "input of " << std::string_view(row.input).size() << " bytes";
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.exitCode, 0);
  }
}

TEST(RomajiPrinterTest, CutsALongReadingAtACharacterBoundaryAsTheProgramDoes) {
  std::string line = "a";
  for (int i = 0; i < 130; ++i) line += "あ";
  const std::string reading = line.substr(0, 253);  // "a" and 126 あ
  std::string katakana = "a";
  for (int i = 0; i < 126; ++i) katakana += "ア";
  EXPECT_EQ(Print(line + "\n").output, reading + "\ta" + std::string(126, 'a') + "\t" + katakana + "\n");
  const std::string kana(line.substr(1));  // 130 あ: cut to 126, not to half of the 127th
  EXPECT_EQ(Print(kana).output.find('\t'), 252u);
}

TEST(RomajiPrinterTest, ReportsAndSkipsLinesThatAreNotShiftJis) {
  const PrinterResult result = Print("いぬ\n\x82\nね\xFFこ\r\nねこ\n");
  EXPECT_EQ(result.output, "いぬ\tinu\tイヌ\nねこ\tneko\tネコ\n");
  EXPECT_EQ(result.errors,
            "in.txt:2: not valid Shift_JIS; line skipped\n"
            "in.txt:3: not valid Shift_JIS; line skipped\n");
  EXPECT_EQ(result.exitCode, 1);
}

TEST(RomajiPrinterTest, ReadsAndWritesUtf8OnRequest) {
  PrinterOptions options;
  options.utf8 = true;
  const PrinterResult result =
      Print("\xEF\xBB\xBF" + std::string(u8"しんぶん\r\n한\n\xC3\nらーめん"), options);
  EXPECT_EQ(result.output, std::string(u8"しんぶん\tshinnbunn\tシンブン\nらーめん\tra-menn\tラーメン\n"));
  EXPECT_EQ(result.errors,
            "in.txt:2: not valid UTF-8, or not writable in Shift_JIS; line skipped\n"
            "in.txt:3: not valid UTF-8, or not writable in Shift_JIS; line skipped\n");
  EXPECT_EQ(result.exitCode, 1);
}

TEST(RomajiPrinterTest, AllPrintsEveryAcceptedSpellingOfEachUnit) {
  PrinterOptions options;
  options.utf8 = true;
  options.all = true;
  const PrinterResult result = Print(std::string(u8"しんぶん\nんあ\nっ\n"), options);
  EXPECT_EQ(result.output, std::string(u8"しんぶん\tshi/si/ci nn/n'/xn/n/m bu nn/n'/xn\n"
                                       u8"んあ\tnn/n'/xn a\n"
                                       u8"っ\txtu/ltu/ltsu/xtsu\n"));
  EXPECT_EQ(result.exitCode, 0);
}

TEST(RomajiPrinterTest, TakesSpellingPreferencesFromASettingsFile) {
  const testing::TempFolder folder;
  const std::string path = folder.Write("Setting.ini", "[Setting]\r\nCharacter_si=0\r\nCharacter_Komoji=0\r\n");
  const std::optional<SpellingPreferences> preferences = LoadSpellingPreferences(path);
  ASSERT_TRUE(preferences.has_value());
  PrinterOptions options;
  options.preferences = *preferences;
  EXPECT_EQ(Print("しゃしぇっ", options).output, "しゃしぇっ\tshasileltu\tシャシェッ\n");
  EXPECT_FALSE(LoadSpellingPreferences(folder.path() + "/Missing.ini").has_value());

  FakeEnvironment environment;
  environment.files = {{"a.ini", ""}, {"q.txt", "し\n"}};
  EXPECT_EQ(environment.Run({"--settings", "a.ini", "q.txt"}).output, "し\tsi\tシ\n");
  EXPECT_EQ(environment.Run({"--settings=a.ini", "q.txt"}).output, "し\tsi\tシ\n");
  EXPECT_EQ(environment.Run({"q.txt"}).output, "し\tshi\tシ\n");
}

TEST(RomajiPrinterTest, ReadsFilesInOrderAndStandardInputWhenNoneIsNamed) {
  FakeEnvironment environment;
  environment.files = {{"1.txt", "いぬ\n"}, {"2.txt", "\x82\n"}};
  environment.standardInput = "ねこ\n";
  EXPECT_EQ(environment.Run({}).output, "ねこ\tneko\tネコ\n");
  const PrinterResult result = environment.Run({"2.txt", "-", "1.txt"});
  EXPECT_EQ(result.output, "ねこ\tneko\tネコ\nいぬ\tinu\tイヌ\n");
  EXPECT_EQ(result.errors, "2.txt:1: not valid Shift_JIS; line skipped\n");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(environment.Run({"--", "--utf8"}).exitCode, 2) << "after --, an option is a file name";
}

TEST(RomajiPrinterTest, HandsLargeOutputToStandardOutputInWholeLines) {
  FakeEnvironment environment;
  std::string input;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    input += "しんぶん\n";
    expected += "しんぶん\tshinnbunn\tシンブン\n";
  }
  environment.files = {{"big.txt", input}};
  std::vector<std::string> pieces;
  PrinterEnvironment streaming;
  streaming.openFile = [&](const std::string& path) {
    return std::optional<InputReader>(ReaderFromString(environment.files[path]));
  };
  streaming.writeOutput = [&](std::string_view bytes) { pieces.emplace_back(bytes); };
  const PrinterResult result = RunRomajiPrinter({"big.txt"}, streaming);
  EXPECT_EQ(result.output, "");
  EXPECT_GT(pieces.size(), 1u) << "not held back until the end";
  std::string joined;
  for (const std::string& piece : pieces) {
    EXPECT_EQ(piece.back(), '\n') << "piece " << joined.size();
    joined += piece;
  }
  EXPECT_EQ(joined, expected);
}

std::string Repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(RomajiPrinterTest, LinesInBatchesGiveTheRowsOfLinesPrintedOneByOne) {
  // A line printed on its own ends too close to the end of its text for the
  // line converter, so it takes the way of the single-reading functions.
  using namespace std::string_literals;
  const std::string kinds[] = {
      "しんぶん", "きゃっと\r", "ab\0cd"s, "\x82", "\x81\x7F", Repeat("あ", 130), "a" + Repeat("ゃ", 84),
      Repeat("ゃ", 90), "", "\xB6\xC0\xB6\xC5", "漢字かな",
  };
  std::mt19937 random(7);
  std::string input;
  std::string expected;
  std::string errors;
  for (int number = 1; number <= 3000; ++number) {
    const std::string& line = kinds[random() % std::size(kinds)];
    input += line + "\n";
    const PrinterResult alone = Print(line + "\n");
    expected += alone.output;
    if (!alone.errors.empty()) errors += "in.txt:" + std::to_string(number) + ": not valid Shift_JIS; line skipped\n";
  }
  input += "おわり";  // a last line without a line break
  expected += Print("おわり").output;
  const PrinterResult result = Print(input);
  EXPECT_EQ(result.output, expected);
  EXPECT_EQ(result.errors, errors);
}

// Serves `text` in pieces of 1 to 13 bytes, and fails after `failAfter`
// bytes when that is set.
InputReader ReaderInPieces(std::string text, std::optional<std::size_t> failAfter = std::nullopt) {
  auto position = std::make_shared<std::size_t>(0);
  return [text = std::move(text), failAfter, position](char* buffer, std::size_t size) -> std::optional<std::size_t> {
    if (failAfter && *position >= *failAfter) return std::nullopt;
    const std::size_t count = text.copy(buffer, std::min<std::size_t>(size, 1 + *position % 13), *position);
    *position += count;
    return count;
  };
}

TEST(RomajiPrinterTest, AnInputGivesTheSameRowsInWhateverPiecesItArrives) {
  std::string input;
  for (int i = 0; i < 500; ++i) input += i % 7 == 0 ? "ね\xFFこ\r\n" : i % 5 == 0 ? "しゃしん\r\n" : "きっぷ\n";
  input += Repeat("あ", 40000) + "\nおわり";  // a line longer than a piece of input
  const PrinterResult whole = Print(input);
  PrinterEnvironment environment;
  environment.openFile = [&](const std::string&) { return std::optional<InputReader>(ReaderInPieces(input)); };
  const PrinterResult pieces = RunRomajiPrinter({"in.txt"}, environment);
  EXPECT_EQ(pieces.output, whole.output);
  EXPECT_EQ(pieces.errors, whole.errors);
  EXPECT_EQ(pieces.exitCode, 1);
}

TEST(RomajiPrinterTest, StopsWhereReadingFailsAndSaysSo) {
  PrinterEnvironment environment;
  environment.openFile = [](const std::string&) {
    // Pieces of 1, 2, 4 and 8 bytes: three lines, then the failure.
    return std::optional<InputReader>(ReaderInPieces("いぬ\nねこ\nさる\nうし\n", 15));
  };
  const PrinterResult result = RunRomajiPrinter({"in.txt"}, environment);
  EXPECT_EQ(result.output, "いぬ\tinu\tイヌ\nねこ\tneko\tネコ\nさる\tsaru\tサル\n") << "the lines read before";
  EXPECT_EQ(result.errors.rfind("kanaflow-romaji: cannot read input file 'in.txt'\n", 0), 0u) << result.errors;
  EXPECT_EQ(result.exitCode, 2);
}

TEST(RomajiPrinterTest, UsageErrorsSayWhatIsWrongAndExitWith2) {
  struct Row {
    std::vector<std::string> arguments;
    const char* message;
  } rows[] = {
      {{"--frobnicate"}, "kanaflow-romaji: unknown option '--frobnicate'\n"},
      {{"q.txt", "--settings"}, "kanaflow-romaji: --settings needs a FILE\n"},
      {{"--settings", "none.ini"}, "kanaflow-romaji: cannot read settings file 'none.ini'\n"},
      {{"q.txt", "none.txt"}, "kanaflow-romaji: cannot read input file 'none.txt'\n"},
  };
  FakeEnvironment environment;
  environment.files = {{"q.txt", "いぬ\n"}};
  for (const Row& row : rows) {
    const PrinterResult result = environment.Run(row.arguments);
    EXPECT_EQ(result.exitCode, 2) << row.message;
    EXPECT_EQ(result.output, "") << row.message;
    EXPECT_EQ(result.errors.rfind(row.message, 0), 0u) << result.errors;
    EXPECT_NE(result.errors.find("usage: kanaflow-romaji"), std::string::npos) << row.message;
  }
  const PrinterResult help = environment.Run({"q.txt", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.output.rfind("usage: kanaflow-romaji", 0), 0u);
}

}  // namespace
}  // namespace kanaflow
