#include "draw/virtual_keyboard.h"

#include <gtest/gtest.h>

#include <array>
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kanaflow {
namespace {

enum class Finger { Little, Ring, Middle, Index, Other };
constexpr Finger L = Finger::Little, R = Finger::Ring, M = Finger::Middle, I = Finger::Index, O = Finger::Other;

const KeyboardColours kColours{0x102030, 0x405060, 0x8080FF, 0x80FFFF, 0x80FF80, 0xFFFF80, 0xFFFFFF};

Colour ColourOf(Finger finger) {
  switch (finger) {
    case Finger::Little: return kColours.little;
    case Finger::Ring: return kColours.ring;
    case Finger::Middle: return kColours.middle;
    case Finger::Index: return kColours.index;
    case Finger::Other: break;
  }
  return kColours.other;
}

CVirtualKeyboard MakeKeyboard(int unit = 40) { return CVirtualKeyboard(kColours, 16, 14, unit); }

int IndexOf(const CVirtualKeyboard& keyboard, const CKeyboardKey* key) {
  return key == nullptr ? -1 : static_cast<int>(key - &keyboard.key(0));
}

std::string ByteName(int byte) { return "byte " + std::to_string(byte); }

// ---------------------------------------------------------------- layout

TEST(VirtualKeyboardLayoutTest, KeysFollowTheJisLayoutTable) {
  struct Row {
    const char *topLeft, *bottomLeft, *topRight, *bottomRight;
    int x, y, width;
    Finger finger;
    bool special;
  } rows[CVirtualKeyboard::kKeyCount] = {
      {"半角", "全角", "", "", 0, 0, 40, O, true},       {"!", "1", "", "ぬ", 40, 0, 40, L, false},
      {"\"", "2", "", "ふ", 80, 0, 40, R, false},       {"#", "3", "ぁ", "あ", 120, 0, 40, M, false},
      {"$", "4", "ぅ", "う", 160, 0, 40, I, false},     {"%", "5", "ぇ", "え", 200, 0, 40, I, false},
      {"&", "6", "ぉ", "お", 240, 0, 40, I, false},     {"'", "7", "ゃ", "や", 280, 0, 40, I, false},
      {"(", "8", "ゅ", "ゆ", 320, 0, 40, M, false},     {")", "9", "ょ", "よ", 360, 0, 40, R, false},
      {"", "0", "を", "わ", 400, 0, 40, L, false},      {"=", "-", "", "ほ", 440, 0, 40, L, false},
      {"~", "^", "", "へ", 480, 0, 40, L, false},       {"|", "\\", "", "", 520, 0, 40, L, false},
      {"Back", "Space", "", "", 560, 0, 40, O, true},   {"Tab", "", "", "", 0, 40, 60, O, true},
      {"Q", "", "", "た", 60, 40, 40, L, false},        {"W", "", "", "て", 100, 40, 40, R, false},
      {"E", "", "", "い", 140, 40, 40, M, false},       {"R", "", "", "す", 180, 40, 40, I, false},
      {"T", "", "", "か", 220, 40, 40, I, false},       {"Y", "", "", "ん", 260, 40, 40, I, false},
      {"U", "", "", "な", 300, 40, 40, I, false},       {"I", "", "", "に", 340, 40, 40, M, false},
      {"O", "", "", "ら", 380, 40, 40, R, false},       {"P", "", "", "せ", 420, 40, 40, L, false},
      {"`", "@", "", "゛", 460, 40, 40, L, false},      {"{", "[", "「", "゜", 500, 40, 40, L, false},
      {"Caps Lock", "英数", "", "", 0, 80, 80, O, true}, {"A", "", "", "ち", 80, 80, 40, L, false},
      {"S", "", "", "と", 120, 80, 40, R, false},       {"D", "", "", "し", 160, 80, 40, M, false},
      {"F", "", "", "は", 200, 80, 40, I, false},       {"G", "", "", "き", 240, 80, 40, I, false},
      {"H", "", "", "く", 280, 80, 40, I, false},       {"J", "", "", "ま", 320, 80, 40, I, false},
      {"K", "", "", "の", 360, 80, 40, M, false},       {"L", "", "", "り", 400, 80, 40, R, false},
      {"+", ";", "", "れ", 440, 80, 40, L, false},      {"*", ":", "", "け", 480, 80, 40, L, false},
      {"}", "]", "」", "む", 520, 80, 40, L, false},    {"Shift", "", "", "", 0, 120, 100, O, true},
      {"Z", "", "", "つ", 100, 120, 40, L, false},      {"X", "", "", "さ", 140, 120, 40, R, false},
      {"C", "", "", "そ", 180, 120, 40, M, false},      {"V", "", "", "ひ", 220, 120, 40, I, false},
      {"B", "", "", "こ", 260, 120, 40, I, false},      {"N", "", "", "み", 300, 120, 40, I, false},
      {"M", "", "", "も", 340, 120, 40, I, false},      {"<", ",", "、", "ね", 380, 120, 40, M, false},
      {">", ".", "。", "る", 420, 120, 40, R, false},   {"?", "/", "・", "め", 460, 120, 40, L, false},
      {"_", "＼", "", "ろ", 500, 120, 40, L, false},    {"Shift", "", "", "", 540, 120, 60, O, true},
      {"", "", "", "", 180, 160, 200, O, false},
  };
  const CVirtualKeyboard keyboard = MakeKeyboard();
  for (int i = 0; i < CVirtualKeyboard::kKeyCount; ++i) {
    const Row& row = rows[i];
    const CKeyboardKey& key = keyboard.key(i);
    SCOPED_TRACE("key " + std::to_string(i));
    EXPECT_EQ(key.label(0), row.topLeft);
    EXPECT_EQ(key.label(1), row.bottomLeft);
    EXPECT_EQ(key.label(2), row.topRight);
    EXPECT_EQ(key.label(3), row.bottomRight);
    EXPECT_EQ(key.x(), row.x);
    EXPECT_EQ(key.y(), row.y);
    EXPECT_EQ(key.width(), row.width);
    EXPECT_EQ(key.height(), 40);
    EXPECT_EQ(key.fillColour(), ColourOf(row.finger));
    EXPECT_EQ(key.lineColour(), kColours.line);
    EXPECT_EQ(key.textColour(), kColours.text);
    EXPECT_EQ(key.special(), row.special);
    EXPECT_EQ(key.labelFontHeight(), (row.special || i == 54) ? 14 : 16) << "the space bar has small labels";
    EXPECT_FALSE(key.marked() || key.showLabels() || key.fingerColours() || key.resultsView());
    EXPECT_EQ(key.strokeCount(), 0);
    EXPECT_EQ(key.keyMisses(), 0);
    EXPECT_EQ(key.keyTimeTotal(), 0u);
  }
  EXPECT_EQ(keyboard.width(), 600);
  EXPECT_EQ(keyboard.height(), 200);
  EXPECT_EQ(keyboard.lineColour(), kColours.line);
}

TEST(VirtualKeyboardLayoutTest, HalfUnitsAreTruncatedTowardZero) {
  struct Row {
    int unit, key, x, y, width;
  } rows[] = {
      {41, 15, 0, 41, 61},     // 1.5 u = 61.5
      {41, 16, 61, 41, 41},    {41, 41, 0, 123, 102},  // 2.5 u = 102.5
      {41, 53, 553, 123, 61},  // 13.5 u = 553.5
      {41, 54, 184, 164, 205}, {25, 27, 312, 25, 25},  // 12.5 u = 312.5
      {25, 28, 0, 50, 50},
  };
  for (const Row& row : rows) {
    const CVirtualKeyboard keyboard = MakeKeyboard(row.unit);
    const CKeyboardKey& key = keyboard.key(row.key);
    const std::string name = "unit " + std::to_string(row.unit) + " key " + std::to_string(row.key);
    EXPECT_EQ(key.x(), row.x) << name;
    EXPECT_EQ(key.y(), row.y) << name;
    EXPECT_EQ(key.width(), row.width) << name;
    EXPECT_EQ(key.height(), row.unit) << name;
  }
}

// ---------------------------------------------------------------- finding keys

TEST(VirtualKeyboardFindKeyTest, EveryByteFindsTheKeyThatTypesIt) {
  // What each key types, read off its legends; letters in both cases.
  const std::map<int, std::string> typedBy = {
      {1, "1!"},   {2, "2\""},  {3, "3#"},   {4, "4$"},   {5, "5%"},   {6, "6&"},   {7, "7'"},   {8, "8("},
      {9, "9)"},   {10, "0"},   {11, "-="},  {12, "^~"},  {13, "\\|"}, {16, "Qq"},  {17, "Ww"},  {18, "Ee"},
      {19, "Rr"},  {20, "Tt"},  {21, "Yy"},  {22, "Uu"},  {23, "Ii"},  {24, "Oo"},  {25, "Pp"},  {26, "@`"},
      {27, "[{"},  {29, "Aa"},  {30, "Ss"},  {31, "Dd"},  {32, "Ff"},  {33, "Gg"},  {34, "Hh"},  {35, "Jj"},
      {36, "Kk"},  {37, "Ll"},  {38, ";+"},  {39, ":*"},  {40, "]}"},  {42, "Zz"},  {43, "Xx"},  {44, "Cc"},
      {45, "Vv"},  {46, "Bb"},  {47, "Nn"},  {48, "Mm"},  {49, ",<"},  {50, ".>"},  {51, "/?"},  {52, "_"},
      {54, " "},
  };
  std::map<int, int> expected;
  for (const auto& [key, bytes] : typedBy) {
    for (char byte : bytes) {
      ASSERT_TRUE(expected.emplace(static_cast<unsigned char>(byte), key).second) << "typed twice: " << byte;
    }
  }
  const CVirtualKeyboard keyboard = MakeKeyboard();
  for (int byte = 0; byte < 256; ++byte) {
    const auto found = expected.find(byte);
    const int want = found == expected.end() ? -1 : found->second;
    EXPECT_EQ(IndexOf(keyboard, keyboard.FindKey(std::string(1, static_cast<char>(byte)))), want) << ByteName(byte);
  }
}

TEST(VirtualKeyboardFindKeyTest, OnlyTheFirstSingleByteCharacterCounts) {
  struct Row {
    std::string text;
    int key;
  } rows[] = {
      {"ka", 36},         {"Ab", 29},       {" x", 54},        {"\tA", -1},     {std::string("\0a", 2), -1},
      {"", -1},           {"ぬ", -1},       {"あ", -1},        {"「", -1},      {"゛", -1},
      {"＼", -1},         {"Ａ", -1},       {"\x82", -1},      {"\x81", -1},    {"漢a", -1},
  };
  const CVirtualKeyboard keyboard = MakeKeyboard();
  for (const Row& row : rows) EXPECT_EQ(IndexOf(keyboard, keyboard.FindKey(row.text)), row.key) << row.text;
}

TEST(VirtualKeyboardFindKeyTest, NamesOfSpecialKeysFindTheirLettersInstead) {
  struct Row {
    const char* text;
    int key;
  } rows[] = {{"B", 46}, {"T", 20}, {"C", 44}, {"S", 30}, {"Back", 46}, {"Space", 30}, {"Tab", 20},
              {"Caps Lock", 44}, {"Shift", 30}, {"半角", -1}, {"全角", -1}, {"英数", -1}};
  const CVirtualKeyboard keyboard = MakeKeyboard();
  for (const Row& row : rows) EXPECT_EQ(IndexOf(keyboard, keyboard.FindKey(row.text)), row.key) << row.text;
}

TEST(VirtualKeyboardShiftTest, EveryByteNeedsShiftOnlyInTheShiftedRanges) {
  struct Range {
    int first, last;
  } shifted[] = {{0x21, 0x2B}, {0x3C, 0x3F}, {0x41, 0x5A}, {0x5F, 0x60}, {0x7B, 0x7E}};
  for (int byte = 0; byte < 256; ++byte) {
    bool expected = false;
    for (const Range& range : shifted) expected = expected || (byte >= range.first && byte <= range.last);
    EXPECT_EQ(CVirtualKeyboard::NeedsShift(std::string(1, static_cast<char>(byte))), expected) << ByteName(byte);
  }
  EXPECT_FALSE(CVirtualKeyboard::NeedsShift(""));
}

TEST(VirtualKeyboardShiftTest, TopLeftLegendsNeedShiftAndBottomLeftOnesDoNot) {
  const CVirtualKeyboard keyboard = MakeKeyboard();
  for (int i = 0; i < CVirtualKeyboard::kKeyCount; ++i) {
    const CKeyboardKey& key = keyboard.key(i);
    if (key.special()) continue;
    if (!key.label(0).empty()) {
      EXPECT_TRUE(CVirtualKeyboard::NeedsShift(key.label(0))) << "key " << i;
    }
    if (!key.label(1).empty()) {
      EXPECT_FALSE(CVirtualKeyboard::NeedsShift(key.label(1))) << "key " << i;
    }
  }
}

// ---------------------------------------------------------------- marks and flags

TEST(VirtualKeyboardHighlightTest, MarksTheKeyAndBothShiftsWhenShifted) {
  struct Row {
    std::string text;
    std::set<int> marked;
  } rows[] = {
      {"A", {29, 41, 53}}, {"a", {29}},          {" ", {54}}, {"{", {27, 41, 53}}, {"[", {27}},
      {"!", {1, 41, 53}},  {"_", {52, 41, 53}},  {"\n", {}},  {"\t", {}},          {"", {}},
      {"あ", {}},          {"ka", {36}},
  };
  for (const Row& row : rows) {
    CVirtualKeyboard keyboard = MakeKeyboard();
    keyboard.HighlightNextKey(row.text);
    for (int i = 0; i < CVirtualKeyboard::kKeyCount; ++i) {
      EXPECT_EQ(keyboard.key(i).marked(), row.marked.count(i) == 1) << "text '" << row.text << "' key " << i;
    }
  }
}

TEST(VirtualKeyboardHighlightTest, MarksStayUntilCleared) {
  CVirtualKeyboard keyboard = MakeKeyboard();
  keyboard.HighlightNextKey("a");
  keyboard.HighlightNextKey("b");
  EXPECT_TRUE(keyboard.key(29).marked());
  EXPECT_TRUE(keyboard.key(46).marked());
  keyboard.ClearHighlights();
  for (int i = 0; i < CVirtualKeyboard::kKeyCount; ++i) EXPECT_FALSE(keyboard.key(i).marked()) << "key " << i;
}

TEST(VirtualKeyboardHighlightTest, FlagSettersReachEveryKey) {
  struct Row {
    const char* name;
    void (CVirtualKeyboard::*set)(bool);
    bool (CKeyboardKey::*get)() const;
  } rows[] = {{"showLabels", &CVirtualKeyboard::SetShowLabels, &CKeyboardKey::showLabels},
              {"fingerColours", &CVirtualKeyboard::SetFingerColours, &CKeyboardKey::fingerColours},
              {"resultsView", &CVirtualKeyboard::SetResultsView, &CKeyboardKey::resultsView}};
  for (const Row& row : rows) {
    CVirtualKeyboard keyboard = MakeKeyboard();
    for (bool on : {true, false}) {
      (keyboard.*row.set)(on);
      for (int i = 0; i < CVirtualKeyboard::kKeyCount; ++i) {
        EXPECT_EQ((keyboard.key(i).*row.get)(), on) << row.name << " key " << i;
      }
    }
  }
}

// ---------------------------------------------------------------- statistics

struct Stroke {
  const char* text;
  int misses;
  std::uint32_t milliseconds;
};

CVirtualKeyboard KeyboardAfter(const std::vector<Stroke>& strokes) {
  CVirtualKeyboard keyboard = MakeKeyboard();
  for (const Stroke& stroke : strokes) keyboard.RecordKeystroke(stroke.text, stroke.misses, stroke.milliseconds);
  return keyboard;
}

TEST(VirtualKeyboardStatisticsTest, KeystrokesAreChargedToTheKeyOfTheCharacter) {
  const CVirtualKeyboard keyboard =
      KeyboardAfter({{"a", 0, 300}, {"A", 2, 500}, {"k", 1, 0}, {" ", 0, 7}, {"\n", 3, 100}, {"あ", 1, 100}, {"", 1, 9}});
  struct Counters {
    int strokes, misses;
    std::uint32_t time;
  };
  const std::map<int, Counters> expected = {{29, {2, 2, 800}}, {36, {1, 1, 0}}, {54, {1, 0, 7}}};
  for (int i = 0; i < CVirtualKeyboard::kKeyCount; ++i) {
    const auto found = expected.find(i);
    const Counters want = found == expected.end() ? Counters{0, 0, 0} : found->second;
    EXPECT_EQ(keyboard.key(i).strokeCount(), want.strokes) << "key " << i;
    EXPECT_EQ(keyboard.key(i).keyMisses(), want.misses) << "key " << i;
    EXPECT_EQ(keyboard.key(i).keyTimeTotal(), want.time) << "key " << i;
  }
}

void ExpectOnlyMarked(const CVirtualKeyboard& keyboard, int expected, const std::string& name) {
  for (int i = 0; i < CVirtualKeyboard::kKeyCount; ++i) EXPECT_EQ(keyboard.key(i).marked(), i == expected) << name;
}

TEST(VirtualKeyboardStatisticsTest, MostMissedKeyHasTheHighestMissRate) {
  struct Row {
    const char* name;
    std::vector<Stroke> strokes;
    int key;
  } rows[] = {
      {"nothing recorded", {}, -1},
      {"no misses", {{"a", 0, 100}, {"k", 0, 200}}, -1},
      {"equal rates go to the later key",
       {{"a", 1, 100}, {"a", 0, 100}, {"k", 1, 100}, {"k", 1, 100}, {"k", 0, 100}, {"k", 0, 100}}, 36},
      {"later key wins whatever the order of typing",
       {{"k", 1, 100}, {"k", 1, 100}, {"k", 0, 100}, {"k", 0, 100}, {"a", 1, 100}, {"a", 0, 100}}, 36},
      {"rate, not the number of misses", {{"a", 1, 100}, {"a", 1, 100}, {"a", 0, 100}, {"a", 0, 100}, {"k", 1, 100}},
       36},
      {"higher rate of an earlier key", {{"a", 1, 100}, {"k", 1, 100}, {"k", 0, 100}}, 29},
      {"more misses of a later key", {{"a", 1, 100}, {"k", 1, 100}, {"k", 1, 100}, {"k", 0, 100}, {"k", 0, 100}}, 29},
      {"only 0 ms keystrokes leave no starting key", {{"a", 1, 0}}, -1},
      {"a key with misses but no time after a timed start", {{"a", 1, 0}, {"k", 0, 100}}, 29},
      {"the space bar", {{" ", 1, 100}, {"a", 0, 100}}, 54},
  };
  for (const Row& row : rows) {
    CVirtualKeyboard keyboard = KeyboardAfter(row.strokes);
    EXPECT_EQ(IndexOf(keyboard, keyboard.FindMostMissedKey()), row.key) << row.name;
    ExpectOnlyMarked(keyboard, row.key, row.name);
  }
}

TEST(VirtualKeyboardStatisticsTest, SlowestKeyHasTheHighestAverageTime) {
  struct Row {
    const char* name;
    std::vector<Stroke> strokes;
    int key;
  } rows[] = {
      {"nothing recorded", {}, 0},
      {"only 0 ms keystrokes", {{"a", 0, 0}, {"k", 2, 0}}, 0},
      {"slower key", {{"k", 0, 300}, {"a", 0, 100}}, 36},
      {"slower earlier key", {{"a", 0, 300}, {"k", 0, 100}}, 29},
      {"equal averages go to the later key", {{"k", 0, 200}, {"a", 0, 100}, {"a", 0, 300}}, 36},
      {"equal averages, typed the other way round", {{"a", 0, 200}, {"k", 0, 100}, {"k", 0, 300}}, 36},
      {"average, not the total", {{"a", 0, 100}, {"a", 0, 100}, {"a", 0, 100}, {"z", 0, 150}}, 42},
      {"a larger total of a later key", {{"a", 0, 200}, {"z", 0, 100}, {"z", 0, 100}, {"z", 0, 100}}, 29},
      {"0 ms keys are skipped", {{"a", 0, 0}, {"k", 0, 0}, {"z", 0, 50}}, 42},
  };
  for (const Row& row : rows) {
    CVirtualKeyboard keyboard = KeyboardAfter(row.strokes);
    EXPECT_EQ(IndexOf(keyboard, keyboard.FindSlowestKey()), row.key) << row.name;
    ExpectOnlyMarked(keyboard, row.key, row.name);
  }
}

TEST(VirtualKeyboardStatisticsTest, TimeLineHasThreeSignificantDigitsInSevenBytes) {
  struct Row {
    std::uint32_t milliseconds;
    const char* line;
  } rows[] = {
      {0, "T：0"},         {1500, "T：1.5"},     {12345, "T：12.3"}, {100, "T：0.1"},
      {1000, "T：1"},      {60000, "T：60"},     {1234, "T：1.23"},  {123456, "T：123"},
      {1, "T：0.00"},      // 0.001
      {999999, "T：1e+0"},  // 1e+03
      {4294967295u, "T：4.29"},  // 4.29e+06
  };
  for (const Row& row : rows) EXPECT_EQ(KeyTimeLine(row.milliseconds), row.line) << row.milliseconds << " ms";
}

TEST(VirtualKeyboardStatisticsTest, StatisticsLinesShowTheThreeCounters) {
  struct Row {
    const char* name;
    std::vector<Stroke> strokes;
    std::array<std::string, 3> lines;
  } rows[] = {
      {"fresh key", {}, {"○：0", "×：0", "T：0"}},
      {"two strokes", {{"k", 3, 1500}, {"k", 2, 10845}}, {"○：2", "×：5", "T：12.3"}},
  };
  for (const Row& row : rows) {
    const CVirtualKeyboard keyboard = KeyboardAfter(row.strokes);
    EXPECT_EQ(keyboard.key(36).StatisticsLines(), row.lines) << row.name;
  }
}

// ---------------------------------------------------------------- what the painter draws

TEST(KeyboardKeyTest, LabelsAreCentredInEachHalfOfTheKey) {
  struct Row {
    int x, y, height, width, textHeight;
    std::array<int, 8> expected;  // x, y of labels 0..3
  } rows[] = {
      {100, 40, 40, 40, 16, {103, 42, 103, 62, 123, 42, 123, 62}},
      {100, 40, 40, 40, 12, {103, 44, 103, 64, 123, 44, 123, 64}},
      {100, 40, 40, 40, 15, {103, 42, 103, 62, 123, 42, 123, 62}},  // 5 / 2 = 2
      {100, 40, 40, 40, 25, {103, 38, 103, 58, 123, 38, 123, 58}},  // (20 - 25) / 2 = -2
      {100, 40, 40, 40, 27, {103, 37, 103, 57, 123, 37, 123, 57}},  // -7 / 2 = -3, toward zero
      {540, 120, 40, 60, 14, {543, 123, 543, 143, 573, 123, 573, 143}},
      {0, 0, 41, 61, 16, {3, 2, 3, 22, 33, 2, 33, 22}},
  };
  for (const Row& row : rows) {
    CKeyboardKey key;
    key.SetKey("", "", "", "", row.x, row.y, 0, 0, 0, 16, row.height, row.width, false);
    const auto positions = key.LabelPositions(row.textHeight);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(positions[i].x, row.expected[2 * i]) << "label " << i << " x at " << row.x << "," << row.textHeight;
      EXPECT_EQ(positions[i].y, row.expected[2 * i + 1]) << "label " << i << " y at " << row.x << "," << row.textHeight;
    }
  }
}

TEST(KeyboardKeyTest, StatisticsLinesStartTwoPixelsIn) {
  const CVirtualKeyboard keyboard = MakeKeyboard();
  const auto positions = keyboard.key(36).StatisticsPositions();  // K at (360, 80)
  const int expected[3][2] = {{362, 82}, {362, 94}, {362, 106}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(positions[i].x, expected[i][0]) << "line " << i;
    EXPECT_EQ(positions[i].y, expected[i][1]) << "line " << i;
  }
}

TEST(KeyboardKeyTest, FillPrefersTheMarkThenTheFingerColour) {
  struct Row {
    bool marked, fingerColours, resultsView;
    KeyFill fill;
  } rows[] = {
      {false, false, false, KeyFill::SurfaceBrush}, {false, true, false, KeyFill::Finger},
      {false, false, true, KeyFill::Finger},        {false, true, true, KeyFill::Finger},
      {true, false, false, KeyFill::NextKey},       {true, true, false, KeyFill::NextKey},
      {true, false, true, KeyFill::NextKey},        {true, true, true, KeyFill::NextKey},
  };
  for (const Row& row : rows) {
    CKeyboardKey key;
    key.SetMarked(row.marked);
    key.SetFingerColours(row.fingerColours);
    key.SetResultsView(row.resultsView);
    EXPECT_EQ(key.Fill(), row.fill) << "marked " << row.marked << " finger " << row.fingerColours << " results "
                                    << row.resultsView;
  }
}

// ---------------------------------------------------------------- the US keyboard
// Checked against sources that owe nothing to its table: the X keyboard map
// of the US layout, and the Japanese keyboard's fingers.

constexpr int kUnit = 40;

std::string ReadSystemFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) in.open("Z:" + path, std::ios::binary);  // under Wine
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Keys left of `key` in its row, which must end exactly where it starts.
int ColumnOf(const CVirtualKeyboard& keyboard, const CKeyboardKey& key) {
  int column = 0, right = 0;
  for (int i = 0; i < keyboard.keyCount(); ++i) {
    const CKeyboardKey& other = keyboard.key(i);
    if (other.y() != key.y() || other.x() >= key.x()) continue;
    ++column;
    right = std::max(right, other.x() + other.width());
  }
  EXPECT_EQ(right, key.x()) << key.label(0);
  return column;
}

