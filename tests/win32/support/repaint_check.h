// The one comparison behind every "what is shown equals a whole repaint"
// check: the screen tests' in-process look and the played program's look
// from another process.
#pragma once

#include <windows.h>

#include <vector>

#include "support/image.h"

namespace kanaflow::testing {

struct StalePixels {
  int count = 0;
  RECT box{};  // the smallest rectangle holding every differing pixel
};

// The pixels where `fresh` differs from `shown`, leaving out the `ignore`d
// places (a running clock, a caret). Images of different sizes differ in all.
StalePixels CompareLooks(const Image& shown, const Image& fresh, const std::vector<RECT>& ignore);

// The client area of `window` as the screen shows it, read from the screen
// itself: works for a window of another process.
Image CaptureClientFromScreen(HWND window);

// Where the caret of the thread that owns `window` is, in the window's
// client coordinates and one pixel wider on each side; none when that
// thread shows no caret.
std::vector<RECT> CaretPlaces(HWND window);

}  // namespace kanaflow::testing
