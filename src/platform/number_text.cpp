#include "platform/number_text.h"

#include <limits>

namespace kanaflow {
namespace {

constexpr bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::int32_t ParseLong(std::string_view text, int base) {
  std::size_t pos = 0;
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (base == 16 && pos + 2 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
      DigitValue(text[pos + 2]) < 16) {
    pos += 2;
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMinMagnitude = kMax + 1;
  std::int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = DigitValue(text[pos]);
    if (digit >= base) break;
    magnitude = magnitude * base + digit;
    if (magnitude > kMinMagnitude) magnitude = kMinMagnitude + 1;  // saturate; clamped below
  }
  if (negative) return magnitude >= kMinMagnitude ? std::numeric_limits<std::int32_t>::min()
                                                  : static_cast<std::int32_t>(-magnitude);
  return magnitude > kMax ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
}

std::string DecimalText(std::int64_t value) { return std::to_string(value); }

}  // namespace kanaflow
