// The selection screen: the question sets found under ./data, grouped into
// categories, the header of the selected set, and the way to start it.
#pragma once

#include <windows.h>

#include <vector>

#include "app/window.h"
#include "draw/gdi_handles.h"
#include "questions/question_library.h"

namespace kanaflow {

class QuestionSelectMenu : public CWindow {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kSetListId = 10000;
  static constexpr int kStartButtonId = 10001;
  static constexpr int kSettingsButtonId = 10002;
  static constexpr int kBackButtonId = 10003;
  static constexpr int kCategoryListId = 10004;

  explicit QuestionSelectMenu(CScene& scene);

  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  // The list positions of the last start, kept for the whole process.
  static int RememberedCategory();
  static int RememberedSet();
  static void ForgetPositions();

  const std::vector<QuestionCategory>& categories() const { return categories_; }
  // The set whose header is shown, or null.
  const CMenuQuestionLoader* currentEntry() const { return current_; }

 private:
  void OnCreate(HWND window);
  void CreateControls(HWND window);
  void FillSetList();
  void OnCommand(HWND window, int id, int notification);
  void OnPaint(HWND window) const;
  // Start and back hand over to another screen: the object is gone after.
  bool OnKeyDown(HWND window, WPARAM key, LPARAM lParam);
  bool BothSelected() const;
  const CMenuQuestionLoader* SelectedEntry() const;
  void Start(HWND window);
  void Back(HWND window);

  HWND setList_ = nullptr;
  HWND categoryList_ = nullptr;
  Font controlFont_;
  std::vector<QuestionCategory> categories_;
  const CMenuQuestionLoader* current_ = nullptr;
  int drillRows_ = 0;  // 1 while the weak-key drill is listed first
};

}  // namespace kanaflow
