// The questions of a run that had a miss, in the order they were asked: the
// run that practises just them.
#pragma once

#include <vector>

namespace kanaflow {

class MissedQuestions {
 public:
  // A miss on question `index`; a question counts once however often missed.
  void Note(int index);
  const std::vector<int>& indices() const { return indices_; }
  bool empty() const { return indices_.empty(); }

 private:
  std::vector<int> indices_;
};

// The record's set path of a run of the missed questions of `setPath`: its
// progress is its own, apart from the whole set's.
inline constexpr char kMissedRunPrefix[] = "missed:";

}  // namespace kanaflow
