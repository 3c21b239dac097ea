#include "support/message_box_watcher.h"

namespace kanaflow::testing {
namespace {

struct Seen {
  std::vector<std::wstring> texts;
  std::vector<std::wstring> captions;
  std::vector<RECT> rects;
};
Seen* g_seen = nullptr;

constexpr int kMessageTextId = 0xFFFF;  // the static control that holds a box's text

BOOL CALLBACK CloseIfMessageBox(HWND window, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  HWND text = GetDlgItem(window, kMessageTextId);
  if (!text) return TRUE;
  std::wstring buffer(4096, L'\0');
  buffer.resize(static_cast<std::size_t>(GetWindowTextW(text, buffer.data(), 4096)));
  std::wstring caption(256, L'\0');
  caption.resize(static_cast<std::size_t>(GetWindowTextW(window, caption.data(), 256)));
  g_seen->texts.push_back(buffer);
  g_seen->captions.push_back(caption);
  RECT rect{};
  GetWindowRect(window, &rect);
  g_seen->rects.push_back(rect);
  SendMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_seen) EnumThreadWindows(GetCurrentThreadId(), CloseIfMessageBox, 0);
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher() {
  g_seen = new Seen();
  timer_ = SetTimer(nullptr, 0, 50, OnTimer);
}

MessageBoxWatcher::~MessageBoxWatcher() {
  KillTimer(nullptr, timer_);
  delete g_seen;
  g_seen = nullptr;
}

const std::vector<std::wstring>& MessageBoxWatcher::texts() const { return g_seen->texts; }
const std::vector<std::wstring>& MessageBoxWatcher::captions() const { return g_seen->captions; }
const std::vector<RECT>& MessageBoxWatcher::rects() const { return g_seen->rects; }

}  // namespace kanaflow::testing
