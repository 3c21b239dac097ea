// The program's error boxes: caption "エラー", the text cut to fit the
// screen's work area, so that a long path can never push the error number
// or the rest of the text off the screen.
#pragma once

#include <windows.h>

#include <string>

namespace kanaflow {

// Shows the modal box over `owner` (or none) with `text` (CP932) and the
// MessageBox `style`; returns what MessageBoxW returns.
int ShowErrorBox(HWND owner, const std::string& text, UINT style);

}  // namespace kanaflow
