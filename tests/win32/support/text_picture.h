// Texts checked by their pixels: a text drawn alone at its place, as the
// screens draw it, against what a window shows there.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/image.h"

namespace kanaflow::testing {

struct TextPicture {
  Image image;
  RECT box;  // what the text covers
  COLORREF background;
};

// `text` (CP932) drawn at (x, y) on a fresh surface of `width` by `height` in
// `background`, in `colour` and the screens' font (`fontHeight` 0: the
// surface's default size).
TextPicture RenderText(HWND window, int width, int height, COLORREF background, const std::string& text, int x, int y,
                       COLORREF colour, int fontHeight = 0);

// Whether the shot holds, inside `clip` (or the text's own box), exactly the
// pixels of the text drawn alone.
::testing::AssertionResult Shows(const Image& shot, const TextPicture& expected, const std::string& what,
                                 std::optional<RECT> clip = std::nullopt);

}  // namespace kanaflow::testing
