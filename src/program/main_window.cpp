#include "program/main_window.h"

#include <array>
#include <vector>

#include "app/error_box.h"
#include "app/scene.h"
#include "draw/screen_scale.h"
#include "program/preview_ids.h"
#include "settings/setting_dialog.h"

namespace kanaflow {
namespace {

constexpr int kPanelWidth = 610;
constexpr int kPanelHeight = 75;
constexpr int kPanelLeft = 10;
constexpr int kPanelStep = 85;
constexpr int kMenuWidth = 620;
constexpr int kMenuHeight = 425;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kPanelFrame = 0xBEBEBE;
constexpr Colour kSelectionFrame = 0x0000C8;
constexpr int kTextX = 100;
constexpr int kFontHeight = 15;

struct Line {
  const char* text;
  int y;
};

struct Entry {
  int previewId;  // 0: none
  std::vector<Line> lines;  // the title first
};

const std::array<Entry, MainWindow::kEntryCount>& Entries() {
  static const std::array<Entry, MainWindow::kEntryCount> entries = {{
      {IDB_PREVIEW_BASIC,
       {{"基礎練習モード", 5},
        {"仮想キーボードを用いて、キーの配列を確認しながら練習します。", 20},
        {"ここで、基礎を習得しましょう。", 35}}},
      {IDB_PREVIEW_HIRAGANA,
       {{"実践演習モード（ひらがな編）", 0},
        {"エディットボックスに直接入力することで、", 15},
        {"実際に文章を書くときのような練習をします。", 30},
        {"まずは、変換作業無しの、ひらがなのみでの入力です。", 45}}},
      {IDB_PREVIEW_KANJI_KANA,
       {{"実践演習モード（漢字仮名交じり編）", 5},
        {"ここでは、変換作業ありでのタイピングの練習をします。", 20},
        {"これさえできれば、一人前！？", 35}}},
      {IDB_PREVIEW_SETUP,
       {{"設定", 5},
        {"ローマ字の打ち方の設定。問題ファイルの変更などを行います。", 20},
        {"最初にこのソフトを使う場合、ローマ字の設定を確認してください。", 35}}},
      {0, {{"終了", 5}, {"このプログラムを終了します。", 20}}},
  }};
  return entries;
}

int g_selectedEntry = 0;

std::unique_ptr<CDrawSurface> MakePanel(HWND window, const Entry& entry) {
  auto panel = std::make_unique<CDrawSurface>(window, kPanelWidth, kPanelHeight, kWhite);
  if (entry.previewId != 0) {
    // The program's own pictures always load; should one not, its place
    // stays white and the menu still works.
    const std::string name = "#" + std::to_string(entry.previewId);
    const CDrawSurface preview(window, name, true);
    if (!preview.loaded()) ShowPictureError(window, name);
    preview.BlitTo(panel->GetMemoryDC(), 0, 0);
  }
  panel->SetFont(kFontHeight);
  for (const Line& line : entry.lines) panel->DrawString(line.text, kTextX, line.y);
  panel->RestoreFont();
  SelectObject(panel->GetMemoryDC(), GetStockObject(HOLLOW_BRUSH));
  panel->DrawRect(0, 0, kPanelHeight, kPanelWidth, kPanelFrame, 1, PS_SOLID);
  return panel;
}

}  // namespace

MainWindow::MainWindow(CScene& scene) : CWindow(&scene) {
  ShowWindow(CreateScreen(kWidth, kHeight), SW_SHOWNORMAL);
}

int MainWindow::SelectedEntry() { return g_selectedEntry; }

void MainWindow::SelectEntry(int entry) { g_selectedEntry = entry; }

int MainWindow::EntryAt(int x, int y) {
  if (x < kPanelLeft || x > kPanelLeft + kPanelWidth) return -1;
  for (int entry = 0; entry < kEntryCount; ++entry) {
    const int top = kPanelLeft + kPanelStep * entry;
    if (y >= top && y <= top + kPanelHeight) return entry;
  }
  return -1;
}

LRESULT MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(window, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      if (OnClick(window, Unscaled(LOWORD(lParam)), Unscaled(HIWORD(lParam)))) return 0;
      break;
    case WM_CLOSE:
      PostQuitMessage(0);
      break;
    case WM_DESTROY:
      menuImage_.reset();
      backBuffer_.reset();
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::OnCreate(HWND window) {
  menuImage_ = std::make_unique<CDrawSurface>(window, kMenuWidth, kMenuHeight, kWhite);
  for (int entry = 0; entry < kEntryCount; ++entry) {
    const auto panel = MakePanel(window, Entries()[static_cast<std::size_t>(entry)]);
    panel->BlitTo(menuImage_->GetMemoryDC(), kPanelLeft, kPanelLeft + kPanelStep * entry);
  }
  backBuffer_ = std::make_unique<CDrawSurface>(window, kMenuWidth, kMenuHeight, kWhite);
}

void MainWindow::OnPaint(HWND window) {
  // BeginPaint erases and validates before the menu is copied in, so no
  // later erase can wipe the menu (a window closing over it asks for one).
  const PaintBracket paint(window);
  if (!menuImage_ || !backBuffer_ || !paint.dc()) return;
  menuImage_->BlitTo(backBuffer_->GetMemoryDC(), 0, 0);
  SelectObject(backBuffer_->GetMemoryDC(), GetStockObject(HOLLOW_BRUSH));
  if (g_selectedEntry >= 0 && g_selectedEntry < kEntryCount) {
    backBuffer_->DrawRect(kPanelLeft, kPanelLeft + kPanelStep * g_selectedEntry, kPanelHeight, kPanelWidth,
                          kSelectionFrame, 2, PS_SOLID);
  }
  ApplyScreenScale(paint.dc());
  backBuffer_->BlitTo(paint.dc(), 0, 0);
}

void MainWindow::OnKeyDown(HWND window, WPARAM key, LPARAM lParam) {
  if (key == VK_UP && g_selectedEntry > 0) --g_selectedEntry;
  if (key == VK_DOWN && g_selectedEntry < kEntryCount - 1) ++g_selectedEntry;
  if (key == VK_RETURN) {
    if (lParam & (1 << 30)) return;  // a held Enter starts the entry once
    if (RunEntry(window, g_selectedEntry)) return;
  }
  InvalidateRect(window, nullptr, FALSE);
}

bool MainWindow::OnClick(HWND window, int x, int y) {
  const int entry = EntryAt(x, y);
  if (entry < 0) return false;
  g_selectedEntry = entry;
  if (RunEntry(window, entry)) return true;
  // The frame moved to the clicked entry; a dialog closing repaints only what
  // it uncovered, which would leave the old frame standing elsewhere.
  InvalidateRect(window, nullptr, FALSE);
  return false;
}

bool MainWindow::RunEntry(HWND window, int entry) {
  CScene* const scene = this->scene();
  if (entry < static_cast<int>(std::size(kPracticeModes))) {
    DestroyWindow(window);
    scene->SetMode(kPracticeModes[entry]);
    scene->ShowQuestionSelect();
    return true;
  }
  if (entry == 3) {
    CSettingDialog dialog(window);
    return false;
  }
  PostQuitMessage(0);
  return false;
}

}  // namespace kanaflow
