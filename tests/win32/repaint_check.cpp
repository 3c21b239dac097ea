// repaint_check NAME [basic|edit]: whether the running program's screen shows
// what a whole repaint of it draws. The scripted session calls it at each of
// its screenshots, so a change the program forgot to show fails the session.
// NAME names the pictures it saves: NAME-window.png, the screen as shown,
// and on a difference NAME-stale-shown.png and NAME-stale-fresh.png.
// Exit code 0 when the two looks agree, 1 when pixels are stale, 2 when no
// screen of the program is found.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/window.h"
#include "support/image.h"
#include "support/repaint_check.h"
#include "typing/typing1_window.h"
#include "typing/typing2_window.h"

namespace {

using kanaflow::testing::CaptureClientFromScreen;
using kanaflow::testing::CaretPlaces;
using kanaflow::testing::CompareLooks;
using kanaflow::testing::Image;
using kanaflow::testing::SavePng;
using kanaflow::testing::StalePixels;

HWND FindScreen() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    const HWND window = FindWindowW(kanaflow::kScreenClassName, nullptr);
    if (window && IsWindowVisible(window)) return window;
    Sleep(100);
  }
  return nullptr;
}

// The running clock's place on the named practice screen: its value moves
// between the two looks by itself.
std::vector<RECT> ClockPlace(const std::string& screen) {
  if (screen == "basic") return {kanaflow::CTypingWindow::ClockRectBelow(kanaflow::Typing1Window::kCountersTop)};
  if (screen == "edit") return {kanaflow::CTypingWindow::ClockRectBelow(kanaflow::Typing2Window::kCountersTop)};
  return {};
}

// The program paints in its own process; its pixels reach the screen when it
// is idle again, which a short wait covers.
Image LookAfterRepaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  return CaptureClientFromScreen(window);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: repaint_check NAME [basic|edit]\n");
    return 2;
  }
  const std::string name = argv[1];
  const HWND window = FindScreen();
  if (!window) {
    std::printf("%s: no screen of the program is shown\n", name.c_str());
    return 2;
  }
  std::vector<RECT> ignore = ClockPlace(argc > 2 ? argv[2] : "");
  const std::vector<RECT> caret = CaretPlaces(window);
  ignore.insert(ignore.end(), caret.begin(), caret.end());

  const Image shown = CaptureClientFromScreen(window);
  SavePng(shown, name + "-window");
  const Image fresh = LookAfterRepaint(window);
  const StalePixels stale = CompareLooks(shown, fresh, ignore);
  if (stale.count == 0) {
    std::printf("%s: the screen equals a whole repaint (%dx%d)\n", name.c_str(), shown.width, shown.height);
    return 0;
  }
  SavePng(shown, name + "-stale-shown");
  SavePng(fresh, name + "-stale-fresh");
  std::printf("%s: %d pixels are stale, within (%ld, %ld)-(%ld, %ld)\n", name.c_str(), stale.count, stale.box.left,
              stale.box.top, stale.box.right, stale.box.bottom);
  return 1;
}
