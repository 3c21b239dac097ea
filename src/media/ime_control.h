// The input method as a practice screen wants it: closed for romaji typed key
// by key, open in romaji input for kana or kana-kanji conversion in the edit
// box.
#pragma once

#include <windows.h>
#include <imm.h>

namespace kanaflow {

struct ImeSetting {
  bool open;
  DWORD conversion;  // IME_CMODE_* bits
  DWORD sentence;    // IME_SMODE_*
};

// Alphanumeric input, the IME off.
inline constexpr ImeSetting kImeClosed{false, 0, 0};
// Full-width hiragana from romaji, no conversion to kanji.
inline constexpr ImeSetting kImeHiragana{true, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN,
                                         IME_SMODE_NONE};
// Full-width katakana from romaji, no conversion.
inline constexpr ImeSetting kImeKatakana{
    true, IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN, IME_SMODE_NONE};
// Hiragana from romaji with kana-kanji conversion.
inline constexpr ImeSetting kImeConversion{true, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN,
                                           IME_SMODE_PHRASEPREDICT};

// One per practice screen: sets the IME of a window and remembers the modes
// it found there, so that leaving the screen can put them back.
class ImeModeKeeper {
 public:
  // Sets the open status and the conversion and sentence modes of `window`'s
  // input context, saving the modes it had (each call saves again).
  void SetImeMode(HWND window, bool open, DWORD conversion, DWORD sentence);
  void SetImeMode(HWND window, const ImeSetting& setting) {
    SetImeMode(window, setting.open, setting.conversion, setting.sentence);
  }
  // Puts back the saved conversion and sentence modes; the open status stays
  // as it is. Nothing when no modes were saved.
  void RestoreImeMode(HWND window) const;

  bool saved() const { return saved_; }
  DWORD savedConversion() const { return savedConversion_; }
  DWORD savedSentence() const { return savedSentence_; }

 private:
  DWORD savedConversion_ = 0;
  DWORD savedSentence_ = 0;
  bool saved_ = false;
};

}  // namespace kanaflow
