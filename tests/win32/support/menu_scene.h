// A scene whose main menu and selection screen are the real ones and whose
// practice screen is a stand-in that records the mode and the set it was
// opened with. The menu's remembered entry and the selection screen's
// remembered positions start afresh; the windows left and the quit request a
// screen may have posted go with the scene.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/scene.h"
#include "support/screen_harness.h"

namespace kanaflow::testing {

inline constexpr int kStandInTyping = 300;

class MenuScene {
 public:
  // What the practice screen was last opened with.
  struct TypingRequest {
    int mode = -1;
    std::string path;
  };

  MenuScene();
  ~MenuScene();
  MenuScene(const MenuScene&) = delete;
  MenuScene& operator=(const MenuScene&) = delete;

  CScene& scene() const { return *scene_; }
  CWindow* current() const { return scene_->currentScreen(); }
  HWND window() const;
  // Whether the practice screen's stand-in is shown.
  bool AtPracticeScreen() const;
  const TypingRequest& typingRequest() const { return typingRequest_; }
  void ForgetTypingRequest() { typingRequest_ = {}; }

 private:
  TestScreenFactory factory_;
  std::unique_ptr<CScene> scene_;
  TypingRequest typingRequest_;
};

}  // namespace kanaflow::testing
