// The window framework: binding objects to windows, the hand-over between
// screens, the shared window position, the shake, and the program's life.
#include <gtest/gtest.h>

#include <vector>

#include "app/scene.h"
#include "app/window.h"
#include "app/window_utilities.h"
#include "platform/text_encoding.h"
#include "program/program.h"
#include "support/screen_harness.h"

namespace kanaflow {
namespace {

using testing::PumpMessages;
using testing::SendKeyDown;
using testing::TestInstance;
using testing::TestScreenFactory;

constexpr UINT kGoToTyping = WM_APP + 1;

// A screen that records what reaches it and leaves on keys, as real screens do.
class TestScreen : public CWindow {
 public:
  static int alive;

  explicit TestScreen(CScene& scene, int kind) : CWindow(&scene), kind_(kind) {
    ++alive;
    window_ = CreateScreen(640, 480);
    ShowWindow(window_, SW_SHOWNORMAL);
  }
  ~TestScreen() override { --alive; }

  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE:
        createdInsideOwnProcedure = handle() == window && ScreenOf(window) == this && SceneOf(window) == scene();
        break;
      case WM_WINDOWPOSCHANGING:
        zOrderKept.push_back((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER) != 0);
        break;
      case WM_MOVE: {
        RECT rect{};
        GetWindowRect(window, &rect);
        moves.push_back({rect.left, rect.top});
        break;
      }
      case WM_KEYDOWN:
        // Leaving destroys the window first, then asks the scene for the next
        // screen; this object is gone when the call returns.
        if (wParam == VK_F5) {
          DestroyWindow(window);
          scene()->ShowMainMenu();
          return 0;
        }
        if (wParam == VK_ESCAPE) {
          DestroyWindow(window);
          scene()->SetMode(PracticeMode::KanjiKana);
          scene()->ShowQuestionSelect();
          return 0;
        }
        break;
      case kGoToTyping:
        DestroyWindow(window);
        scene()->ShowTypingScreen();
        return 0;
      case WM_CLOSE:
        PostQuitMessage(0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window() const { return window_; }
  int kind() const { return kind_; }

  bool createdInsideOwnProcedure = false;
  std::vector<POINT> moves;
  // For each change of position asked for: whether it kept the z-order.
  std::vector<bool> zOrderKept;

 private:
  HWND window_ = nullptr;
  int kind_;
};
int TestScreen::alive = 0;

enum Kind { kMainMenu = 100, kQuestionSelect = 200 };

class FrameworkTest : public ::testing::Test {
 protected:
  FrameworkTest() {
    factory_.mainMenu = [](CScene& scene) { return std::make_unique<TestScreen>(scene, kMainMenu); };
    factory_.questionSelect = [](CScene& scene) { return std::make_unique<TestScreen>(scene, kQuestionSelect); };
    factory_.typing = [](CScene& scene, PracticeMode mode) {
      return std::make_unique<TestScreen>(scene, static_cast<int>(mode));
    };
  }

  ~FrameworkTest() override {
    scene_.reset();
    // Screens leave their windows to the end of the process; a test does not.
    for (HWND window = FindWindowW(kScreenClassName, nullptr); window; window = FindWindowW(kScreenClassName, nullptr)) {
      DestroyWindow(window);
    }
  }

  TestScreen* current() const { return static_cast<TestScreen*>(scene_->currentScreen()); }

  static int CountScreenWindows() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counter) {
          wchar_t name[32] = {};
          GetClassNameW(window, name, 32);
          if (std::wstring(name) == kScreenClassName) ++*reinterpret_cast<int*>(counter);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
  }

