// The order of the question library's folders and set files: the order in
// which the platform's string comparison puts Japanese names under the
// Japanese locale, whatever the user's own locale.
#pragma once

#include <string_view>

namespace kanaflow {

// Compares two CP932 names: negative, 0 or positive. The comparison goes by
// levels, each deciding only where all earlier ones found the names equal:
//
// 1. Sound or letter, over the whole name (a name that is the start of the
//    other comes first): symbols, digits, Latin, Greek and Cyrillic letters, kana
//    in the order of the kana table (hiragana, katakana, small and half-width
//    kana of one sound together; ー takes the vowel of the kana before it, ゝ
//    and 々 repeat it), then kanji in JIS order. NEC's circled and Roman
//    numerals sort with the digits. Hyphens and apostrophes carry no weight
//    here, control characters none at all.
// 2. Voicing: plain before voiced (が) before half-voiced (ぱ); a separate ゛ or
//    ゜ adds to the voicing of the character before it.
// 3. Case and width of letters, digits and symbols: lower case first, the
//    half-width form first.
// 4. Kana: small before large, then ー and ゝ after the kana they stand for,
//    then katakana before hiragana, then half-width before full-width.
// 5. Hyphens and apostrophes: the name without them, or with them later on,
//    comes first.
int CompareLibraryNames(std::string_view a, std::string_view b);

}  // namespace kanaflow
