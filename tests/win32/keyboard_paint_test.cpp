// The on-screen keyboard as it is painted: finger colours, labels, the
// next-key mark with both Shift keys, and the results view; PNGs of each for
// a person to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "draw/draw_surface.h"
#include "draw/keyboard_painter.h"
#include "draw/keyboard_picture.h"
#include "draw/virtual_keyboard.h"
#include "support/image.h"
#include "support/screen_harness.h"

namespace kanaflow {
namespace {

using testing::CaptureSurface;
using testing::Image;
using testing::SavePng;
using testing::TestCanvas;

constexpr Colour kLittle = 0x8080FF, kRing = 0x80FFFF, kMiddle = 0x80FF80, kIndex = 0xFFFF80, kOther = 0xFFFFFF;
constexpr Colour kNextKey = 0x0000FF;
constexpr COLORREF kWhite = RGB(255, 255, 255);

KeyboardColours DefaultColours() { return {0x000000, 0x000000, kLittle, kRing, kMiddle, kIndex, kOther}; }

// The colour of a key's face just inside its outline, left of where labels
// and figures start.
COLORREF FaceOf(const Image& image, const CKeyboardKey& key) {
  return image.at(key.x() + 1, key.y() + key.height() / 2);
}

class KeyboardPaintTest : public ::testing::Test {
 protected:
  Image Paint(const std::string& pngName) {
    CDrawSurface panel(canvas_.window(), 610, 210, 0xFFFFFF);
    keyboard_.Draw(panel);
    const Image image = CaptureSurface(panel);
    SavePng(image, pngName);
    return image;
  }

