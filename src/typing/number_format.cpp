#include "typing/number_format.h"

#include <cstdio>

#include "platform/number_text.h"

namespace kanaflow {
namespace {

constexpr char kKeystrokeUnit[] = " 字";
constexpr char kSecondUnit[] = " 秒";
// Shown instead of the rate when its divisor is 0, where double division
// would give inf or nan.
constexpr char kNoRate[] = "---";

std::string ThreeDecimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

std::string FormatNumber(int value) { return DecimalText(value); }

std::string KeystrokesPerSecondText(int typedKeys, std::uint32_t milliseconds) {
  if (milliseconds == 0) return std::string(kNoRate) + kKeystrokeUnit;
  return ThreeDecimals(static_cast<double>(typedKeys) / static_cast<double>(milliseconds) * 1000.0) +
         kKeystrokeUnit;
}

std::string TimePerKeystrokeText(int typedKeys, std::uint32_t milliseconds) {
  if (typedKeys == 0) return std::string(kNoRate) + kSecondUnit;
  return ThreeDecimals(static_cast<double>(milliseconds) / 1000.0 / static_cast<double>(typedKeys)) + kSecondUnit;
}

}  // namespace kanaflow
