// The program's own screens, as the scene makes them.
#pragma once

#include "app/scene.h"

namespace kanaflow {

class ProgramScreens : public ScreenFactory {
 public:
  std::unique_ptr<CWindow> MakeMainMenu(CScene& scene) override;
  std::unique_ptr<CWindow> MakeQuestionSelect(CScene& scene) override;
  std::unique_ptr<CWindow> MakeTypingScreen(CScene& scene, PracticeMode mode) override;
};

}  // namespace kanaflow
