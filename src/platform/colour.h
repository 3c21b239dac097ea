// Colours as the program's files and GDI both hold them.
#pragma once

#include <cstdint>

namespace kanaflow {

// A COLORREF value, 0x00BBGGRR: red in the low byte, so "0x0000FF" is red.
using Colour = std::int32_t;

}  // namespace kanaflow
