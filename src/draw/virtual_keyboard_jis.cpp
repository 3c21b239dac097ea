#include "draw/virtual_keyboard_layout.h"

namespace kanaflow {
namespace {

// The 55 keys in index order. Row 0 fills 15 units, row 1 ends at 13.5 (there
// is no Enter key), row 2 at 14, row 3 fills 15 and row 4 holds only the space
// bar. The kana legends follow the JIS kana layout.
constexpr KeyLayout kJapaneseLayout[] = {
    // top-left    bottom-left  top-right  bottom-right  x   row  width  finger  special
    /*  0 */ {"半角", "全角", "", "", 0, 0, 4, kOther, true},
    /*  1 */ {"!", "1", "", "ぬ", 4, 0, 4, kLittle, false},
    /*  2 */ {"\"", "2", "", "ふ", 8, 0, 4, kRing, false},
    /*  3 */ {"#", "3", "ぁ", "あ", 12, 0, 4, kMiddle, false},
    /*  4 */ {"$", "4", "ぅ", "う", 16, 0, 4, kIndex, false},
    /*  5 */ {"%", "5", "ぇ", "え", 20, 0, 4, kIndex, false},
    /*  6 */ {"&", "6", "ぉ", "お", 24, 0, 4, kIndex, false},
    /*  7 */ {"'", "7", "ゃ", "や", 28, 0, 4, kIndex, false},
    /*  8 */ {"(", "8", "ゅ", "ゆ", 32, 0, 4, kMiddle, false},
    /*  9 */ {")", "9", "ょ", "よ", 36, 0, 4, kRing, false},
    /* 10 */ {"", "0", "を", "わ", 40, 0, 4, kLittle, false},
    /* 11 */ {"=", "-", "", "ほ", 44, 0, 4, kLittle, false},
    /* 12 */ {"~", "^", "", "へ", 48, 0, 4, kLittle, false},
    /* 13 */ {"|", "\\", "", "", 52, 0, 4, kLittle, false},
    /* 14 */ {"Back", "Space", "", "", 56, 0, 4, kOther, true},
    /* 15 */ {"Tab", "", "", "", 0, 1, 6, kOther, true},
    /* 16 */ {"Q", "", "", "た", 6, 1, 4, kLittle, false},
    /* 17 */ {"W", "", "", "て", 10, 1, 4, kRing, false},
    /* 18 */ {"E", "", "", "い", 14, 1, 4, kMiddle, false},
    /* 19 */ {"R", "", "", "す", 18, 1, 4, kIndex, false},
    /* 20 */ {"T", "", "", "か", 22, 1, 4, kIndex, false},
    /* 21 */ {"Y", "", "", "ん", 26, 1, 4, kIndex, false},
    /* 22 */ {"U", "", "", "な", 30, 1, 4, kIndex, false},
    /* 23 */ {"I", "", "", "に", 34, 1, 4, kMiddle, false},
    /* 24 */ {"O", "", "", "ら", 38, 1, 4, kRing, false},
    /* 25 */ {"P", "", "", "せ", 42, 1, 4, kLittle, false},
    /* 26 */ {"`", "@", "", "゛", 46, 1, 4, kLittle, false},
    /* 27 */ {"{", "[", "「", "゜", 50, 1, 4, kLittle, false},
    /* 28 */ {"Caps Lock", "英数", "", "", 0, 2, 8, kOther, true},
    /* 29 */ {"A", "", "", "ち", 8, 2, 4, kLittle, false},
    /* 30 */ {"S", "", "", "と", 12, 2, 4, kRing, false},
    /* 31 */ {"D", "", "", "し", 16, 2, 4, kMiddle, false},
    /* 32 */ {"F", "", "", "は", 20, 2, 4, kIndex, false},
    /* 33 */ {"G", "", "", "き", 24, 2, 4, kIndex, false},
    /* 34 */ {"H", "", "", "く", 28, 2, 4, kIndex, false},
    /* 35 */ {"J", "", "", "ま", 32, 2, 4, kIndex, false},
    /* 36 */ {"K", "", "", "の", 36, 2, 4, kMiddle, false},
    /* 37 */ {"L", "", "", "り", 40, 2, 4, kRing, false},
    /* 38 */ {"+", ";", "", "れ", 44, 2, 4, kLittle, false},
    /* 39 */ {"*", ":", "", "け", 48, 2, 4, kLittle, false},
    /* 40 */ {"}", "]", "」", "む", 52, 2, 4, kLittle, false},
    /* 41 */ {"Shift", "", "", "", 0, 3, 10, kOther, true},
    /* 42 */ {"Z", "", "", "つ", 10, 3, 4, kLittle, false},
    /* 43 */ {"X", "", "", "さ", 14, 3, 4, kRing, false},
    /* 44 */ {"C", "", "", "そ", 18, 3, 4, kMiddle, false},
    /* 45 */ {"V", "", "", "ひ", 22, 3, 4, kIndex, false},
    /* 46 */ {"B", "", "", "こ", 26, 3, 4, kIndex, false},
    /* 47 */ {"N", "", "", "み", 30, 3, 4, kIndex, false},
    /* 48 */ {"M", "", "", "も", 34, 3, 4, kIndex, false},
    /* 49 */ {"<", ",", "、", "ね", 38, 3, 4, kMiddle, false},
    /* 50 */ {">", ".", "。", "る", 42, 3, 4, kRing, false},
    /* 51 */ {"?", "/", "・", "め", 46, 3, 4, kLittle, false},
    /* 52 */ {"_", "＼", "", "ろ", 50, 3, 4, kLittle, false},
    /* 53 */ {"Shift", "", "", "", 54, 3, 6, kOther, true},
    /* 54 */ {"", "", "", "", 18, 4, 20, kOther, false},
};

constexpr int kJapaneseKeyCount = static_cast<int>(sizeof kJapaneseLayout / sizeof kJapaneseLayout[0]);

}  // namespace

LayoutTable JapaneseLayoutTable() { return {kJapaneseLayout, kJapaneseKeyCount, 54, 41, 53}; }

}  // namespace kanaflow
