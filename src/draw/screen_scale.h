// The scale every screen is drawn at. At 100 the program draws 640 x 480
// pixels and leaves any scaling to the system; at any other scale each
// screen's client area is that many percent as large, and every surface
// draws through a world transform, so text and lines are made at the scale
// instead of stretched from a finished picture.
#pragma once

#include <windows.h>

namespace kanaflow {

// In percent; set once when the program starts.
int ScreenScale();
void SetScreenScale(int percent);
bool Scaling();

// From the screens' 640 x 480 units to the window's pixels, and back.
int Scaled(int units);
int Unscaled(int pixels);
RECT Scaled(const RECT& units);

// Makes `dc` draw in the screens' units at the scale (nothing at 100).
void ApplyScreenScale(HDC dc);
// The scale `dc` draws at, in percent.
int ScaleOf(HDC dc);

}  // namespace kanaflow
