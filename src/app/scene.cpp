#include "app/scene.h"

#include "platform/question_set_path.h"
#include "platform/cp932.h"

namespace kanaflow {

CScene::CScene(HINSTANCE instance, ScreenFactory& factory) : instance_(instance), factory_(factory) {
  ResetSharedWindowPosition();
}

CScene::~CScene() = default;

template <typename Make>
void CScene::HandOver(Make make) {
  previous_ = std::move(current_);
  current_ = make();
  previous_.reset();
}

void CScene::ShowMainMenu() {
  HandOver([this] { return factory_.MakeMainMenu(*this); });
}

void CScene::ShowQuestionSelect() {
  HandOver([this] { return factory_.MakeQuestionSelect(*this); });
}

void CScene::ShowTypingScreen() {
  HandOver([this] { return factory_.MakeTypingScreen(*this, selectedMode_); });
}

void CScene::SetQuestionSetPath(const std::string& path) {
  questionSetPath_ = std::string(cp932::CutToFit(path, kQuestionSetPathBytes));
}

}  // namespace kanaflow
