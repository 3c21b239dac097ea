// kanaflow-romaji: see romaji_printer.h. This file only connects the logic to
// the command line, the files and the standard streams.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/command_line.h"
#include "kanaflow-romaji/romaji_printer.h"
#include "platform/file_system.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

using kanaflow::InputReader;

#ifndef _WIN32
// An input file read straight into the printer's buffer. A mapping of the
// whole file would save the copy, but every page of it is a fresh page to
// this process, and touching a fresh page costs more than copying it.
class FileReader {
 public:
  explicit FileReader(std::string path) : path_(std::move(path)) {}
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader() { Close(); }

  // Opens the file on the first call, so that a run over many files holds
  // only the one it reads, and closes it at its end.
  std::optional<std::size_t> Read(char* buffer, std::size_t size) {
    if (fd_ < 0) fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return std::nullopt;
    const std::optional<std::size_t> got = ReadSome(fd_, buffer, size);
    if (got == std::size_t{0}) Close();
    return got;
  }

  static std::optional<std::size_t> ReadSome(int fd, char* buffer, std::size_t size) {
    while (true) {
      const ssize_t got = read(fd, buffer, size);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) return std::nullopt;
    }
  }

 private:
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

  std::string path_;
  int fd_ = -1;
};

// Checked at once, so that a wrong name stops the run before any output;
// read when its turn comes.
std::optional<InputReader> OpenInputFile(const std::string& path) {
  std::string native = kanaflow::tools::SystemText(path);
  const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  const bool readable = fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
  close(fd);
  if (!readable) return std::nullopt;
  // Shared, as a reader is copied; the last copy closes the file.
  auto reader = std::make_shared<FileReader>(std::move(native));
  return [reader](char* buffer, std::size_t size) { return reader->Read(buffer, size); };
}

InputReader StandardInput() {
  return [](char* buffer, std::size_t size) { return FileReader::ReadSome(STDIN_FILENO, buffer, size); };
}
#else
std::optional<InputReader> OpenInputFile(const std::string& path) {
  std::optional<std::string> bytes = kanaflow::ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return kanaflow::ReaderFromString(std::move(*bytes));
}

InputReader StandardInput() {
  return [](char* buffer, std::size_t size) -> std::optional<std::size_t> {
    const std::size_t got = std::fread(buffer, 1, size, stdin);
    if (got == 0 && std::ferror(stdin)) return std::nullopt;
    return got;
  };
}
#endif

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
  // Output comes in large pieces of whole lines: each goes out in one write
  // rather than first filling the stream's small buffer.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  kanaflow::PrinterEnvironment environment;
  environment.openFile = OpenInputFile;
  environment.standardInput = StandardInput;
  environment.loadSettings = kanaflow::LoadSpellingPreferences;
  environment.writeOutput = [](std::string_view bytes) { Write(stdout, bytes); };

  const kanaflow::PrinterResult result =
      kanaflow::RunRomajiPrinter(kanaflow::tools::Cp932Arguments(argc, argv), environment);
  Write(stdout, result.output);
  std::fflush(stdout);
  // Messages name files as CP932; the terminal that shows them may not.
  Write(stderr, kanaflow::tools::SystemText(result.errors));
  return result.exitCode;
}
