// kanaflow-romaji: see romaji_printer.h. This file only connects the logic to
// the command line, the files and the standard streams.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kanaflow-romaji/romaji_printer.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using kanaflow::InputBytes;

#ifndef _WIN32
// Plain ASCII needs no conversion, and converting costs the start-up of a
// converter, which is a noticeable part of a run on a small input.
bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}
#endif

// The arguments as CP932, the encoding of the program's paths. Windows hands
// them over as UTF-16; elsewhere they are UTF-8 as the terminal typed them.
std::vector<std::string> Cp932Arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
#ifdef _WIN32
  (void)argc;
  (void)argv;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) arguments.push_back(kanaflow::WideToCp932(wide[i]));
    LocalFree(wide);
  }
#else
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    arguments.push_back(IsAscii(argument) ? argument : kanaflow::Utf8ToCp932(argument).value_or(argument));
  }
#endif
  return arguments;
}

#ifndef _WIN32
// A regular file mapped whole: its pages are already in memory as the
// file's cache, where copying them would first have to fault in as many
// fresh pages. nullopt for anything that cannot be mapped (a pipe, a
// terminal), which is then read the ordinary way.
std::optional<InputBytes> MapFile(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const auto size = static_cast<std::size_t>(info.st_size);
  if (size == 0) return kanaflow::InputFromString(std::string());
  void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  if (mapped == MAP_FAILED) return std::nullopt;
  std::shared_ptr<const void> owner(mapped, [size](const void* address) { munmap(const_cast<void*>(address), size); });
  return InputBytes{std::string_view(static_cast<const char*>(mapped), size), std::move(owner)};
}
#endif

std::optional<InputBytes> ReadInputFile(const std::string& path) {
#ifndef _WIN32
  const std::string native = IsAscii(path) ? path : kanaflow::Cp932ToUtf8(path).value_or(path);
  const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<InputBytes> mapped = MapFile(fd);
  close(fd);
  if (mapped) return mapped;
#endif
  std::optional<std::string> bytes = kanaflow::ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return kanaflow::InputFromString(std::move(*bytes));
}

std::optional<InputBytes> ReadStandardInput() {
#ifndef _WIN32
  if (std::optional<InputBytes> mapped = MapFile(STDIN_FILENO)) return mapped;
#endif
  std::string bytes;
  char chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) bytes.append(chunk, got);
  if (std::ferror(stdin)) return std::nullopt;
  return kanaflow::InputFromString(std::move(bytes));
}

void Write(std::FILE* stream, std::string_view bytes) {
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Bytes pass unchanged: no CR added before LF, no stop at a 0x1A byte.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  kanaflow::PrinterEnvironment environment;
  environment.readFile = ReadInputFile;
  environment.readStandardInput = ReadStandardInput;
  environment.loadSettings = kanaflow::LoadSpellingPreferences;
  environment.writeOutput = [](std::string_view bytes) { Write(stdout, bytes); };

  const kanaflow::PrinterResult result = kanaflow::RunRomajiPrinter(Cp932Arguments(argc, argv), environment);
  Write(stdout, result.output);
  std::fflush(stdout);
#ifdef _WIN32
  Write(stderr, result.errors);
#else
  // Messages name files as CP932; the terminal that shows them is UTF-8.
  Write(stderr, IsAscii(result.errors) ? result.errors : kanaflow::Cp932ToUtf8(result.errors).value_or(result.errors));
#endif
  return result.exitCode;
}
