#include "support/practice_fixture.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "typing/typing1_window.h"
#include "typing/typing2_window.h"

namespace kanaflow::testing {

StandInScreen::StandInScreen(CScene& scene, int kind) : CWindow(&scene), kind_(kind) {
  ShowWindow(CreateScreen(640, 480), SW_SHOWNORMAL);
}

LRESULT StandInScreen::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

PracticeFolder::PracticeFolder() : previous_(CurrentDirectory()) {
  std::random_device random;
  const auto folder = std::filesystem::temp_directory_path() / ("kanaflow-screen-" + std::to_string(random()));
  std::filesystem::create_directories(folder / "data");
  path_ = WideToCp932(folder.wstring());
  (void)SetCurrentDirectoryTo(path_);
}

PracticeFolder::~PracticeFolder() {
  (void)SetCurrentDirectoryTo(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(Cp932ToWide(path_)), ignored);
}

void PracticeFolder::Write(const std::string& relative, const std::string& bytes) const {
  const std::filesystem::path file = std::filesystem::path(Cp932ToWide(path_ + "/" + relative));
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

PracticeScene::PracticeScene() {
  factory_.mainMenu = [](CScene& scene) { return std::make_unique<StandInScreen>(scene, kStandInMainMenu); };
  factory_.questionSelect = [](CScene& scene) {
    return std::make_unique<StandInScreen>(scene, kStandInQuestionSelect);
  };
  factory_.typing = [this](CScene& scene, PracticeMode mode) -> std::unique_ptr<CWindow> {
    if (mode == PracticeMode::Basic) return std::make_unique<Typing1Window>(scene, media_);
    return std::make_unique<Typing2Window>(scene, mode, media_);
  };
  scene_ = std::make_unique<CScene>(TestInstance(), factory_);
}

PracticeScene::~PracticeScene() {
  scene_.reset();
  while (HWND window = FindWindowW(kScreenClassName, nullptr)) DestroyWindow(window);
  PumpMessages();
}

void PracticeScene::Open(PracticeMode mode) {
  scene_->SetQuestionSetPath("./data/set.ini");
  scene_->SetMode(mode);
  scene_->ShowTypingScreen();
}

HWND PracticeScene::window() const { return current() ? current()->handle() : nullptr; }

int PracticeScene::standInKind() const {
  const auto* standIn = dynamic_cast<const StandInScreen*>(current());
  return standIn ? standIn->kind() : 0;
}

}  // namespace kanaflow::testing
