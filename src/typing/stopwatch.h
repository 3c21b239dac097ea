// The time of a practice run and the way the screens show it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/clock.h"

namespace kanaflow {

class CStopwatch {
 public:
  enum class Status { Cleared = 0, Running = 1, Stopped = 2 };

  explicit CStopwatch(Clock clock = MillisecondClock);

  void Clear();
  void Start();
  // Freezes the elapsed time of a running stopwatch; otherwise changes nothing.
  void Stop();
  // Running: the time since Start; stopped: the time frozen by Stop; cleared: 0.
  std::uint32_t ElapsedMs() const;
  // ElapsedMs in seconds as the screens show it (see SecondsText).
  std::string FormatSeconds() const { return SecondsText(ElapsedMs()); }

  Status status() const { return status_; }

  // `milliseconds` / 1000 with as many significant digits as the milliseconds
  // have decimal digits, written as the Windows runtime's _gcvt writes it:
  // 12345 → "12.345", 12300 → "12.3", 5000 → "5.", 100 → "0.1", 0 → "0.",
  // and below 100 ms in its exponent form: 50 → "5.e-002", 5 → "5e-003".
  static std::string SecondsText(std::uint32_t milliseconds);

 private:
  Clock clock_;
  std::uint32_t startTime_ = 0;
  std::uint32_t stoppedElapsed_ = 0;
  Status status_ = Status::Cleared;
};

}  // namespace kanaflow
