#include "draw/virtual_keyboard_layout.h"

namespace kanaflow {
namespace {

// The alphanumeric block of a US keyboard, row by row from the left. Rows 0
// to 3 fill 15 units: a two-unit Backspace, a wide backslash key, Enter one
// row high, a short left Shift and a long right one. The space bar stands
// where it does behind Ctrl, Windows and Alt, which are not drawn, as the
// Japanese keyboard draws none of its bottom row either. US keys carry no
// kana.
constexpr KeyLayout kUsLayout[] = {
    // top-left  bottom-left  top-right  bottom-right  x  row  width  finger  special
    {"~", "`", "", "", 0, 0, 4, kLittle, false},
    {"!", "1", "", "", 4, 0, 4, kLittle, false},
    {"@", "2", "", "", 8, 0, 4, kRing, false},
    {"#", "3", "", "", 12, 0, 4, kMiddle, false},
    {"$", "4", "", "", 16, 0, 4, kIndex, false},
    {"%", "5", "", "", 20, 0, 4, kIndex, false},
    {"^", "6", "", "", 24, 0, 4, kIndex, false},
    {"&", "7", "", "", 28, 0, 4, kIndex, false},
    {"*", "8", "", "", 32, 0, 4, kMiddle, false},
    {"(", "9", "", "", 36, 0, 4, kRing, false},
    {")", "0", "", "", 40, 0, 4, kLittle, false},
    {"_", "-", "", "", 44, 0, 4, kLittle, false},
    {"+", "=", "", "", 48, 0, 4, kLittle, false},
    {"Back", "Space", "", "", 52, 0, 8, kOther, true},
    {"Tab", "", "", "", 0, 1, 6, kOther, true},
    {"Q", "", "", "", 6, 1, 4, kLittle, false},
    {"W", "", "", "", 10, 1, 4, kRing, false},
    {"E", "", "", "", 14, 1, 4, kMiddle, false},
    {"R", "", "", "", 18, 1, 4, kIndex, false},
    {"T", "", "", "", 22, 1, 4, kIndex, false},
    {"Y", "", "", "", 26, 1, 4, kIndex, false},
    {"U", "", "", "", 30, 1, 4, kIndex, false},
    {"I", "", "", "", 34, 1, 4, kMiddle, false},
    {"O", "", "", "", 38, 1, 4, kRing, false},
    {"P", "", "", "", 42, 1, 4, kLittle, false},
    {"{", "[", "", "", 46, 1, 4, kLittle, false},
    {"}", "]", "", "", 50, 1, 4, kLittle, false},
    {"|", "\\", "", "", 54, 1, 6, kLittle, false},
    {"Caps Lock", "", "", "", 0, 2, 7, kOther, true},
    {"A", "", "", "", 7, 2, 4, kLittle, false},
    {"S", "", "", "", 11, 2, 4, kRing, false},
    {"D", "", "", "", 15, 2, 4, kMiddle, false},
    {"F", "", "", "", 19, 2, 4, kIndex, false},
    {"G", "", "", "", 23, 2, 4, kIndex, false},
    {"H", "", "", "", 27, 2, 4, kIndex, false},
    {"J", "", "", "", 31, 2, 4, kIndex, false},
    {"K", "", "", "", 35, 2, 4, kMiddle, false},
    {"L", "", "", "", 39, 2, 4, kRing, false},
    {":", ";", "", "", 43, 2, 4, kLittle, false},
    {"\"", "'", "", "", 47, 2, 4, kLittle, false},
    {"Enter", "", "", "", 51, 2, 9, kOther, true},
    {"Shift", "", "", "", 0, 3, 9, kOther, true},
    {"Z", "", "", "", 9, 3, 4, kLittle, false},
    {"X", "", "", "", 13, 3, 4, kRing, false},
    {"C", "", "", "", 17, 3, 4, kMiddle, false},
    {"V", "", "", "", 21, 3, 4, kIndex, false},
    {"B", "", "", "", 25, 3, 4, kIndex, false},
    {"N", "", "", "", 29, 3, 4, kIndex, false},
    {"M", "", "", "", 33, 3, 4, kIndex, false},
    {"<", ",", "", "", 37, 3, 4, kMiddle, false},
    {">", ".", "", "", 41, 3, 4, kRing, false},
    {"?", "/", "", "", 45, 3, 4, kLittle, false},
    {"Shift", "", "", "", 49, 3, 11, kOther, true},
    {"", "", "", "", 15, 4, 25, kOther, false},
};

constexpr int kUsKeyCount = static_cast<int>(sizeof kUsLayout / sizeof kUsLayout[0]);

}  // namespace

LayoutTable UsLayoutTable() { return {kUsLayout, kUsKeyCount, kUsKeyCount - 1, 41, 52}; }

}  // namespace kanaflow
