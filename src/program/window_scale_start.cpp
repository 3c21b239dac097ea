#include "program/window_scale_start.h"

#include <windows.h>

#include "app/window.h"
#include "draw/gdi_handles.h"
#include "draw/screen_scale.h"
#include "platform/number_text.h"
#include "platform/profile_file.h"
#include "settings/software_setting_data.h"

namespace kanaflow {
namespace {

template <typename Function>
Function Find(const wchar_t* module, const char* name) {
  const HMODULE handle = LoadLibraryW(module);  // user32 and shcore stay loaded: no FreeLibrary
  return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

// Per-monitor awareness where the system has it (Windows 10 1703 and later),
// system awareness before that; looked up at run time, so the program still
// starts on every Windows and declares nothing at 100.
void DeclareDpiAwareness() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  const auto setContext = Find<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext");
  const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
  if (setContext && setContext(perMonitorV2)) return;
  SetProcessDPIAware();
}

// The scale of the screen the first window opens on, in dots per inch.
int ScreenDpi() {
  const WindowPosition at = SharedWindowPosition();
  const HMONITOR monitor = MonitorFromPoint(POINT{at.left, at.top}, MONITOR_DEFAULTTOPRIMARY);
  using GetForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  UINT x = 0, y = 0;
  const auto getForMonitor = Find<GetForMonitor>(L"shcore.dll", "GetDpiForMonitor");
  if (getForMonitor && getForMonitor(monitor, 0, &x, &y) == S_OK && x > 0) return static_cast<int>(x);
  const WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

}  // namespace

void StartWindowScale() {
  // The one key alone: the whole record is read, and its errors reported,
  // where the program always reads it.
  const int setting = ParseDecimal(ReadProfileValue(kSettingFilePath, kSettingSection, "WindowScale", "100"));
  if (WindowScalePercent(setting, 96) == 100 && setting != 0) return;
  DeclareDpiAwareness();
  SetScreenScale(WindowScalePercent(setting, ScreenDpi()));
}

}  // namespace kanaflow
