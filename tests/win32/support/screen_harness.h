// Helpers to drive screens with real window messages: a scene with screens
// that a test defines, message pumping, keys and characters.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/scene.h"

namespace kanaflow::testing {

// A factory whose three kinds of screen are functions the test sets.
class TestScreenFactory : public ScreenFactory {
 public:
  using Make = std::function<std::unique_ptr<CWindow>(CScene&)>;
  using MakeTyping = std::function<std::unique_ptr<CWindow>(CScene&, PracticeMode)>;

  Make mainMenu;
  Make questionSelect;
  MakeTyping typing;

  std::unique_ptr<CWindow> MakeMainMenu(CScene& scene) override { return mainMenu(scene); }
  std::unique_ptr<CWindow> MakeQuestionSelect(CScene& scene) override { return questionSelect(scene); }
  std::unique_ptr<CWindow> MakeTypingScreen(CScene& scene, PracticeMode mode) override { return typing(scene, mode); }
};

// Dispatches every waiting message of this thread, for at least `ms`.
void PumpMessages(DWORD ms = 0);
// Pumps until `done` is true or `timeoutMs` has passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

// A key press as the message loop would deliver it: WM_KEYDOWN (and the
// WM_CHAR that TranslateMessage would make for a character key) sent to the
// window. `repeat` sets bit 30, as an auto-repeat does.
void SendKeyDown(HWND window, UINT virtualKey, bool repeat = false);
void SendChar(HWND window, wchar_t character);
// A CP932 text sent as one WM_CHAR per character.
void SendText(HWND window, const std::string& cp932);

// The module instance that screens are created with.
HINSTANCE TestInstance();

}  // namespace kanaflow::testing

namespace kanaflow::testing {

// A plain visible window with a grey background to draw on and read back.
class TestCanvas {
 public:
  static constexpr COLORREF kBackground = RGB(128, 128, 128);
  TestCanvas(int width, int height);
  ~TestCanvas();
  TestCanvas(const TestCanvas&) = delete;
  TestCanvas& operator=(const TestCanvas&) = delete;
  HWND window() const { return window_; }

 private:
  HWND window_;
  HBRUSH background_;
};

}  // namespace kanaflow::testing
