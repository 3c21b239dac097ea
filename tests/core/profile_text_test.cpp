#include "platform/profile_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kanaflow {
namespace {

// Literals are compiled to code page 932. The rows below lean on a few trail
// bytes that are ASCII characters: ア is 0x83 0x41 ("A"), ヂ is 0x83 0x61
// ("a") and ゾ is 0x83 0x5D ("]").
static_assert(sizeof("ア") == 3 && "ア"[0] == '\x83' && "ア"[1] == 'A', "ア must be 0x83 0x41");
static_assert(sizeof("ヂ") == 3 && "ヂ"[0] == '\x83' && "ヂ"[1] == 'a', "ヂ must be 0x83 0x61");
static_assert(sizeof("ゾ") == 3 && "ゾ"[0] == '\x83' && "ゾ"[1] == ']', "ゾ must be 0x83 0x5D");

constexpr char kDefault[] = "<default>";

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// One lookup: the file's bytes, what is asked for, and what comes back.
struct ReadRow {
  const char* name;
  std::string file;
  std::string section;
  std::string key;
  std::string expected;
};

void ExpectReads(const ReadRow* rows, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const ReadRow& row = rows[i];
    const ProfileText profile(row.file);
    EXPECT_EQ(profile.GetString(row.section, row.key, kDefault), row.expected) << "row: " << row.name;
  }
}

template <std::size_t N>
void ExpectReads(const ReadRow (&rows)[N]) {
  ExpectReads(rows, N);
}

TEST(ProfileTextReadTest, NamesMatchWithoutRegardToCase) {
  const ReadRow rows[] = {
      {"section in capitals", "[Setting]\r\nShowKeyboard=0\r\n", "SETTING", "ShowKeyboard", "0"},
      {"key in small letters", "[Setting]\r\nShowKeyboard=0\r\n", "Setting", "showkeyboard", "0"},
      {"file in mixed case", "[sEtTiNg]\r\nSHOWKEYBOARD=0\r\n", "Setting", "ShowKeyboard", "0"},
      {"longer key is another key", "[Setting]\r\nShowKeyboardX=0\r\n", "Setting", "ShowKeyboard", kDefault},
      {"shorter key is another key", "[Setting]\r\nShow=0\r\n", "Setting", "ShowKeyboard", kDefault},
      {"longer section is another section", "[Settings]\r\nShowKeyboard=0\r\n", "Setting", "ShowKeyboard",
       kDefault},
  };
  ExpectReads(rows);
}

TEST(ProfileTextReadTest, BlanksAroundNamesAndValuesAreDropped) {
  const ReadRow rows[] = {
      {"blanks around the section line", "  [Setting]\t \r\nA=1\r\n", "Setting", "A", "1"},
      {"blanks inside the brackets", "[ Setting\t]\r\nA=1\r\n", "Setting", "A", "1"},
      {"blanks around key and value", "[S]\r\n \tA \t= \t1 \t\r\n", "S", "A", "1"},
      {"blanks inside a value kept", "[S]\r\nA =  one  two  \r\n", "S", "A", "one  two"},
      {"blanks inside a key kept", "[S]\r\nmy key = 1\r\n", "S", "my key", "1"},
      {"blanks around the asked names", "[S]\r\nA=1\r\n", " S\t", "\tA ", "1"},
      {"value of blanks only is empty", "[S]\r\nA=  \t \r\n", "S", "A", ""},
  };
  ExpectReads(rows);
}

TEST(ProfileTextReadTest, OnePairOfMatchingQuotesIsRemoved) {
  const ReadRow rows[] = {
      {"double quotes", "[S]\r\nA=\"abc\"\r\n", "S", "A", "abc"},
      {"single quotes", "[S]\r\nA='abc'\r\n", "S", "A", "abc"},
      {"blanks inside quotes kept", "[S]\r\nA= \"  a b  \" \r\n", "S", "A", "  a b  "},
      {"only the outer pair", "[S]\r\nA=\"\"abc\"\"\r\n", "S", "A", "\"abc\""},
      {"quotes around nothing", "[S]\r\nA=\"\"\r\n", "S", "A", ""},
      {"quotes that do not match", "[S]\r\nA=\"abc'\r\n", "S", "A", "\"abc'"},
      {"opening quote only", "[S]\r\nA=\"abc\r\n", "S", "A", "\"abc"},
      {"closing quote only", "[S]\r\nA=abc\"\r\n", "S", "A", "abc\""},
      {"one quote alone", "[S]\r\nA=\"\r\n", "S", "A", "\""},
      {"quotes inside the value", "[S]\r\nA=a\"b\"\r\n", "S", "A", "a\"b\""},
  };
  ExpectReads(rows);
}

