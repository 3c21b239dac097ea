#include "typing/romaji_guide.h"

namespace kanaflow {

RomajiRow RomajiRowFor(int showRomaji, int misses, std::uint32_t longestWaitMs) {
  switch (showRomaji) {
    case 0:
      return RomajiRow::Hidden;
    case 2:
      // Once earned, the help stays up for the rest of the question.
      return misses > 0 || longestWaitMs >= kRomajiGuideWaitMs ? RomajiRow::Rest : RomajiRow::Hidden;
    default:
      return RomajiRow::Whole;
  }
}

}  // namespace kanaflow
