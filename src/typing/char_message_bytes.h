// The screens are Unicode windows, so a character message carries UTF-16;
// the basic screen judges Shift_JIS bytes, as a character message of a
// code page 932 window would carry them.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace kanaflow {

class CharMessageBytes {
 public:
  // Stands for a character that code page 932 cannot write: no byte of a
  // romaji form can equal it, so it is one miss.
  static constexpr std::uintptr_t kNoCp932Form = 0x100;

  // What one WM_CHAR gives to judge, in order: the character's one or two
  // bytes, kNoCp932Form, or nothing while the first half of a surrogate pair
  // waits for its second.
  struct Codes {
    std::array<std::uintptr_t, 3> items{};
    std::size_t count = 0;
    const std::uintptr_t* begin() const { return items.data(); }
    const std::uintptr_t* end() const { return items.data() + count; }
  };

  Codes Take(WPARAM character);

 private:
  static void Append(Codes& codes, wchar_t character);
  wchar_t pendingHigh_ = 0;
};

}  // namespace kanaflow
