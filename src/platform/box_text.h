// Message box texts made to fit the screen. A box grows as wide as its
// longest line, so a long path pushes the error number and the rest off the
// screen; these cut long lines in the middle, where a path's least telling
// part is, and never split a double-byte character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kanaflow {

// Widths are in half-width columns, which in code page 932 are bytes: one
// per ASCII or half-width katakana character, two per full-width one.
// The line as it is when it fits `columns`; otherwise its start and its end
// around "…", at most `columns` wide (never less than "…" itself).
std::string ShortenInMiddle(std::string_view line, std::size_t columns);

// Every line of the text (lines end with "\n") shortened to `columns`; when
// there are more than `maxLines` lines, the lines in the middle give way to
// one "…" line, so the first lines (the program and the error number) and
// the last ones stay.
std::string FitLines(std::string_view text, std::size_t columns, std::size_t maxLines);

}  // namespace kanaflow
