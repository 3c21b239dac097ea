#include "platform/clock.h"

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#else
#include <chrono>
#endif

namespace kanaflow {

std::uint32_t MillisecondClock() {
#ifdef _WIN32
  return timeGetTime();
#else
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
#endif
}

}  // namespace kanaflow
