#include "typing/run_progress.h"

#include <algorithm>
#include <cstdio>

namespace kanaflow {
namespace {

bool SameRun(const RunRecord& a, const RunRecord& b) {
  return a.dateTime == b.dateTime && a.mode == b.mode && a.setPath == b.setPath &&
         a.keystrokes == b.keystrokes && a.milliseconds == b.milliseconds && a.misses == b.misses;
}

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

RunProgress ProgressOf(const std::vector<RunRecord>& records, const RunRecord& thisRun) {
  RunProgress progress;
  std::vector<ChartPoint> points;
  for (const RunRecord& record : records) {
    if (record.mode != thisRun.mode || record.setPath != thisRun.setPath || SameRun(record, thisRun)) continue;
    ++progress.earlierRuns;
    progress.bestBefore = std::max(progress.bestBefore, record.KeystrokesPerSecond());
    points.push_back({record.KeystrokesPerSecond(), record.MissesPer100Keystrokes()});
  }
  points.push_back({thisRun.KeystrokesPerSecond(), thisRun.MissesPer100Keystrokes()});
  const std::size_t first = points.size() > kChartRuns ? points.size() - kChartRuns : 0;
  progress.chart.assign(points.begin() + static_cast<std::ptrdiff_t>(first), points.end());
  return progress;
}

std::string ThisRunLine(const RunRecord& thisRun) {
  return Printed("今回 %.3f 字/秒", thisRun.KeystrokesPerSecond()) +
         Printed("  ミス %.1f/100打", thisRun.MissesPer100Keystrokes());
}

std::string BestLine(const RunProgress& progress, const RunRecord& thisRun) {
  if (progress.earlierRuns == 0) return "初めての記録です";
  if (thisRun.KeystrokesPerSecond() > progress.bestBefore) {
    return Printed("自己最高を更新（前 %.3f 字/秒）", progress.bestBefore);
  }
  return Printed("自己最高 %.3f 字/秒", progress.bestBefore) + "（" + std::to_string(progress.earlierRuns) + "回中）";
}

ChartLayout LayOutChart(const std::vector<ChartPoint>& chart, int width, int height) {
  ChartLayout layout;
  if (chart.empty() || width <= 0 || height <= 0) return layout;
  double topRate = 0;
  double topMisses = 10;
  for (const ChartPoint& point : chart) {
    topRate = std::max(topRate, point.keystrokesPerSecond);
    topMisses = std::max(topMisses, point.missesPer100);
  }
  const int slot = width / static_cast<int>(kChartRuns);
  const int barWidth = std::max(1, slot - 2);
  for (std::size_t i = 0; i < chart.size(); ++i) {
    const int left = static_cast<int>(i) * slot + 1;
    const int barHeight = topRate > 0 ? static_cast<int>(chart[i].keystrokesPerSecond / topRate * height + 0.5) : 0;
    layout.bars.push_back({left, height - barHeight, left + barWidth, height});
    const int missY = height - 1 - static_cast<int>(chart[i].missesPer100 / topMisses * (height - 3) + 0.5);
    const int middle = left + barWidth / 2;
    layout.missMarks.push_back({middle - 2, std::max(0, missY - 2), middle + 3, std::min(height, missY + 3)});
  }
  return layout;
}

}  // namespace kanaflow
