#include "typing/typing_window.h"

#include <algorithm>
#include <utility>

#include "app/error_box.h"
#include "app/scene.h"
#include "app/window_utilities.h"
#include "draw/screen_scale.h"
#include "typing/number_format.h"

namespace kanaflow {
namespace {

constexpr int kCounterRowHeight = 25;
constexpr int kCounterLabelX = 15;
constexpr int kCounterValueX = 100;
constexpr int kSecondLabelX = 200;
constexpr int kSecondValueX = 300;
constexpr int kClockRow = 3;

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

CTypingWindow::CTypingWindow(CScene* scene, int width, int height, PracticeMedia media)
    : CWindow(scene), frameWidth_(width), frameHeight_(height), media_(std::move(media)) {}

// The sound objects stop and close themselves; the state marks that no
// handler runs any more.
CTypingWindow::~CTypingWindow() { state_ = PracticeState::Closing; }

LRESULT CTypingWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) OnDestroy(window);
  if (HandleCommonMessage(window, message, wParam, lParam)) return 0;
  if (state_ == PracticeState::Closing) return DefWindowProcW(window, message, wParam, lParam);
  // Every state paints the same way: the frame shows the state.
  if (message == WM_PAINT) {
    OnPaint(window);
    return 0;
  }
  switch (state_) {
    case PracticeState::Countdown:
      return OnCountdown(window, message, wParam, lParam);
    case PracticeState::Running:
      return OnRunning(window, message, wParam, lParam);
    default:
      return OnResults(window, message, wParam, lParam);
  }
}

LRESULT CTypingWindow::OnCountdown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    OnCountdownTick(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CTypingWindow::OnRunning(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kRunningTimer) OnRunningTick(window);
      return 0;
    case MM_MCINOTIFY:
      OnMusicNotify(window, wParam);
      return 0;
  }
  return OnTypingMessage(window, message, wParam, lParam);
}