TEST(ProfileTextReadTest, TheFirstOfDuplicateSectionsAndKeysWins) {
  const std::string sections = "[S]\r\nA=1\r\n[T]\r\nB=2\r\n[s]\r\nA=3\r\nC=4\r\n";
  const ReadRow rows[] = {
      {"key of the first section", sections, "S", "A", "1"},
      {"key only in the second section is not read", sections, "S", "C", kDefault},
      {"other section between them", sections, "T", "B", "2"},
      {"duplicate key", "[S]\r\nA=1\r\nA=2\r\n", "S", "A", "1"},
      {"duplicate key in other case", "[S]\r\na=1\r\nA=2\r\n", "S", "A", "1"},
      {"duplicate key with empty value first", "[S]\r\nA=\r\nA=2\r\n", "S", "A", ""},
  };
  ExpectReads(rows);
}

TEST(ProfileTextReadTest, LineNumbersPointAtWhatIsRead) {
  const struct Row {
    const char* name;
    const char* text;
    const char* key;
    int line;
  } rows[] = {
      {"plain", "[S]\r\nA=1\r\nB=2\r\n", "B", 3},
      {"any case", "[s]\r\nquestionnumber=1\r\n", "QuestionNumber", 2},
      {"blanks", "  [ S ]  \r\n\r\n  B  =  2 \r\n", "B", 3},
      {"first of two", "[S]\r\nB=1\r\nB=2\r\n", "B", 2},
      {"line without =", "[S]\r\nB\r\nB=2\r\n", "B", 2},
      {"second section ignored", "[S]\r\nA=1\r\n[T]\r\n[S]\r\nB=2\r\n", "B", 0},
      {"other section", "[T]\r\nB=1\r\n[S]\r\nB=2\r\n", "B", 4},
      {"outside any section", "B=1\r\n[S]\r\n", "B", 0},
      {"LF and lone CR", "[S]\nA=1\rB=2\n", "B", 3},
      {"absent", "[S]\r\nA=1\r\n", "B", 0},
  };
  for (const Row& row : rows) EXPECT_EQ(ProfileText(row.text).KeyLineNumber("S", row.key), row.line) << row.name;
  EXPECT_EQ(ProfileText("A=1\r\n[T]\r\n[s]\r\n").SectionLineNumber("S"), 3);
  EXPECT_EQ(ProfileText("[T]\r\n").SectionLineNumber("S"), 0);
}

TEST(ProfileTextReadTest, AbsentKeysGiveTheDefaultAndEmptyValuesDoNot) {
  const ReadRow rows[] = {
      {"empty value", "[S]\r\nA=\r\n", "S", "A", ""},
      {"line without equals sign", "[S]\r\nA\r\nB=2\r\n", "S", "A", kDefault},
      {"key after a line without equals sign", "[S]\r\nA\r\nB=2\r\n", "S", "B", "2"},
      {"key absent from its section", "[S]\r\nA=1\r\n", "S", "B", kDefault},
      {"section absent", "[S]\r\nA=1\r\n", "T", "A", kDefault},
      {"empty file", "", "S", "A", kDefault},
      {"key before any section", "A=1\r\n[S]\r\nB=2\r\n", "S", "A", kDefault},
      {"key before any section, empty section name", "A=1\r\n[S]\r\nB=2\r\n", "", "A", kDefault},
      {"key of the section before", "[T]\r\nA=1\r\n[S]\r\nB=2\r\n", "S", "A", kDefault},
      {"comment line", "[S]\r\n;A=1\r\n", "S", "A", kDefault},
  };
  ExpectReads(rows);

  struct FindRow {
    const char* name;
    std::string file;
    std::optional<std::string> expected;
  } findRows[] = {
      {"empty value is present", "[S]\r\nA=\r\n", std::string()},
      {"value is present", "[S]\r\nA=1\r\n", std::string("1")},
      {"line without equals sign is absent", "[S]\r\nA\r\n", std::nullopt},
      {"missing key is absent", "[S]\r\nB=1\r\n", std::nullopt},
  };
  for (const FindRow& row : findRows) {
    EXPECT_EQ(ProfileText(row.file).Find("S", "A"), row.expected) << "row: " << row.name;
  }
}

