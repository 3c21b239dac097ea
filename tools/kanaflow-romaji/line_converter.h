// The romaji and katakana forms of a whole file of readings, one per line,
// for tools that convert many of them at once (the romaji printer). A line's
// forms are those that WriteRomaji and WriteKatakana (romaji_rules.h) give
// for the line without its LF or CR LF; they are made in one walk over the
// text, which finds each line's end as it goes and looks at each character
// once, with the tables resolved once for the converter's preferences.
#pragma once

#include <cstddef>
#include <memory>

#include "romaji/romaji_rules.h"
#include "settings/spelling_preferences.h"

namespace kanaflow {

// A plain line, the only kind the converter takes: well-formed CP932, no zero
// byte, at most kMaxPlainLineBytes before its LF or CR LF, and a romaji form
// of at most kMaxRomajiBytes. Any other line is the caller's to convert with
// the functions of romaji_rules.h.
inline constexpr std::size_t kMaxPlainLineBytes = 253;
// The walk reads ahead of the character it converts without testing for the
// end of the text, so it takes a line only when more than this many bytes
// follow the start of its line break.
inline constexpr std::size_t kLineLookahead = 32;
// One call takes lines from at most this many bytes of text, and at most
// this many lines.
inline constexpr std::size_t kLineBatchBytes = 2048;
inline constexpr std::size_t kLineBatchLines = 128;
// The room the forms of one call need: every line it takes, and the whole
// units written past the last of them.
inline constexpr std::size_t kLineBatchRomajiBytes = 2 * kLineBatchBytes + 16;
inline constexpr std::size_t kLineBatchKatakanaBytes = kLineBatchBytes + 16;

class CLineConverter {
 public:
  explicit CLineConverter(const SpellingPreferences& preferences);
  ~CLineConverter();
  CLineConverter(const CLineConverter&) = delete;
  CLineConverter& operator=(const CLineConverter&) = delete;

  // Where a converted line's reading (its line break not included) and its
  // two forms end. Each line's forms follow those of the line before.
  struct ConvertedLine {
    const char* readingEnd;
    const char* romajiEnd;
    const char* katakanaEnd;
  };

  // Converts the plain lines that open `text`, up to the first line that is
  // not plain, into `romaji` and `katakana` (kLineBatchRomajiBytes and
  // kLineBatchKatakanaBytes of room) and returns how many it took, each
  // described in `lines` (kLineBatchLines of room). 0 when the first line is
  // not plain.
  [[nodiscard]] std::size_t ConvertPlainLines(const char* text, const char* textEnd, char* romaji, char* katakana,
                                              ConvertedLine* lines) const;

 private:
  struct Tables;
  std::unique_ptr<Tables> tables_;
};

}  // namespace kanaflow
