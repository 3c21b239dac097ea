// What the results show of the learner's progress: this run against the
// best earlier run of the same set and mode, and the last runs as a chart.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "typing/run_record.h"

namespace kanaflow {

inline constexpr std::size_t kChartRuns = 20;

struct ChartPoint {
  double keystrokesPerSecond = 0;
  double missesPer100 = 0;
};

struct RunProgress {
  int earlierRuns = 0;         // runs of this set and mode before this one
  double bestBefore = 0;       // their best keystrokes per second
  std::vector<ChartPoint> chart;  // the last runs, this one last
};

// From the records read back (oldest first) and this run, which may or may
// not be among them yet: records of other sets and modes do not count.
RunProgress ProgressOf(const std::vector<RunRecord>& records, const RunRecord& thisRun);

// The texts of the progress lines: "今回 4.321 字/秒  ミス 2.5/100打" and
// "自己最高 5.000 字/秒（12回中）", the new best's line, or the first run's.
std::string ThisRunLine(const RunRecord& thisRun);
std::string BestLine(const RunProgress& progress, const RunRecord& thisRun);

struct ChartRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The chart in a box of `width` by `height` pixels: one bar per run for the
// keystrokes per second, scaled to the highest, and one point per run for the
// misses per 100 keystrokes, scaled to the highest (at least 10, so a few
// misses stay low). Coordinates inside the box.
struct ChartLayout {
  std::vector<ChartRect> bars;
  std::vector<ChartRect> missMarks;
};
ChartLayout LayOutChart(const std::vector<ChartPoint>& chart, int width, int height);

}  // namespace kanaflow
