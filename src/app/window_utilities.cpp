#include "app/window_utilities.h"

#include <ctime>

#include "platform/cp932.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {
// When the last shake ended, in clock() ticks.
std::clock_t g_lastShakeEnd = 0;
constexpr double kShakeInterval = 0.01;  // seconds
constexpr int kShakeDistance = 5;
}  // namespace

void ShakeWindow(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  if (static_cast<double>(std::clock() - g_lastShakeEnd) / 1000.0 < kShakeInterval) return;
  const int offsets[][2] = {{kShakeDistance, kShakeDistance}, {0, 0}, {-kShakeDistance, -kShakeDistance}, {0, 0}};
  for (int round = 0; round < 3; ++round) {
    for (const auto& offset : offsets) {
      SetWindowPos(window, nullptr, rect.left + offset[0], rect.top + offset[1], 0, 0,
                   SWP_NOSIZE | SWP_SHOWWINDOW);
    }
  }
  g_lastShakeEnd = std::clock();
}

HWND CreateEditControl(const std::string& text, HWND parent, int id, int x, int y, int width, int height,
                       HINSTANCE instance, DWORD extraStyle) {
  return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Cp932ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | extraStyle, x,
                         y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                         nullptr);
}

void SetWindowTextCp932(HWND window, const std::string& text) { SetWindowTextW(window, Cp932ToWide(text).c_str()); }

std::string GetWindowTextCp932(HWND window, std::size_t maxBytes) {
  const int length = GetWindowTextLengthW(window);
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, wide.data(), length + 1);
  wide.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return std::string(cp932::CutToFit(WideToCp932(wide), maxBytes));
}

}  // namespace kanaflow
