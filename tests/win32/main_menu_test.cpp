// The main menu driven with real messages: the arrow keys, Enter and its
// repeats, clicks and their bounds, the hand-over to the selection screen in
// each mode, the setup dialog over the menu, the red frame over the grey one,
// the remembered entry and the preview pictures.
#include "program/main_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/scene.h"
#include "app/window_utilities.h"
#include "platform/text_encoding.h"
#include "program/question_select_menu.h"
#include "support/fresh_frame.h"
#include "support/image.h"
#include "support/menu_scene.h"
#include "support/modal_answerer.h"
#include "support/practice_fixture.h"
#include "support/screen_harness.h"
#include "support/text_picture.h"

namespace kanaflow {
namespace {

using testing::CaptureWindow;
using testing::ShownFrame;
using testing::Image;
using testing::MenuScene;
using testing::ModalAnswerer;
using testing::PracticeFolder;
using testing::PumpMessages;
using testing::SavePng;
using testing::SendKeyDown;
using testing::TakeQuitRequest;
using testing::TestInstance;

constexpr COLORREF kRedFrame = 0x0000C8;
constexpr COLORREF kGreyFrame = 0xBEBEBE;
constexpr COLORREF kWhite = 0xFFFFFF;

// The panels as the menu lays them out in its client area: panel i from
// (10, 10 + 85 i), 610 wide and 75 high, framed in grey on its outermost pixels.
constexpr int kPanelLeft = 10;
constexpr int kPanelRight = 619;  // the last column of a panel
constexpr int kPanelHeight = 75;
int PanelTop(int entry) { return 10 + 85 * entry; }
int PanelBottom(int entry) { return PanelTop(entry) + kPanelHeight - 1; }  // the last row

// Whether the preview bitmaps are linked into this test program.
bool PreviewsLinked() {
  return FindResourceW(TestInstance(), MAKEINTRESOURCEW(106), reinterpret_cast<LPCWSTR>(RT_BITMAP)) != nullptr;
}

// What an entry does, as a row expects it.
enum class Outcome {
  None,       // nothing: the same menu, no dialog, no quit request
  Selection,  // the selection screen in the entry's mode
  Setup,      // the setup dialog over the menu, which stays
  Quit,       // a quit request, the menu stays
};

const char* Name(Outcome outcome) {
  switch (outcome) {
    case Outcome::None: return "nothing";
    case Outcome::Selection: return "selection screen";
    case Outcome::Setup: return "setup dialog";
    case Outcome::Quit: return "quit";
  }
  return "?";
}

Outcome OutcomeOf(int entry) {
  if (entry <= 2) return Outcome::Selection;
  return entry == 3 ? Outcome::Setup : Outcome::Quit;
}

// A working folder with one set, so that the selection screen opens; a scene
// whose main menu and selection screen are the real ones and whose typing
// screen is a stand-in that records what it was given.
class MainMenuTest : public ::testing::Test {
 protected:
  MainMenuTest() {
    folder_.Write("data/set.ini",
                  "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=1\r\nQuestionFileName=#q.txt\r\n"
                  "Title=犬と猫\r\n");
    folder_.Write("data/q.txt", "犬\r\nいぬ\r\n");
  }

  // Leaves whatever screen is shown (its window destroyed, as a screen
  // leaves) for a new main menu, and lets it paint.
  void ShowMenu() {
    if (HWND old = window()) DestroyWindow(old);
    menus_.scene().ShowMainMenu();
    ASSERT_NE(menu(), nullptr);
    ShownFrame(window(), "the menu opened");
  }

  // Checks what an action on the menu `before` (with its window) did.
  void ExpectOutcome(const MainWindow* before, HWND beforeWindow, Outcome expected, int entry,
                     const std::string& row) {
    SCOPED_TRACE(row + ": expected " + Name(expected));
    EXPECT_EQ(TakeQuitRequest(), expected == Outcome::Quit);
    const std::vector<ModalAnswerer::SetupDialog> dialogs = answerer_.setupDialogs;
    answerer_.setupDialogs.clear();
    ASSERT_EQ(dialogs.size(), expected == Outcome::Setup ? 1u : 0u);
    if (expected == Outcome::Selection) {
      EXPECT_NE(selection(), nullptr) << "the selection screen is shown";
      EXPECT_FALSE(IsWindow(beforeWindow)) << "the menu's window is destroyed";
      if (entry >= 0 && entry <= 2) {
        EXPECT_EQ(menus_.scene().mode(), kPracticeModes[entry]);
      }
      return;
    }
    EXPECT_EQ(menu(), before) << "the same menu stays";
    EXPECT_TRUE(IsWindow(beforeWindow) && IsWindowVisible(beforeWindow)) << "its window stays";
    if (expected == Outcome::Setup) {
      EXPECT_EQ(dialogs[0].owner, beforeWindow) << "the dialog is owned by the menu";
      EXPECT_TRUE(dialogs[0].ownerVisible) << "the menu stays under the dialog";
    }
  }