LRESULT CTypingWindow::OnResults(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MM_MCINOTIFY) {
    OnMusicNotify(window, wParam);
    return 0;
  }
  const bool repeat = (lParam & (1 << 30)) != 0;
  if (message == WM_KEYDOWN && wParam == kMissedRunKey && !repeat && OffersMissedRun()) {
    StartMissedRun(window);  // this object is gone now
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void CTypingWindow::LoadSettingsAndQuestions() {
  settings_ = std::make_unique<CSoftwareSettingData>();
  settings_->Load(kSettingFilePath);
  questionSet_ = std::make_unique<CQuestionSet>(scene()->GetQuestionSetPath());
  questionSet_->LoadQuestions(settings_->GetSpellingPreferences());
  const std::vector<int> subset = scene()->TakeQuestionSubset();
  missedOnly_ = !subset.empty();
  questionSet_->KeepOnly(subset);
}

void CTypingWindow::LoadBackground(HWND window) {
  const QuestionSetValues& set = questionSet_->values();
  if (!set.backGroundPictureFileName.empty()) {
    background_ = std::make_unique<CDrawSurface>(window, set.backGroundPictureFileName, false);
    if (!background_->loaded()) ShowPictureError(window, set.backGroundPictureFileName);
  } else {
    background_ = std::make_unique<CDrawSurface>(window, 640, 480, set.windowBackColor);
  }
}

void CTypingWindow::LoadSounds() {
  const QuestionSetValues& set = questionSet_->values();
  const bool enabled = !settings_->values().disablePlayMusic;
  if (enabled && !set.bgmFileName.empty() && !set.bgmFileType.empty()) {
    music_ = std::make_unique<CSound>(media_.sendMci);
    music_->Open(set.bgmFileName, set.bgmFileType);
  }
  auto effect = [this, enabled](const std::string& name) {
    return enabled && !name.empty() ? std::make_unique<CWaveSound>(name, *media_.wavePlayer) : nullptr;
  };
  typeSound_ = effect(set.typeSoundFileName);
  missSound_ = effect(set.missTypeSoundFileName);
  endSound_ = effect(set.endSoundFileName);
}

void CTypingWindow::StartEndMusic() {
  music_.reset();  // stops, rewinds and closes
  const QuestionSetValues& set = questionSet_->values();
  if (!settings_->values().disablePlayMusic && !set.endBgmFileName.empty() && !set.endBgmFileType.empty()) {
    music_ = std::make_unique<CSound>(media_.sendMci);
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
  const PracticeMode mode = ModeId();
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

RECT CTypingWindow::ClockRectBelow(int countersTop) {
  const int top = countersTop + kClockRow * kCounterRowHeight;
  return {kCounterValueX, top, kSecondLabelX, top + kCounterRowHeight};
}

std::string CTypingWindow::ClockText() const {
  return CDrawSurface::LabelValueText(stopwatch_->FormatSeconds(), "秒");
}

// A long run's time can outgrow its place; the whole frame then draws it
// where it overlaps, as any other change would.
bool CTypingWindow::ClockFits() const {
  const RECT clock = ClockRect();
  return frame_ && frame_->TextWidth(ClockText()) <= clock.right - clock.left;
}

void CTypingWindow::OnRunningTick(HWND window) {
  if (ClockFits() && !FrameOutdated()) {
    const RECT clock = Scaled(ClockRect());
    InvalidateRect(window, &clock, FALSE);
  } else {
    InvalidateRect(window, nullptr, FALSE);
  }
}

// Every change but the clock's invalidates the whole window, so an update
// region inside the clock's place means the kept frame is right but for it.
void CTypingWindow::OnPaint(HWND window) {
  RECT update{};
  const RECT clock = ClockRect();
  const bool clockOnly = state_ == PracticeState::Running && GetUpdateRect(window, &update, FALSE) &&
                         Contains(Scaled(clock), update) && ClockFits();
  const PaintBracket paint(window);
  if (clockOnly) {
    RedrawClock();
    frame_->BlitToWindow(clock.left, clock.top, clock.right - clock.left, clock.bottom - clock.top, clock.left,
                         clock.top);
    return;
  }
  StartFrame(window);
  Compose(window, *frame_);
  Present(*frame_);
}

void CTypingWindow::StartFrame(HWND window) {
  const Colour backColour = questionSet_->values().windowBackColor;
  if (frame_) {
    frame_->Fill(backColour);
  } else {
    frame_ = std::make_unique<CDrawSurface>(window, frameWidth_, frameHeight_, backColour);
  }
  background_->BlitTo(frame_->GetMemoryDC(), 0, 0);
}

void CTypingWindow::RestoreBackground(const RECT& area) {
  frame_->FillArea(area, questionSet_->values().windowBackColor);
  const int right = std::min<int>(area.right, background_->GetWidth());
  const int bottom = std::min<int>(area.bottom, background_->GetHeight());
  if (right > area.left && bottom > area.top) {
    background_->BlitTo(frame_->GetMemoryDC(), area.left, area.top, right - area.left, bottom - area.top, area.left,
                        area.top);
  }
}

void CTypingWindow::RedrawClock() {
  const RECT clock = ClockRect();
  RestoreBackground(clock);
  const TextColour colour(frame_->GetMemoryDC(), static_cast<COLORREF>(questionSet_->values().windowStringColor));
  frame_->DrawString(ClockText(), clock.left, clock.top);
}

void CTypingWindow::DrawCounters(CDrawSurface& image) const {
  const bool values = state_ != PracticeState::Countdown;
  const CRunMatcher& matcher = runMatcher();
  const RunCounters& counters = matcher.counters();
  auto value = [values](const std::string& text) { return values ? text : std::string(); };
  auto row = [this](int index) { return CountersTop() + index * kCounterRowHeight; };
  DrawValue(image, "総問題数", kCounterLabelX, kCounterValueX, row(0),
            value(FormatNumber(questionSet_->values().questionNumber)), "問");
  DrawValue(image, "問題数", kCounterLabelX, kCounterValueX, row(1), value(FormatNumber(counters.questionsDone)), "問");
  DrawValue(image, "総文字数", kCounterLabelX, kCounterValueX, row(2), value(FormatNumber(counters.typedKeys)), "字");
  DrawValue(image, "ミス回数", kSecondLabelX, kSecondValueX, row(2), value(FormatNumber(counters.missCount)), "回");
  DrawValue(image, "時間", kCounterLabelX, kCounterValueX, row(kClockRow), value(stopwatch_->FormatSeconds()), "秒");
  DrawValue(image, "ポイント", kSecondLabelX, kSecondValueX, row(kClockRow), value(FormatNumber(matcher.points().points())),
            "Point");
  image.DrawString("（" + value(FormatNumber(matcher.points().lastChange())) + "）", 400, row(kClockRow));
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
  KillTimer(window_, kRunningTimer);
  FinishRunSteps();
  StartEndMusic();
  PlayMusic(window_);
  if (endSound_) endSound_->Play();
  stopwatch_->Stop();
  KeepRecord();
  RepaintAfterFinish();
}

void CTypingWindow::Repaint() { InvalidateRect(window_, nullptr, FALSE); }

}  // namespace kanaflow