TEST(ProfileTextReadTest, TheDefaultLosesItsTrailingBlanks) {
  struct Row {
    const char* name;
    std::string defaultValue;
    std::string expected;
  } rows[] = {
      {"trailing blanks", "dflt   ", "dflt"},
      {"blanks between words kept", "one two  ", "one two"},
      {"leading blanks kept", "  dflt", "  dflt"},
      {"blanks only", "   ", ""},
      {"empty", "", ""},
      {"cut to 254 bytes", std::string(300, 'd'), std::string(254, 'd')},
  };
  const ProfileText profile("[S]\r\nA=1\r\n");
  for (const Row& row : rows) {
    EXPECT_EQ(profile.GetString("S", "missing", row.defaultValue), row.expected) << "row: " << row.name;
    EXPECT_EQ(profile.GetString("T", "A", row.defaultValue), row.expected) << "row (no section): " << row.name;
  }
}

TEST(ProfileTextReadTest, ValuesAreCutTo254BytesAtACharacterBoundary) {
  const std::string a127 = Repeat("あ", 127);  // 254 bytes
  const ReadRow rows[] = {
      {"254 bytes kept", "[S]\r\nA=" + std::string(254, 'x') + "\r\n", "S", "A", std::string(254, 'x')},
      {"255 bytes cut", "[S]\r\nA=" + std::string(255, 'x') + "\r\n", "S", "A", std::string(254, 'x')},
      {"300 bytes cut", "[S]\r\nA=" + std::string(300, 'x') + "\r\n", "S", "A", std::string(254, 'x')},
      {"127 two-byte characters kept", "[S]\r\nA=" + a127 + "\r\n", "S", "A", a127},
      {"128 two-byte characters cut to 127", "[S]\r\nA=" + a127 + "あ\r\n", "S", "A", a127},
      {"cut before a character that would be split", "[S]\r\nA=x" + a127 + "\r\n", "S", "A",
       "x" + Repeat("あ", 126)},
      {"quotes removed before cutting", "[S]\r\nA=\"" + std::string(300, 'x') + "\"\r\n", "S", "A",
       std::string(254, 'x')},
      {"cut after blanks are dropped", "[S]\r\nA=   " + std::string(254, 'x') + "   \r\n", "S", "A",
       std::string(254, 'x')},
  };
  ExpectReads(rows);
}

TEST(ProfileTextReadTest, LinesEndWithCrLfLfOrCrAlone) {
  const ReadRow rows[] = {
      {"CR LF", "[S]\r\nA=1\r\nB=2\r\n", "S", "B", "2"},
      {"LF", "[S]\nA=1\nB=2\n", "S", "B", "2"},
      {"LF, first key", "[S]\nA=1\nB=2\n", "S", "A", "1"},
      {"CR alone, as old Mac files have it", "[S]\rA=1\rB=2\r", "S", "B", "2"},
      {"CR alone, first key", "[S]\rA=1\rB=2\r", "S", "A", "1"},
      {"no final line break", "[S]\r\nA=1\r\nB=2", "S", "B", "2"},
      {"no final line break, LF", "[S]\nA=1", "S", "A", "1"},
      {"CR not part of the value", "[S]\r\nA=1\r\n", "S", "A", "1"},
      {"empty lines between", "\r\n\r\n[S]\r\n\r\nA=1\r\n\r\n", "S", "A", "1"},
  };
  ExpectReads(rows);
}

