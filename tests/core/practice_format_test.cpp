#include "typing/number_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace kanaflow {
namespace {

TEST(PracticeFormatTest, NumbersAreWrittenWholeWithTheirSign) {
  struct Row {
    int value;
    const char* text;
  } rows[] = {
      {0, "0"},
      {-1, "-1"},
      {40, "40"},
      {-100, "-100"},
      {999999999, "999999999"},
      {1000000000, "1000000000"},
      {INT_MAX, "2147483647"},
      {INT_MIN, "-2147483648"},
  };
  for (const Row& row : rows) EXPECT_EQ(FormatNumber(row.value), row.text) << row.text;
}

TEST(PracticeFormatTest, RatesWithThreeDecimalsAndTheirUnits) {
  struct Row {
    int typedKeys;
    std::uint32_t ms;
    const char* perSecond;
    const char* perKeystroke;
  } rows[] = {
      {300, 60000, "5.000 字", "0.200 秒"},
      {7, 2000, "3.500 字", "0.286 秒"},       // 0.2857... rounds up
      {1, 3000, "0.333 字", "3.000 秒"},
      {0, 1000, "0.000 字", "--- 秒"},         // nothing typed: no time per keystroke
      {5, 0, "--- 字", "0.000 秒"},            // no time: no keystrokes per second
      {0, 0, "--- 字", "--- 秒"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(KeystrokesPerSecondText(row.typedKeys, row.ms), row.perSecond) << row.typedKeys << " in " << row.ms;
    EXPECT_EQ(TimePerKeystrokeText(row.typedKeys, row.ms), row.perKeystroke) << row.typedKeys << " in " << row.ms;
  }
}

}  // namespace
}  // namespace kanaflow
