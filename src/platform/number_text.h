// Numbers read from and written to the program's text files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kanaflow {

// The C library's signed long conversion with a 32-bit long, as Windows has
// it: leading white space and a sign allowed, digits up to the first invalid
// character, 0 without digits, clamped to the 32-bit range. Base 16 accepts
// an optional "0x" or "0X" prefix.
std::int32_t ParseLong(std::string_view text, int base);

// The decimal rule of every setting: ParseLong in base 10.
inline std::int32_t ParseDecimal(std::string_view text) { return ParseLong(text, 10); }

// Decimal text of a number, with a minus sign when negative.
std::string DecimalText(std::int64_t value);

}  // namespace kanaflow
