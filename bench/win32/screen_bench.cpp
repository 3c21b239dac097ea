// The figures of the screens under Wine (or Windows):
//   screen_bench             the main menu's start in this process, keystroke
//                            to repainted frame, idle processor time
//   screen_bench watch-menu  the watcher that times the whole program's start
//                            from outside (bench/run-wine.sh starts it)
#include <windows.h>

#include <cstring>

#include "menu_watch.h"
#include "program/program.h"
#include "screen_figures.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "watch-menu") == 0) return kanaflow::bench::WatchForMainMenu(60000);
  kanaflow::InstallFatalErrorBox();
  kanaflow::bench::MeasureMenuStart();
  kanaflow::bench::MeasureKeystrokeToFrame();
  kanaflow::bench::MeasureIdleCpu();
  return 0;
}
