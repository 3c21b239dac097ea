#include "draw/keyboard_painter.h"

namespace kanaflow {
namespace {
constexpr Colour kDefaultNextKeyColour = 0x0000FF;  // red
constexpr int kStatisticsFontHeight = 12;
Colour g_nextKeyColour = kDefaultNextKeyColour;
}  // namespace

void SetNextKeyColour(Colour colour) { g_nextKeyColour = colour; }
Colour NextKeyColour() { return g_nextKeyColour; }

namespace {

// Japanese fonts draw the byte 0x5C as ¥, as a Japanese keyboard labels that
// key; a US key shows a backslash, which only the full-width sign draws as
// one whatever the font.
std::string Legend(const std::string& label, KeyboardLayout layout) {
  return layout == KeyboardLayout::Us && label == "\\" ? "＼" : label;
}

}  // namespace

void CKeyboardKey::DrawKey(CDrawSurface& surface, KeyboardLayout layout) const {
  const HDC dc = surface.GetMemoryDC();
  if (!dc) return;
  const KeyFill fill = Fill();
  if (fill == KeyFill::NextKey) surface.SetBrush(g_nextKeyColour);
  if (fill == KeyFill::Finger) surface.SetBrush(fillColour());

  // The labels are placed by the font that is selected before the key's own.
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const auto labelPositions = LabelPositions(metrics.tmHeight);

  surface.DrawRect(x(), y(), height(), width(), lineColour(), 1, PS_SOLID);
  {
    const TextColour colour(dc, static_cast<COLORREF>(textColour()));
    if (resultsView()) {
      if (!special()) {
        surface.SetFont(kStatisticsFontHeight);
        const auto lines = StatisticsLines();
        const auto positions = StatisticsPositions();
        for (std::size_t i = 0; i < lines.size(); ++i) surface.DrawString(lines[i], positions[i].x, positions[i].y);
      }
    } else if (showLabels()) {
      surface.SetFont(labelFontHeight());
      for (int i = 0; i < 4; ++i) {
        const Point& at = labelPositions[static_cast<std::size_t>(i)];
        surface.DrawString(Legend(label(i), layout), at.x, at.y);
      }
    }
  }
  surface.RestoreFont();
  if (fill != KeyFill::SurfaceBrush) surface.RestoreBrush();
}

void CVirtualKeyboard::Draw(CDrawSurface& surface) const {
  if (!surface.GetMemoryDC()) return;
  for (const CKeyboardKey& key : keys_) key.DrawKey(surface, layout_);
  // The hollow brush stays selected: the frame must not cover the keys.
  SelectObject(surface.GetMemoryDC(), GetStockObject(HOLLOW_BRUSH));
  surface.DrawRect(0, 0, height(), width(), lineColour(), 1, PS_SOLID);
}

}  // namespace kanaflow
