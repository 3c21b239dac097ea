// An off-screen picture made for one window: every screen draws into these
// and copies a finished picture to its window in one step, so nothing
// flickers.
#pragma once

#include <windows.h>

#include <string>

#include "draw/gdi_handles.h"
#include "platform/colour.h"

namespace kanaflow {


inline constexpr wchar_t kUiFontFace[] = L"MS UI Gothic";

class CDrawSurface {
 public:
  // A blank surface of the given size, filled with `colour`.
  CDrawSurface(HWND window, int width, int height, Colour colour);
  // A surface holding a bitmap: with `fromResource`, `name` is a bitmap
  // resource of the window's module ("#106" for number 106); otherwise a file
  // path. When the picture cannot be loaded the surface stays empty (640 by
  // 480, `loaded` false): drawing on it then does nothing, and telling the
  // user is the caller's.
  CDrawSurface(HWND window, const std::string& name, bool fromResource);
  ~CDrawSurface();
  CDrawSurface(const CDrawSurface&) = delete;
  CDrawSurface& operator=(const CDrawSurface&) = delete;

  void Fill(Colour colour);
  // Fills the rectangle (right and bottom edges excluded).
  void FillArea(const RECT& area, Colour colour);
  // Note the order: height before width.
  void DrawRect(int left, int top, int height, int width, Colour penColour, int penWidth, int penStyle);
  // `text` is CP932; `length` counts its bytes (whole characters only), a
  // negative length draws the whole text.
  void DrawString(const std::string& text, int x, int y, int length = -1);
  // "label value" in one text of at most 254 bytes.
  void DrawLabelValue(const std::string& label, int x, int y, const std::string& value, int length = -1);
  static std::string LabelValueText(const std::string& label, const std::string& value);
  // The width in pixels of a CP932 text in the surface's current font.
  int TextWidth(const std::string& text) const;
  // Selects the font of the cell height (Shift_JIS character set, "MS UI
  // Gothic"); returns the font it replaced. RestoreFont puts the surface's
  // own font back. The fonts are shared by every surface and kept.
  HGDIOBJ SetFont(int height, const wchar_t* face = kUiFontFace);
  void RestoreFont();
  void SetBrush(Colour colour);
  void RestoreBrush();
  // Copies (sourceX, sourceY) of this surface to (x, y) of `target`; negative
  // width and height copy the whole surface.
  HDC BlitTo(HDC target, int x, int y, int width = -1, int height = -1, int sourceX = 0, int sourceY = 0) const;
  // The same to the window, at the screens' scale.
  void BlitToWindow(int x, int y, int width = -1, int height = -1, int sourceX = 0, int sourceY = 0) const;

  bool loaded() const { return dc_.get() != nullptr; }
  // For direct GDI calls; null when a picture failed to load.
  HDC GetMemoryDC() const { return dc_.get(); }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  HWND window() const { return window_; }

 private:
  void SelectBitmap(HBITMAP bitmap);

  HWND window_;
  // The scale it draws at (ScreenScale when made blank, 100 for a picture).
  int scale_ = 100;
  int width_;
  int height_;
  MemoryDc dc_;
  Bitmap bitmap_;
  HGDIOBJ originalBitmap_ = nullptr;
  HGDIOBJ savedFont_ = nullptr;
  HGDIOBJ savedBrush_ = nullptr;
  Brush ownBrush_;
};

}  // namespace kanaflow
