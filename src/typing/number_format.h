// Numbers and rates as the practice screens show them.
#pragma once

#include <cstdint>
#include <string>

namespace kanaflow {

// Decimal text with a minus sign when negative, whole for every int.
std::string FormatNumber(int value);

// typedKeys ÷ ms × 1000 with three decimals and the unit: "5.000 字".
// "--- 字" when no time has passed.
std::string KeystrokesPerSecondText(int typedKeys, std::uint32_t milliseconds);

// ms ÷ 1000 ÷ typedKeys with three decimals and the unit: "0.200 秒".
// "--- 秒" when nothing was typed.
std::string TimePerKeystrokeText(int typedKeys, std::uint32_t milliseconds);

}  // namespace kanaflow
