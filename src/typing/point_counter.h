// The points of one practice run: what each right key, accepted chunk, miss
// and completed question is worth.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kanaflow {

class PointCounter {
 public:
  void Clear();
  // A right key `milliseconds` after the previous one: 10000 / ms.
  void AddKeyPoints(std::uint32_t milliseconds);
  // `bytes` accepted at once in the edit box: bytes × (10000 / (ms / bytes)).
  void AddChunkPoints(std::uint32_t milliseconds, std::uint32_t bytes);
  void AddMissPenalty();
  // A completed question: 5 per byte of its romaji.
  void AddQuestionBonus(std::size_t romajiLength);

  std::int32_t points() const { return points_; }
  // The most recent change, shown beside the points.
  std::int32_t lastChange() const { return lastChange_; }

  static constexpr std::int32_t kMissPenalty = 100;

 private:
  void Add(std::int64_t change);

  std::int32_t points_ = 0;
  std::int32_t lastChange_ = 0;
};

}  // namespace kanaflow
