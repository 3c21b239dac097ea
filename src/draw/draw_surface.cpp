#include "draw/draw_surface.h"

#include <cstdlib>
#include <map>

#include "app/error_box.h"
#include "app/fatal_error.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

constexpr int kMissingPictureWidth = 640;
constexpr int kMissingPictureHeight = 480;
constexpr std::size_t kLabelValueBytes = 254;

// Fonts are made once per height and face and kept for the whole program:
// the screens redraw every key's labels on every frame, and making a font is
// by far the dearest step of drawing text.
HFONT SharedFont(int height, const wchar_t* face) {
  struct Key {
    int height;
    std::wstring face;
    bool operator<(const Key& other) const {
      return height != other.height ? height < other.height : face < other.face;
    }
  };
  static std::map<Key, Font> fonts;
  Font& font = fonts[Key{height, face}];
  if (!font) {
    font.reset(CreateFontW(height, 0, 0, 0, 0, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
  }
  return font.get();
}

HBITMAP LoadPicture(HWND window, const std::string& name, bool fromResource) {
  if (fromResource) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (!name.empty() && name[0] == '#') {
      const int id = std::atoi(name.c_str() + 1);
      return static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    }
    return static_cast<HBITMAP>(LoadImageW(instance, Cp932ToWide(name).c_str(), IMAGE_BITMAP, 0, 0, 0));
  }
  // A device such as COM1 is no picture, and could keep the loader waiting.
  if (LeadsToDevice(name)) return nullptr;
  return static_cast<HBITMAP>(LoadImageW(nullptr, Cp932ToWide(name).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

}  // namespace

void ShowPictureError(HWND window, const std::string& name) {
  const std::string text =
      FatalErrorText(FatalError::PictureNotLoaded, {"読み込み対象ファイル名：" + name, CurrentDirectoryLine()});
  ShowErrorBox(window, text, MB_OK);
}

CDrawSurface::CDrawSurface(HWND window, int width, int height, Colour colour)
    : window_(window), width_(width), height_(height) {
  const PaintBracket paint(window);
  const WindowDc screen(nullptr);
  const HDC model = paint.dc() ? paint.dc() : screen.get();
  dc_.Create(model);
  bitmap_.reset(CreateCompatibleBitmap(model, width, height));
  SelectBitmap(bitmap_.get());
  Fill(colour);
}

CDrawSurface::CDrawSurface(HWND window, const std::string& name, bool fromResource)
    : window_(window), width_(kMissingPictureWidth), height_(kMissingPictureHeight) {
  {
    const PaintBracket paint(window);
    bitmap_.reset(LoadPicture(window, name, fromResource));
    if (bitmap_) {
      BITMAP info{};
      GetObjectW(bitmap_.get(), sizeof info, &info);
      width_ = info.bmWidth;
      height_ = info.bmHeight;
      const WindowDc screen(nullptr);
      dc_.Create(paint.dc() ? paint.dc() : screen.get());
      SelectBitmap(bitmap_.get());
      return;
    }
  }
  ShowPictureError(window, name);
}

CDrawSurface::~CDrawSurface() {
  RestoreFont();
  RestoreBrush();
  if (originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
}

void CDrawSurface::SelectBitmap(HBITMAP bitmap) {
  if (dc_.get() && bitmap) originalBitmap_ = SelectObject(dc_.get(), bitmap);
}

void CDrawSurface::Fill(Colour colour) {
  if (!dc_.get()) return;
  const Pen black(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
  const Selection pen(dc_.get(), black.get());
  SetBrush(colour);
  DrawRect(0, 0, height_, width_, colour, 1, PS_SOLID);
  RestoreBrush();
}

void CDrawSurface::FillArea(const RECT& area, Colour colour) {
  if (!dc_.get()) return;
  const Brush brush(CreateSolidBrush(static_cast<COLORREF>(colour)));
  FillRect(dc_.get(), &area, brush.get());
}

void CDrawSurface::DrawRect(int left, int top, int height, int width, Colour penColour, int penWidth,
                            int penStyle) {
  if (!dc_.get()) return;
  const Pen pen(CreatePen(penStyle, penWidth, static_cast<COLORREF>(penColour)));
  const Selection selection(dc_.get(), pen.get());
  Rectangle(dc_.get(), left, top, left + width, top + height);
}

void CDrawSurface::DrawString(const std::string& text, int x, int y, int length) {
  if (!dc_.get()) return;
  std::string_view bytes = text;
  bytes = bytes.substr(0, bytes.find('\0'));
  if (length >= 0) bytes = cp932::CutToFit(bytes, static_cast<std::size_t>(length));
  const std::wstring wide = Cp932ToWide(bytes);
  SetBkMode(dc_.get(), TRANSPARENT);
  TextOutW(dc_.get(), x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void CDrawSurface::DrawLabelValue(const std::string& label, int x, int y, const std::string& value, int length) {
  DrawString(LabelValueText(label, value), x, y, length);
}

int CDrawSurface::TextWidth(const std::string& text) const {
  if (!dc_.get()) return 0;
  const std::wstring wide = Cp932ToWide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc_.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

std::string CDrawSurface::LabelValueText(const std::string& label, const std::string& value) {
  return std::string(cp932::CutToFit(label + " " + value, kLabelValueBytes));
}

HGDIOBJ CDrawSurface::SetFont(int height, const wchar_t* face) {
  if (!dc_.get()) return nullptr;
  const HGDIOBJ replaced = SelectObject(dc_.get(), SharedFont(height, face));
  if (!savedFont_) savedFont_ = replaced;
  return replaced;
}

void CDrawSurface::RestoreFont() {
  if (savedFont_ && dc_.get()) SelectObject(dc_.get(), savedFont_);
}

void CDrawSurface::SetBrush(Colour colour) {
  if (!dc_.get()) return;
  Brush brush(CreateSolidBrush(static_cast<COLORREF>(colour)));
  const HGDIOBJ replaced = SelectObject(dc_.get(), brush.get());
  if (!savedBrush_) savedBrush_ = replaced;
  ownBrush_ = std::move(brush);
}

void CDrawSurface::RestoreBrush() {
  if (!savedBrush_ || !dc_.get()) return;
  SelectObject(dc_.get(), savedBrush_);
  ownBrush_.reset();
}

HDC CDrawSurface::BlitTo(HDC target, int x, int y, int width, int height, int sourceX, int sourceY) const {
  if (!dc_.get()) return target;
  if (width < 0 && height < 0) {
    width = width_;
    height = height_;
  }
  BitBlt(target, x, y, width, height, dc_.get(), sourceX, sourceY, SRCCOPY);
  return target;
}

void CDrawSurface::BlitToWindow(int x, int y, int width, int height, int sourceX, int sourceY) const {
  const WindowDc window(window_);
  BlitTo(window.get(), x, y, width, height, sourceX, sourceY);
}

}  // namespace kanaflow
