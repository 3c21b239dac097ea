// The two forms of a check report: lines for people ("file:line: error:
// text") and JSON for editors and CI.
#pragma once

#include <string>
#include <string_view>

#include "kanaflow-check/finding.h"

namespace kanaflow::check {

// A path as the program names it ("./data/a.ini"), as the user reaches it
// from where the checker was started: "data/a.ini" for the folder ".",
// "sample/data/a.ini" for "sample".
std::string DisplayPath(std::string_view programPath, std::string_view folder);

// CP932 text as UTF-8; a character that is not valid CP932 becomes U+FFFD.
std::string ToUtf8(std::string_view cp932);

// One line per finding, each set's summary after its findings, and a last
// line with the counts. CP932, or UTF-8 when `utf8` is set.
std::string FormatText(const CheckReport& report, std::string_view folder, bool utf8);

// The report as one JSON object, always UTF-8.
std::string FormatJson(const CheckReport& report, std::string_view folder);

}  // namespace kanaflow::check
