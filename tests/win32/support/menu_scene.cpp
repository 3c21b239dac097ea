#include "support/menu_scene.h"

#include "program/main_window.h"
#include "program/question_select_menu.h"
#include "support/modal_answerer.h"
#include "support/practice_fixture.h"

namespace kanaflow::testing {

MenuScene::MenuScene() {
  MainWindow::SelectEntry(0);
  QuestionSelectMenu::ForgetPositions();
  factory_.mainMenu = [](CScene& scene) { return std::make_unique<MainWindow>(scene); };
  factory_.questionSelect = [](CScene& scene) { return std::make_unique<QuestionSelectMenu>(scene); };
  factory_.typing = [this](CScene& scene, PracticeMode mode) {
    typingRequest_ = {static_cast<int>(mode), scene.GetQuestionSetPath()};
    return std::make_unique<StandInScreen>(scene, kStandInTyping);
  };
  scene_ = std::make_unique<CScene>(TestInstance(), factory_);
}

MenuScene::~MenuScene() {
  scene_.reset();
  while (HWND window = FindWindowW(kScreenClassName, nullptr)) DestroyWindow(window);
  PumpMessages();
  TakeQuitRequest();
}

HWND MenuScene::window() const { return current() ? current()->handle() : nullptr; }

bool MenuScene::AtPracticeScreen() const {
  const auto* standIn = dynamic_cast<const StandInScreen*>(current());
  return standIn && standIn->kind() == kStandInTyping;
}

}  // namespace kanaflow::testing
