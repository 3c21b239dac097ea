// kanaflow-check: see check_command.h. This file only connects the logic to
// the command line and the standard streams.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/command_line.h"
#include "kanaflow-check/check_command.h"
#include "platform/text_encoding.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

void Write(std::FILE* stream, std::string_view bytes) {
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

#ifdef _WIN32
// A console shows the text right whatever its code page when it gets the
// text as UTF-16; a file or a pipe gets the bytes as they are.
bool WriteToConsole(DWORD which, const std::string& text, bool utf8) {
  const HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return false;
  const std::wstring wide = kanaflow::Cp932ToWide(utf8 ? kanaflow::Utf8ToCp932(text).value_or(text) : text);
  DWORD written = 0;
  return wide.empty() || WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Bytes pass unchanged: no CR added before LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const kanaflow::check::CommandResult result =
      kanaflow::check::RunCheckCommand(kanaflow::tools::Cp932Arguments(argc, argv));
#ifdef _WIN32
  if (!WriteToConsole(STD_OUTPUT_HANDLE, result.output, result.outputIsUtf8)) Write(stdout, result.output);
  if (!WriteToConsole(STD_ERROR_HANDLE, result.errors, false)) Write(stderr, result.errors);
#else
  Write(stdout, result.output);
  // Messages name folders as CP932; the terminal that shows them is UTF-8.
  Write(stderr, kanaflow::tools::SystemText(result.errors));
#endif
  return result.exitCode;
}
