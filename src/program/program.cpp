#include "program/program.h"

#include <clocale>
#include <cstdlib>

#include "app/error_box.h"
#include "app/scene.h"
#include "platform/fatal_error.h"
#include "platform/text_encoding.h"
#include "program/window_scale_start.h"

namespace kanaflow {
namespace {

class MutexHandle {
 public:
  explicit MutexHandle(HANDLE handle) : handle_(handle) {}
  ~MutexHandle() {
    if (handle_) CloseHandle(handle_);
  }
  MutexHandle(const MutexHandle&) = delete;
  MutexHandle& operator=(const MutexHandle&) = delete;

 private:
  HANDLE handle_;
};

void ShowFatalErrorBox(const FatalErrorReport& report) {
  ShowErrorBox(nullptr, report.text, MB_OK | MB_ICONERROR);
  std::exit(1);
}

bool FirstWindowShown(const CScene& scene) {
  const CWindow* screen = scene.currentScreen();
  return screen && screen->handle() && IsWindow(screen->handle());
}

}  // namespace

void InstallFatalErrorBox() { SetFatalErrorHandler(ShowFatalErrorBox); }

int RunProgram(HINSTANCE instance, ScreenFactory& factory) {
  const MutexHandle guard(CreateMutexW(nullptr, FALSE, Cp932ToWide(kSingleInstanceMutexName).c_str()));
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  std::setlocale(LC_ALL, "Japanese");
  StartWindowScale();
  CScene scene(instance, factory);
  scene.ShowMainMenu();
  // With no window nothing could ever post the quit message: the process
  // would wait unseen and its guard would refuse every later start.
  if (!FirstWindowShown(scene)) return 1;

  MSG message{};
  // 0 is the quit message, -1 an error: both end the loop the same way.
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace kanaflow
