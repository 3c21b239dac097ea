// The whole program's start timed from the outside, by what the user sees:
// a watcher in a process of its own waits until the main menu of another
// process shows on the screen.
#pragma once

#include <windows.h>

namespace kanaflow::testing {
struct Image;
}

namespace kanaflow::bench {

// Whether a capture of the top of the menu's client area (640 by 100 from
// its origin) shows the menu painted: the red frame of the first entry and
// the dark text of its panel on white.
bool ShowsPaintedMenu(const testing::Image& top);

// Prints "ready", waits until a screen window of another process shows the
// painted main menu, prints the moment it was seen in seconds since 1970
// (the clock of `date +%s.%N`), then closes that window. Returns 0 when the
// menu was seen within `timeoutMs`, 1 otherwise.
int WatchForMainMenu(DWORD timeoutMs);

}  // namespace kanaflow::bench
