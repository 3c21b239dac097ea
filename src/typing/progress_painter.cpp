#include "typing/progress_painter.h"

namespace kanaflow {
namespace {

constexpr int kFontHeight = 12;
constexpr int kLineHeight = 14;
constexpr Colour kMissColour = 0xFF0000;  // blue: apart from the bars, whatever the set's colours

void DrawChart(CDrawSurface& image, const RunProgress& progress, int left, int top, int height,
               const ProgressColours& colours) {
  SelectObject(image.GetMemoryDC(), GetStockObject(HOLLOW_BRUSH));
  image.DrawRect(left, top, height, kProgressWidth, colours.text, 1, PS_SOLID);
  const ChartLayout chart = LayOutChart(progress.chart, kProgressWidth - 2, height - 2);
  for (std::size_t i = 0; i < chart.bars.size(); ++i) {
    const ChartRect& bar = chart.bars[i];
    const Colour fill = i + 1 == chart.bars.size() ? colours.thisRun : colours.text;
    image.FillArea({left + 1 + bar.left, top + 1 + bar.top, left + 1 + bar.right, top + 1 + bar.bottom}, fill);
  }
  for (const ChartRect& mark : chart.missMarks) {
    image.FillArea({left + 1 + mark.left, top + 1 + mark.top, left + 1 + mark.right, top + 1 + mark.bottom},
                   kMissColour);
  }
}

}  // namespace

void DrawSmallText(CDrawSurface& image, const std::string& text, int x, int y) {
  image.SetFont(kFontHeight);
  image.DrawString(text, x, y);
  image.RestoreFont();
}

void DrawProgress(CDrawSurface& image, const ResultsProgress& results, int left, int top, int chartHeight,
                  const ProgressColours& colours) {
  image.SetFont(kFontHeight);
  image.DrawString(ThisRunLine(results.run), left, top);
  image.DrawString(BestLine(results.progress, results.run), left, top + kLineHeight);
  const int chartTop = top + 2 * kLineHeight + 2;
  DrawChart(image, results.progress, left, chartTop, chartHeight, colours);
  const int legendTop = chartTop + chartHeight + 2;
  image.DrawString("棒：字/秒　青：ミス/100打（最近20回）", left, legendTop);
  if (!results.recorded) image.DrawString("この回は記録できませんでした", left, legendTop + kLineHeight);
  image.RestoreFont();
}

}  // namespace kanaflow
