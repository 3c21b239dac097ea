#include "platform/cp932.h"

#include <array>

namespace kanaflow::cp932 {

std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos]))) return 2;
  return 1;
}

std::size_t NextChar(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return text.size();
  return pos + CharLength(text, pos);
}

std::size_t PrevChar(std::string_view text, std::size_t pos) {
  std::size_t previous = 0;
  for (std::size_t at = 0; at < pos && at < text.size(); at = NextChar(text, at)) previous = at;
  return previous;
}

std::uint16_t DoubleByteCodeAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size() || CharLength(text, pos) != 2) return 0;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(text[pos]) << 8 |
                                    static_cast<unsigned char>(text[pos + 1]));
}

bool IsCharAt(std::string_view text, std::size_t pos, std::uint16_t code) {
  return code != 0 && DoubleByteCodeAt(text, pos) == code;
}

std::uint16_t HiraganaToKatakana(std::uint16_t code) {
  // ぁ..み line up with ァ..ミ; katakana then skip 0x837F (no trail byte 0x7F),
  // so む..ん land one further on.
  if (code >= 0x829F && code <= 0x82DD) return static_cast<std::uint16_t>(code - 0x829F + 0x8340);
  if (code >= 0x82DE && code <= 0x82F1) return static_cast<std::uint16_t>(code - 0x82DE + 0x8380);
  if (code == 0x8154 || code == 0x8155) return static_cast<std::uint16_t>(code - 2);  // ゝゞ -> ヽヾ
  return code;
}

std::string ToKatakana(std::string_view text) {
  std::string out(text);
  for (std::size_t pos = 0; pos < out.size(); pos = NextChar(out, pos)) {
    const std::uint16_t code = DoubleByteCodeAt(out, pos);
    if (code == 0) continue;
    const std::uint16_t katakana = HiraganaToKatakana(code);
    out[pos] = static_cast<char>(katakana >> 8);
    out[pos + 1] = static_cast<char>(katakana & 0xFF);
  }
  return out;
}

namespace {

struct HalfWidthPair {
  std::uint16_t fullWidth;
  unsigned char halfWidth;
};

// Full-width forms of the ASCII characters, in the order of U+FF01..U+FF5E.
// ＂ and ＇ exist in code page 932 only as IBM extensions.
constexpr HalfWidthPair kFullWidthAscii[] = {
    {0x8149, '!'},  {0xFA57, '"'},  {0x8194, '#'}, {0x8190, '$'}, {0x8193, '%'}, {0x8195, '&'},
    {0xFA56, '\''}, {0x8169, '('},  {0x816A, ')'}, {0x8196, '*'}, {0x817B, '+'}, {0x8143, ','},
    {0x817C, '-'},  {0x8144, '.'},  {0x815E, '/'}, {0x8146, ':'}, {0x8147, ';'}, {0x8183, '<'},
    {0x8181, '='},  {0x8184, '>'},  {0x8148, '?'}, {0x8197, '@'}, {0x816D, '['}, {0x815F, '\\'},
    {0x816E, ']'},  {0x814F, '^'},  {0x8151, '_'}, {0x814D, '`'}, {0x816F, '{'}, {0x8162, '|'},
    {0x8170, '}'},  {0x8160, '~'},  {0x8140, ' '},
};

// Katakana and the Japanese punctuation that have a one-byte half-width form.
// ァ..ヶ that are missing (ヮ, ヰ, ヱ, ヵ, ヶ and every kana with a voicing mark)
// have none.
constexpr HalfWidthPair kHalfWidthKana[] = {
    {0x8142, 0xA1}, {0x8175, 0xA2}, {0x8176, 0xA3}, {0x8141, 0xA4}, {0x8145, 0xA5},
    {0x8392, 0xA6}, {0x8340, 0xA7}, {0x8342, 0xA8}, {0x8344, 0xA9}, {0x8346, 0xAA},
    {0x8348, 0xAB}, {0x8383, 0xAC}, {0x8385, 0xAD}, {0x8387, 0xAE}, {0x8362, 0xAF},
    {0x815B, 0xB0}, {0x8341, 0xB1}, {0x8343, 0xB2}, {0x8345, 0xB3}, {0x8347, 0xB4},
    {0x8349, 0xB5}, {0x834A, 0xB6}, {0x834C, 0xB7}, {0x834E, 0xB8}, {0x8350, 0xB9},
    {0x8352, 0xBA}, {0x8354, 0xBB}, {0x8356, 0xBC}, {0x8358, 0xBD}, {0x835A, 0xBE},
    {0x835C, 0xBF}, {0x835E, 0xC0}, {0x8360, 0xC1}, {0x8363, 0xC2}, {0x8365, 0xC3},
    {0x8367, 0xC4}, {0x8369, 0xC5}, {0x836A, 0xC6}, {0x836B, 0xC7}, {0x836C, 0xC8},
    {0x836D, 0xC9}, {0x836E, 0xCA}, {0x8371, 0xCB}, {0x8374, 0xCC}, {0x8377, 0xCD},
    {0x837A, 0xCE}, {0x837D, 0xCF}, {0x837E, 0xD0}, {0x8380, 0xD1}, {0x8381, 0xD2},
    {0x8382, 0xD3}, {0x8384, 0xD4}, {0x8386, 0xD5}, {0x8388, 0xD6}, {0x8389, 0xD7},
    {0x838A, 0xD8}, {0x838B, 0xD9}, {0x838C, 0xDA}, {0x838D, 0xDB}, {0x838F, 0xDC},
    {0x8393, 0xDD}, {0x814A, 0xDE}, {0x814B, 0xDF},
};

// Position of a two-byte code among all codes, counting 188 trail bytes per
// lead byte (0x40..0xFC without 0x7F), so that runs of codes that cross a
// lead byte can be shifted as one.
constexpr int CodeIndex(std::uint16_t code) {
  const int trail = code & 0xFF;
  return (code >> 8) * 188 + trail - 0x40 - (trail > 0x7F ? 1 : 0);
}

constexpr std::uint16_t CodeAtIndex(int index) {
  const int trail = index % 188 + 0x40;
  return static_cast<std::uint16_t>((index / 188) << 8 | (trail >= 0x7F ? trail + 1 : trail));
}

struct CodePair {
  std::uint16_t duplicate;
  std::uint16_t preferred;
};

// Single duplicates; the runs are handled in PreferredCode.
constexpr CodePair kDuplicates[] = {
    {0x8790, 0x81E0}, {0x8791, 0x81DF}, {0x8792, 0x81E7}, {0x8795, 0x81E3}, {0x8796, 0x81DB},  // ≒≡∫√⊥
    {0x8797, 0x81DA}, {0x879A, 0x81E6}, {0x879B, 0x81BF}, {0x879C, 0x81BE},                    // ∠∵∩∪
    {0xFA54, 0x81CA}, {0xFA58, 0x878A}, {0xFA59, 0x8782}, {0xFA5A, 0x8784}, {0xFA5B, 0x81E6},  // ￢㈱№℡∵
    {0xEEF9, 0x81CA}, {0xEEFA, 0xFA55}, {0xEEFB, 0xFA56}, {0xEEFC, 0xFA57},                    // ￢￤＇＂
};

}  // namespace

