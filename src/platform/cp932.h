// Code page 932 (Shift_JIS) text rules as pure functions over bytes.
//
// Every text of the program is CP932: ASCII and half-width katakana take one
// byte, everything else (kana, kanji, full-width symbols) a lead byte and a
// trail byte. Nothing here asks the operating system, so the same rules hold
// on Windows and on Linux, whatever the system code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kanaflow::cp932 {

constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

constexpr bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Bytes that code page 932 gives no character when they stand alone.
constexpr bool IsUnassignedByte(unsigned char byte) { return byte == 0x80 || byte == 0xA0 || byte >= 0xFD; }

// Length in bytes of the character that starts at `pos`: 2 for a lead byte
// with a byte after it, otherwise 1. A lone lead byte at the end of the text
// counts as one byte, so stepping never runs past the end.
std::size_t CharLength(std::string_view text, std::size_t pos);

// Start of the next character after the one at `pos` (at most text.size()).
std::size_t NextChar(std::string_view text, std::size_t pos);

// Start of the character before `pos`, found by walking from the start of the
// text as a lead byte cannot be told from a trail byte looking backwards.
std::size_t PrevChar(std::string_view text, std::size_t pos);

// The two-byte character at `pos` as a code such as 0x82B5, or 0 when the
// character there is a single byte (or a lone lead byte at the end).
std::uint16_t DoubleByteCodeAt(std::string_view text, std::size_t pos);

// Exact comparison of the two-byte character at `pos` with `code`: hiragana
// differ from katakana, small kana from large ones.
bool IsCharAt(std::string_view text, std::size_t pos, std::uint16_t code);

// The katakana of the same sound for a hiragana code (ぁ..ん, ゝ, ゞ); any other
// code is returned unchanged.
std::uint16_t HiraganaToKatakana(std::uint16_t code);

// The whole text with every hiragana replaced by its katakana.
std::string ToKatakana(std::string_view text);

// The code a character is written with when it comes back from Unicode, for
// a code whose character code page 932 holds twice: NEC's row 13 repeats some
// symbols of row 2, the IBM extensions repeat NEC's Roman numerals and a few
// symbols, and NEC's selection of the IBM extensions (0xED40..0xEEFC)
// repeats all of them. Text typed through the platform always arrives in the
// preferred code. Any other code is returned unchanged.
std::uint16_t PreferredCode(std::uint16_t code);

// The one-byte half-width form of a two-byte character, following the Unicode
// halfwidth and fullwidth forms (a duplicate code has the form of its
// preferred one): full-width ASCII gives ASCII, full-width
// katakana without a voicing mark gives half-width katakana. Characters whose
// half-width form is not a single byte (kanji, hiragana, ガ) have none.
std::optional<unsigned char> HalfWidthForm(std::uint16_t code);

// The longest prefix of `text` of at most `maxBytes` bytes that ends on a
// character boundary: a fixed-size field never holds half a character.
std::string_view CutToFit(std::string_view text, std::size_t maxBytes);

// Whether the text is well-formed CP932: every lead byte followed by a trail
// byte, and no byte that code page 932 leaves unassigned as a single byte.
bool IsWellFormed(std::string_view text);

// ASCII letters compared without regard to case, other bytes exactly; a trail
// byte is never folded, so 0x82 0x61 never equals 0x82 0x41.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace kanaflow::cp932
