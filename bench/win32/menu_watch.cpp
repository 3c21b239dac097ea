#include "menu_watch.h"

#include <cstdio>

#include "app/window.h"
#include "draw/gdi_handles.h"
#include "support/image.h"

namespace kanaflow::bench {
namespace {

// The menu's layout in its client area: the first panel from (10, 10), 610
// wide, framed in red (200, 0, 0) while it is the selected entry, its title
// from (110, 15) in a 15-pixel font.
constexpr COLORREF kRedFrame = RGB(200, 0, 0);
constexpr RECT kFrameRows{10, 8, 620, 13};
constexpr RECT kTitle{110, 15, 330, 31};
constexpr int kCaptureWidth = 640;
constexpr int kCaptureHeight = 100;

bool IsDark(COLORREF colour) { return GetRValue(colour) < 96 && GetGValue(colour) < 96 && GetBValue(colour) < 96; }

// Seconds since 1970 from the system's precise clock.
double UnixSeconds() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  constexpr ULONGLONG kTicksFrom1601To1970 = 116444736000000000ULL;
  return static_cast<double>(ticks - kTicksFrom1601To1970) / 1e7;
}

// A screen window of the program's class that another process made.
HWND FindOtherProgramsScreen() {
  for (HWND window = FindWindowW(kScreenClassName, nullptr); window;
       window = FindWindowExW(nullptr, window, kScreenClassName, nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

testing::Image CaptureTopOfClient(HWND window) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const WindowDc screen(nullptr);
  return testing::CaptureDc(screen.get(), origin.x, origin.y, kCaptureWidth, kCaptureHeight);
}

}  // namespace

bool ShowsPaintedMenu(const testing::Image& top) {
  const int frame = top.Count(kFrameRows.left, kFrameRows.top, kFrameRows.right, kFrameRows.bottom, kRedFrame);
  int dark = 0;
  const int white = top.Count(kTitle.left, kTitle.top, kTitle.right, kTitle.bottom, RGB(255, 255, 255));
  for (int y = kTitle.top; y < kTitle.bottom; ++y) {
    for (int x = kTitle.left; x < kTitle.right; ++x) dark += IsDark(top.at(x, y)) ? 1 : 0;
  }
  const int area = (kTitle.right - kTitle.left) * (kTitle.bottom - kTitle.top);
  // A whole row of frame; some tens of text pixels, mostly white around them.
  return frame >= kFrameRows.right - kFrameRows.left && dark >= 40 && white >= area / 2;
}

int WatchForMainMenu(DWORD timeoutMs) {
  std::printf("ready\n");
  std::fflush(stdout);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (const HWND window = FindOtherProgramsScreen()) {
      if (ShowsPaintedMenu(CaptureTopOfClient(window))) {
        std::printf("%.6f\n", UnixSeconds());
        std::fflush(stdout);
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
      }
    }
    Sleep(1);
  }
  std::fprintf(stderr, "screen_bench: no painted main menu within %lu ms\n", timeoutMs);
  return 1;
}

}  // namespace kanaflow::bench
