#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
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

// The name of one of this process's own files beside the target: the new
// copy (".new") and the second name that keeps the old file (".keep"),
// followed by the process number.
std::string SaveName(const std::string& target, const char* kind) {
  return target + kind + std::to_string(static_cast<long long>(getpid()));
}

// The number of the process that made `name`, when it is the name of a file
// that SaveName gives for `base`: the base, ".new" or ".keep", and a process
// number as written, without leading zeros.
std::optional<unsigned long long> SaveNameProcess(std::string_view name, std::string_view base) {
  if (name.substr(0, base.size()) != base) return std::nullopt;
  name.remove_prefix(base.size());
  for (const std::string_view kind : {std::string_view(".new"), std::string_view(".keep")}) {
    if (name.substr(0, kind.size()) != kind) continue;
    const std::string_view digits = name.substr(kind.size());
    if (digits.empty() || digits.size() > 10 || digits.front() == '0' ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
    return std::stoull(std::string(digits));
  }
  return std::nullopt;
}

// Removes what earlier saves of `target` left behind: the regular files that
// SaveName named for it, made by processes that no longer run (or by an
// earlier process of this one's number). No other file is touched.
void RemoveSaveLeftovers(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return;
  std::vector<std::string> leftovers;
  while (const dirent* entry = readdir(dir.get())) {
    const auto process = SaveNameProcess(entry->d_name, base);
    if (!process) continue;
    const auto pid = static_cast<pid_t>(*process);
    const bool gone = static_cast<unsigned long long>(pid) != *process || pid == getpid() ||
                      (kill(pid, 0) != 0 && errno == ESRCH);
    struct stat info {};
    const std::string name = folder + entry->d_name;
    if (gone && lstat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode)) leftovers.push_back(name);
  }
  for (const std::string& name : leftovers) unlink(name.c_str());
}

// A file made for this save alone. One of the same name is from an earlier
// process of this number, which can no longer be using it.
int CreateNew(const std::string& name) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  int fd = open(name.c_str(), flags, 0600);
  if (fd < 0 && errno == EEXIST && unlink(name.c_str()) == 0) fd = open(name.c_str(), flags, 0600);
  return fd;
}

// A second name for `target`, as CreateNew has it.
bool LinkNew(const std::string& target, const std::string& name) {
  if (link(target.c_str(), name.c_str()) == 0) return true;
  return errno == EEXIST && unlink(name.c_str()) == 0 && link(target.c_str(), name.c_str()) == 0;
}

bool WriteAndFlush(int fd, std::string_view bytes) {
  return WriteAll(fd, bytes) && internal::PassFileStep(internal::FileStep::Flush) && fsync(fd) == 0;
}

// Closes the file, even when the gate fails the step.
bool CloseWritten(FileDescriptor& file) {
  const bool allowed = internal::PassFileStep(internal::FileStep::Close);
  return close(file.release()) == 0 && allowed;
}

// The kept old file written over with `bytes`, and given its name back: the
// new copy that stood in its place goes. When a step fails, the kept name
// goes instead and the new copy stays.
void RestoreKeptFile(const std::string& kept, const std::string& target, std::string_view bytes) {
  using internal::FileStep;
  using internal::PassFileStep;
  FileDescriptor file(PassFileStep(FileStep::Reopen) ? open(kept.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW)
                                                     : -1);
  const bool written = file.get() >= 0 && WriteAndFlush(file.get(), bytes);
  const bool closed = file.get() >= 0 && CloseWritten(file);
  if (written && closed && PassFileStep(FileStep::Restore) && rename(kept.c_str(), target.c_str()) == 0) return;
  unlink(kept.c_str());
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
  RemoveSaveLeftovers(target);
  const std::string temporary = SaveName(target, ".new");
  FileDescriptor file(PassFileStep(FileStep::CreateTemporary) ? CreateNew(temporary) : -1);
  if (file.get() < 0) return false;
  // Should the new copy stay, it has the old file's owner where this process
  // may give it, and its permissions (after the owner: a new owner clears
  // the set-user bits).
  if (exists) (void)!fchown(file.get(), old.st_uid, old.st_gid);
  const bool modeKept = !exists || fchmod(file.get(), old.st_mode & 07777) == 0;
  const bool written = modeKept && WriteAndFlush(file.get(), bytes);
  if (!CloseWritten(file) || !written) {
    unlink(temporary.c_str());
    return false;
  }
  const std::string kept = SaveName(target, ".keep");
  const bool keeping = exists && PassFileStep(FileStep::Link) && LinkNew(target, kept);
  if (!PassFileStep(FileStep::Replace) || rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    if (keeping) unlink(kept.c_str());
    return false;
  }
  if (keeping) RestoreKeptFile(kept, target, bytes);
  return true;
}

namespace {

// The folder's entries whose names code page 932 can write (named in CP932),
// or those whose names it cannot (named in UTF-8). A name can be written
// when its CP932 form reads back as the same name: iconv writes 〜 U+301C as
// 0x8160, which reads back as ～ U+FF5E and opens no file.
std::vector<FolderEntry> EntriesOf(const std::string& folder, bool writable) {
  std::vector<FolderEntry> entries;
  const std::string native = NativePath(folder);
  std::unique_ptr<DIR, DirCloser> dir(opendir(native.c_str()));
  if (!dir) return entries;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::optional<std::string> cp932Name = Utf8ToCp932(name);
    if (cp932Name && Cp932ToUtf8(*cp932Name) != name) cp932Name.reset();
    if (cp932Name.has_value() != writable) continue;
    struct stat info {};
    const bool found = stat((native + "/" + name).c_str(), &info) == 0;
    entries.push_back({writable ? std::move(*cp932Name) : name, found && S_ISDIR(info.st_mode),
                       found && S_ISREG(info.st_mode)});
  }
  return entries;
}

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) { return EntriesOf(folder, true); }

std::vector<FolderEntry> EntriesWithoutCp932Names(const std::string& folder) { return EntriesOf(folder, false); }

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

namespace kanaflow {

std::optional<FileTail> ReadFileTail(const std::string& path, std::size_t maxBytes) {
  FileDescriptor file(open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return std::nullopt;
  struct stat info {};
  if (fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;
  FileTail tail;
  tail.size = static_cast<std::uint64_t>(info.st_size);
  const std::uint64_t start = tail.size > maxBytes ? tail.size - maxBytes : 0;
  tail.bytes.resize(static_cast<std::size_t>(tail.size - start));
  std::size_t done = 0;
  while (done < tail.bytes.size()) {
    const ssize_t got = pread(file.get(), tail.bytes.data() + done, tail.bytes.size() - done,
                              static_cast<off_t>(start + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  tail.bytes.resize(done);
  return tail;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
  const std::string native = NativePath(path);
  struct stat old {};
  if (stat(native.c_str(), &old) == 0 && IsReadOnly(old, native)) return false;
  FileDescriptor file(open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  return file.get() >= 0 && WriteAll(file.get(), bytes) && close(file.release()) == 0;
}

}  // namespace kanaflow
