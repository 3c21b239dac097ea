#include "support/text_picture.h"

#include <algorithm>

#include "draw/draw_surface.h"
#include "draw/gdi_handles.h"
#include "platform/text_encoding.h"

namespace kanaflow::testing {

TextPicture RenderText(HWND window, int width, int height, COLORREF background, const std::string& text, int x, int y,
                       COLORREF colour, int fontHeight) {
  CDrawSurface surface(window, width, height, background);
  const HDC dc = surface.GetMemoryDC();
  if (fontHeight > 0) surface.SetFont(fontHeight);
  SIZE size{};
  const std::wstring wide = Cp932ToWide(text);
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  {
    const TextColour textColour(dc, colour);
    surface.DrawString(text, x, y);
  }
  surface.RestoreFont();
  return {CaptureSurface(surface), RECT{x, y, x + size.cx, y + size.cy}, background};
}

::testing::AssertionResult Shows(const Image& shot, const TextPicture& expected, const std::string& what,
                                 std::optional<RECT> clip) {
  const RECT box = clip.value_or(expected.box);
  int differing = 0;
  int inked = 0;
  for (int y = box.top; y < std::min<int>(box.bottom, shot.height); ++y) {
    for (int x = box.left; x < std::min<int>(box.right, shot.width); ++x) {
      differing += shot.at(x, y) != expected.image.at(x, y) ? 1 : 0;
      inked += expected.image.at(x, y) != expected.background ? 1 : 0;
    }
  }
  if (inked == 0) return ::testing::AssertionFailure() << what << ": the text draws nothing to compare";
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << what << " at (" << box.left << ", " << box.top << "): " << differing
                                       << " pixels differ";
}

}  // namespace kanaflow::testing
