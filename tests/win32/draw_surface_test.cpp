// The drawing surface: fills, rectangles, copies, text and pictures, read
// back pixel by pixel.
#include "draw/draw_surface.h"

#include <gtest/gtest.h>

#include "platform/fatal_error.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "support/image.h"
#include "support/message_box_watcher.h"
#include "support/screen_harness.h"

namespace kanaflow {
namespace {

using testing::CaptureSurface;
using testing::CaptureWindow;
using testing::TestCanvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(DrawSurfaceTest, AWhiteFillHasNoBlackBorder) {
  TestCanvas canvas(700, 200);
  CDrawSurface surface(canvas.window(), 610, 75, 0xFFFFFF);
  surface.BlitToWindow(0, 0);
  const auto image = CaptureWindow(canvas.window());
  EXPECT_EQ(image.Count(0, 0, 610, 75, kWhite), 610 * 75);
  EXPECT_EQ(image.at(610, 10), TestCanvas::kBackground) << "nothing beyond the surface's width";
  EXPECT_EQ(image.at(10, 75), TestCanvas::kBackground) << "nothing beyond the surface's height";
}

TEST(DrawSurfaceTest, DrawRectTakesHeightBeforeWidthAndCoversExactlyItsPixels) {
  TestCanvas canvas(700, 500);
  CDrawSurface surface(canvas.window(), 640, 480, 0xFFFFFF);
  surface.SetBrush(kRed);
  surface.DrawRect(10, 95, 75, 610, kRed, 1, PS_SOLID);
  surface.RestoreBrush();
  const auto image = CaptureSurface(surface);
  EXPECT_EQ(image.Count(10, 95, 620, 170, kRed), 610 * 75) << "x 10 to 619, y 95 to 169";
  EXPECT_EQ(image.Count(0, 0, 640, 480, kRed), 610 * 75) << "and nothing else";
}

TEST(DrawSurfaceTest, BlitWithNegativeSizeCopiesTheWholeSurface) {
  TestCanvas canvas(300, 200);
  CDrawSurface target(canvas.window(), 200, 100, 0xFFFFFF);
  CDrawSurface source(canvas.window(), 100, 50, kBlue);
  EXPECT_EQ(source.BlitTo(target.GetMemoryDC(), 20, 10, -1, -1), target.GetMemoryDC());
  const auto image = CaptureSurface(target);
  EXPECT_EQ(image.Count(20, 10, 120, 60, kBlue), 100 * 50);
  EXPECT_EQ(image.Count(0, 0, 200, 100, kBlue), 100 * 50);
  CDrawSurface part(canvas.window(), 200, 100, 0xFFFFFF);
  source.BlitTo(part.GetMemoryDC(), 0, 0, 30, 20, 0, 0);
  EXPECT_EQ(CaptureSurface(part).Count(0, 0, 200, 100, kBlue), 30 * 20) << "a given size copies that much";
}

TEST(DrawSurfaceTest, DrawStringWithALengthDrawsOnlyThoseBytes) {
  TestCanvas canvas(300, 100);
  auto draw = [&](const std::string& text, int length) {
    CDrawSurface surface(canvas.window(), 300, 40, 0xFFFFFF);
    surface.DrawString(text, 2, 2, length);
    return CaptureSurface(surface).pixels;
  };
  EXPECT_EQ(draw("ABCDEFGHIJ", 7), draw("ABCDEFG", -1));
  EXPECT_NE(draw("ABCDEFGHIJ", 7), draw("ABCDEFGHIJ", -1));
  EXPECT_EQ(draw("あいうえ", 5), draw("あい", -1)) << "never half a character";
  EXPECT_NE(draw("あい", -1), draw("", -1)) << "Japanese text is drawn";
}

TEST(DrawSurfaceTest, FontsAndBrushesAreRestoredToTheSurfacesOwn) {
  TestCanvas canvas(100, 100);
  CDrawSurface surface(canvas.window(), 100, 100, 0xFFFFFF);
  const HGDIOBJ original = GetCurrentObject(surface.GetMemoryDC(), OBJ_FONT);
  EXPECT_EQ(surface.SetFont(15), original);
  surface.SetFont(20);  // set again without a restore: the first one must not leak
  surface.RestoreFont();
  EXPECT_EQ(GetCurrentObject(surface.GetMemoryDC(), OBJ_FONT), original);
  const HGDIOBJ brush = GetCurrentObject(surface.GetMemoryDC(), OBJ_BRUSH);
  surface.SetBrush(kRed);
  surface.RestoreBrush();
  EXPECT_EQ(GetCurrentObject(surface.GetMemoryDC(), OBJ_BRUSH), brush);
}

TEST(DrawSurfaceTest, AMissingPictureIsReportedToTheCallerAndLeavesAnEmptySurface) {
  TestCanvas canvas(100, 100);
  testing::MessageBoxWatcher boxes;
  CDrawSurface picture(canvas.window(), "no-such-picture.bmp", false);
  EXPECT_TRUE(boxes.texts().empty()) << "the screen that asked tells the user";
  EXPECT_FALSE(picture.loaded());
  EXPECT_EQ(picture.GetMemoryDC(), nullptr);
  EXPECT_EQ(picture.GetWidth(), 640);
  EXPECT_EQ(picture.GetHeight(), 480);
  picture.DrawString("x", 0, 0);  // does nothing, safely
  picture.BlitToWindow(0, 0);
}

TEST(DrawSurfaceTest, APictureFileTakesItsOwnSize) {
  TestCanvas canvas(100, 100);
  // A 3 by 2 24-bit bitmap, rows bottom-up and padded to four bytes.
  std::string bmp = "BM";
  auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) bmp += static_cast<char>((v >> (8 * i)) & 0xFF); };
  auto put16 = [&](std::uint16_t v) { bmp += static_cast<char>(v & 0xFF); bmp += static_cast<char>(v >> 8); };
  put32(54 + 24); put32(0); put32(54);
  put32(40); put32(3); put32(2); put16(1); put16(24); put32(0); put32(24); put32(2835); put32(2835); put32(0); put32(0);
  for (int row = 0; row < 2; ++row) bmp += std::string("\x00\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00\x00\x00", 12);
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "kanaflow-test-picture.bmp";
  ASSERT_TRUE(ReplaceFileContents(path, bmp));
  CDrawSurface picture(canvas.window(), path, false);
  ASSERT_NE(picture.GetMemoryDC(), nullptr);
  EXPECT_EQ(picture.GetWidth(), 3);
  EXPECT_EQ(picture.GetHeight(), 2);
  EXPECT_EQ(CaptureSurface(picture).Count(0, 0, 3, 2, kRed), 6);
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace kanaflow
