#include "typing/typing_window.h"

#include "app/scene.h"
#include "app/window_utilities.h"

namespace kanaflow {

CTypingWindow::CTypingWindow(CScene* scene) : CWindow(scene) {}

// The sound objects stop and close themselves; the state marks that no
// handler runs any more.
CTypingWindow::~CTypingWindow() { state_ = PracticeState::Closing; }

LRESULT CTypingWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) OnDestroy(window);
  if (HandleCommonMessage(window, message, wParam, lParam)) return 0;
  switch (state_) {
    case PracticeState::Countdown:
      return OnCountdown(window, message, wParam, lParam);
    case PracticeState::Running:
      return OnRunning(window, message, wParam, lParam);
    case PracticeState::Results:
      return OnResults(window, message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CTypingWindow::OnCountdown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      OnCountdownTick(window);
      return 0;
    case WM_PAINT:
      Paint(window);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CTypingWindow::OnResults(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      break;
    case MM_MCINOTIFY:
      OnMusicNotify(window, wParam);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void CTypingWindow::LoadSettingsAndQuestions() {
  settings_ = std::make_unique<CSoftwareSettingData>();
  settings_->Load(kSettingFilePath);
  questionSet_ = std::make_unique<CQuestionSet>(scene()->GetQuestionSetPath());
  questionSet_->LoadQuestions(settings_->GetSpellingPreferences());
}

void CTypingWindow::LoadBackground(HWND window) {
  const QuestionSetValues& set = questionSet_->values();
  if (!set.backGroundPictureFileName.empty()) {
    background_ = std::make_unique<CDrawSurface>(window, set.backGroundPictureFileName, false);
  } else {
    background_ = std::make_unique<CDrawSurface>(window, 640, 480, set.windowBackColor);
  }
}

void CTypingWindow::LoadSounds() {
  const QuestionSetValues& set = questionSet_->values();
  const bool enabled = !settings_->values().disablePlayMusic;
  if (enabled && !set.bgmFileName.empty() && !set.bgmFileType.empty()) {
    music_ = std::make_unique<CSound>();
    music_->Open(set.bgmFileName, set.bgmFileType);
  }
  auto effect = [enabled](const std::string& name) {
    return enabled && !name.empty() ? std::make_unique<CWaveSound>(name) : nullptr;
  };
  typeSound_ = effect(set.typeSoundFileName);
  missSound_ = effect(set.missTypeSoundFileName);
  endSound_ = effect(set.endSoundFileName);
}

void CTypingWindow::StartEndMusic() {
  music_.reset();  // stops, rewinds and closes
  const QuestionSetValues& set = questionSet_->values();
  if (!settings_->values().disablePlayMusic && !set.endBgmFileName.empty() && !set.endBgmFileType.empty()) {
    music_ = std::make_unique<CSound>();
    music_->Open(set.endBgmFileName, set.endBgmFileType);
  }
}

void CTypingWindow::PlayMusic(HWND window) {
  if (music_) music_->Play(window);
}

void CTypingWindow::StartCountdown(HWND window) {
  SetTimer(window, kCountdownTimer, kCountdownPeriod, nullptr);
  countdown_ = 2;
}

bool CTypingWindow::HandleCommonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return false;
  }
  const bool repeat = (lParam & (1 << 30)) != 0;
  if (message != WM_KEYDOWN || repeat || (wParam != VK_ESCAPE && wParam != VK_F5)) return false;
  // The scene deletes this object inside the show call: take what is needed
  // first and touch nothing afterwards.
  CScene* const scene = this->scene();
  const int mode = ModeId();
  DestroyWindow(window);
  if (wParam == VK_ESCAPE) {
    scene->SetMode(mode);
    scene->ShowQuestionSelect();
  } else {
    scene->ShowMainMenu();
  }
  return true;
}

void CTypingWindow::OnCountdownTick(HWND window) {
  if (countdown_ == 0) StartTyping(window);
  --countdown_;
  InvalidateRect(window, nullptr, FALSE);
}

void CTypingWindow::OnMusicNotify(HWND window, WPARAM code) { HandleMusicNotify(music_.get(), window, code); }

std::unique_ptr<CDrawSurface> CTypingWindow::MakeScreenImage(HWND window, int width, int height) const {
  auto image = std::make_unique<CDrawSurface>(window, width, height, questionSet_->values().windowBackColor);
  background_->BlitTo(image->GetMemoryDC(), 0, 0);
  return image;
}

void CTypingWindow::DrawValue(CDrawSurface& image, const std::string& label, int labelX, int valueX, int y,
                              const std::string& value, const std::string& unit) {
  image.DrawString(label, labelX, y);
  if (!value.empty()) image.DrawLabelValue(value, valueX, y, unit);
}

void CTypingWindow::PlayTypeSound() {
  if (typeSound_) typeSound_->Play();
}

void CTypingWindow::PlayMissSound() {
  if (missSound_) missSound_->Play();
}

void CTypingWindow::ShakeWindow() { kanaflow::ShakeWindow(window_); }

void CTypingWindow::FinishRun() {
  state_ = PracticeState::Results;
  FinishRunSteps();
  StartEndMusic();
  PlayMusic(window_);
  if (endSound_) endSound_->Play();
  stopwatch_->Stop();
  RepaintAfterFinish();
}

void CTypingWindow::Repaint() { InvalidateRect(window_, nullptr, FALSE); }

}  // namespace kanaflow
