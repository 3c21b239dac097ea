// The figures of the screens under Wine (or Windows):
//   screen_bench             the main menu's start in this process, keystroke
//                            to repainted frame, idle processor time
//   screen_bench watch-menu  the watcher that times the whole program's start
//                            from outside (bench/run-wine.sh starts it)
//   screen_bench large-folder  only the figures of a folder of 5,000 sets
//   screen_bench large-ini     only the figures of ini files of a gibibyte
#include <windows.h>

#include <cstring>

#include "menu_watch.h"
#include "program/program.h"
#include "screen_figures.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "watch-menu") == 0) return kanaflow::bench::WatchForMainMenu(60000);
  kanaflow::InstallFatalErrorBox();
  if (argc > 1 && std::strcmp(argv[1], "large-folder") == 0) {
    kanaflow::bench::MeasureLargeFolder();
  kanaflow::bench::MeasureLargeIni();
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "large-ini") == 0) {
    kanaflow::bench::MeasureLargeIni();
    return 0;
  }
  kanaflow::bench::MeasureMenuStart();
  kanaflow::bench::MeasureKeystrokeToFrame();
  kanaflow::bench::MeasureLargeFolder();
  kanaflow::bench::MeasureIdleCpu();
  return 0;
}
