// What both practice screens share: set-up from the question set and the
// settings, the 3-2-1 countdown, the timers, music and sound cues, Escape and
// F5, and the end of the run. The decisions on typed input are the matcher's.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <utility>

#include "app/window.h"
#include "draw/draw_surface.h"
#include "media/ime_control.h"
#include "media/music.h"
#include "media/practice_media.h"
#include "media/wave_sound.h"
#include "questions/question_set.h"
#include "settings/software_setting_data.h"
#include "typing/input_matcher.h"
#include "typing/missed_questions.h"
#include "typing/practice_state.h"
#include "typing/progress_painter.h"
#include "typing/stopwatch.h"

namespace kanaflow {

class CTypingWindow : public CWindow, public PracticeEffects {
 public:
  static constexpr UINT_PTR kCountdownTimer = 0;
  static constexpr UINT kCountdownPeriod = 1000;
  static constexpr UINT_PTR kRunningTimer = 1;
  static constexpr UINT kRunningPeriod = 100;
  // Where the clock's value is drawn, up to the next column of counters.
  RECT ClockRect() const { return ClockRectBelow(CountersTop()); }
  // The same for a screen whose counter block starts at `countersTop`: what
  // a look at the screen from outside must leave out while the clock runs.
  static RECT ClockRectBelow(int countersTop);

  // The common keys first, then the handler of the run's state.
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  PracticeState state() const { return state_; }
  const CQuestionSet& questionSet() const { return *questionSet_; }
  const SoftwareSettings& settings() const { return settings_->values(); }
  const CStopwatch& stopwatch() const { return *stopwatch_; }
  int countdown() const { return countdown_; }
  bool hasMusic() const { return music_ != nullptr; }
  bool hasSounds() const { return typeSound_ || missSound_ || endSound_; }
  // Times the run by `clock` instead of the system's; before the run starts.
  void SetStopwatchClock(Clock clock) { stopwatch_ = std::make_unique<CStopwatch>(std::move(clock)); }

 protected:
  // The screen's picture is `width` by `height`, the size of its client area.
  CTypingWindow(CScene* scene, int width, int height, PracticeMedia media);
  ~CTypingWindow() override;

  // Draws the screen's picture of the current state into `frame`, which
  // already holds the background.
  virtual void Compose(HWND window, CDrawSurface& frame) = 0;
  // Copies the composed frame to the window.
  virtual void Present(const CDrawSurface& frame) const { frame.BlitToWindow(0, 0); }
  // The matcher of the run, for the counters both screens show.
  virtual const CRunMatcher& runMatcher() const = 0;
  // The top row of the counter block; the clock is its fourth row.
  virtual int CountersTop() const = 0;
  // Whether time alone has changed more of the picture than the clock.
  virtual bool FrameOutdated() const { return false; }
  // The screen's own messages while the user types: typed input above all.
  // The running timer and the music are handled before.
  virtual LRESULT OnTypingMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window is going: the last moment to put back what the screen changed.
  virtual void OnDestroy(HWND /*window*/) {}
  // The messages of each state but painting, which is the same in all.
  LRESULT OnCountdown(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnRunning(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnResults(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The mode id this screen practises, for the way back to its list.
  virtual PracticeMode ModeId() const = 0;
  virtual void StartTyping(HWND window) = 0;
  // The screen's own finishing steps, right after the state becomes Results.
  virtual void FinishRunSteps() {}
  // Each key's figures of the run, for its record (the keyboard screen's).
  virtual std::vector<KeyFigures> RunKeyFigures() const { return {}; }
  // With KeepRecords on: the finished run into the records file, and the
  // progress that the results then show.
  void KeepRecord();
  // The progress block at (left, top) when the run was kept.
  void DrawProgressIfKept(CDrawSurface& image, int left, int top, int chartHeight) const;
  // A judgement of typed input: a miss marks its question for the run of
  // the missed questions.
  void NoteJudgement(MatchResult result);
  // With KeepRecords on and a miss in the run, the results offer the run of
  // the missed questions on kMissedRunKey and say so at (x, y).
  static constexpr WPARAM kMissedRunKey = VK_F2;
  bool OffersMissedRun() const;
  void DrawMissedRunHint(CDrawSurface& image, int x, int y) const;
  // Hands over to a new screen of this mode with only the missed questions.
  void StartMissedRun(HWND window);
  // How the end of the run is shown: the keyboard screen erases, the
  // edit-box screen leaves it to the matcher's repaint.
  virtual void RepaintAfterFinish() {}

  // Settings from ./Setting.ini, then the chosen set with its questions.
  void LoadSettingsAndQuestions();
  void LoadBackground(HWND window);
  void LoadSounds();
  void StartEndMusic();
  void PlayMusic(HWND window);
  void StartCountdown(HWND window);

  // Escape, F5, the close box and the end of the window, in every state.
  // True when the screen handed over to another: the object is gone then and
  // the caller must return at once.
  bool HandleCommonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // One tick of the countdown timer.
  void OnCountdownTick(HWND window);
  // MM_MCINOTIFY: the music starts again after each completed playback.
  void OnMusicNotify(HWND window, WPARAM code);
  // One tick of the running timer: only the clock's value is due again.
  void OnRunningTick(HWND window);
  // WM_PAINT in every state: the whole frame, or only the clock when nothing
  // else asked to be repainted.
  void OnPaint(HWND window);

  // The frame filled with the background, made on the first paint.
  void StartFrame(HWND window);
  // The background again under `area` of the frame.
  void RestoreBackground(const RECT& area);
  // The clock's value drawn again in the kept frame.
  void RedrawClock();
  // The clock's value as drawn, and whether it fits its place.
  std::string ClockText() const;
  bool ClockFits() const;

  // The seven counters, with their values once the run has begun.
  void DrawCounters(CDrawSurface& image) const;
  // "label value unit" as the counters are drawn.
  static void DrawValue(CDrawSurface& image, const std::string& label, int labelX, int valueX, int y,
                        const std::string& value, const std::string& unit);

  // PracticeEffects
  void PlayTypeSound() override;
  void PlayMissSound() override;
  void ShakeWindow() override;
  void FinishRun() override;
  void Repaint() override;
  void ClearEditBox() override {}

  HWND window_ = nullptr;
  const int frameWidth_;
  const int frameHeight_;
  PracticeState state_ = PracticeState::Countdown;
  int countdown_ = 0;
  std::unique_ptr<CSoftwareSettingData> settings_;
  std::unique_ptr<CQuestionSet> questionSet_;
  std::unique_ptr<CDrawSurface> background_;
  // The last frame shown, kept so that a clock tick redraws only the clock.
  std::unique_ptr<CDrawSurface> frame_;
  const PracticeMedia media_;
  std::unique_ptr<CSound> music_;
  std::unique_ptr<CStopwatch> stopwatch_;
  std::unique_ptr<CWaveSound> typeSound_;
  std::unique_ptr<CWaveSound> missSound_;
  std::unique_ptr<CWaveSound> endSound_;
  ImeModeKeeper ime_;
  std::optional<ResultsProgress> progress_;
  MissedQuestions missed_;
  // This run asks only the questions missed in the run before it.
  bool missedOnly_ = false;
};

}  // namespace kanaflow