  TestScreenFactory factory_;
  std::unique_ptr<CScene> scene_ = std::make_unique<CScene>(TestInstance(), factory_);
};

TEST_F(FrameworkTest, WmCreateAlreadyRunsInsideTheObjectsOwnProcedure) {
  scene_->ShowMainMenu();
  ASSERT_NE(current(), nullptr);
  EXPECT_TRUE(current()->createdInsideOwnProcedure);
  EXPECT_TRUE(IsWindowVisible(current()->window()));
  wchar_t title[64] = {};
  GetWindowTextW(current()->window(), title, 64);
  EXPECT_EQ(std::wstring(title), L"Kanaflow Version 0.511");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(current()->window(), GWL_STYLE)) & (WS_SYSMENU | WS_CAPTION),
            DWORD{WS_SYSMENU | WS_CAPTION});
}

TEST_F(FrameworkTest, HandOverLeavesOneScreenAndOneClassAfterManyRoundTrips) {
  scene_->ShowMainMenu();
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  const ATOM atom = static_cast<ATOM>(GetClassInfoExW(TestInstance(), kScreenClassName, &info));
  ASSERT_NE(atom, 0);
  for (int trip = 0; trip < 50; ++trip) {
    SendKeyDown(current()->window(), VK_ESCAPE);  // to the selection screen, from inside its procedure
    ASSERT_EQ(current()->kind(), kQuestionSelect) << "trip " << trip;
    EXPECT_EQ(scene_->mode(), PracticeMode::KanjiKana);
    SendMessageW(current()->window(), kGoToTyping, 0, 0);
    ASSERT_EQ(current()->kind(), static_cast<int>(PracticeMode::KanjiKana)) << "the typing screen of the selected mode";
    SendKeyDown(current()->window(), VK_F5);
    ASSERT_EQ(current()->kind(), kMainMenu);
    EXPECT_EQ(TestScreen::alive, 1) << "trip " << trip;
    EXPECT_EQ(CountScreenWindows(), 1) << "trip " << trip;
  }
  EXPECT_EQ(static_cast<ATOM>(GetClassInfoExW(TestInstance(), kScreenClassName, &info)), atom)
      << "the class was registered once and never replaced";
  scene_.reset();
  EXPECT_EQ(TestScreen::alive, 0) << "the scene deletes the current screen";
}

