#include "typing/stopwatch.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kanaflow {
namespace {

TEST(StopwatchTest, ElapsedTimeByStatus) {
  std::uint32_t now = 1000;
  CStopwatch watch([&now] { return now; });
  struct Step {
    const char* label;
    void (*apply)(CStopwatch&);
    std::uint32_t at, elapsed;
    CStopwatch::Status status;
  } steps[] = {
      {"new", [](CStopwatch&) {}, 5000, 0, CStopwatch::Status::Cleared},
      {"stop while cleared", [](CStopwatch& w) { w.Stop(); }, 6000, 0, CStopwatch::Status::Cleared},
      {"start", [](CStopwatch& w) { w.Start(); }, 10000, 0, CStopwatch::Status::Running},
      {"running", [](CStopwatch&) {}, 22345, 12345, CStopwatch::Status::Running},
      {"stop", [](CStopwatch& w) { w.Stop(); }, 22345, 12345, CStopwatch::Status::Stopped},
      {"frozen", [](CStopwatch&) {}, 99999, 12345, CStopwatch::Status::Stopped},
      {"stop again", [](CStopwatch& w) { w.Stop(); }, 99999, 12345, CStopwatch::Status::Stopped},
      {"clear", [](CStopwatch& w) { w.Clear(); }, 99999, 0, CStopwatch::Status::Cleared},
      {"start before the wrap", [](CStopwatch& w) { w.Start(); }, 0xFFFFFF00u, 0, CStopwatch::Status::Running},
      {"running across the wrap", [](CStopwatch&) {}, 0x100u, 0x200u, CStopwatch::Status::Running},
  };
  for (const Step& step : steps) {
    now = step.at;
    step.apply(watch);
    EXPECT_EQ(watch.ElapsedMs(), step.elapsed) << step.label;
    EXPECT_EQ(watch.status(), step.status) << step.label;
  }
}

TEST(StopwatchTest, SecondsAreWrittenAsTheRuntimeGcvtWritesThem) {
  struct Row {
    std::uint32_t ms;
    const char* text;
  } rows[] = {
      // From 100 ms: three decimals, trailing zeros dropped, the point kept.
      {12345, "12.345"}, {12300, "12.3"}, {5000, "5."}, {1000, "1."}, {100, "0.1"}, {101, "0.101"},
      {120, "0.12"}, {999, "0.999"}, {1230, "1.23"}, {60000, "60."}, {100000, "100."},
      {4294967295u, "4294967.295"},
      // Below 100 ms: the exponent form; one significant digit has no point.
      {99, "9.9e-002"}, {12, "1.2e-002"}, {50, "5.e-002"}, {10, "1.e-002"}, {9, "9e-003"}, {5, "5e-003"},
      {1, "1e-003"},
      // Zero: fixed form with one decimal, then its zero dropped.
      {0, "0."},
  };
  for (const Row& row : rows) EXPECT_EQ(CStopwatch::SecondsText(row.ms), row.text) << row.ms << " ms";
}

TEST(StopwatchTest, FormatSecondsShowsTheElapsedTime) {
  std::uint32_t now = 700;
  CStopwatch watch([&now] { return now; });
  EXPECT_EQ(watch.FormatSeconds(), "0.");
  watch.Start();
  now += 5000;
  EXPECT_EQ(watch.FormatSeconds(), "5.");
}

}  // namespace
}  // namespace kanaflow