// xkb names keys by place: <AE01> is the second key of row E (the number row)
// after <TLDE>; rows D, C and B follow; <BKSL> ends row D.
TEST(UsKeyboardTest, EveryPrintableCharacterIsWhereTheXKeyboardMapPutsIt) {
  const std::string symbols = ReadSystemFile("/usr/share/X11/xkb/symbols/us");
  const std::string keysyms = ReadSystemFile("/usr/include/X11/keysymdef.h");
  if (symbols.empty() || keysyms.empty()) GTEST_SKIP() << "no X keyboard map here";
  std::map<std::string, char> ascii;
  const std::regex define(R"(#define XK_(\w+)\s+0x00([2-7][0-9a-fA-F])\b)");
  for (std::sregex_iterator it(keysyms.begin(), keysyms.end(), define), end; it != end; ++it) {
    ascii.emplace((*it)[1], static_cast<char>(std::stoi((*it)[2], nullptr, 16)));
  }
  const std::string basic = symbols.substr(0, symbols.find("\n};"));
  const std::regex entry(R"(key <(\w+)>\s*\{\s*\[\s*(\w+),\s*(\w+)\s*\])");
  const CVirtualKeyboard keyboard(kColours, 16, 14, kUnit, KeyboardLayout::Us);
  int checked = 0;
  for (std::sregex_iterator it(basic.begin(), basic.end(), entry), end; it != end; ++it) {
    const std::string name = (*it)[1];
    const int row = name == "TLDE" ? 0 : name == "BKSL" ? 1 : static_cast<int>(std::string("EDCB").find(name[1]));
    const int column = name == "TLDE" ? 0 : name == "BKSL" ? 13 : std::stoi(name.substr(2));
    for (int level = 0; level < 2; ++level, ++checked) {
      const std::string text(1, ascii.at((*it)[2 + level]));
      const CKeyboardKey* key = keyboard.FindKey(text);
      ASSERT_NE(key, nullptr) << text;
      EXPECT_EQ(key->y() / kUnit * 100 + ColumnOf(keyboard, *key), row * 100 + column) << text;
      EXPECT_EQ(keyboard.TypedWithShift(text), level == 1) << text;
    }
  }
  EXPECT_EQ(checked, 0x7E - 0x20) << "every printable character but the space";
}

