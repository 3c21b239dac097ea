// The katakana and romaji forms of a question's hiragana reading, made once
// when the questions are loaded. The romaji form is the one key sequence that
// the keyboard practice accepts, so every kana gets exactly one spelling,
// chosen by the user's spelling preferences.
//
// Readings are CP932 bytes. Conversion never fails: a character without a
// spelling contributes nothing, and a preference value the rules do not list
// drops the kana it governs. A zero byte ends the reading, as it ends the
// program's reading buffer; a lone lead byte at the end contributes nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/spelling_preferences.h"

namespace kanaflow {

// The most bytes a romaji form holds. When the full spelling of a reading is
// longer (many standalone small kana make it half as long again as the
// reading), the form keeps the whole units that fit and stops at the first
// that does not: it is always a prefix of the full form that ends between
// two units, so the user never has to type half of a kana's spelling.
inline constexpr std::size_t kMaxRomajiBytes = 253;

// The reading with every hiragana replaced by its katakana.
std::string MakeKatakana(std::string_view reading);

// The romaji form of the reading, at most kMaxRomajiBytes long.
std::string MakeRomaji(std::string_view reading, const SpellingPreferences& preferences);

// The same two forms written straight into a caller's buffer, for callers
// that convert many readings into one output; each returns the end of what
// it wrote. The katakana form needs reading.size() bytes of room; the romaji
// form needs kRomajiBufferBytes, as a unit is written before it is known
// whether it fits (bytes after the returned end may have been overwritten).
inline constexpr std::size_t kRomajiBufferBytes = kMaxRomajiBytes + 8;
char* WriteKatakana(std::string_view reading, char* out);
char* WriteRomaji(std::string_view reading, const SpellingPreferences& preferences, char* out);

// Converts the kana unit that starts at `pos`, the first byte of a two-byte
// character: a っ, the kana after it and a small kana that combines with that
// kana. Appends the unit's spelling to `romaji` (no length limit here) and
// returns the position of the last two-byte character the unit used; the
// caller goes on one character after it. A っ that no kana after it takes is
// a unit by itself: then the returned position is the っ's own.
std::size_t AppendKanaRomaji(std::string_view reading, std::size_t pos, std::string& romaji,
                             const SpellingPreferences& preferences);

}  // namespace kanaflow