TEST(ProfileTextReadTest, SectionLinesEndAtTheLastClosingBracket) {
  const ReadRow rows[] = {
      {"text after the bracket", "[S] ; note\r\nA=1\r\n", "S", "A", "1"},
      {"bracket inside the name", "[S]x]\r\nA=1\r\n", "S]x", "A", "1"},
      {"no closing bracket is no section", "[S]\r\nA=1\r\n[T\r\nA=2\r\n", "T", "A", kDefault},
      {"no closing bracket stays in the section before", "[S]\r\n[T\r\nA=2\r\n", "S", "A", "2"},
  };
  ExpectReads(rows);
}

TEST(ProfileTextReadTest, JapaneseNamesAndValuesAreBytesOfWholeCharacters) {
  const ReadRow rows[] = {
      {"Japanese section, key and value", "[設定]\r\nキー=値です\r\n", "設定", "キー", "値です"},
      {"trail byte 0x5C in the value", "[S]\r\nA=表示ソフト\r\n", "S", "A", "表示ソフト"},
      {"full-width blank is not a blank", "[S]\r\nA=　値　\r\n", "S", "A", "　値　"},
      {"trail byte A is not folded to a", "[S]\r\nア=1\r\n", "S", "ヂ", kDefault},
      {"trail byte a is not folded to A", "[S]\r\nヂ=1\r\n", "S", "ア", kDefault},
      {"same character found", "[S]\r\nヂ=1\r\n", "S", "ヂ", "1"},
      {"section with trail byte A", "[ア]\r\nK=1\r\n", "ヂ", "K", kDefault},
      {"ASCII after a Japanese character still folds", "[S]\r\nキーa=1\r\n", "S", "キーA", "1"},
      {"trail byte ] does not close the section", "[S] ゾ\r\nA=1\r\n", "S", "A", "1"},
      {"trail byte ] inside the section name", "[ゾーン]\r\nA=1\r\n", "ゾーン", "A", "1"},
  };
  ExpectReads(rows);
}

// One change: the file before, the value set and the whole file after.
struct WriteRow {
  const char* name;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::string after;
};

template <std::size_t N>
void ExpectWrites(const WriteRow (&rows)[N]) {
  for (const WriteRow& row : rows) {
    ProfileText profile(row.before);
    profile.SetString(row.section, row.key, row.value);
    EXPECT_EQ(profile.bytes(), row.after) << "row: " << row.name;
  }
}

TEST(ProfileTextWriteTest, AnExistingValueIsReplacedInPlace) {
  const WriteRow rows[] = {
      {"plain", "[S]\r\nA=1\r\nB=2\r\n", "S", "A", "9", "[S]\r\nA=9\r\nB=2\r\n"},
      {"key spelled as in the file", "[Setting]\r\nShowKeyboard=1\r\n", "SETTING", "showkeyboard", "0",
       "[Setting]\r\nShowKeyboard=0\r\n"},
      {"blanks of the old line dropped", "[S]\r\n  A = 1  \r\nB=2\r\n", "S", "A", "9", "[S]\r\nA=9\r\nB=2\r\n"},
      {"first of duplicate keys", "[S]\r\nA=1\r\nA=2\r\n", "S", "A", "9", "[S]\r\nA=9\r\nA=2\r\n"},
      {"first of duplicate sections", "[S]\r\nA=1\r\n[S]\r\nA=2\r\n", "S", "A", "9",
       "[S]\r\nA=9\r\n[S]\r\nA=2\r\n"},
      {"empty value", "[S]\r\nA=1\r\n", "S", "A", "", "[S]\r\nA=\r\n"},
      {"value set to empty one", "[S]\r\nA=\r\n", "S", "A", "1", "[S]\r\nA=1\r\n"},
      {"last line without line break", "[S]\r\nA=1", "S", "A", "9", "[S]\r\nA=9"},
      {"LF file", "[S]\nA=1\nB=2\n", "S", "A", "9", "[S]\nA=9\nB=2\n"},
      {"lone CR file", "[S]\rA=1\rB=2\r", "S", "A", "9", "[S]\rA=9\rB=2\r"},
      {"Japanese value", "[S]\r\nA=1\r\n", "S", "A", "値ソ", "[S]\r\nA=値ソ\r\n"},
      {"Japanese key", "[S]\r\nヂ=1\r\nア=2\r\n", "S", "ア", "9", "[S]\r\nヂ=1\r\nア=9\r\n"},
      {"line without equals sign becomes the key's line", "[S]\r\nA\r\nB=2\r\n", "S", "A", "9",
       "[S]\r\nA=9\r\nB=2\r\n"},
      {"long value written whole", "[S]\r\nA=1\r\n", "S", "A", std::string(300, 'v'),
       "[S]\r\nA=" + std::string(300, 'v') + "\r\n"},
  };
  ExpectWrites(rows);
}

