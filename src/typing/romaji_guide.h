// How much of the romaji row the basic screen shows. A learner who always
// reads the romaji never learns to spell from the kana, so the row can be
// hidden, or held back until the learner shows that help is needed.
#pragma once

#include <cstdint>

namespace kanaflow {

enum class RomajiRow {
  Hidden,  // only the label
  Whole,   // the whole romaji form, as always
  Rest,    // what is left to type, in its place in the row
};

// The wait after which a held-back row comes up by itself.
inline constexpr std::uint32_t kRomajiGuideWaitMs = 2000;

// The row for the setting ShowRomaji (0 hidden, 2 held back, any other value
// the whole row) on a question with `misses` so far and a longest wait of
// `longestWaitMs` for a key.
RomajiRow RomajiRowFor(int showRomaji, int misses, std::uint32_t longestWaitMs);

}  // namespace kanaflow
