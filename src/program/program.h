// The whole life of the process: the single-instance guard, the screen
// manager and the one message loop.
#pragma once

#include <windows.h>

namespace kanaflow {

class ScreenFactory;

// The name of the guard that refuses a second copy of the program.
inline constexpr char kSingleInstanceMutexName[] = "二重起動の防止";

// Runs the program with the screens of `factory` until a quit message
// arrives; returns the exit code, 0. A second copy returns 0 at once and
// shows nothing. When the first window cannot be made, the program ends
// with 1 and frees its guard.
int RunProgram(HINSTANCE instance, ScreenFactory& factory);

// The program's fatal path: the numbered box, then exit code 1.
void InstallFatalErrorBox();

}  // namespace kanaflow
