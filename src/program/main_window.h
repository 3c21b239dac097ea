// The main menu: five stacked panels, one per entry, a red frame moved with
// the arrow keys and started with Enter, or a panel clicked.
#pragma once

#include <memory>

#include "app/window.h"
#include "draw/draw_surface.h"

namespace kanaflow {

class MainWindow : public CWindow {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kEntryCount = 5;

  explicit MainWindow(CScene& scene);

  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  // The framed entry: kept for the whole process, so the menu comes back
  // with the entry last chosen still framed.
  static int SelectedEntry();
  static void SelectEntry(int entry);

  // The entry whose panel holds the client point, or -1 (gaps and outside).
  static int EntryAt(int x, int y);

 private:
  void OnCreate(HWND window);
  void OnPaint(HWND window);
  void OnKeyDown(HWND window, WPARAM key, LPARAM lParam);
  // A click on an entry runs it; true when the screen handed over.
  bool OnClick(HWND window, int x, int y);
  // Runs an entry; returns true when the screen handed over (object gone).
  bool RunEntry(HWND window, int entry);

  std::unique_ptr<CDrawSurface> menuImage_;
  std::unique_ptr<CDrawSurface> backBuffer_;
};

}  // namespace kanaflow