TEST_F(FrameworkTest, EachScreenOpensWhereTheLastOneWas) {
  EXPECT_EQ(SharedWindowPosition().left, CW_USEDEFAULT) << "the first window opens at the system's default";
  EXPECT_EQ(SharedWindowPosition().top, CW_USEDEFAULT);
  scene_->ShowMainMenu();
  SetWindowPos(current()->window(), nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(SharedWindowPosition().left, 123);
  EXPECT_EQ(SharedWindowPosition().top, 77);
  SendKeyDown(current()->window(), VK_ESCAPE);
  RECT rect{};
  GetWindowRect(current()->window(), &rect);
  EXPECT_EQ(rect.left, 123);
  EXPECT_EQ(rect.top, 77);
  SetWindowPos(current()->window(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendKeyDown(current()->window(), VK_F5);
  GetWindowRect(current()->window(), &rect);
  EXPECT_EQ(rect.left, 40) << "back on the main menu, where the selection screen was";
  EXPECT_EQ(rect.top, 30);
}

TEST_F(FrameworkTest, AShakeMakesTwelveMovesAndEndsWhereItBegan) {
  scene_->ShowMainMenu();
  TestScreen* screen = current();
  SetWindowPos(screen->window(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PumpMessages(20);  // past the interval since any earlier shake
  screen->moves.clear();
  screen->zOrderKept.clear();
  ShakeWindow(screen->window());
  // No insert-after window: each move also brings the window to the top.
  EXPECT_EQ(screen->zOrderKept, std::vector<bool>(12, false));
  const std::vector<POINT> expected = {{205, 155}, {200, 150}, {195, 145}, {200, 150}, {205, 155}, {200, 150},
                                       {195, 145}, {200, 150}, {205, 155}, {200, 150}, {195, 145}, {200, 150}};
  ASSERT_EQ(screen->moves.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(screen->moves[i].x, expected[i].x) << "move " << i;
    EXPECT_EQ(screen->moves[i].y, expected[i].y) << "move " << i;
  }
  ShakeWindow(screen->window());
  EXPECT_EQ(screen->moves.size(), expected.size()) << "a second request within 10 ms does not shake";
  PumpMessages(30);
  ShakeWindow(screen->window());
  EXPECT_EQ(screen->moves.size(), 2 * expected.size()) << "a later miss shakes again";
  EXPECT_EQ(SharedWindowPosition().left, 200);
  EXPECT_EQ(SharedWindowPosition().top, 150);
}

TEST_F(FrameworkTest, QuestionSetPathKeepsAtMost253Bytes) {
  scene_->SetQuestionSetPath("./data/set.ini");
  EXPECT_EQ(scene_->GetQuestionSetPath(), "./data/set.ini");
  std::string longPath = "x";
  while (longPath.size() < 300) longPath += "あ";
  scene_->SetQuestionSetPath(longPath);
  EXPECT_EQ(scene_->GetQuestionSetPath(), longPath.substr(0, 253));
}

TEST_F(FrameworkTest, EditControlTakesCp932Text) {
  scene_->ShowMainMenu();
  HWND edit = CreateEditControl("あいう", current()->window(), 10000, 15, 15, 200, 25, TestInstance());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(GetDlgCtrlID(edit), 10000);
  EXPECT_EQ(GetWindowTextCp932(edit, 253), "あいう");
  EXPECT_NE(GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

class ProgramTest : public FrameworkTest {};

TEST_F(ProgramTest, ASecondCopyEndsAtOnceShowingNothing) {
  const HANDLE first = CreateMutexW(nullptr, FALSE, Cp932ToWide(kSingleInstanceMutexName).c_str());
  ASSERT_NE(first, nullptr);
  bool madeAScreen = false;
  factory_.mainMenu = [&](CScene& scene) {
    madeAScreen = true;
    return std::make_unique<TestScreen>(scene, kMainMenu);
  };
  EXPECT_EQ(RunProgram(TestInstance(), factory_), 0);
  EXPECT_FALSE(madeAScreen);
  CloseHandle(first);
}

TEST_F(ProgramTest, AQuitOnAnyScreenEndsTheLoopAndDeletesThatScreen) {
  // The main menu hands over to a practice screen, which quits.
  factory_.mainMenu = [](CScene& scene) {
    auto screen = std::make_unique<TestScreen>(scene, kMainMenu);
    PostMessageW(screen->window(), kGoToTyping, 0, 0);
    return screen;
  };
  factory_.typing = [](CScene& scene, PracticeMode mode) {
    auto screen = std::make_unique<TestScreen>(scene, static_cast<int>(mode));
    PostMessageW(screen->window(), WM_CLOSE, 0, 0);
    return screen;
  };
  EXPECT_EQ(RunProgram(TestInstance(), factory_), 0);
  EXPECT_EQ(TestScreen::alive, 0);
}

// A screen whose window refuses to be created, as a window does when the
// system is out of resources.
class UncreatableScreen : public CWindow {
 public:
  explicit UncreatableScreen(CScene& scene) : CWindow(&scene) { CreateScreen(640, 480); }
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE) return -1;
    return DefWindowProcW(window, message, wParam, lParam);
  }
};

TEST_F(ProgramTest, AFirstWindowThatCannotBeCreatedEndsTheProgramAndFreesTheGuard) {
  factory_.mainMenu = [](CScene& scene) { return std::make_unique<UncreatableScreen>(scene); };
  // Were the program to wait in its loop, this would end the wait with 0
  // instead of hanging the test.
  PostQuitMessage(0);
  EXPECT_EQ(RunProgram(TestInstance(), factory_), 1);
  PumpMessages();
  const HANDLE next = CreateMutexW(nullptr, FALSE, Cp932ToWide(kSingleInstanceMutexName).c_str());
  ASSERT_NE(next, nullptr);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "a later start would be refused";
  CloseHandle(next);
}

}  // namespace
}  // namespace kanaflow
