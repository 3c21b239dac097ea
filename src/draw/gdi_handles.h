// One owner for every GDI handle: each is deleted, released or deselected
// when its owner goes, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace kanaflow {

// A pen, brush, font or bitmap that this code created and must delete.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

// A memory device context, deleted with its owner.
class MemoryDc {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC model) : dc_(CreateCompatibleDC(model)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  void Create(HDC model) {
    if (dc_) DeleteDC(dc_);
    dc_ = CreateCompatibleDC(model);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_ = nullptr;
};

// A window's device context for the length of one call.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The paint cycle of one WM_PAINT: BeginPaint now, EndPaint when it goes.
class PaintBracket {
 public:
  explicit PaintBracket(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintBracket() {
    if (dc_) EndPaint(window_, &paint_);
  }
  PaintBracket(const PaintBracket&) = delete;
  PaintBracket& operator=(const PaintBracket&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context, the previous one selected back
// when the selection ends.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A text colour set for one drawing step, the previous one put back after.
class TextColour {
 public:
  TextColour(HDC dc, COLORREF colour) : dc_(dc), previous_(SetTextColor(dc, colour)) {}
  ~TextColour() { SetTextColor(dc_, previous_); }
  TextColour(const TextColour&) = delete;
  TextColour& operator=(const TextColour&) = delete;

 private:
  HDC dc_;
  COLORREF previous_;
};

}  // namespace kanaflow
