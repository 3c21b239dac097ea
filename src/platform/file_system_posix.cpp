#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/file_step_gate.h"
#include "platform/cp932.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

// Paths in question sets are written for Windows, where "\" separates
// folders as "/" does; here only "/" does. A "\" that is the trail byte of a
// kana (ソ is 0x83 0x5C) is part of the name and stays.
std::string NativePath(const std::string& path) {
  std::string separated = path;
  for (std::size_t pos = 0; pos < separated.size(); pos = cp932::NextChar(separated, pos)) {
    if (cp932::CharLength(separated, pos) == 1 && separated[pos] == '\\') separated[pos] = '/';
  }
  return Cp932ToUtf8(separated).value_or(separated);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t chunk = bytes.size();
    if (!internal::PassFileStep(internal::FileStep::Write, chunk)) return false;
    const ssize_t written = write(fd, bytes.data(), chunk);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The file a save writes: the target of a symbolic link, so the link keeps
// pointing where it did. A link to nowhere is written as it is (it then
// becomes a plain file), as is a name that does not exist yet.
std::string SaveTarget(const std::string& native) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(native.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : native;
}

// A file that no one may write (the read-only mark of Windows) is refused
// even when this process could write it anyway, as root can.
bool IsReadOnly(const struct stat& info, const std::string& target) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.c_str(), W_OK) != 0;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  return ReadFileStart(path, std::string().max_size());
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes) {
  // Not blocking: opening a pipe or a serial port could wait for a writer or
  // a carrier. A regular file reads the same either way.
  FileDescriptor file(open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (file.get() < 0) return std::nullopt;
  struct stat info {};
  if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string bytes;
  if (info.st_size > 0) bytes.reserve(std::min(static_cast<std::size_t>(info.st_size), maxBytes));
  char chunk[65536];
  while (bytes.size() < maxBytes) {
    const ssize_t got = read(file.get(), chunk, std::min(sizeof chunk, maxBytes - bytes.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  return bytes;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  using internal::FileStep;
  using internal::PassFileStep;
  const std::string target = SaveTarget(NativePath(path));
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && IsReadOnly(old, target)) return false;
  std::string temporary = target + ".XXXXXX";
  FileDescriptor file(PassFileStep(FileStep::CreateTemporary) ? mkstemp(temporary.data()) : -1);
  if (file.get() < 0) return false;
  // The new file takes the old one's permissions; mkstemp made it private.
  const bool modeKept = !exists || fchmod(file.get(), old.st_mode & 07777) == 0;
  const bool written =
      modeKept && WriteAll(file.get(), bytes) && PassFileStep(FileStep::Flush) && fsync(file.get()) == 0;
  const bool closeAllowed = PassFileStep(FileStep::Close);
  const bool closed = close(file.release()) == 0 && closeAllowed;
  if (!written || !closed || !PassFileStep(FileStep::Replace) || rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  const std::string native = NativePath(folder);
  std::unique_ptr<DIR, DirCloser> dir(opendir(native.c_str()));
  if (!dir) return entries;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    auto cp932Name = Utf8ToCp932(name);
    if (!cp932Name) continue;
    struct stat info {};
    const bool found = stat((native + "/" + name).c_str(), &info) == 0;
    entries.push_back({std::move(*cp932Name), found && S_ISDIR(info.st_mode), found && S_ISREG(info.st_mode)});
  }
  return entries;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool LeadsToDevice(const std::string& path) {
  struct stat info {};
  return stat(NativePath(path).c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

std::string CurrentDirectory() {
  std::string buffer(4096, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return Utf8ToCp932(buffer).value_or(buffer);
}

bool SetCurrentDirectoryTo(const std::string& path) { return chdir(NativePath(path).c_str()) == 0; }

}  // namespace kanaflow
