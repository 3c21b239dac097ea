// The basic practice screen: the romaji form typed key by key, with the
// on-screen keyboard marking the key to press next.
#pragma once

#include <memory>

#include "draw/keyboard_picture.h"
#include "draw/virtual_keyboard.h"
#include "typing/char_message_bytes.h"
#include "typing/romaji_guide.h"
#include "typing/typing_window.h"

namespace kanaflow {

class Typing1Window : public CTypingWindow {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kCountersTop = 125;

  explicit Typing1Window(CScene& scene, PracticeMedia media = SystemPracticeMedia());
  ~Typing1Window() override;

  const CKeyboardMatcher& matcher() const { return *matcher_; }
  const CVirtualKeyboard& keyboard() const { return *keyboard_; }
  // What the romaji row shows now, by the setting ShowRomaji.
  RomajiRow CurrentRomajiRow() const;

 private:
  void SetUp(HWND window);
  PracticeMode ModeId() const override;
  void StartTyping(HWND window) override;
  void FinishRunSteps() override;
  void RepaintAfterFinish() override;
  std::vector<KeyFigures> RunKeyFigures() const override { return KeyFiguresOf(*keyboard_); }

  LRESULT OnTypingMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  void Compose(HWND window, CDrawSurface& image) override;
  const CRunMatcher& runMatcher() const override { return *matcher_; }
  int CountersTop() const override { return kCountersTop; }
  bool FrameOutdated() const override;
  void DrawQuestionRows(CDrawSurface& image);
  void DrawRomajiRow(CDrawSurface& image);
  void DrawResultFigures(CDrawSurface& image);
  void DrawKeyboard(HWND window, CDrawSurface& image);

  std::unique_ptr<CVirtualKeyboard> keyboard_;
  std::unique_ptr<CKeyboardMatcher> matcher_;
  KeyboardPicture keyboardPicture_;
  CharMessageBytes typedBytes_;
  // The romaji row of the last frame: a held-back row that comes up with
  // time alone needs a whole frame.
  RomajiRow shownRomajiRow_ = RomajiRow::Whole;
};

}  // namespace kanaflow
