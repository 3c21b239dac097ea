#include "common/command_line.h"

#include "platform/text_encoding.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace kanaflow::tools {

#ifdef _WIN32

std::vector<std::string> Cp932Arguments(int, char**) {
  std::vector<std::string> arguments;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) arguments.push_back(WideToCp932(wide[i]));
    LocalFree(wide);
  }
  return arguments;
}

std::string SystemText(std::string_view cp932) { return std::string(cp932); }

#else

namespace {

// Plain ASCII reads the same in both encodings, and converting costs the
// start-up of a converter, a noticeable part of a run on a small input.
bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> Cp932Arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    arguments.push_back(IsAscii(argument) ? argument : Utf8ToCp932(argument).value_or(argument));
  }
  return arguments;
}

std::string SystemText(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  return Cp932ToUtf8(cp932).value_or(std::string(cp932));
}

#endif

}  // namespace kanaflow::tools
