// What both practice screens share: set-up from the question set and the
// settings, the 3-2-1 countdown, the timers, music and sound cues, Escape and
// F5, and the end of the run. The decisions on typed input are the matcher's.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/window.h"
#include "draw/draw_surface.h"
#include "media/ime_control.h"
#include "media/music.h"
#include "media/wave_sound.h"
#include "questions/question_set.h"
#include "romaji/input_matcher.h"
#include "settings/software_setting_data.h"
#include "typing/practice_state.h"
#include "typing/stopwatch.h"

namespace kanaflow {

class CTypingWindow : public CWindow, public PracticeEffects {
 public:
  static constexpr UINT_PTR kCountdownTimer = 0;
  static constexpr UINT kCountdownPeriod = 1000;
  static constexpr UINT_PTR kRunningTimer = 1;
  static constexpr UINT kRunningPeriod = 100;

  // The common keys first, then the handler of the run's state.
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  PracticeState state() const { return state_; }
  const CQuestionSet& questionSet() const { return *questionSet_; }
  const SoftwareSettings& settings() const { return settings_->values(); }
  const CStopwatch& stopwatch() const { return *stopwatch_; }
  int countdown() const { return countdown_; }
  bool hasMusic() const { return music_ != nullptr; }
  bool hasSounds() const { return typeSound_ || missSound_ || endSound_; }

 protected:
  explicit CTypingWindow(CScene* scene);
  ~CTypingWindow() override;

  // The screen's picture of the current state.
  virtual void Paint(HWND window) = 0;
  // Typed input, the running timer and the music while the user types.
  virtual LRESULT OnRunning(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window is going: the last moment to put back what the screen changed.
  virtual void OnDestroy(HWND /*window*/) {}
  // The 3-2-1 count and the results: the same in every screen.
  LRESULT OnCountdown(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnResults(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The mode id this screen practises, for the way back to its list.
  virtual int ModeId() const = 0;
  virtual void StartTyping(HWND window) = 0;
  // The screen's own finishing steps, right after the state becomes Results.
  virtual void FinishRunSteps() {}
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

  // The background copied onto a fresh surface of the window's size.
  std::unique_ptr<CDrawSurface> MakeScreenImage(HWND window, int width, int height) const;
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
  PracticeState state_ = PracticeState::Countdown;
  int countdown_ = 0;
  std::unique_ptr<CSoftwareSettingData> settings_;
  std::unique_ptr<CQuestionSet> questionSet_;
  std::unique_ptr<CDrawSurface> background_;
  std::unique_ptr<CSound> music_;
  std::unique_ptr<CStopwatch> stopwatch_;
  std::unique_ptr<CWaveSound> typeSound_;
  std::unique_ptr<CWaveSound> missSound_;
  std::unique_ptr<CWaveSound> endSound_;
  ImeModeKeeper ime_;
};

}  // namespace kanaflow
