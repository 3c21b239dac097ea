// Where a key stands in an ini file: the line that the profile reader takes
// the key's value from, so that a finding can point an editor at it.
#pragma once

#include <string_view>

namespace kanaflow::check {

// The 1-based line of `key` in `section` of `text`, or 0 when it has none.
// Found as the profile reader finds it: names without regard to ASCII case,
// the first section of the name only, the first line of the key in it.
int KeyLine(std::string_view text, std::string_view section, std::string_view key);

// The 1-based line of the first "[section]" header, or 0 when there is none.
int SectionLine(std::string_view text, std::string_view section);

}  // namespace kanaflow::check
