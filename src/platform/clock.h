// The millisecond clock that the practice runs time keystrokes with.
#pragma once

#include <cstdint>
#include <functional>

namespace kanaflow {

// Milliseconds since an arbitrary start, wrapping at 2^32 like timeGetTime.
std::uint32_t MillisecondClock();

// A millisecond clock to time a run with; tests pass a fake one.
using Clock = std::function<std::uint32_t()>;

}  // namespace kanaflow
