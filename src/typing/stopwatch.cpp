#include "typing/stopwatch.h"

#include <utility>

namespace kanaflow {

CStopwatch::CStopwatch(Clock clock) : clock_(std::move(clock)) {}

void CStopwatch::Clear() {
  status_ = Status::Cleared;
  startTime_ = 0;
  stoppedElapsed_ = 0;
}

void CStopwatch::Start() {
  status_ = Status::Running;
  startTime_ = clock_();
}

void CStopwatch::Stop() {
  // Stopping a cleared stopwatch would freeze the clock's raw value as if it
  // were a time; stopping twice would move a time the results already show.
  if (status_ != Status::Running) return;
  stoppedElapsed_ = clock_() - startTime_;
  status_ = Status::Stopped;
}

std::uint32_t CStopwatch::ElapsedMs() const {
  switch (status_) {
    case Status::Running:
      // Unsigned subtraction stays right when the clock wraps during the run.
      return clock_() - startTime_;
    case Status::Stopped:
      return stoppedElapsed_;
    case Status::Cleared:
      break;
  }
  return 0;
}

// _gcvt(ms / 1000.0, d) with d the digit count of ms: the value's decimal
// exponent is d - 4, so from 100 ms on the runtime picks its fixed form with
// exactly three decimals, and below 100 ms its exponent form with d - 1
// decimals and a three-digit exponent. Either way the digits are those of ms
// itself (the double is far closer to them than half a unit of the last
// place), so they are written from the integer, and then, as _gcvt does,
// trailing zeros after a decimal point are dropped while the point stays.
std::string CStopwatch::SecondsText(std::uint32_t milliseconds) {
  const std::string digits = std::to_string(milliseconds);
  std::string text;
  std::string exponent;
  if (milliseconds == 0) {
    // Zero has no exponent of its own; _gcvt writes it in fixed form, one decimal.
    text = "0.0";
  } else if (milliseconds >= 100) {
    const std::size_t point = digits.size() - 3;
    text = (point == 0 ? "0" : digits.substr(0, point)) + "." + digits.substr(point);
  } else {
    // One digit before the point; with no decimals the runtime writes no point.
    text = digits.substr(0, 1);
    if (digits.size() > 1) text += "." + digits.substr(1);
    exponent = digits.size() == 1 ? "e-003" : "e-002";
  }
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
  }
  return text + exponent;
}

}  // namespace kanaflow
