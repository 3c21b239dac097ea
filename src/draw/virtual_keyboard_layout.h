// The key tables of the keyboard layouts the on-screen keyboard can show.
// Positions and widths are in quarter units, so that every key of a real
// keyboard (1.25, 1.75, 2.25 units wide) stays an exact integer.
#pragma once

namespace kanaflow {

enum class Finger { Little, Ring, Middle, Index, Other };

// Short names, so that the key tables read as tables.
inline constexpr Finger kLittle = Finger::Little;
inline constexpr Finger kRing = Finger::Ring;
inline constexpr Finger kMiddle = Finger::Middle;
inline constexpr Finger kIndex = Finger::Index;
inline constexpr Finger kOther = Finger::Other;

struct KeyLayout {
  const char* topLeft;
  const char* bottomLeft;
  const char* topRight;
  const char* bottomRight;
  int xQuarters;
  int row;
  int widthQuarters;
  Finger finger;
  bool special;
};

struct LayoutTable {
  const KeyLayout* keys;
  int count;
  int spaceKey;
  int leftShift;
  int rightShift;
};

// The Japanese (JIS) keyboard: 55 keys, no Enter key.
LayoutTable JapaneseLayoutTable();
// The US (ANSI) 104-key keyboard's alphanumeric block: 54 keys.
LayoutTable UsLayoutTable();

}  // namespace kanaflow