TEST(ProfileTextWriteTest, EveryOtherByteIsKept) {
  const std::string before =
      "; written by hand\r\n"
      "[T]\r\n"
      "  x = \"y\"  \r\n"
      "\r\n"
      "[S]\r\n"
      ";A=old comment\r\n"
      "A=1\t; not a comment\r\n"
      "\r\n"
      "\r\n"
      "[U]\r\n"
      "A=0\r\n"
      "\x1A";
  const std::string replaced =
      "; written by hand\r\n"
      "[T]\r\n"
      "  x = \"y\"  \r\n"
      "\r\n"
      "[S]\r\n"
      ";A=old comment\r\n"
      "A=2\r\n"
      "\r\n"
      "\r\n"
      "[U]\r\n"
      "A=0\r\n"
      "\x1A";
  const std::string added =
      "; written by hand\r\n"
      "[T]\r\n"
      "  x = \"y\"  \r\n"
      "\r\n"
      "[S]\r\n"
      ";A=old comment\r\n"
      "A=1\t; not a comment\r\n"
      "B=3\r\n"
      "\r\n"
      "\r\n"
      "[U]\r\n"
      "A=0\r\n"
      "\x1A";
  const WriteRow rows[] = {
      {"replace between comments and other sections", before, "S", "A", "2", replaced},
      {"add between comments and other sections", before, "S", "B", "3", added},
  };
  ExpectWrites(rows);
}

TEST(ProfileTextWriteTest, ANewKeyFollowsTheLastLineOfItsSection) {
  const WriteRow rows[] = {
      {"before the blank line", "[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n", "S", "C", "3",
       "[S]\r\nA=1\r\nC=3\r\n\r\n[T]\r\nB=2\r\n"},
      {"section without keys", "[S]\r\n\r\n[T]\r\n", "S", "C", "3", "[S]\r\nC=3\r\n\r\n[T]\r\n"},
      {"after a comment line", "[S]\r\nA=1\r\n;note\r\n\r\n[T]\r\n", "S", "C", "3",
       "[S]\r\nA=1\r\n;note\r\nC=3\r\n\r\n[T]\r\n"},
      {"last section", "[T]\r\nB=2\r\n[S]\r\nA=1\r\n", "S", "C", "3", "[T]\r\nB=2\r\n[S]\r\nA=1\r\nC=3\r\n"},
      {"last line without line break", "[S]\r\nA=1", "S", "C", "3", "[S]\r\nA=1\r\nC=3\r\n"},
      {"section line without line break", "[S]", "S", "C", "3", "[S]\r\nC=3\r\n"},
      {"section found in other case", "[setting]\r\nA=1\r\n", "Setting", "C", "3", "[setting]\r\nA=1\r\nC=3\r\n"},
      {"first of duplicate sections", "[S]\r\nA=1\r\n[T]\r\n[S]\r\nB=2\r\n", "S", "C", "3",
       "[S]\r\nA=1\r\nC=3\r\n[T]\r\n[S]\r\nB=2\r\n"},
      {"key name without its blanks", "[S]\r\nA=1\r\n", "S", " C\t", "3", "[S]\r\nA=1\r\nC=3\r\n"},
      {"LF file", "[S]\nA=1\n\n[T]\n", "S", "C", "3", "[S]\nA=1\nC=3\n\n[T]\n"},
      {"LF file without final line break", "[S]\nA=1", "S", "C", "3", "[S]\nA=1\nC=3\n"},
      {"lone CR file", "[S]\rA=1\r\r[T]\r", "S", "C", "3", "[S]\rA=1\rC=3\r\r[T]\r"},
      {"lone CR file without final line break", "[S]\rA=1", "S", "C", "3", "[S]\rA=1\rC=3\r"},
  };
  ExpectWrites(rows);
}

