// The entry point of kanaflow.exe.
#include <windows.h>

#include "program/program.h"
#include "program/program_screens.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  kanaflow::InstallFatalErrorBox();
  kanaflow::ProgramScreens screens;
  return kanaflow::RunProgram(instance, screens);
}
