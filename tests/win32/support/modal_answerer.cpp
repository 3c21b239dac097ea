#include "support/modal_answerer.h"

#include "app/window_utilities.h"

namespace kanaflow::testing {

ModalAnswerer* ModalAnswerer::active_ = nullptr;

ModalAnswerer::ModalAnswerer() {
  active_ = this;
  timer_ = SetTimer(nullptr, 0, 20, Tick);
}

ModalAnswerer::~ModalAnswerer() {
  KillTimer(nullptr, timer_);
  active_ = nullptr;
}

void CALLBACK ModalAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (active_) EnumThreadWindows(GetCurrentThreadId(), Answer, 0);
}

BOOL CALLBACK ModalAnswerer::Answer(HWND window, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  if (GetWindowTextCp932(window, 255) == "Kanaflow Setup Dialog") {
    const HWND owner = GetWindow(window, GW_OWNER);
    active_->setupDialogs.push_back({owner, IsWindowVisible(owner) != FALSE});
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
  } else {
    active_->boxTexts.push_back(GetWindowTextCp932(GetDlgItem(window, 0xFFFF), 4096));
    SendMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return TRUE;
}

bool TakeQuitRequest() {
  MSG message{};
  return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

}  // namespace kanaflow::testing
