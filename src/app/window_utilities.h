// Small window utilities shared by the screens.
#pragma once

#include <windows.h>

#include <string>

namespace kanaflow {

// The miss feedback: three quick jolts of 5 pixels down-right and up-left,
// ending exactly where the window was. A request within 10 ms of the end of
// the last shake does nothing, so a burst of misses is one shake.
void ShakeWindow(HWND window);

// A bordered single-line edit control; `text` is CP932. `extraStyle` adds
// edit styles (ES_AUTOHSCROLL for text wider than the box).
HWND CreateEditControl(const std::string& text, HWND parent, int id, int x, int y, int width, int height,
                       HINSTANCE instance, DWORD extraStyle = 0);

// A CP932 text through the wide function: window titles, control texts.
void SetWindowTextCp932(HWND window, const std::string& text);
// A window's text as CP932, at most `maxBytes` bytes.
std::string GetWindowTextCp932(HWND window, std::size_t maxBytes);

}  // namespace kanaflow
