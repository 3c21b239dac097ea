// What a question's reading and text hold, as the checker needs to know it:
// which characters the romaji form leaves out or cannot be typed, whether
// the romaji form was cut, and what the edit-box modes will ask.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/spelling_preferences.h"

namespace kanaflow::check {

struct ReadingAnalysis {
  std::string silentCharacters;      // characters that add nothing to the romaji form, as written
  std::string untypeableCharacters;  // characters whose romaji cannot be typed (katakana)
  std::size_t fullRomajiBytes = 0;   // the romaji form's length without the program's limit
};

// Walks the reading kana unit by kana unit with the romaji rules themselves.
ReadingAnalysis AnalyseReading(std::string_view reading, const SpellingPreferences& preferences);

// Whether every byte can be typed on the keyboard: printable ASCII.
bool IsTypeable(std::string_view romaji);

// The readings that the hiragana mode asks for through the input method:
// hiragana, with the long-vowel mark, "、" and "。" among them.
bool IsPlainHiragana(std::string_view reading);

// Whether the text holds a kanji (JIS levels 1 and 2, the IBM extension, 々).
bool HoldsKanji(std::string_view text);

// The edit box of the edit-box modes: 605 pixels wide, 253 bytes of text.
inline constexpr int kEditBoxWidth = 605;
inline constexpr std::size_t kEditBoxTextBytes = 253;

// An estimate of the text's width in the edit box, not a measurement: 8
// pixels for a single-byte character and 16 for a double-byte one. The
// checker runs without the platform's fonts, so it cannot measure; full-width
// characters come close to this at the box's font, and narrow Latin letters
// are overestimated, so a warning may come early but hardly ever late.
int EstimatedEditBoxWidth(std::string_view text);

bool FitsEditBox(std::string_view target);

}  // namespace kanaflow::check
