// The US keyboard against sources that owe nothing to its table: the X
// keyboard map of the US layout, and the Japanese keyboard's fingers.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "draw/virtual_keyboard.h"

namespace kanaflow {
namespace {

constexpr int kUnit = 40;
constexpr KeyboardColours kColours{1, 2, 3, 4, 5, 6, 7};

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
  CVirtualKeyboard keyboard(kColours, 16, 14, kUnit, KeyboardLayout::Us);
  int checked = 0;
  for (std::sregex_iterator it(basic.begin(), basic.end(), entry), end; it != end; ++it) {
    const std::string name = (*it)[1];
    const int row = name == "TLDE" ? 0 : name == "BKSL" ? 1 : static_cast<int>(std::string("EDCB").find(name[1]));
    const int column = name == "TLDE" ? 0 : name == "BKSL" ? 13 : std::stoi(name.substr(2));
    for (int level = 0; level < 2; ++level, ++checked) {
      const std::string text(1, ascii.at((*it)[2 + level]));
      keyboard.ClearHighlights();
      keyboard.HighlightNextKey(text);
      const CKeyboardKey* key = keyboard.FindKey(text);
      ASSERT_TRUE(key && key->marked()) << text;
      EXPECT_EQ(key->y() / kUnit * 100 + ColumnOf(keyboard, *key), row * 100 + column) << text;
      int marked = 0, shifts = 0;
      for (int i = 0; i < keyboard.keyCount(); ++i) {
        marked += keyboard.key(i).marked() ? 1 : 0;
        shifts += keyboard.key(i).marked() && keyboard.key(i).label(0) == "Shift" ? 1 : 0;
      }
      EXPECT_TRUE(marked == 1 + shifts && shifts == 2 * level) << text << ": both Shift keys with level 2";
    }
  }
  EXPECT_EQ(checked, 0x7E - 0x20) << "every printable character but the space";
}

TEST(UsKeyboardTest, RowsTileTheBlockAndFingersAreTheJapaneseKeyboards) {
  const CVirtualKeyboard us(kColours, 16, 14, kUnit, KeyboardLayout::Us);
  const CVirtualKeyboard japanese(kColours, 16, 14, kUnit);
  int rowEnds = 0;
  for (int i = 0; i < us.keyCount(); ++i) {
    if (us.key(i).y() < 4 * kUnit) ColumnOf(us, us.key(i));  // the space bar's row has only it
    rowEnds += us.key(i).y() < 4 * kUnit && us.key(i).x() + us.key(i).width() == us.width() ? 1 : 0;
  }
  EXPECT_EQ(rowEnds, 4) << "rows 0 to 3 end at the block's right edge";
  for (const char c : std::string("1234567890abcdefghijklmnopqrstuvwxyz,./")) {
    EXPECT_EQ(us.FindKey(std::string(1, c))->fillColour(), japanese.FindKey(std::string(1, c))->fillColour()) << c;
  }
  // The keys that sit elsewhere on the two keyboards end the rows: little finger.
  for (const char c : std::string("`-=[]\\;'")) EXPECT_EQ(us.FindKey(std::string(1, c))->fillColour(), kColours.little);
}

}  // namespace
}  // namespace kanaflow
