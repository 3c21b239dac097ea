// The screens at 200 % (150 % where the desktop is too small for that): the
// client area at the scale, drawn at it instead of stretched, the edit box
// placed and lettered with it, the mouse read back.
#include <gtest/gtest.h>

#include <string>

#include "draw/screen_scale.h"
#include "program/main_window.h"
#include "support/fresh_frame.h"
#include "support/menu_scene.h"
#include "support/practice_fixture.h"
#include "typing/typing2_window.h"

namespace kanaflow {
namespace {

struct AtLargeScale {
  const int percent = GetSystemMetrics(SM_CXSCREEN) >= 1400 ? 200 : 150;
  AtLargeScale() { SetScreenScale(percent); }
  ~AtLargeScale() { SetScreenScale(100); }
  int operator()(int units) const { return MulDiv(units, percent, 100); }
};

TEST(WindowScaleTest, PracticeScreensAreDrawnAtTheScale) {
  const AtLargeScale scaled;
  const testing::PracticeFolder folder;
  folder.Write("data/set.ini", "[TypingQuesitonSetup]\r\nQuestionNumber=1\r\nQuestionFileName=#q.txt\r\n");
  folder.Write("data/q.txt", "問題\r\nもんだい\r\n");
  testing::PracticeScene scene;
  scene.Open(PracticeMode::Basic);
  RECT client{};
  GetClientRect(scene.window(), &client);
  EXPECT_EQ(client.right * 10000 + client.bottom, scaled(640) * 10000 + scaled(480));
  const testing::Image shown = testing::ShownFrame(scene.window(), "the countdown at the scale");
  testing::SavePng(testing::CaptureWindowWithFrame(scene.window()), "basic-at-" + std::to_string(scaled.percent));
  // A 640 x 480 picture stretched to the scale repeats a pixel of the
  // picture in neighbouring columns: no edge can lie between two of them. The
  // label 問題文 drawn at the scale has edges there.
  int edgesInsideCopies = 0;
  for (int y = scaled(15); y < scaled(31); ++y) {
    for (int x = scaled(15); x < scaled(65); ++x) {
      const bool oneSourcePixel = x * 100 / scaled.percent == (x + 1) * 100 / scaled.percent;
      edgesInsideCopies += oneSourcePixel && shown.at(x, y) != shown.at(x + 1, y) ? 1 : 0;
    }
  }
  EXPECT_GT(edgesInsideCopies, 20);
  testing::SendKeyDown(scene.window(), VK_ESCAPE);
  scene.Open(PracticeMode::Hiragana);
  const HWND edit = static_cast<Typing2Window*>(scene.current())->editBox();
  RECT box{};
  GetWindowRect(edit, &box);
  MapWindowPoints(nullptr, scene.window(), reinterpret_cast<POINT*>(&box), 2);
  EXPECT_EQ(box.left * 10000 + box.bottom, scaled(15) * 10000 + scaled(40)) << "(15, 15) to (620, 40) at the scale";
  EXPECT_NE(SendMessageW(edit, WM_GETFONT, 0, 0), 0) << "a font of its own at the scale";
}

TEST(WindowScaleTest, MouseClicksAreReadInTheScreensUnits) {
  const AtLargeScale scaled;
  const testing::MenuScene menus;
  menus.scene().ShowMainMenu();
  MainWindow::SelectEntry(0);
  // (300, 387) in the menu's units is the last entry, which ends the program.
  SendMessageW(menus.window(), WM_LBUTTONUP, 0, MAKELPARAM(scaled(300), scaled(387)));
  EXPECT_EQ(MainWindow::SelectedEntry(), 4);
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
}  // namespace kanaflow
