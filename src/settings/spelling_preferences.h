// The user's choice of spelling for the kana that have more than one.
#pragma once

#include <cstdint>

namespace kanaflow {

// Sixteen values in this fixed order; each is the index of the spelling the
// user picked in the setup dialog (see the romaji rules for what each picks).
// A default-constructed value holds the program's defaults.
struct SpellingPreferences {
  std::int32_t si = 1;      // 0 si, 1 shi
  std::int32_t ti = 1;      // 0 ti, 1 chi
  std::int32_t tu = 1;      // 0 tu, 1 tsu
  std::int32_t hu = 1;      // 0 hu, 1 fu
  std::int32_t zi = 1;      // 0 zi, 1 ji
  std::int32_t sya = 1;     // 0 sya, 1 sha
  std::int32_t syu = 1;     // 0 syu, 1 shu
  std::int32_t syo = 1;     // 0 syo, 1 sho
  std::int32_t jya = 2;     // 0 ja, 1 zya, 2 jya
  std::int32_t jyu = 2;     // 0 ju, 1 zyu, 2 jyu
  std::int32_t jye = 2;     // 0 je, 1 zye, 2 jye
  std::int32_t jyo = 2;     // 0 jo, 1 zyo, 2 jyo
  std::int32_t tya = 1;     // 0 tya, 1 cha
  std::int32_t tyu = 1;     // 0 tyu, 1 chu
  std::int32_t tyo = 1;     // 0 tyo, 1 cho
  std::int32_t Komoji = 1;  // small kana: 0 with "l", 1 with "x"
};

}  // namespace kanaflow
