#include "draw/keyboard_picture.h"

#include "draw/keyboard_painter.h"

namespace kanaflow {

bool KeyboardPicture::KeyLook::operator==(const KeyLook& other) const {
  return marked == other.marked && showLabels == other.showLabels && fingerColours == other.fingerColours &&
         resultsView == other.resultsView && strokes == other.strokes && misses == other.misses &&
         time == other.time && nextKey == other.nextKey;
}

KeyboardPicture::KeyLook KeyboardPicture::LookOf(const CKeyboardKey& key) {
  KeyLook look;
  look.marked = key.marked();
  look.showLabels = key.showLabels();
  look.fingerColours = key.fingerColours();
  look.resultsView = key.resultsView();
  look.strokes = key.strokeCount();
  look.misses = key.keyMisses();
  look.time = key.keyTimeTotal();
  look.nextKey = NextKeyColour();
  return look;
}

const CDrawSurface& KeyboardPicture::Update(HWND window, const CVirtualKeyboard& keyboard, Colour background) {
  if (!surface_ || background != background_ || drawn_.size() != static_cast<std::size_t>(keyboard.keyCount())) {
    surface_ = std::make_unique<CDrawSurface>(window, kWidth, kHeight, background);
    background_ = background;
    keyboard.Draw(*surface_);
    drawn_.clear();
    for (int i = 0; i < keyboard.keyCount(); ++i) drawn_.push_back(LookOf(keyboard.key(i)));
    return *surface_;
  }
  const HDC dc = surface_->GetMemoryDC();
  bool changed = false;
  for (int i = 0; i < keyboard.keyCount(); ++i) {
    const CKeyboardKey& key = keyboard.key(i);
    const KeyLook look = LookOf(key);
    if (look == drawn_[static_cast<std::size_t>(i)]) continue;
    if (!changed && dc) {
      // A key without a brush of its own takes the surface's: on a fresh
      // surface that is the white stock brush, not the frame's hollow one.
      SelectObject(dc, GetStockObject(WHITE_BRUSH));
      changed = true;
    }
    key.DrawKey(*surface_, keyboard.layout());
    drawn_[static_cast<std::size_t>(i)] = look;
  }
  if (changed) {
    SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    surface_->DrawRect(0, 0, keyboard.height(), keyboard.width(), keyboard.lineColour(), 1, PS_SOLID);
  }
  return *surface_;
}

}  // namespace kanaflow
