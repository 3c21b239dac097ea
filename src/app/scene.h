// The screen manager: owns the one screen that is shown and hands over from
// one screen to the next.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/window.h"

namespace kanaflow {

class CScene;

// Makes the program's screens. The program passes its real screens; tests
// pass screens of their own, so the framework can be exercised alone.
class ScreenFactory {
 public:
  virtual ~ScreenFactory() = default;
  virtual std::unique_ptr<CWindow> MakeMainMenu(CScene& scene) = 0;
  virtual std::unique_ptr<CWindow> MakeQuestionSelect(CScene& scene) = 0;
  // `mode` is one of the scene's three mode ids.
  virtual std::unique_ptr<CWindow> MakeTypingScreen(CScene& scene, int mode) = 0;
};

class CScene {
 public:
  // The modes of practice; screens compare against these members.
  const int basicModeId = 0;     // the virtual keyboard
  const int hiraganaModeId = 1;  // edit box, hiragana only
  const int kanjiKanaModeId = 2; // edit box with kana-kanji conversion

  CScene(HINSTANCE instance, ScreenFactory& factory);
  virtual ~CScene();
  CScene(const CScene&) = delete;
  CScene& operator=(const CScene&) = delete;

  // Each hands over to a new screen: the new one is made (and its window
  // shown) before the current one is deleted. A screen that calls these from
  // its own window procedure must touch none of its members afterwards.
  void ShowMainMenu();
  void ShowQuestionSelect();
  void ShowTypingScreen();

  void SetMode(int mode) { selectedMode_ = mode; }
  int mode() const { return selectedMode_; }
  // At most kQuestionSetPathBytes (253) are kept, cut at a character
  // boundary; the library lists no set with a longer path.
  void SetQuestionSetPath(const std::string& path);
  std::string GetQuestionSetPath() const { return questionSetPath_; }

  HINSTANCE GetInstance() const { return instance_; }
  CWindow* currentScreen() const { return current_.get(); }

 private:
  template <typename Make>
  void HandOver(Make make);

  HINSTANCE instance_;
  ScreenFactory& factory_;
  std::unique_ptr<CWindow> current_;
  std::unique_ptr<CWindow> previous_;
  int selectedMode_ = 0;
  std::string questionSetPath_;
};

}  // namespace kanaflow