  TestCanvas canvas_{700, 300};
  CVirtualKeyboard keyboard_{DefaultColours(), 16, 14, 40};
};

TEST_F(KeyboardPaintTest, LabelsAndFingerColours) {
  SetNextKeyColour(kNextKey);
  keyboard_.SetShowLabels(true);
  keyboard_.SetFingerColours(true);
  const Image image = Paint("keyboard-labels-and-fingers");
  struct Row {
    int key;
    Colour finger;
  } rows[] = {{1, kLittle}, {2, kRing}, {3, kMiddle}, {4, kIndex}, {29, kLittle}, {32, kIndex},
              {36, kMiddle}, {37, kRing}, {0, kOther}, {54, kOther}, {41, kOther}};
  for (const Row& row : rows) {
    EXPECT_EQ(FaceOf(image, keyboard_.key(row.key)), static_cast<COLORREF>(row.finger)) << "key " << row.key;
  }
  // Labels put dark pixels into the key's upper-left quarter.
  const CKeyboardKey& a = keyboard_.key(29);
  EXPECT_LT(image.Count(a.x() + 2, a.y() + 2, a.x() + 20, a.y() + 20, static_cast<COLORREF>(kLittle)), 18 * 18);
  EXPECT_EQ(image.at(0, 0), RGB(0, 0, 0)) << "the outer frame";
  EXPECT_EQ(image.at(599, 199), RGB(0, 0, 0));
  EXPECT_EQ(image.at(605, 205), kWhite) << "nothing outside 600 by 200";
}

TEST_F(KeyboardPaintTest, AllFlagsOffLeavesBoxesButStillMarksTheNextKey) {
  SetNextKeyColour(kNextKey);
  keyboard_.HighlightNextKey("k");
  const Image image = Paint("keyboard-flags-off-marked-k");
  for (int key : {1, 29, 41, 53, 54}) EXPECT_EQ(FaceOf(image, keyboard_.key(key)), kWhite) << "key " << key;
  EXPECT_EQ(FaceOf(image, keyboard_.key(36)), static_cast<COLORREF>(kNextKey)) << "K is marked";
  const CKeyboardKey& q = keyboard_.key(16);
  EXPECT_EQ(image.at(q.x(), q.y() + 20), RGB(0, 0, 0)) << "every key keeps its outline";
}

TEST_F(KeyboardPaintTest, ACapitalMarksItsKeyAndBothShiftKeys) {
  SetNextKeyColour(kNextKey);
  keyboard_.SetShowLabels(true);
  keyboard_.SetFingerColours(true);
  keyboard_.HighlightNextKey("A");
  const Image image = Paint("keyboard-marked-shift-a");
  for (int key : {29, 41, 53}) {
    EXPECT_EQ(FaceOf(image, keyboard_.key(key)), static_cast<COLORREF>(kNextKey)) << "key " << key;
  }
  EXPECT_EQ(FaceOf(image, keyboard_.key(30)), static_cast<COLORREF>(kRing)) << "S is not marked";
}

TEST_F(KeyboardPaintTest, ResultsViewShowsEachKeysFiguresAndTheFoundKeys) {
  SetNextKeyColour(kNextKey);
  keyboard_.SetShowLabels(true);
  keyboard_.RecordKeystroke("a", 1, 400);
  keyboard_.RecordKeystroke("a", 0, 200);
  keyboard_.RecordKeystroke("k", 2, 1500);
  keyboard_.RecordKeystroke("k", 0, 300);
  keyboard_.RecordKeystroke("i", 0, 2500);
  keyboard_.SetResultsView(true);
  keyboard_.ClearHighlights();
  EXPECT_EQ(keyboard_.FindMostMissedKey(), &keyboard_.key(36)) << "K: 2 misses in 2 strokes";
  EXPECT_EQ(keyboard_.FindSlowestKey(), &keyboard_.key(23)) << "I: 2.5 s for one stroke";
  const Image image = Paint("keyboard-results-view");
  EXPECT_EQ(FaceOf(image, keyboard_.key(36)), static_cast<COLORREF>(kNextKey));
  EXPECT_EQ(FaceOf(image, keyboard_.key(23)), static_cast<COLORREF>(kNextKey));
  EXPECT_EQ(FaceOf(image, keyboard_.key(29)), static_cast<COLORREF>(kLittle)) << "results show finger colours";
  const CKeyboardKey& a = keyboard_.key(29);
  EXPECT_LT(image.Count(a.x() + 2, a.y() + 2, a.x() + 38, a.y() + 38, static_cast<COLORREF>(kLittle)), 36 * 36)
      << "the figures are drawn on the key";
  const CKeyboardKey& tab = keyboard_.key(15);
  EXPECT_EQ(image.Count(tab.x() + 2, tab.y() + 2, tab.x() + tab.width() - 2, tab.y() + tab.height() - 2,
                        static_cast<COLORREF>(kOther)),
            (tab.width() - 4) * (tab.height() - 4))
      << "special keys show nothing in the results view";
}

TEST_F(KeyboardPaintTest, TheKeptPictureIsAlwaysWhatAFreshDrawGives) {
  SetNextKeyColour(kNextKey);
  keyboard_.SetShowLabels(true);
  keyboard_.SetFingerColours(true);
  KeyboardPicture picture;
  auto fresh = [&] {
    CDrawSurface panel(canvas_.window(), 610, 210, 0xFFFFFF);
    keyboard_.Draw(panel);
    return CaptureSurface(panel).pixels;
  };
  // Marks move, Shift comes and goes, colours switch off, the results come.
  const std::vector<std::function<void()>> steps = {
      [&] { keyboard_.HighlightNextKey("k"); },
      [&] { keyboard_.ClearHighlights(); keyboard_.HighlightNextKey("A"); },
      [&] { keyboard_.ClearHighlights(); keyboard_.HighlightNextKey(" "); },
      [&] { keyboard_.SetFingerColours(false); },
      [&] { keyboard_.ClearHighlights(); keyboard_.HighlightNextKey("a"); },
      [&] { keyboard_.RecordKeystroke("a", 2, 900); keyboard_.SetResultsView(true); keyboard_.ClearHighlights(); },
      [&] { keyboard_.FindMostMissedKey(); },
  };
  EXPECT_EQ(CaptureSurface(picture.Update(canvas_.window(), keyboard_, 0xFFFFFF)).pixels, fresh());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    steps[i]();
    EXPECT_EQ(CaptureSurface(picture.Update(canvas_.window(), keyboard_, 0xFFFFFF)).pixels, fresh()) << "step " << i;
  }
}

// Not a timed test: the figures are printed for the record, and the GDI
// object count must not grow however often the keyboard is drawn.
TEST_F(KeyboardPaintTest, DrawingAgainAndAgainLeaksNothing) {
  keyboard_.SetShowLabels(true);
  keyboard_.SetFingerColours(true);
  keyboard_.HighlightNextKey("A");
  HDC windowDc = GetDC(canvas_.window());
  std::vector<double> times;
  auto drawOnce = [&] {
    const auto start = std::chrono::steady_clock::now();
    CDrawSurface panel(canvas_.window(), 610, 210, 0xFFFFFF);
    keyboard_.Draw(panel);
    panel.BlitTo(windowDc, 0, 0, 600, 200, 0, 0);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  };
  drawOnce();
  const DWORD gdiAfterFirst = testing::GdiObjectGauge();
  for (int i = 0; i < 2000; ++i) drawOnce();
  const DWORD gdiAfterAll = testing::GdiObjectGauge();
  ReleaseDC(canvas_.window(), windowDc);
  std::sort(times.begin(), times.end());
  std::printf("keyboard draw and copy: median %.3f ms over %zu draws; GDI gauge %lu -> %lu\n",
              times[times.size() / 2], times.size(), gdiAfterFirst, gdiAfterAll);
  EXPECT_LE(gdiAfterAll, gdiAfterFirst + testing::kGdiGaugeSlack) << "2000 draws leaked GDI objects";
}

}  // namespace
}  // namespace kanaflow
