#include "draw/draw_surface.h"

#include <cstdlib>
#include <map>

#include "draw/screen_scale.h"
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

// Copies in device pixels, whatever transforms the two sides draw through,
// for as long as it lives.
class DevicePixels {
 public:
  explicit DevicePixels(HDC dc) : dc_(dc), advanced_(GetGraphicsMode(dc) == GM_ADVANCED) {
    if (advanced_ && GetWorldTransform(dc, &saved_)) ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
  }
  ~DevicePixels() {
    if (advanced_) SetWorldTransform(dc_, &saved_);
  }
  DevicePixels(const DevicePixels&) = delete;
  DevicePixels& operator=(const DevicePixels&) = delete;

 private:
  HDC dc_;
  bool advanced_;
  XFORM saved_{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
};

int AtScale(int units, int percent) { return MulDiv(units, percent, 100); }

}  // namespace

CDrawSurface::CDrawSurface(HWND window, int width, int height, Colour colour)
    : window_(window), scale_(ScreenScale()), width_(width), height_(height) {
  const PaintBracket paint(window);
  const WindowDc screen(nullptr);
  const HDC model = paint.dc() ? paint.dc() : screen.get();
  dc_.Create(model);
  bitmap_.reset(CreateCompatibleBitmap(model, AtScale(width, scale_), AtScale(height, scale_)));
  SelectBitmap(bitmap_.get());
  if (scale_ != 100 && dc_.get()) {
    // A bitmap font would come out blocky at the scale: the default gives way
    // to an outline font of its height.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_.get(), &metrics);
    ApplyScreenScale(dc_.get());
    SelectObject(dc_.get(), SharedFont(metrics.tmHeight, kUiFontFace));
  }
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
    }
  }
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
  const int targetScale = ScaleOf(target);
  if (scale_ == 100 && targetScale == 100) {
    BitBlt(target, x, y, width, height, dc_.get(), sourceX, sourceY, SRCCOPY);
    return target;
  }
  // Between two sides at the same scale the copy is pixel for pixel; only a
  // picture made at another scale (a bitmap file) is stretched to its place.
  const DevicePixels targetPixels(target);
  const DevicePixels sourcePixels(dc_.get());
  SetStretchBltMode(target, COLORONCOLOR);
  StretchBlt(target, AtScale(x, targetScale), AtScale(y, targetScale), AtScale(width, targetScale),
             AtScale(height, targetScale), dc_.get(), AtScale(sourceX, scale_), AtScale(sourceY, scale_),
             AtScale(width, scale_), AtScale(height, scale_), SRCCOPY);
  return target;
}

void CDrawSurface::BlitToWindow(int x, int y, int width, int height, int sourceX, int sourceY) const {
  const WindowDc window(window_);
  ApplyScreenScale(window.get());
  BlitTo(window.get(), x, y, width, height, sourceX, sourceY);
}

}  // namespace kanaflow
