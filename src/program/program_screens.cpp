#include "program/program_screens.h"

#include "program/main_window.h"
#include "program/question_select_menu.h"
#include "typing/typing1_window.h"
#include "typing/typing2_window.h"

namespace kanaflow {

std::unique_ptr<CWindow> ProgramScreens::MakeMainMenu(CScene& scene) { return std::make_unique<MainWindow>(scene); }

std::unique_ptr<CWindow> ProgramScreens::MakeQuestionSelect(CScene& scene) {
  return std::make_unique<QuestionSelectMenu>(scene);
}

std::unique_ptr<CWindow> ProgramScreens::MakeTypingScreen(CScene& scene, PracticeMode mode) {
  if (mode == PracticeMode::Basic) return std::make_unique<Typing1Window>(scene);
  return std::make_unique<Typing2Window>(scene, mode);
}

}  // namespace kanaflow
