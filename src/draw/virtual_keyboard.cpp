#include "draw/virtual_keyboard.h"

#include <cstddef>
#include <cstdio>

#include "platform/cp932.h"
#include "platform/number_text.h"

namespace kanaflow {
namespace {

enum class Finger { Little, Ring, Middle, Index, Other };

constexpr Finger kLittle = Finger::Little;
constexpr Finger kRing = Finger::Ring;
constexpr Finger kMiddle = Finger::Middle;
constexpr Finger kIndex = Finger::Index;
constexpr Finger kOther = Finger::Other;

// One key of the JIS layout. Positions are in half units so that the
// staggered rows stay exact integers; every key is one unit high.
struct KeyLayout {
  const char* topLeft;
  const char* bottomLeft;
  const char* topRight;
  const char* bottomRight;
  int xHalfUnits;
  int row;
  int widthHalfUnits;
  Finger finger;
  bool special;
};

// The 55 keys in index order. Row 0 fills 15 units, row 1 ends at 13.5 (there
// is no Enter key), row 2 at 14, row 3 fills 15 and row 4 holds only the space
// bar. The kana legends follow the JIS kana layout.
constexpr KeyLayout kLayout[CVirtualKeyboard::kKeyCount] = {
    // top-left    bottom-left  top-right  bottom-right  x   row  width  finger  special
    /*  0 */ {"半角", "全角", "", "", 0, 0, 2, kOther, true},
    /*  1 */ {"!", "1", "", "ぬ", 2, 0, 2, kLittle, false},
    /*  2 */ {"\"", "2", "", "ふ", 4, 0, 2, kRing, false},
    /*  3 */ {"#", "3", "ぁ", "あ", 6, 0, 2, kMiddle, false},
    /*  4 */ {"$", "4", "ぅ", "う", 8, 0, 2, kIndex, false},
    /*  5 */ {"%", "5", "ぇ", "え", 10, 0, 2, kIndex, false},
    /*  6 */ {"&", "6", "ぉ", "お", 12, 0, 2, kIndex, false},
    /*  7 */ {"'", "7", "ゃ", "や", 14, 0, 2, kIndex, false},
    /*  8 */ {"(", "8", "ゅ", "ゆ", 16, 0, 2, kMiddle, false},
    /*  9 */ {")", "9", "ょ", "よ", 18, 0, 2, kRing, false},
    /* 10 */ {"", "0", "を", "わ", 20, 0, 2, kLittle, false},
    /* 11 */ {"=", "-", "", "ほ", 22, 0, 2, kLittle, false},
    /* 12 */ {"~", "^", "", "へ", 24, 0, 2, kLittle, false},
    /* 13 */ {"|", "\\", "", "", 26, 0, 2, kLittle, false},
    /* 14 */ {"Back", "Space", "", "", 28, 0, 2, kOther, true},
    /* 15 */ {"Tab", "", "", "", 0, 1, 3, kOther, true},
    /* 16 */ {"Q", "", "", "た", 3, 1, 2, kLittle, false},
    /* 17 */ {"W", "", "", "て", 5, 1, 2, kRing, false},
    /* 18 */ {"E", "", "", "い", 7, 1, 2, kMiddle, false},
    /* 19 */ {"R", "", "", "す", 9, 1, 2, kIndex, false},
    /* 20 */ {"T", "", "", "か", 11, 1, 2, kIndex, false},
    /* 21 */ {"Y", "", "", "ん", 13, 1, 2, kIndex, false},
    /* 22 */ {"U", "", "", "な", 15, 1, 2, kIndex, false},
    /* 23 */ {"I", "", "", "に", 17, 1, 2, kMiddle, false},
    /* 24 */ {"O", "", "", "ら", 19, 1, 2, kRing, false},
    /* 25 */ {"P", "", "", "せ", 21, 1, 2, kLittle, false},
    /* 26 */ {"`", "@", "", "゛", 23, 1, 2, kLittle, false},
    /* 27 */ {"{", "[", "「", "゜", 25, 1, 2, kLittle, false},
    /* 28 */ {"Caps Lock", "英数", "", "", 0, 2, 4, kOther, true},
    /* 29 */ {"A", "", "", "ち", 4, 2, 2, kLittle, false},
    /* 30 */ {"S", "", "", "と", 6, 2, 2, kRing, false},
    /* 31 */ {"D", "", "", "し", 8, 2, 2, kMiddle, false},
    /* 32 */ {"F", "", "", "は", 10, 2, 2, kIndex, false},
    /* 33 */ {"G", "", "", "き", 12, 2, 2, kIndex, false},
    /* 34 */ {"H", "", "", "く", 14, 2, 2, kIndex, false},
    /* 35 */ {"J", "", "", "ま", 16, 2, 2, kIndex, false},
    /* 36 */ {"K", "", "", "の", 18, 2, 2, kMiddle, false},
    /* 37 */ {"L", "", "", "り", 20, 2, 2, kRing, false},
    /* 38 */ {"+", ";", "", "れ", 22, 2, 2, kLittle, false},
    /* 39 */ {"*", ":", "", "け", 24, 2, 2, kLittle, false},
    /* 40 */ {"}", "]", "」", "む", 26, 2, 2, kLittle, false},
    /* 41 */ {"Shift", "", "", "", 0, 3, 5, kOther, true},
    /* 42 */ {"Z", "", "", "つ", 5, 3, 2, kLittle, false},
    /* 43 */ {"X", "", "", "さ", 7, 3, 2, kRing, false},
    /* 44 */ {"C", "", "", "そ", 9, 3, 2, kMiddle, false},
    /* 45 */ {"V", "", "", "ひ", 11, 3, 2, kIndex, false},
    /* 46 */ {"B", "", "", "こ", 13, 3, 2, kIndex, false},
    /* 47 */ {"N", "", "", "み", 15, 3, 2, kIndex, false},
    /* 48 */ {"M", "", "", "も", 17, 3, 2, kIndex, false},
    /* 49 */ {"<", ",", "、", "ね", 19, 3, 2, kMiddle, false},
    /* 50 */ {">", ".", "。", "る", 21, 3, 2, kRing, false},
    /* 51 */ {"?", "/", "・", "め", 23, 3, 2, kLittle, false},
    /* 52 */ {"_", "＼", "", "ろ", 25, 3, 2, kLittle, false},
    /* 53 */ {"Shift", "", "", "", 27, 3, 3, kOther, true},
    /* 54 */ {"", "", "", "", 9, 4, 10, kOther, false},
};

// The order in which a key's legends are tried: the two characters before the
// two kana, each pair unshifted first.
constexpr int kLabelSearchOrder[] = {1, 0, 3, 2};

Colour FingerColour(const KeyboardColours& colours, Finger finger) {
  switch (finger) {
    case Finger::Little: return colours.little;
    case Finger::Ring: return colours.ring;
    case Finger::Middle: return colours.middle;
    case Finger::Index: return colours.index;
    case Finger::Other: break;
  }
  return colours.other;
}

// Half a unit is the unit times the fraction, truncated toward zero, as integer
// division of the whole product truncates.
int HalfUnits(int keyUnit, int halfUnits) { return keyUnit * halfUnits / 2; }

unsigned char FoldAsciiCase(unsigned char byte) {
  return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// ASCII letters compare without regard to case, every other byte exactly, so
// "a" finds the key printed "A".
bool LegendStartsWith(const std::string& legend, unsigned char byte) {
  if (legend.empty()) return false;
  return FoldAsciiCase(static_cast<unsigned char>(legend[0])) == FoldAsciiCase(byte);
}

// Average of a counter over the key's strokes. Callers only ask about keys
// with a non-zero counter, which a recorded stroke always accompanies, so the
// stroke count is never 0 here.
double PerStroke(double total, int strokeCount) { return total / static_cast<double>(strokeCount); }

}  // namespace

void CKeyboardKey::SetKey(std::string_view label0, std::string_view label1, std::string_view label2,
                          std::string_view label3, int x, int y, Colour fill, Colour line, Colour text,
                          int labelFontHeight, int height, int width, bool special) {
  labels_ = {std::string(label0), std::string(label1), std::string(label2), std::string(label3)};
  x_ = x;
  y_ = y;
  fill_ = fill;
  line_ = line;
  text_ = text;
  labelFontHeight_ = labelFontHeight;
  height_ = height;
  width_ = width;
  special_ = special;
}

void CKeyboardKey::Record(int misses, std::uint32_t milliseconds) {
  ++strokeCount_;
  keyMisses_ += misses;
  keyTimeTotal_ += milliseconds;
}

KeyFill CKeyboardKey::Fill() const {
  // The mark wins over the finger colour: the next key and the keys named in
  // the results must stand out on a coloured keyboard.
  if (marked_) return KeyFill::NextKey;
  if (fingerColours_ || resultsView_) return KeyFill::Finger;
  return KeyFill::SurfaceBrush;
}

std::array<Point, 4> CKeyboardKey::LabelPositions(int textHeight) const {
  // Each half of the key holds one line of legends, centred vertically on the
  // height of the font that is selected when the key is drawn.
  const int half = height_ / 2;
  const int v = (half - textHeight) / 2;
  const int left = x_ + 3;
  const int right = x_ + width_ / 2 + 3;
  return {Point{left, y_ + v}, Point{left, y_ + v + half}, Point{right, y_ + v}, Point{right, y_ + v + half}};
}

std::array<std::string, 3> CKeyboardKey::StatisticsLines() const {
  return {"○：" + DecimalText(strokeCount_), "×：" + DecimalText(keyMisses_), KeyTimeLine(keyTimeTotal_)};
}

std::array<Point, 3> CKeyboardKey::StatisticsPositions() const {
  return {Point{x_ + 2, y_ + 2}, Point{x_ + 2, y_ + 14}, Point{x_ + 2, y_ + 26}};
}

std::string KeyTimeLine(std::uint32_t milliseconds) {
  std::string line = "T：";
  if (milliseconds == 0) {
    line += "0";
  } else {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3g", milliseconds / 1000.0);
    line += seconds;
  }
  // The line has to fit a key one unit wide; seven bytes is what fits.
  return std::string(cp932::CutToFit(line, 7));
}

CVirtualKeyboard::CVirtualKeyboard(const KeyboardColours& colours, int characterLabelHeight, int specialLabelHeight,
                                   int keyUnit)
    : colours_(colours), keyUnit_(keyUnit) {
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    const KeyLayout& layout = kLayout[i];
    // The space bar has no legend of its own but is sized like the named keys.
    const bool smallLabels = layout.special || static_cast<int>(i) == kSpaceKey;
    keys_[i].SetKey(layout.topLeft, layout.bottomLeft, layout.topRight, layout.bottomRight,
                    HalfUnits(keyUnit, layout.xHalfUnits), layout.row * keyUnit, FingerColour(colours, layout.finger),
                    colours.line, colours.text, smallLabels ? specialLabelHeight : characterLabelHeight, keyUnit,
                    HalfUnits(keyUnit, layout.widthHalfUnits), layout.special);
  }
}

void CVirtualKeyboard::SetShowLabels(bool on) {
  for (CKeyboardKey& key : keys_) key.SetShowLabels(on);
}

void CVirtualKeyboard::SetFingerColours(bool on) {
  for (CKeyboardKey& key : keys_) key.SetFingerColours(on);
}

void CVirtualKeyboard::SetResultsView(bool on) {
  for (CKeyboardKey& key : keys_) key.SetResultsView(on);
}

void CVirtualKeyboard::ClearHighlights() {
  for (CKeyboardKey& key : keys_) key.SetMarked(false);
}

const CKeyboardKey* CVirtualKeyboard::FindKey(std::string_view text) const {
  if (text.empty()) return nullptr;
  const auto first = static_cast<unsigned char>(text[0]);
  if (first == ' ') return &keys_[kSpaceKey];
  // A lead byte starts a two-byte character (or is half of one). Its lead byte
  // alone would match the first half of some kana legend by accident, and no
  // key types a kana from one romaji byte, so it finds nothing.
  if (cp932::IsLeadByte(first)) return nullptr;
  for (const CKeyboardKey& key : keys_) {
    // The names of the special keys ("Tab", "Back") are words, not characters.
    if (key.special()) continue;
    for (int label : kLabelSearchOrder) {
      if (LegendStartsWith(key.label(label), first)) return &key;
    }
  }
  return nullptr;
}

CKeyboardKey* CVirtualKeyboard::FindKeyToType(std::string_view text) {
  return const_cast<CKeyboardKey*>(static_cast<const CVirtualKeyboard*>(this)->FindKey(text));
}

bool CVirtualKeyboard::NeedsShift(std::string_view text) {
  if (text.empty()) return false;
  // The shifted characters of the JIS layout and the capital letters; bytes
  // from 0x80 up are never typed with Shift.
  const auto byte = static_cast<unsigned char>(text[0]);
  return (byte >= 0x21 && byte <= 0x2B) || (byte >= 0x3C && byte <= 0x3F) || (byte >= 0x41 && byte <= 0x5A) ||
         (byte >= 0x5F && byte <= 0x60) || (byte >= 0x7B && byte <= 0x7E);
}

void CVirtualKeyboard::HighlightNextKey(std::string_view text) {
  CKeyboardKey* key = FindKeyToType(text);
  if (key == nullptr) return;
  key->SetMarked(true);
  if (NeedsShift(text)) {
    // Either Shift may be used, so both are shown.
    keys_[kLeftShift].SetMarked(true);
    keys_[kRightShift].SetMarked(true);
  }
}

void CVirtualKeyboard::RecordKeystroke(std::string_view text, int misses, std::uint32_t milliseconds) {
  CKeyboardKey* key = FindKeyToType(text);
  if (key != nullptr) key->Record(misses, milliseconds);
}

const CKeyboardKey* CVirtualKeyboard::FindMostMissedKey() {
  // The first key with time recorded is the starting point; keystrokes of 0 ms
  // leave no time, so a key typed only that fast cannot start the search.
  CKeyboardKey* choice = nullptr;
  for (CKeyboardKey& key : keys_) {
    if (key.keyTimeTotal() != 0) {
      choice = &key;
      break;
    }
  }
  if (choice == nullptr) return nullptr;
  // ">=" lets the later of two keys with the same rate win.
  for (CKeyboardKey& key : keys_) {
    if (key.keyMisses() == 0) continue;
    if (PerStroke(key.keyMisses(), key.strokeCount()) >= PerStroke(choice->keyMisses(), choice->strokeCount())) {
      choice = &key;
    }
  }
  if (choice->keyMisses() == 0) return nullptr;
  choice->SetMarked(true);
  return choice;
}

const CKeyboardKey* CVirtualKeyboard::FindSlowestKey() {
  // Without any recorded time the answer is key 0, so the results always have
  // a key to name.
  CKeyboardKey* choice = &keys_[0];
  for (CKeyboardKey& key : keys_) {
    if (key.keyTimeTotal() != 0) {
      choice = &key;
      break;
    }
  }
  // ">=" lets the later of two keys with the same average win.
  for (CKeyboardKey& key : keys_) {
    if (key.keyTimeTotal() == 0) continue;
    if (PerStroke(key.keyTimeTotal(), key.strokeCount()) >=
        PerStroke(choice->keyTimeTotal(), choice->strokeCount())) {
      choice = &key;
    }
  }
  choice->SetMarked(true);
  return choice;
}

}  // namespace kanaflow
