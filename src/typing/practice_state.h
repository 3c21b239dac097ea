// The states of a practice screen, in the order the run passes through them.
#pragma once

namespace kanaflow {

enum class PracticeState {
  Countdown = 0,  // 3-2-1 before typing starts
  Running = 1,    // the user types
  Results = 2,    // the run is over and its results are shown
  Closing = 3,    // the screen object is being destroyed
};

}  // namespace kanaflow
