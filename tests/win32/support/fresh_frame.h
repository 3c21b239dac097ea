// What the user sees against what the screen would draw now. Every screen
// test that looks at a window goes through this, so a change that the screen
// forgot to show fails wherever it happens.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/image.h"

namespace kanaflow::testing {

// The window's pixels as they are, after the paints the program itself asked
// for (its message loop would deliver them the same way), then a whole
// repaint of the same state, window and children; true when nothing differs.
// `ignore` leaves out a place whose drawing moves by itself: a running clock.
::testing::AssertionResult ShowsFreshFrame(HWND window, std::optional<RECT> ignore = std::nullopt,
                                           Image* shown = nullptr);

// The same check as a test expectation, naming `what` was done last; returns
// the pixels as they were shown, for the test to read its texts off them.
Image ShownFrame(HWND window, const std::string& what, std::optional<RECT> ignore = std::nullopt);

}  // namespace kanaflow::testing