// Rows 0 to 3 tile the block (the space bar's row has only it). Keys that
// type the same character take the same finger as on the Japanese keyboard;
// the keys found elsewhere on the two end the rows, where the little fingers reach.
TEST(UsKeyboardTest, RowsTileTheBlockAndFingersAreTheJapaneseKeyboards) {
  const CVirtualKeyboard us(kColours, 16, 14, kUnit, KeyboardLayout::Us);
  const CVirtualKeyboard japanese(kColours, 16, 14, kUnit);
  int rowEnds = 0;
  for (int i = 0; i < us.keyCount(); ++i) {
    if (us.key(i).y() < 4 * kUnit) ColumnOf(us, us.key(i));
    rowEnds += us.key(i).y() < 4 * kUnit && us.key(i).x() + us.key(i).width() == us.width();
  }
  EXPECT_EQ(rowEnds, 4);
  for (const char c : std::string("1234567890abcdefghijklmnopqrstuvwxyz,./")) {
    EXPECT_EQ(us.FindKey(std::string(1, c))->fillColour(), japanese.FindKey(std::string(1, c))->fillColour()) << c;
  }
  for (const char c : std::string("`-=[]\\;'")) EXPECT_EQ(us.FindKey(std::string(1, c))->fillColour(), kColours.little);
}

}  // namespace
}  // namespace kanaflow
