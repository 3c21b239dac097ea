#include "support/fresh_frame.h"

#include "support/repaint_check.h"
#include "support/screen_harness.h"

namespace kanaflow::testing {

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
  std::vector<RECT> ignored;
  if (ignore) ignored.push_back(*ignore);
  const StalePixels stale = CompareLooks(before, fresh, ignored);
  if (stale.count == 0) return ::testing::AssertionSuccess();
  SavePng(before, "stale-shown");
  SavePng(fresh, "stale-fresh");
  return ::testing::AssertionFailure() << stale.count << " pixels of the window are stale, within (" << stale.box.left
                                       << ", " << stale.box.top << ")-(" << stale.box.right << ", "
                                       << stale.box.bottom << "); see stale-shown.png and stale-fresh.png";
}

Image ShownFrame(HWND window, const std::string& what, std::optional<RECT> ignore) {
  Image shown;
  EXPECT_TRUE(ShowsFreshFrame(window, ignore, &shown)) << "after " << what;
  return shown;
}

}  // namespace kanaflow::testing
