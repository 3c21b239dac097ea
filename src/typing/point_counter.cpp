#include "typing/point_counter.h"

#include <algorithm>
#include <limits>

namespace kanaflow {
namespace {

constexpr std::uint32_t kPointsPerSecondKey = 10000;

// The quotient 10000 / divisor, where a divisor of 0 (a key or chunk typed
// within the same millisecond) earns the whole 10000 instead of a crash.
std::uint32_t PerUnit(std::uint32_t divisor) {
  return divisor == 0 ? kPointsPerSecondKey : kPointsPerSecondKey / divisor;
}

std::int32_t Saturate(std::int64_t value) {
  constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(value, lowest, highest));
}

}  // namespace

void PointCounter::Clear() {
  points_ = 0;
  lastChange_ = 0;
}

void PointCounter::AddKeyPoints(std::uint32_t milliseconds) { Add(PerUnit(milliseconds)); }

void PointCounter::AddChunkPoints(std::uint32_t milliseconds, std::uint32_t bytes) {
  // Nothing accepted earns nothing; the divisor ms / 0 would not exist.
  if (bytes == 0) {
    Add(0);
    return;
  }
  Add(static_cast<std::int64_t>(bytes) * PerUnit(milliseconds / bytes));
}

void PointCounter::AddMissPenalty() { Add(-kMissPenalty); }

void PointCounter::AddQuestionBonus(std::size_t romajiLength) {
  const std::uint64_t capped = std::min<std::uint64_t>(romajiLength, std::numeric_limits<std::uint32_t>::max());
  Add(static_cast<std::int64_t>(capped) * 5);
}

// A very long run (or a key held down, repeating within a few milliseconds)
// could carry a 32-bit score past its limit and flip its sign; the score
// stops at the limit instead.
void PointCounter::Add(std::int64_t change) {
  lastChange_ = Saturate(change);
  points_ = Saturate(static_cast<std::int64_t>(points_) + change);
}

}  // namespace kanaflow
