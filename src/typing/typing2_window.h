// The edit-box practice screens: the question written through the IME into
// an edit box, in hiragana only (mode 1) or with kana-kanji conversion.
#pragma once

#include <memory>
#include <string>

#include "typing/typing_window.h"

namespace kanaflow {

class Typing2Window : public CTypingWindow {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 300;
  static constexpr int kCountersTop = 170;
  static constexpr int kEditBoxId = 10000;

  Typing2Window(CScene& scene, PracticeMode mode, PracticeMedia media = SystemPracticeMedia());
  ~Typing2Window() override;

  const CEditBoxMatcher& matcher() const { return *matcher_; }
  HWND editBox() const { return editBox_; }
  PracticeMode mode() const { return mode_; }

 private:
  bool IsHiraganaMode() const;
  void SetUp(HWND window);
  // At a scale other than 100 the box gets a font of the system's height at
  // that scale.
  void ScaleEditFont();
  PracticeMode ModeId() const override { return mode_; }
  void StartTyping(HWND window) override;
  void ClearEditBox() override;
  // The IME setting of this mode when the IME is opened.
  ImeSetting OpenImeSetting() const;
  // Sets the box's IME; only the first change keeps the user's modes for
  // leaving.
  void ChangeIme(const ImeSetting& setting);
  // Any notification of the edit box while typing.
  void OnEditNotify();

  LRESULT OnTypingMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy(HWND window) override;

  void Compose(HWND window, CDrawSurface& image) override;
  void Present(const CDrawSurface& image) const override;
  const CRunMatcher& runMatcher() const override { return *matcher_; }
  int CountersTop() const override { return kCountersTop; }
  void DrawOperationBox(CDrawSurface& image) const;
  void DrawQuestionRows(CDrawSurface& image) const;
  void DrawRates(CDrawSurface& image) const;
  void DrawRule(CDrawSurface& image, int y) const;
  std::string SecondRowLabel() const;

  PracticeMode mode_;
  HWND editBox_ = nullptr;
  // The edit box's font at the screens' scale; none at 100, where the box
  // keeps the system's.
  Font editFont_;
  std::unique_ptr<CEditBoxMatcher> matcher_;
  // The box's text as last judged: one change is judged once, however many
  // notifications the box sends for it.
  std::string lastEditText_;
};

}  // namespace kanaflow
