#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace kanaflow::cp932 {
namespace {

TEST(Cp932Test, LeadBytesAreTheTwoShiftJisRanges) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool expected = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(byte)), expected) << "byte " << byte;
  }
}

TEST(Cp932Test, UnassignedBytesAreTheThreeGapsOfTheSingleBytes) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool expected = byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
    EXPECT_EQ(IsUnassignedByte(static_cast<unsigned char>(byte)), expected) << "byte " << byte;
  }
}

TEST(Cp932Test, StepsByCharacterAndNeverPastTheEnd) {
  const std::string text = "aし\x83\x5C" "b\x82";  // a, し, ソ (trail byte 0x5C), b, lone lead byte
  struct Row {
    std::size_t pos, next, prev;
  } rows[] = {{0, 1, 0}, {1, 3, 0}, {3, 5, 1}, {5, 6, 3}, {6, 7, 5}, {7, 7, 6}};
  for (const Row& row : rows) {
    EXPECT_EQ(NextChar(text, row.pos), row.next) << "at " << row.pos;
    EXPECT_EQ(PrevChar(text, row.pos), row.prev) << "at " << row.pos;
  }
  EXPECT_EQ(CharLength(text, 6), 1u) << "a lone lead byte at the end is one byte";
  EXPECT_EQ(DoubleByteCodeAt(text, 6), 0) << "no trail byte to read";
  EXPECT_EQ(DoubleByteCodeAt(text, 3), 0x835C);
}

TEST(Cp932Test, ComparesTwoByteCharactersExactly) {
  const std::string text = "しシ";
  EXPECT_TRUE(IsCharAt(text, 0, 0x82B5));
  EXPECT_FALSE(IsCharAt(text, 2, 0x82B5)) << "katakana シ is not hiragana し";
  EXPECT_TRUE(IsCharAt(text, 2, 0x8356));
  EXPECT_FALSE(IsCharAt("a", 0, 0x0061)) << "single bytes are never two-byte characters";
}

TEST(Cp932Test, HiraganaBecomeKatakanaOfTheSameSound) {
  struct Row {
    const char* hiragana;
    const char* katakana;
  } rows[] = {{"ぁ", "ァ"}, {"あ", "ア"}, {"み", "ミ"}, {"む", "ム"}, {"ゃ", "ャ"},
              {"ゎ", "ヮ"}, {"ゐ", "ヰ"}, {"ゑ", "ヱ"}, {"を", "ヲ"}, {"ん", "ン"},
              {"ゝ", "ヽ"}, {"ゞ", "ヾ"}, {"が", "ガ"}, {"ぱ", "パ"}};
  for (const Row& row : rows) EXPECT_EQ(ToKatakana(row.hiragana), row.katakana) << row.katakana;
  EXPECT_EQ(ToKatakana("abc漢字カナー！"), "abc漢字カナー！") << "everything else stays";
  EXPECT_EQ(ToKatakana(std::string("い\x82", 3)), std::string("イ\x82", 3)) << "lone lead byte kept";
}

TEST(Cp932Test, HalfWidthFormsFollowTheUnicodeHalfwidthAndFullwidthForms) {
  struct Row {
    const char* fullWidth;
    int halfWidth;  // -1: no one-byte form
  } rows[] = {
      {"Ａ", 'A'},  {"ｚ", 'z'}, {"０", '0'},  {"９", '9'},   {"！", '!'},  {"＼", '\\'}, {"～", '~'},
      {"　", ' '},  {"－", '-'}, {"｜", '|'},  {"ア", 0xB1}, {"ン", 0xDD}, {"ヲ", 0xA6}, {"ッ", 0xAF},
      {"ー", 0xB0}, {"。", 0xA1}, {"゛", 0xDE}, {"ガ", -1},   {"ヴ", -1},   {"ヶ", -1},   {"ヰ", -1},
      {"あ", -1},   {"漢", -1},  {"α", -1},
  };
  for (const Row& row : rows) {
    const auto form = HalfWidthForm(DoubleByteCodeAt(row.fullWidth, 0));
    if (row.halfWidth < 0) {
      EXPECT_FALSE(form.has_value()) << row.fullWidth;
    } else {
      ASSERT_TRUE(form.has_value()) << row.fullWidth;
      EXPECT_EQ(*form, row.halfWidth) << row.fullWidth;
    }
  }
}

TEST(Cp932Test, CutsOnlyAtCharacterBoundaries) {
  struct Row {
    std::string text;
    std::size_t limit;
    std::string expected;
  } rows[] = {
      {"abc", 5, "abc"}, {"abc", 2, "ab"}, {"あいう", 4, "あい"}, {"あいう", 3, "あ"},
      {"aあ", 2, "a"},   {"", 0, ""},      {"\x82", 1, "\x82"},
  };
  for (const Row& row : rows) EXPECT_EQ(CutToFit(row.text, row.limit), row.expected) << row.text << " " << row.limit;
}

TEST(Cp932Test, WellFormedTextHasNoStrayBytes) {
  struct Row {
    std::string text;
    bool wellFormed;
  } rows[] = {{"abc", true}, {"あいう", true}, {"\xB1\xDD", true},   {"\x82", false},
              {"\x82\x20", false}, {"\x80", false}, {"\xFD", false}, {"\x81\x7F", false}};
  for (const Row& row : rows) EXPECT_EQ(IsWellFormed(row.text), row.wellFormed) << row.text;
}

TEST(Cp932Test, FoldsOnlyAsciiLettersAndNeverTrailBytes) {
  EXPECT_TRUE(EqualIgnoringAsciiCase("Setting", "sETTING"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("Setting", "Settings"));
  // ア is 0x83 0x41 and チ is 0x83 0x60: their trail bytes are "A" and "`".
  EXPECT_FALSE(EqualIgnoringAsciiCase("\x83\x41", "\x83\x61")) << "trail byte folded";
  EXPECT_TRUE(EqualIgnoringAsciiCase("キーA", "キーa"));
}

}  // namespace
}  // namespace kanaflow::cp932
