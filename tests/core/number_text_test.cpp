#include "platform/number_text.h"

#include <gtest/gtest.h>

namespace kanaflow {
namespace {

TEST(NumberTextTest, ReadsLikeTheRuntimeLongConversion) {
  struct Row {
    const char* text;
    int base;
    std::int32_t expected;
  } rows[] = {
      {"12", 10, 12},           {"  -7", 10, -7},         {"+3x", 10, 3},          {"abc", 10, 0},
      {"", 10, 0},              {"1 2", 10, 1},           {"2147483647", 10, 2147483647},
      {"2147483648", 10, 2147483647}, {"-2147483648", 10, -2147483647 - 1},
      {"-99999999999", 10, -2147483647 - 1},              {"0x80", 16, 0x80},      {"0XfF", 16, 255},
      {"0x", 16, 0},            {"0xG", 16, 0},           {"ff", 16, 255},         {"0xFFFFFFFF", 16, 2147483647},
  };
  for (const Row& row : rows) EXPECT_EQ(ParseLong(row.text, row.base), row.expected) << row.text;
}

TEST(NumberTextTest, WritesDecimalWithItsSign) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(-1), "-1");
  EXPECT_EQ(DecimalText(2147483647), "2147483647");
}

}  // namespace
}  // namespace kanaflow