std::uint16_t PreferredCode(std::uint16_t code) {
  // NEC's selection lists the IBM kanji 0xFA5C..0xFC4B in the same order.
  if (code >= 0xED40 && code <= 0xEEEC) return CodeAtIndex(CodeIndex(code) - CodeIndex(0xED40) + CodeIndex(0xFA5C));
  if (code >= 0xEEEF && code <= 0xEEF8) return static_cast<std::uint16_t>(code - 0xEEEF + 0xFA40);  // ⅰ..ⅹ
  if (code >= 0xFA4A && code <= 0xFA53) return static_cast<std::uint16_t>(code - 0xFA4A + 0x8754);  // Ⅰ..Ⅹ
  for (const CodePair& pair : kDuplicates) {
    if (pair.duplicate == code) return pair.preferred;
  }
  return code;
}

std::optional<unsigned char> HalfWidthForm(std::uint16_t code) {
  code = PreferredCode(code);
  if (code >= 0x824F && code <= 0x8258) return static_cast<unsigned char>('0' + code - 0x824F);
  if (code >= 0x8260 && code <= 0x8279) return static_cast<unsigned char>('A' + code - 0x8260);
  if (code >= 0x8281 && code <= 0x829A) return static_cast<unsigned char>('a' + code - 0x8281);
  for (const HalfWidthPair& pair : kFullWidthAscii) {
    if (pair.fullWidth == code) return pair.halfWidth;
  }
  for (const HalfWidthPair& pair : kHalfWidthKana) {
    if (pair.fullWidth == code) return pair.halfWidth;
  }
  return std::nullopt;
}

std::string_view CutToFit(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = NextChar(text, end);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

bool IsWellFormed(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (IsLeadByte(byte)) {
      if (pos + 1 >= text.size() || !IsTrailByte(static_cast<unsigned char>(text[pos + 1]))) return false;
      ++pos;
    } else if (IsUnassignedByte(byte)) {
      return false;
    }
  }
  return true;
}

namespace {
constexpr char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t pos = 0; pos < a.size();) {
    const std::size_t length = CharLength(a, pos);
    if (length == 2) {
      if (a.compare(pos, 2, b.substr(pos, 2)) != 0) return false;
    } else if (FoldAscii(a[pos]) != FoldAscii(b[pos])) {
      return false;
    }
    pos += length;
  }
  return true;
}

}  // namespace kanaflow::cp932
