#include "typing/point_counter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kanaflow {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(PointCounterTest, KeyPointsAreTenThousandOverTheMilliseconds) {
  struct Row {
    std::uint32_t ms;
    std::int32_t points;
  } rows[] = {
      {250, 40}, {20000, 0}, {0, 10000}, {1, 10000}, {3, 3333}, {9999, 1}, {10001, 0}, {0xFFFFFFFFu, 0},
  };
  for (const Row& row : rows) {
    PointCounter counter;
    counter.AddKeyPoints(row.ms);
    EXPECT_EQ(counter.points(), row.points) << row.ms << " ms";
    EXPECT_EQ(counter.lastChange(), row.points) << row.ms << " ms";
  }
}

TEST(PointCounterTest, ChunkPointsDivideTheTimeAmongTheBytes) {
  struct Row {
    std::uint32_t ms, bytes;
    std::int32_t points;
  } rows[] = {
      {1000, 1, 10},            // 10000 / 1000
      {1000, 2, 40},            // 2 × 10000 / 500
      {1000, 4, 160},           // 4 × 10000 / 250
      {1000, 253, 843249},      // 253 × 10000 / 3 = 253 × 3333
      {7, 3, 15000},            // 3 × 10000 / 2
      {0, 3, 30000},            // 0 / 3 is a zero divisor: 3 × 10000
      {1000, 2000, 20000000},   // 1000 / 2000 is 0 as well
      {1000, 0, 0},             // nothing accepted, nothing earned
  };
  for (const Row& row : rows) {
    PointCounter counter;
    counter.AddChunkPoints(row.ms, row.bytes);
    EXPECT_EQ(counter.points(), row.points) << row.ms << " ms, " << row.bytes << " bytes";
    EXPECT_EQ(counter.lastChange(), row.points) << row.ms << " ms, " << row.bytes << " bytes";
  }
}

TEST(PointCounterTest, PenaltiesBonusesAndClearing) {
  PointCounter counter;
  struct Step {
    const char* label;
    void (*apply)(PointCounter&);
    std::int32_t points, lastChange;
  } steps[] = {
      {"a miss from zero goes below zero", [](PointCounter& c) { c.AddMissPenalty(); }, -100, -100},
      {"a second miss", [](PointCounter& c) { c.AddMissPenalty(); }, -200, -100},
      {"bonus for shi", [](PointCounter& c) { c.AddQuestionBonus(3); }, -185, 15},
      {"bonus for nothing", [](PointCounter& c) { c.AddQuestionBonus(0); }, -185, 0},
      {"clear", [](PointCounter& c) { c.Clear(); }, 0, 0},
  };
  for (const Step& step : steps) {
    step.apply(counter);
    EXPECT_EQ(counter.points(), step.points) << step.label;
    EXPECT_EQ(counter.lastChange(), step.lastChange) << step.label;
  }
}

TEST(PointCounterTest, TheScoreStopsAtTheLimitsOfThirtyTwoBits) {
  PointCounter counter;
  counter.AddChunkPoints(0, 0xFFFFFFFFu);  // 4294967295 × 10000 in one step
  EXPECT_EQ(counter.points(), kMax);
  EXPECT_EQ(counter.lastChange(), kMax);
  counter.AddKeyPoints(0);
  EXPECT_EQ(counter.points(), kMax) << "no wrap to a negative score";
  counter.AddMissPenalty();
  EXPECT_EQ(counter.points(), kMax - 100);

  counter.Clear();
  for (int i = 0; i < 21474837; ++i) counter.AddMissPenalty();  // one past -2147483648
  EXPECT_EQ(counter.points(), kMin);
  EXPECT_EQ(counter.lastChange(), -100);
}

}  // namespace
}  // namespace kanaflow