  MainWindow* menu() const { return dynamic_cast<MainWindow*>(menus_.current()); }
  QuestionSelectMenu* selection() const { return dynamic_cast<QuestionSelectMenu*>(menus_.current()); }
  HWND window() const { return menus_.window(); }
  void Click(int x, int y, UINT message = WM_LBUTTONUP) const { SendMessageW(window(), message, 0, MAKELPARAM(x, y)); }

  PracticeFolder folder_;
  ModalAnswerer answerer_;
  MenuScene menus_;
};

TEST_F(MainMenuTest, ArrowKeysMoveTheFrameWithoutWrapping) {
  const struct Row {
    int from;
    UINT key;
    bool repeat;
    int expected;
  } rows[] = {
      {0, VK_UP, false, 0},   {4, VK_DOWN, false, 4}, {0, VK_DOWN, false, 1}, {1, VK_UP, false, 0},
      {3, VK_DOWN, false, 4}, {4, VK_UP, false, 3},   {2, VK_DOWN, true, 3},  {2, VK_UP, true, 1},  // held keys repeat
      {2, VK_LEFT, false, 2}, {2, VK_ESCAPE, false, 2},
  };
  ShowMenu();
  const MainWindow* const shown = menu();
  for (const Row& row : rows) {
    MainWindow::SelectEntry(row.from);
    SendKeyDown(window(), row.key, row.repeat);
    EXPECT_EQ(MainWindow::SelectedEntry(), row.expected) << "from " << row.from << " key " << row.key;
    EXPECT_EQ(menu(), shown) << "the menu stays, from " << row.from << " key " << row.key;
  }
  EXPECT_TRUE(answerer_.setupDialogs.empty());
  EXPECT_FALSE(TakeQuitRequest());
}

TEST_F(MainMenuTest, EnterStartsTheFramedEntryOnceAndAHeldEnterDoesNothing) {
  for (int entry = 0; entry < MainWindow::kEntryCount; ++entry) {
    const std::string row = "entry " + std::to_string(entry);
    ShowMenu();
    MainWindow::SelectEntry(entry);
    const MainWindow* const before = menu();
    const HWND beforeWindow = window();
    SendKeyDown(window(), VK_RETURN, true);
    ExpectOutcome(before, beforeWindow, Outcome::None, entry, row + ", held Enter");
    SendKeyDown(window(), VK_RETURN);
    ExpectOutcome(before, beforeWindow, OutcomeOf(entry), entry, row + ", Enter");
    EXPECT_EQ(MainWindow::SelectedEntry(), entry) << row;
  }
}

TEST_F(MainMenuTest, AReleasedClickOnAPanelStartsItsEntryAndAClickBesideThePanelsNothing) {
  const struct Row {
    int x;
    int y;
    int entry;  // -1: nothing
    UINT message;
  } rows[] = {
      {10, 10, 0, WM_LBUTTONUP},    {620, 425, 4, WM_LBUTTONUP},  // the outermost corners
      {300, 90, -1, WM_LBUTTONUP},  {630, 50, -1, WM_LBUTTONUP},  // between panels 0 and 1; right of them
      {9, 50, -1, WM_LBUTTONUP},    {620, 50, 0, WM_LBUTTONUP},   {621, 50, -1, WM_LBUTTONUP},
      {300, 9, -1, WM_LBUTTONUP},   {300, 85, 0, WM_LBUTTONUP},   {300, 86, -1, WM_LBUTTONUP},
      {300, 94, -1, WM_LBUTTONUP},  {300, 95, 1, WM_LBUTTONUP},   {300, 170, 1, WM_LBUTTONUP},
      {300, 171, -1, WM_LBUTTONUP}, {300, 179, -1, WM_LBUTTONUP}, {300, 180, 2, WM_LBUTTONUP},
      {300, 255, 2, WM_LBUTTONUP},  {300, 256, -1, WM_LBUTTONUP}, {300, 264, -1, WM_LBUTTONUP},
      {300, 265, 3, WM_LBUTTONUP},  {300, 340, 3, WM_LBUTTONUP},  {300, 341, -1, WM_LBUTTONUP},
      {300, 349, -1, WM_LBUTTONUP}, {300, 350, 4, WM_LBUTTONUP},  {300, 425, 4, WM_LBUTTONUP},
      {300, 426, -1, WM_LBUTTONUP}, {300, 470, -1, WM_LBUTTONUP},
      {10, 10, -1, WM_LBUTTONDOWN}, {300, 200, -1, WM_LBUTTONDOWN},  // never on the press
      {300, 200, -1, WM_RBUTTONUP},
  };
  for (const Row& row : rows) {
    const std::string name = "(" + std::to_string(row.x) + ", " + std::to_string(row.y) + ") message " +
                             std::to_string(row.message);
    if (!menu()) ShowMenu();  // only a hand-over to the selection screen leaves the menu
    MainWindow::SelectEntry(row.entry == 1 ? 2 : 1);  // a frame elsewhere, to see that the click moves it
    const int selectedBefore = MainWindow::SelectedEntry();
    const MainWindow* const before = menu();
    const HWND beforeWindow = window();
    Click(row.x, row.y, row.message);
    ExpectOutcome(before, beforeWindow, row.entry < 0 ? Outcome::None : OutcomeOf(row.entry), row.entry, name);
    EXPECT_EQ(MainWindow::SelectedEntry(), row.entry < 0 ? selectedBefore : row.entry) << name;
  }
}

// ---------------------------------------------------------------------------
// The picture.

struct BorderColours {
  int red = 0;
  int grey = 0;
  int pixels = 0;
};

// The colours on the outermost pixels of a panel: where its grey frame lies.
BorderColours BorderOf(const Image& image, int entry) {
  BorderColours colours;
  const auto look = [&](int x, int y) {
    ++colours.pixels;
    colours.red += image.at(x, y) == kRedFrame ? 1 : 0;
    colours.grey += image.at(x, y) == kGreyFrame ? 1 : 0;
  };
  for (int x = kPanelLeft; x <= kPanelRight; ++x) {
    look(x, PanelTop(entry));
    look(x, PanelBottom(entry));
  }
  for (int y = PanelTop(entry) + 1; y < PanelBottom(entry); ++y) {
    look(kPanelLeft, y);
    look(kPanelRight, y);
  }
  return colours;
}

// Red pixels on the rows and columns just around a panel's border.
int RedAround(const Image& image, int entry, int distance) {
  int red = 0;
  for (int x = kPanelLeft - distance; x <= kPanelRight + distance; ++x) {
    red += image.at(x, PanelTop(entry) - distance) == kRedFrame ? 1 : 0;
    red += image.at(x, PanelBottom(entry) + distance) == kRedFrame ? 1 : 0;
  }
  for (int y = PanelTop(entry) - distance + 1; y < PanelBottom(entry) + distance; ++y) {
    red += image.at(kPanelLeft - distance, y) == kRedFrame ? 1 : 0;
    red += image.at(kPanelRight + distance, y) == kRedFrame ? 1 : 0;
  }
  return red;
}

// Whether the frame of a panel is two pixels wide on every side: besides the
// border itself, the line just inside or just outside it is red too.
bool TwoPixelsWide(const Image& image, int entry) {
  const int top = PanelTop(entry);
  const int bottom = PanelBottom(entry);
  const auto redRow = [&](int y) {
    int red = 0;
    for (int x = kPanelLeft + 1; x < kPanelRight; ++x) red += image.at(x, y) == kRedFrame ? 1 : 0;
    return red == kPanelRight - kPanelLeft - 1;
  };
  const auto redColumn = [&](int x) {
    int red = 0;
    for (int y = top + 1; y < bottom; ++y) red += image.at(x, y) == kRedFrame ? 1 : 0;
    return red == bottom - top - 1;
  };
  return (redRow(top - 1) || redRow(top + 1)) && (redRow(bottom - 1) || redRow(bottom + 1)) &&
         (redColumn(kPanelLeft - 1) || redColumn(kPanelLeft + 1)) &&
         (redColumn(kPanelRight - 1) || redColumn(kPanelRight + 1));
}

void ExpectFramed(const Image& image, int framed, const std::string& row) {
  for (int entry = 0; entry < MainWindow::kEntryCount; ++entry) {
    const BorderColours border = BorderOf(image, entry);
    if (entry == framed) {
      EXPECT_EQ(border.red, border.pixels) << row << ": the red frame covers the grey frame of panel " << entry;
      EXPECT_EQ(border.grey, 0) << row << ": no grey left on panel " << entry;
      EXPECT_TRUE(TwoPixelsWide(image, entry)) << row << ": the frame of panel " << entry << " is 2 pixels wide";
      EXPECT_EQ(RedAround(image, entry, 2), 0) << row << ": the 2-pixel frame reaches one pixel out at most";
    } else {
      EXPECT_EQ(border.grey, border.pixels) << row << ": panel " << entry << " keeps its grey frame";
      EXPECT_EQ(border.red, 0) << row << ": no red on panel " << entry;
    }
  }
}

TEST_F(MainMenuTest, TheRedFrameLiesOverTheGreyFrameOfTheSelectedPanel) {
  MainWindow::SelectEntry(0);
  ShowMenu();
  const struct Step {
    UINT key;
    int framed;
  } steps[] = {{VK_DOWN, 1}, {VK_DOWN, 2}, {VK_DOWN, 3}, {VK_DOWN, 4}, {VK_DOWN, 4}, {VK_UP, 3}, {VK_HOME, 3}};
  for (const Step& step : steps) {
    SendKeyDown(window(), step.key);
    ASSERT_EQ(MainWindow::SelectedEntry(), step.framed);
    const std::string row = "key " + std::to_string(step.key) + " to entry " + std::to_string(step.framed);
    ExpectFramed(ShownFrame(window(), row), step.framed, row);
  }
}

TEST_F(MainMenuTest, TheEntryThatStartedAPracticeIsStillFramedWhenTheMenuReturns) {
  for (int entry = 0; entry <= 2; ++entry) {
    const std::string row = "entry " + std::to_string(entry);
    ShowMenu();
    Click(300, PanelTop(entry) + 30);
    ASSERT_NE(selection(), nullptr) << row;
    SendKeyDown(window(), VK_RETURN);  // the one set is selected: start it
    ASSERT_TRUE(menus_.AtPracticeScreen()) << row;
    EXPECT_EQ(menus_.typingRequest().mode, entry) << row;
    EXPECT_EQ(menus_.typingRequest().path, "./data/set.ini") << row;
    ShowMenu();  // as the practice screen's F5 does
    ExpectFramed(CaptureWindow(window()), entry, row);
  }
}

TEST_F(MainMenuTest, TheSetupEntryIsFramedAsSoonAsTheDialogCloses) {
  for (const bool mouse : {true, false}) {
    const std::string row = mouse ? "chosen with the mouse" : "chosen with the keys";
    MainWindow::SelectEntry(0);
    ShowMenu();
    const MainWindow* const shown = menu();
    if (mouse) {
      Click(300, PanelTop(3) + 30);
    } else {
      for (int down = 0; down < 3; ++down) SendKeyDown(window(), VK_DOWN);
      SendKeyDown(window(), VK_RETURN);
    }
    ASSERT_EQ(answerer_.setupDialogs.size(), 1u) << row;
    answerer_.setupDialogs.clear();
    EXPECT_EQ(menu(), shown) << row;
    ExpectFramed(ShownFrame(window(), "the setup dialog " + row), 3, row);
    EXPECT_FALSE(TakeQuitRequest()) << row;
  }
}

TEST_F(MainMenuTest, ARepaintThatErasesTheBackgroundFirstStillShowsTheMenu) {
  ShowMenu();
  for (const bool erase : {false, true}) {
    InvalidateRect(window(), nullptr, erase ? TRUE : FALSE);
    PumpMessages(50);
    ExpectFramed(CaptureWindow(window()), 0, erase ? "erasing repaint" : "repaint");
  }
}

TEST_F(MainMenuTest, ThePanelsShowTheirPreviewPicturesOrStayWhiteWithoutThem) {
  ShowMenu();
  const Image image = CaptureWindow(window());
  // The picture area of each panel inside its grey frame: (x, y) from the
  // panel's corner, the size of its bitmap.
  const struct Row {
    int entry;
    int width;
    int height;
    const char* resource;  // null: entry 4 has no picture
  } rows[] = {{0, 80, 60, "#107"}, {1, 80, 38, "#108"}, {2, 80, 38, "#109"}, {3, 82, 41, "#106"}, {4, 80, 60, nullptr}};
  const bool linked = PreviewsLinked();
  std::vector<std::string> expectedBoxes;
  for (const Row& row : rows) {
    const int left = kPanelLeft + 1;
    const int top = PanelTop(row.entry) + 1;
    const int area = (row.width - 1) * (row.height - 1);
    const int white = image.Count(left, top, kPanelLeft + row.width, PanelTop(row.entry) + row.height, kWhite);
    if (linked && row.resource) {
      EXPECT_LT(white, area) << "entry " << row.entry << " shows its picture";
    } else {
      EXPECT_EQ(white, area) << "entry " << row.entry << ": the picture area stays white";
    }
    if (!linked && row.resource) expectedBoxes.push_back(row.resource);
  }
  // Without the pictures each panel says so once, in the order they are built.
  ASSERT_EQ(answerer_.boxTexts.size(), expectedBoxes.size());
  for (std::size_t i = 0; i < expectedBoxes.size(); ++i) {
    EXPECT_NE(answerer_.boxTexts[i].find("エラー番号：0100"), std::string::npos) << i;
    EXPECT_NE(answerer_.boxTexts[i].find("読み込み対象ファイル名：" + expectedBoxes[i]), std::string::npos) << i;
  }
}

TEST_F(MainMenuTest, EveryPanelShowsItsTitleAndLinesAndTheRestStaysWhite) {
  ShowMenu();
  const Image image = CaptureWindow(window());
  SavePng(testing::CaptureWindowWithFrame(window()), "main-menu");
  // Each line as the user reads it: its pixels against the same text drawn
  // alone at its place, 15 pixels high, from x 100 of its panel.
  const struct Line {
    int entry;
    int y;
    const char* text;
  } lines[] = {
      {0, 5, "基礎練習モード"},
      {0, 20, "仮想キーボードを用いて、キーの配列を確認しながら練習します。"},
      {0, 35, "ここで、基礎を習得しましょう。"},
      {1, 0, "実践演習モード（ひらがな編）"},
      {1, 15, "エディットボックスに直接入力することで、"},
      {1, 30, "実際に文章を書くときのような練習をします。"},
      {1, 45, "まずは、変換作業無しの、ひらがなのみでの入力です。"},
      {2, 5, "実践演習モード（漢字仮名交じり編）"},
      {2, 20, "ここでは、変換作業ありでのタイピングの練習をします。"},
      {2, 35, "これさえできれば、一人前！？"},
      {3, 5, "設定"},
      {3, 20, "ローマ字の打ち方の設定。問題ファイルの変更などを行います。"},
      {3, 35, "最初にこのソフトを使う場合、ローマ字の設定を確認してください。"},
      {4, 5, "終了"},
      {4, 20, "このプログラムを終了します。"},
  };
  int lastY[MainWindow::kEntryCount] = {};
  for (const Line& line : lines) {
    const int x = kPanelLeft + 100;
    const int y = PanelTop(line.entry) + line.y;
    const auto expected = testing::RenderText(window(), 620, 425, kWhite, line.text, x, y, RGB(0, 0, 0), 15);
    // Up to the panel's frame; a line as long as the panel runs under it.
    // The first line of entry 1 starts on the frame's row: the frame's two
    // pixels are left out.
    const RECT clip{x, std::max(y, PanelTop(line.entry) + 2), std::min<LONG>(expected.box.right, kPanelRight - 1),
                    y + 15};
    EXPECT_TRUE(testing::Shows(image, expected, line.text, clip)) << "entry " << line.entry;
    lastY[line.entry] = line.y;
  }
  for (int entry = 0; entry < MainWindow::kEntryCount; ++entry) {
    // Below the last line, up to the frame (2 pixels wide where it is red).
    const int top = PanelTop(entry);
    const int last = lastY[entry] + 15;
    const int right = kPanelRight - 1;
    const int bottom = PanelBottom(entry) - 1;
    EXPECT_EQ(image.Count(kPanelLeft + 100, top + last + 1, right, bottom, kWhite),
              (right - kPanelLeft - 100) * (bottom - top - last - 1))
        << "nothing below the last line of entry " << entry;
  }
  // The client area beyond the 620 by 425 picture is the white background.
  EXPECT_EQ(image.Count(620, 0, image.width, image.height, kWhite), (image.width - 620) * image.height);
  EXPECT_EQ(image.Count(0, 425, 620, image.height, kWhite), 620 * (image.height - 425));
}

TEST_F(MainMenuTest, TheCloseBoxEndsTheProgram) {
  ShowMenu();
  const HWND shown = window();
  SendMessageW(shown, WM_CLOSE, 0, 0);
  EXPECT_TRUE(TakeQuitRequest());
  EXPECT_FALSE(IsWindow(shown));
}

}  // namespace
}  // namespace kanaflow
