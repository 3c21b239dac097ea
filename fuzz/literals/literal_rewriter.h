// Rewrites a UTF-8 C++ source so that a compiler that writes string literals
// only as UTF-8 (clang) produces the bytes GCC produces with
// -fexec-charset=CP932: every narrow string or character literal that holds
// non-ASCII text gets that text as CP932 bytes, written as octal escapes.
//
// Octal escapes, because one never takes more than three digits: a digit
// after it stays a character of its own ("あ1" is "\202\2401"), where a hex
// escape would swallow it. Literals with an encoding prefix (L, u, U, u8)
// keep their text, as GCC keeps it; a raw literal that needs rewriting
// becomes an ordinary one. Comments, #include lines and ASCII literals are
// copied unchanged, so line numbers and diagnostics stay those of the
// original file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kanaflow::literals {

// The execution-charset bytes of a run of UTF-8 text; nullopt when the text
// cannot be written in that charset.
using CharsetConverter = std::function<std::optional<std::string>(std::string_view utf8)>;

struct RewriteResult {
  std::string text;   // the rewritten source, when `error` is empty
  std::string error;  // "LINE: what" could not be rewritten; empty on success
};

RewriteResult RewriteNarrowLiterals(std::string_view source, const CharsetConverter& toCharset);

// UTF-8 to CP932 through iconv, the converter GCC itself uses.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

}  // namespace kanaflow::literals
