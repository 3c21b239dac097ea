#include "support/screen_harness.h"

#include "platform/text_encoding.h"

namespace kanaflow::testing {

void PumpMessages(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (ms > 0) Sleep(1);
  } while (GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    PumpMessages();
    Sleep(1);
  }
  return true;
}

void SendKeyDown(HWND window, UINT virtualKey, bool repeat) {
  const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  LPARAM lParam = 1 | (static_cast<LPARAM>(scanCode) << 16);
  if (repeat) lParam |= 1 << 30;
  SendMessageW(window, WM_KEYDOWN, virtualKey, lParam);
}

void SendChar(HWND window, wchar_t character) { SendMessageW(window, WM_CHAR, character, 1); }

void SendText(HWND window, const std::string& cp932) {
  for (wchar_t character : Cp932ToWide(cp932)) SendChar(window, character);
}

HINSTANCE TestInstance() { return GetModuleHandleW(nullptr); }

}  // namespace kanaflow::testing

namespace kanaflow::testing {

TestCanvas::TestCanvas(int width, int height) : background_(CreateSolidBrush(kBackground)) {
  WNDCLASSEXW record{};
  record.cbSize = sizeof record;
  record.lpfnWndProc = DefWindowProcW;
  record.hInstance = TestInstance();
  record.hbrBackground = background_;
  record.lpszClassName = L"KanaflowTestCanvas";
  UnregisterClassW(record.lpszClassName, TestInstance());
  RegisterClassExW(&record);
  window_ = CreateWindowExW(0, record.lpszClassName, L"canvas", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                            nullptr, TestInstance(), nullptr);
  UpdateWindow(window_);
  PumpMessages(30);
}

TestCanvas::~TestCanvas() {
  DestroyWindow(window_);
  UnregisterClassW(L"KanaflowTestCanvas", TestInstance());
  DeleteObject(background_);
}

}  // namespace kanaflow::testing
