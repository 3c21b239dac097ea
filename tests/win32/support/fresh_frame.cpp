#include "support/fresh_frame.h"

#include <algorithm>
#include <climits>

#include "support/screen_harness.h"

namespace kanaflow::testing {
namespace {

bool Inside(const std::optional<RECT>& area, int x, int y) {
  return area && x >= area->left && x < area->right && y >= area->top && y < area->bottom;
}

}  // namespace

::testing::AssertionResult ShowsFreshFrame(HWND window, std::optional<RECT> ignore, Image* shown) {
  PumpMessages();
  // A blinking caret would differ between the two looks for no fault.
  const bool caretHidden = HideCaret(nullptr) != FALSE;
  const Image before = CaptureWindow(window);
  if (shown) *shown = before;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  const Image fresh = CaptureWindow(window);
  if (caretHidden) ShowCaret(nullptr);
  if (fresh.width != before.width || fresh.height != before.height) {
    return ::testing::AssertionFailure() << "the window changed its size on a repaint";
  }
  int differing = 0;
  RECT box{INT_MAX, INT_MAX, -1, -1};
  for (int y = 0; y < fresh.height; ++y) {
    for (int x = 0; x < fresh.width; ++x) {
      if (Inside(ignore, x, y) || fresh.at(x, y) == before.at(x, y)) continue;
      ++differing;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
             std::max<LONG>(box.bottom, y + 1)};
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  SavePng(before, "stale-shown");
  SavePng(fresh, "stale-fresh");
  return ::testing::AssertionFailure() << differing << " pixels of the window are stale, within (" << box.left << ", "
                                       << box.top << ")-(" << box.right << ", " << box.bottom
                                       << "); see stale-shown.png and stale-fresh.png";
}

Image ShownFrame(HWND window, const std::string& what, std::optional<RECT> ignore) {
  Image shown;
  EXPECT_TRUE(ShowsFreshFrame(window, ignore, &shown)) << "after " << what;
  return shown;
}

}  // namespace kanaflow::testing