TEST(ProfileTextWriteTest, ANewSectionGoesAtTheEnd) {
  const WriteRow rows[] = {
      {"after the last line", "[S]\r\nA=1\r\n", "T", "B", "2", "[S]\r\nA=1\r\n[T]\r\nB=2\r\n"},
      {"after blank lines at the end", "[S]\r\nA=1\r\n\r\n", "T", "B", "2", "[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n"},
      {"last line without line break", "[S]\r\nA=1", "T", "B", "2", "[S]\r\nA=1\r\n[T]\r\nB=2\r\n"},
      {"empty file", "", "T", "B", "2", "[T]\r\nB=2\r\n"},
      {"section name without its blanks", "", " T\t", "B", "2", "[T]\r\nB=2\r\n"},
      {"LF file", "[S]\nA=1\n", "T", "B", "2", "[S]\nA=1\n[T]\nB=2\n"},
      {"LF file without final line break", "[S]\nA=1", "T", "B", "2", "[S]\nA=1\n[T]\nB=2\n"},
      {"lone CR file", "[S]\rA=1\r", "T", "B", "2", "[S]\rA=1\r[T]\rB=2\r"},
      {"lone CR file of one line", "[S]\r", "T", "B", "2", "[S]\r[T]\rB=2\r"},
      {"keys before any section do not make one", "B=1\r\n", "T", "B", "2", "B=1\r\n[T]\r\nB=2\r\n"},
      {"a section line without closing bracket is no section", "[T\r\n", "T", "B", "2",
       "[T\r\n[T]\r\nB=2\r\n"},
      {"Japanese names", "", "設定", "キー", "値", "[設定]\r\nキー=値\r\n"},
  };
  ExpectWrites(rows);
}

// Editors that save "UTF-8 with BOM" put three bytes before the first
// section; the section is found all the same, and a rewrite keeps them.
TEST(ProfileTextWriteTest, AUtf8MarkBeforeTheFirstSectionIsPassedOverAndKept) {
  const std::string mark = "\xEF\xBB\xBF";
  ProfileText profile(mark + "[Setting]\r\nShowKeyboard=1\r\n");
  EXPECT_EQ(profile.GetString("Setting", "ShowKeyboard", kDefault), "1");
  EXPECT_EQ(profile.SectionLineNumber("Setting"), 1);
  profile.SetString("Setting", "ShowKeyboard", "0");
  EXPECT_EQ(profile.bytes(), mark + "[Setting]\r\nShowKeyboard=0\r\n");

  ProfileText markOnly(mark);
  markOnly.SetString("Setting", "A", "1");
  EXPECT_EQ(markOnly.bytes(), mark + "[Setting]\r\nA=1\r\n") << "no empty line after the mark";
  EXPECT_EQ(ProfileText("[Setting]\r\n" + mark + "A=1\r\n").GetString("Setting", "A", kDefault), kDefault)
      << "only the file's first bytes can be a mark";
}

TEST(ProfileTextWriteTest, WrittenValuesReadBack) {
  struct Row {
    const char* name;
    std::string value;
    std::string readBack;
  } rows[] = {
      {"plain", "1", "1"},
      {"empty", "", ""},
      {"Japanese", "表示ソフト", "表示ソフト"},
      {"longer than a field", std::string(300, 'v'), std::string(254, 'v')},
  };
  for (const Row& row : rows) {
    for (const char* file : {"", "[S]\r\nA=old\r\n", "[T]\nB=1\n"}) {
      ProfileText profile(file);
      profile.SetString("S", "A", row.value);
      EXPECT_EQ(profile.GetString("S", "A", kDefault), row.readBack) << "row: " << row.name << ", file: " << file;
    }
  }
}

}  // namespace
}  // namespace kanaflow
