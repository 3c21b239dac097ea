#include "draw/virtual_keyboard.h"

#include <cstddef>
#include <cstdio>

#include "draw/virtual_keyboard_layout.h"
#include "platform/cp932.h"
#include "platform/number_text.h"

namespace kanaflow {
namespace {

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

// A fraction of the unit is the unit times the fraction, truncated toward
// zero, as integer division of the whole product truncates.
int QuarterUnits(int keyUnit, int quarters) { return keyUnit * quarters / 4; }

LayoutTable TableOf(KeyboardLayout layout) {
  return layout == KeyboardLayout::Us ? UsLayoutTable() : JapaneseLayoutTable();
}

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
                                   int keyUnit, KeyboardLayout layout)
    : colours_(colours), keyUnit_(keyUnit), layout_(layout) {
  const LayoutTable table = TableOf(layout);
  spaceKey_ = table.spaceKey;
  leftShift_ = table.leftShift;
  rightShift_ = table.rightShift;
  keys_.resize(static_cast<std::size_t>(table.count));
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    const KeyLayout& key = table.keys[i];
    // The space bar has no legend of its own but is sized like the named keys.
    const bool smallLabels = key.special || static_cast<int>(i) == spaceKey_;
    keys_[i].SetKey(key.topLeft, key.bottomLeft, key.topRight, key.bottomRight, QuarterUnits(keyUnit, key.xQuarters),
                    key.row * keyUnit, FingerColour(colours, key.finger), colours.line, colours.text,
                    smallLabels ? specialLabelHeight : characterLabelHeight, keyUnit,
                    QuarterUnits(keyUnit, key.widthQuarters), key.special);
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
  if (first == ' ') return &keys_[static_cast<std::size_t>(spaceKey_)];
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

bool CVirtualKeyboard::TypedWithShift(std::string_view text) const {
  if (layout_ == KeyboardLayout::Japanese) return NeedsShift(text);
  // Elsewhere the legends say it: the upper legend of a key with two, and
  // the capital letters.
  const CKeyboardKey* key = FindKey(text);
  if (key == nullptr) return false;
  const char first = text[0];
  if (first >= 'A' && first <= 'Z') return true;
  return !key->label(1).empty() && LegendStartsWith(key->label(0), static_cast<unsigned char>(first));
}

void CVirtualKeyboard::HighlightNextKey(std::string_view text) {
  CKeyboardKey* key = FindKeyToType(text);
  if (key == nullptr) return;
  key->SetMarked(true);
  if (TypedWithShift(text)) {
    // Either Shift may be used, so both are shown.
    keys_[static_cast<std::size_t>(leftShift_)].SetMarked(true);
    keys_[static_cast<std::size_t>(rightShift_)].SetMarked(true);
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
  CKeyboardKey* choice = &keys_.front();
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
