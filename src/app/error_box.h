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

// The box of a picture that cannot be loaded (0100, not fatal), over `owner`.
void ShowPictureError(HWND owner, const std::string& name);

}  // namespace kanaflow
