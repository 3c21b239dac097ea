#include "support/repaint_check.h"

#include <algorithm>
#include <climits>

#include "draw/gdi_handles.h"

namespace kanaflow::testing {
namespace {

bool InsideAny(const std::vector<RECT>& places, int x, int y) {
  return std::any_of(places.begin(), places.end(), [x, y](const RECT& place) {
    return x >= place.left && x < place.right && y >= place.top && y < place.bottom;
  });
}

}  // namespace

StalePixels CompareLooks(const Image& shown, const Image& fresh, const std::vector<RECT>& ignore) {
  if (shown.width != fresh.width || shown.height != fresh.height) {
    return {std::max(shown.width * shown.height, fresh.width * fresh.height),
            {0, 0, std::max(shown.width, fresh.width), std::max(shown.height, fresh.height)}};
  }
  StalePixels stale;
  stale.box = {INT_MAX, INT_MAX, -1, -1};
  for (int y = 0; y < fresh.height; ++y) {
    for (int x = 0; x < fresh.width; ++x) {
      if (fresh.at(x, y) == shown.at(x, y) || InsideAny(ignore, x, y)) continue;
      ++stale.count;
      stale.box = {std::min<LONG>(stale.box.left, x), std::min<LONG>(stale.box.top, y),
                   std::max<LONG>(stale.box.right, x + 1), std::max<LONG>(stale.box.bottom, y + 1)};
    }
  }
  return stale;
}

Image CaptureClientFromScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const WindowDc screen(nullptr);
  return CaptureDc(screen.get(), origin.x, origin.y, client.right, client.bottom);
}

std::vector<RECT> CaretPlaces(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndCaret) return {};
  RECT caret = info.rcCaret;
  MapWindowPoints(info.hwndCaret, window, reinterpret_cast<POINT*>(&caret), 2);
  InflateRect(&caret, 1, 1);
  return {caret};
}

}  // namespace kanaflow::testing
