// Pixels read back from windows and drawing surfaces, and PNG files of them
// for a person to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kanaflow {
class CDrawSurface;
}

namespace kanaflow::testing {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;  // row by row, top first; 0x00BBGGRR

  COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  // How many pixels of the rectangle [left, right) x [top, bottom) have `colour`.
  int Count(int left, int top, int right, int bottom, COLORREF colour) const;
};

// The client area of a window as it is on the screen now.
Image CaptureWindow(HWND window);
// The whole window, frame and title bar included, from the screen.
Image CaptureWindowWithFrame(HWND window);
// What a drawing surface holds.
Image CaptureSurface(const CDrawSurface& surface);
Image CaptureDc(HDC dc, int x, int y, int width, int height);

// Writes the image as a PNG under the build folder's screenshots folder;
// returns the path written.
std::string SavePng(const Image& image, const std::string& name);

}  // namespace kanaflow::testing

namespace kanaflow::testing {

// A number that grows with every GDI object the process keeps: the count
// from GetGuiResources where the system keeps one; under Wine, which does
// not, the highest handle slot in use, found by taking every free slot.
DWORD GdiObjectGauge();
inline constexpr DWORD kGdiGaugeSlack = 16;

// The committed private memory of the process, summed over its regions (Wine
// leaves the process memory counters empty).
SIZE_T PrivateBytes();

}  // namespace kanaflow::testing
