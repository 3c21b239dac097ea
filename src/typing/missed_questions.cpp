#include "typing/missed_questions.h"

#include <algorithm>

namespace kanaflow {

void MissedQuestions::Note(int index) {
  if (std::find(indices_.begin(), indices_.end(), index) == indices_.end()) indices_.push_back(index);
}

}  // namespace kanaflow
