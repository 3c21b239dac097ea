// Conversions between code page 932 and Unicode, used only at the edges where
// text meets the operating system or a UTF-8 terminal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kanaflow {

// CP932 bytes as UTF-8; nullopt when the bytes are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// UTF-8 as CP932 bytes; nullopt when the input is not valid UTF-8 or holds a
// character that code page 932 cannot write.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

#ifdef _WIN32
// The two helpers through which text reaches the wide Win32 functions.
std::wstring Cp932ToWide(std::string_view cp932);
std::string WideToCp932(std::wstring_view wide);
// The exact CP932 form, or nullopt when a character has none (no best fit).
std::optional<std::string> WideToCp932Exact(std::wstring_view wide);
#endif

}  // namespace kanaflow
