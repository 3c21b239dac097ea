// The painted keyboard kept between frames: a keystroke changes the look of
// a few keys only (the next-key marks), so only those keys are painted again.
// The picture is always what a fresh Draw of the keyboard would give.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "draw/draw_surface.h"
#include "draw/virtual_keyboard.h"

namespace kanaflow {

class KeyboardPicture {
 public:
  static constexpr int kWidth = 610;
  static constexpr int kHeight = 210;

  // Brings the picture up to date with `keyboard` and returns it; the
  // picture's background is `background`.
  const CDrawSurface& Update(HWND window, const CVirtualKeyboard& keyboard, Colour background);

 private:
  // Everything that decides how one key is painted.
  struct KeyLook {
    bool marked = false;
    bool showLabels = false;
    bool fingerColours = false;
    bool resultsView = false;
    int strokes = 0;
    int misses = 0;
    std::uint32_t time = 0;
    Colour nextKey = 0;
    bool operator==(const KeyLook& other) const;
  };
  static KeyLook LookOf(const CKeyboardKey& key);

  std::unique_ptr<CDrawSurface> surface_;
  Colour background_ = 0;
  std::vector<KeyLook> drawn_;
};

}  // namespace kanaflow
