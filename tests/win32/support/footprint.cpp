#include "support/footprint.h"

#include <cstdio>

#include "support/image.h"

namespace kanaflow::testing {
namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// EnumChildWindows reaches every descendant, not only the direct children.
BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountChild, count);
  return TRUE;
}

std::string Line(const char* name, unsigned long long start, unsigned long long end, unsigned long long margin,
                 const char* unit) {
  char text[160];
  std::snprintf(text, sizeof text, "%s %llu -> %llu%s (margin +%llu%s)", name, start, end, unit, margin, unit);
  return text;
}

}  // namespace

int CountThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
  return count;
}

Footprint TakeFootprint() {
  Footprint footprint;
  footprint.gdiGauge = GdiObjectGauge();
  footprint.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  footprint.windows = CountThreadWindows();
  footprint.privateBytes = PrivateBytes();
  return footprint;
}

std::string Describe(const Footprint& start, const Footprint& end, const FootprintMargin& margin) {
  return Line("GDI gauge", start.gdiGauge, end.gdiGauge, margin.gdiGauge, "") + "; " +
         Line("USER objects", start.userObjects, end.userObjects, margin.userObjects, "") + "; " +
         Line("windows", static_cast<unsigned long long>(start.windows), static_cast<unsigned long long>(end.windows),
              static_cast<unsigned long long>(margin.windows), "") +
         "; " + Line("private KiB", start.privateBytes / 1024, end.privateBytes / 1024, margin.privateBytes / 1024, "");
}

std::string GrownPastMargin(const Footprint& start, const Footprint& end, const FootprintMargin& margin) {
  std::string grown;
  auto check = [&grown](bool past, const char* name) {
    if (past) grown += grown.empty() ? name : std::string(", ") + name;
  };
  check(end.gdiGauge > start.gdiGauge + margin.gdiGauge, "GDI objects");
  check(end.userObjects > start.userObjects + margin.userObjects, "USER objects");
  check(end.windows > start.windows + margin.windows, "windows");
  check(end.privateBytes > start.privateBytes + margin.privateBytes, "private bytes");
  return grown;
}

}  // namespace kanaflow::testing
