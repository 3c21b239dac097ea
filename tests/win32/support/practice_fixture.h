// A working folder with a question library and Setting.ini, a scene whose
// practice screens are the real ones and whose other screens are stand-ins
// that record that they were reached.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "app/scene.h"
#include "media/practice_media.h"
#include "support/screen_harness.h"

namespace kanaflow::testing {

// The screen that stands in for the main menu or the selection screen.
class StandInScreen : public CWindow {
 public:
  StandInScreen(CScene& scene, int kind);
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  int kind() const { return kind_; }

 private:
  int kind_;
};

inline constexpr int kStandInMainMenu = 100;
inline constexpr int kStandInQuestionSelect = 200;

class PracticeFolder {
 public:
  PracticeFolder();
  ~PracticeFolder();
  PracticeFolder(const PracticeFolder&) = delete;
  PracticeFolder& operator=(const PracticeFolder&) = delete;

  // Writes a file (CP932 bytes) below the folder.
  void Write(const std::string& relative, const std::string& bytes) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

// A scene on the folder's ./data/set.ini with real practice screens.
class PracticeScene {
 public:
  PracticeScene();
  ~PracticeScene();
  PracticeScene(const PracticeScene&) = delete;
  PracticeScene& operator=(const PracticeScene&) = delete;

  // Opens the practice screen of `mode` on ./data/set.ini.
  void Open(PracticeMode mode);
  // The screens opened from now on play through `media`.
  void UseMedia(PracticeMedia media) { media_ = std::move(media); }
  CScene& scene() { return *scene_; }
  CWindow* current() const { return scene_->currentScreen(); }
  HWND window() const;
  // The stand-in's kind when a stand-in is current, else 0.
  int standInKind() const;

 private:
  TestScreenFactory factory_;
  PracticeMedia media_ = SystemPracticeMedia();
  std::unique_ptr<CScene> scene_;
};

}  // namespace kanaflow::testing
