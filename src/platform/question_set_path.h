// The one limit on a question set's path: the scene hands the chosen set to
// the practice screens in 253 bytes (a buffer of 254 with its terminating
// zero), so the library leaves out every set whose path is longer, and the
// checker warns of it. A set read through a cut path would be reported as
// missing its keys.
#pragma once

#include <cstddef>

namespace kanaflow {

inline constexpr std::size_t kQuestionSetPathBytes = 253;

}  // namespace kanaflow
