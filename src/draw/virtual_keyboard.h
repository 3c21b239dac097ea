// The on-screen keyboard's model: the keys of the JIS layout (or of the US
// layout) with their labels, geometry and finger colours, the next-key marks, and each key's
// statistics of a practice run. Painting is done by the Win32 keyboard
// painter from what this model computes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/colour.h"

namespace kanaflow {


// Painting is Win32's: the painter defines the Draw operations below.
class CDrawSurface;

// Where a key's four labels go, for a label font whose text height is known.
struct Point {
  int x = 0;
  int y = 0;
};

// How a key's face is filled.
enum class KeyFill {
  SurfaceBrush,  // no brush of its own: whatever the surface has selected
  NextKey,       // the process-wide next-key colour
  Finger,        // the key's finger colour
};

enum class KeyboardLayout { Japanese = 0, Us = 1 };

class CKeyboardKey {
 public:
  void SetKey(std::string_view label0, std::string_view label1, std::string_view label2, std::string_view label3,
              int x, int y, Colour fill, Colour line, Colour text, int labelFontHeight, int height, int width,
              bool special);

  // Label 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right.
  const std::string& label(int index) const { return labels_[static_cast<std::size_t>(index)]; }
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }
  Colour fillColour() const { return fill_; }
  Colour lineColour() const { return line_; }
  Colour textColour() const { return text_; }
  int labelFontHeight() const { return labelFontHeight_; }
  bool special() const { return special_; }

  bool marked() const { return marked_; }
  bool showLabels() const { return showLabels_; }
  bool fingerColours() const { return fingerColours_; }
  bool resultsView() const { return resultsView_; }
  void SetMarked(bool on) { marked_ = on; }
  void SetShowLabels(bool on) { showLabels_ = on; }
  void SetFingerColours(bool on) { fingerColours_ = on; }
  void SetResultsView(bool on) { resultsView_ = on; }

  int strokeCount() const { return strokeCount_; }
  int keyMisses() const { return keyMisses_; }
  std::uint32_t keyTimeTotal() const { return keyTimeTotal_; }
  void Record(int misses, std::uint32_t milliseconds);

  KeyFill Fill() const;
  // Positions of labels 0..3 when the surface's font has text height `textHeight`.
  std::array<Point, 4> LabelPositions(int textHeight) const;
  // The three lines of the results view: "○：", "×：" and "T：" (at most 7 bytes).
  std::array<std::string, 3> StatisticsLines() const;
  // Where the three statistics lines go.
  std::array<Point, 3> StatisticsPositions() const;

  // Paints the key as the fields above say (Win32 programs only).
  // `layout` picks how a legend looks: 0x5C is ¥ on a Japanese keyboard and
  // a backslash on a US one.
  void DrawKey(CDrawSurface& surface, KeyboardLayout layout) const;

 private:
  std::array<std::string, 4> labels_;
  int x_ = 0, y_ = 0;
  Colour fill_ = 0, line_ = 0, text_ = 0;
  int labelFontHeight_ = 0;
  int height_ = 0, width_ = 0;
  bool special_ = false;
  bool marked_ = false;
  bool showLabels_ = false;
  bool fingerColours_ = false;
  bool resultsView_ = false;
  int strokeCount_ = 0;
  int keyMisses_ = 0;
  std::uint32_t keyTimeTotal_ = 0;
};

// "T：" followed by the seconds with three significant digits, cut to 7 bytes.
std::string KeyTimeLine(std::uint32_t milliseconds);

struct KeyboardColours {
  Colour line = 0;
  Colour text = 0;
  Colour little = 0;
  Colour ring = 0;
  Colour middle = 0;
  Colour index = 0;
  Colour other = 0;
};

// Which keyboard is drawn: the setting KeyboardLayout.
class CVirtualKeyboard {
 public:
  // The keys of the Japanese layout.
  static constexpr int kKeyCount = 55;
  static constexpr int kSpaceKey = 54;
  static constexpr int kLeftShift = 41;
  static constexpr int kRightShift = 53;

  CVirtualKeyboard(const KeyboardColours& colours, int characterLabelHeight, int specialLabelHeight, int keyUnit,
                   KeyboardLayout layout = KeyboardLayout::Japanese);

  void SetShowLabels(bool on);
  void SetFingerColours(bool on);
  void SetResultsView(bool on);
  void ClearHighlights();

  // The key that types the first character of `text`, or null. A space finds
  // the space bar; any other byte is compared with the first byte of the
  // legends of the character keys in index order (bottom-left, top-left,
  // bottom-right, top-right), ASCII letters without regard to case. A text
  // that starts with a two-byte character (or a lone lead byte) finds no key:
  // kana legends are never matched by half a character.
  const CKeyboardKey* FindKey(std::string_view text) const;
  // Whether the first byte of `text` is typed with Shift on the Japanese layout.
  static bool NeedsShift(std::string_view text);
  // Whether the first byte of `text` is typed with Shift on this keyboard.
  bool TypedWithShift(std::string_view text) const;
  // Marks the key of the first character and, when it needs Shift, both Shift keys.
  void HighlightNextKey(std::string_view text);
  // Charges one completed keystroke of the first character to its key.
  void RecordKeystroke(std::string_view text, int misses, std::uint32_t milliseconds);
  // The key with the highest miss rate (marked; ties go to the later key), or
  // null when no key had a miss or no keystroke took any time.
  const CKeyboardKey* FindMostMissedKey();
  // The key with the highest average time (marked; ties go to the later key);
  // key 0 when no time was recorded.
  const CKeyboardKey* FindSlowestKey();

  const CKeyboardKey& key(int index) const { return keys_[static_cast<std::size_t>(index)]; }
  int keyCount() const { return static_cast<int>(keys_.size()); }
  KeyboardLayout layout() const { return layout_; }
  int keyUnit() const { return keyUnit_; }
  int width() const { return 15 * keyUnit_; }
  int height() const { return 5 * keyUnit_; }
  Colour lineColour() const { return colours_.line; }

  // Paints the keys and the outer frame with the keyboard's origin at the
  // surface's (0, 0) (Win32 programs only).
  void Draw(CDrawSurface& surface) const;

 private:
  CKeyboardKey* FindKeyToType(std::string_view text);

  KeyboardColours colours_;
  int keyUnit_;
  KeyboardLayout layout_;
  int spaceKey_ = kSpaceKey;
  int leftShift_ = kLeftShift;
  int rightShift_ = kRightShift;
  std::vector<CKeyboardKey> keys_;
};

}  // namespace kanaflow
