#include "app/error_box.h"

#include <algorithm>

#include "draw/gdi_handles.h"
#include "platform/box_text.h"
#include "platform/fatal_error.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

// Room the box takes beside its text: the icon, the margins and the frame
// (a generous guess that holds for the platform's and Wine's layouts).
constexpr int kSideRoom = 120;
// Above and below the text: caption, margins and the OK button.
constexpr int kUpDownRoom = 140;

struct TextRoom {
  std::size_t columns;
  std::size_t lines;
};

// How many half-width columns and lines of the box's font fit the work area.
TextRoom RoomOnScreen() {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const Font font(CreateFontIndirectW(&metrics.lfMessageFont));
  const WindowDc screen(nullptr);  // no window: the whole screen
  const Selection selected(screen.get(), font ? font.get() : GetStockObject(DEFAULT_GUI_FONT));
  // A column is half a full-width character, or an average Latin letter
  // when that is wider; the side room absorbs lines of wide letters.
  SIZE fullWidth{};
  GetTextExtentPoint32W(screen.get(), L"\x6F22", 1, &fullWidth);  // 漢
  TEXTMETRICW text{};
  GetTextMetricsW(screen.get(), &text);
  const int column = std::max({1, static_cast<int>((fullWidth.cx + 1) / 2), static_cast<int>(text.tmAveCharWidth)});
  const int line = std::max(1, static_cast<int>(text.tmHeight + text.tmExternalLeading));
  const int width = std::max(0, static_cast<int>(area.right - area.left) - kSideRoom);
  const int height = std::max(0, static_cast<int>(area.bottom - area.top) - kUpDownRoom);
  return {static_cast<std::size_t>(std::max(8, width / column)), static_cast<std::size_t>(std::max(3, height / line))};
}

}  // namespace

int ShowErrorBox(HWND owner, const std::string& text, UINT style) {
  const TextRoom room = RoomOnScreen();
  const std::string fitted = FitLines(text, room.columns, room.lines);
  return MessageBoxW(owner, Cp932ToWide(fitted).c_str(), Cp932ToWide("エラー").c_str(), style);
}

void ShowPictureError(HWND owner, const std::string& name) {
  const std::string text =
      FatalErrorText(FatalError::PictureNotLoaded, {"読み込み対象ファイル名：" + name, CurrentDirectoryLine()});
  ShowErrorBox(owner, text, MB_OK);
}

}  // namespace kanaflow
