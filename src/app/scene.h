// The screen manager: owns the one screen that is shown and hands over from
// one screen to the next.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/window.h"
#include "platform/practice_mode.h"

namespace kanaflow {

class CScene;

// Makes the program's screens. The program passes its real screens; tests
// pass screens of their own, so the framework can be exercised alone.
class ScreenFactory {
 public:
  virtual ~ScreenFactory() = default;
  virtual std::unique_ptr<CWindow> MakeMainMenu(CScene& scene) = 0;
  virtual std::unique_ptr<CWindow> MakeQuestionSelect(CScene& scene) = 0;
  virtual std::unique_ptr<CWindow> MakeTypingScreen(CScene& scene, PracticeMode mode) = 0;
};

class CScene {
 public:
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

  void SetMode(PracticeMode mode) { selectedMode_ = mode; }
  PracticeMode mode() const { return selectedMode_; }
  // At most kQuestionSetPathBytes (253) are kept, cut at a character
  // boundary; the library lists no set with a longer path.
  void SetQuestionSetPath(const std::string& path);
  std::string GetQuestionSetPath() const { return questionSetPath_; }
  // The next practice screen asks only these questions of its set (indices
  // into the set's questions), and takes them: the one after asks all again.
  void SetQuestionSubset(std::vector<int> indices) { questionSubset_ = std::move(indices); }
  std::vector<int> TakeQuestionSubset() { return std::exchange(questionSubset_, {}); }

  HINSTANCE GetInstance() const { return instance_; }
  CWindow* currentScreen() const { return current_.get(); }

 private:
  template <typename Make>
  void HandOver(Make make);

  HINSTANCE instance_;
  ScreenFactory& factory_;
  std::unique_ptr<CWindow> current_;
  std::unique_ptr<CWindow> previous_;
  PracticeMode selectedMode_ = PracticeMode::Basic;
  std::string questionSetPath_;
  std::vector<int> questionSubset_;
};

}  // namespace kanaflow
