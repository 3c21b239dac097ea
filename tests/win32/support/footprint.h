// What the process holds of the system's objects and memory, taken at two
// moments of a long run to show that nothing was kept along the way.
#pragma once

#include <windows.h>

#include <string>

namespace kanaflow::testing {

struct Footprint {
  DWORD gdiGauge = 0;      // GdiObjectGauge()
  DWORD userObjects = 0;   // GetGuiResources(GR_USEROBJECTS): 0 under Wine, which keeps no count
  int windows = 0;         // this thread's windows and all their children
  SIZE_T privateBytes = 0;  // PrivateBytes()
};

// How much each measure may grow over a run before it counts as kept.
struct FootprintMargin {
  DWORD gdiGauge;
  DWORD userObjects;
  int windows;
  SIZE_T privateBytes;
};

// This thread's top-level windows and their children, each counted once:
// the USER measure where the system keeps no count of USER objects.
int CountThreadWindows();

Footprint TakeFootprint();

// "GDI gauge a -> b (margin +m); ..." for the record.
std::string Describe(const Footprint& start, const Footprint& end, const FootprintMargin& margin);

// The measures that grew past their margin, named; empty when none did.
std::string GrownPastMargin(const Footprint& start, const Footprint& end, const FootprintMargin& margin);

}  // namespace kanaflow::testing
