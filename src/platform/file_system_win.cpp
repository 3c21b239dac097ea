#include "platform/file_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/file_step_gate.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  bool Close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t allowed = bytes.size() > 0x40000000 ? 0x40000000 : bytes.size();
    if (!internal::PassFileStep(internal::FileStep::Write, allowed)) return false;
    const auto chunk = static_cast<DWORD>(allowed);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Whether the platform opens a device for this name: the name is a device
// path (\\.\COM1), or its last part is one of the names that Windows keeps
// for devices in every folder (COM1, aux.ini, con.txt; the list depends on
// the Windows version). The platform's own answer, without opening anything.
bool NamesDevice(const std::wstring& path) {
  constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (length == 0 || length >= full.size()) return false;
  return std::wstring_view(full.data(), length).substr(0, kDevicePrefix.size()) == kDevicePrefix;
}

std::string WideToUtf8(std::wstring_view wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  }
  return text;
}

DWORD Attributes(const std::wstring& path) {
  return NamesDevice(path) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
}

// The file a save writes: the final target of a symbolic link, so the link
// keeps pointing where it did. A name that cannot be opened (it does not
// exist yet, or its link leads nowhere) is written as it is.
std::wstring SaveTarget(const std::wstring& path) {
  const FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return path;
  std::wstring resolved(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(file.get(), resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    if (length == 0) return path;
    if (length < resolved.size()) {
      resolved.resize(length);
      return resolved;
    }
    resolved.resize(length);
  }
}

// What the new file keeps of the old one's attributes.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The name of one of this process's own files beside the target: the new
// copy (".new") and the second name that keeps the old file (".keep"),
// followed by the process number.
std::wstring SaveName(const std::wstring& target, const wchar_t* kind) {
  return target + kind + std::to_wstring(GetCurrentProcessId());
}

// The number of the process that made `name`, when it is the name of a file
// that SaveName gives for `base`: the base, ".new" or ".keep", and a process
// number as written, without leading zeros.
std::optional<unsigned long long> SaveNameProcess(std::wstring_view name, std::wstring_view base) {
  if (name.substr(0, base.size()) != base) return std::nullopt;
  name.remove_prefix(base.size());
  for (const std::wstring_view kind : {std::wstring_view(L".new"), std::wstring_view(L".keep")}) {
    if (name.substr(0, kind.size()) != kind) continue;
    const std::wstring_view digits = name.substr(kind.size());
    if (digits.empty() || digits.size() > 10 || digits.front() == L'0' ||
        digits.find_first_not_of(L"0123456789") != std::wstring_view::npos) {
      return std::nullopt;
    }
    return std::stoull(std::wstring(digits));
  }
  return std::nullopt;
}

// Whether no process of this number runs (or it is this process, whose own
// files of its number are from an earlier process of the same number).
bool ProcessGone(unsigned long long number) {
  if (number > 0xFFFFFFFFull) return true;
  const auto id = static_cast<DWORD>(number);
  if (id == GetCurrentProcessId()) return true;
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
  CloseHandle(process);
  return ended;
}

// Removes what earlier saves of `target` left behind: the regular files that
// SaveName named for it, made by processes that no longer run. No other file
// is touched; one that another program holds open stays.
void RemoveSaveLeftovers(const std::wstring& target) {
  const std::size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
  const std::wstring base = slash == std::wstring::npos ? target : target.substr(slash + 1);
  WIN32_FIND_DATAW data{};
  std::vector<std::wstring> leftovers;
  {
    FindHandle find(FindFirstFileW((folder + base + L".*").c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) return;
    do {
      const auto process = SaveNameProcess(data.cFileName, base);
      const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
      if (process && (data.dwFileAttributes & notPlain) == 0 && ProcessGone(*process)) {
        leftovers.push_back(folder + data.cFileName);
      }
    } while (FindNextFileW(find.get(), &data));
  }
  for (const std::wstring& name : leftovers) DeleteFileW(name.c_str());
}

// A second name for `target`. One already there is from an earlier process
// of this number, which can no longer be using it.
bool LinkNew(const std::wstring& target, const std::wstring& name) {
  if (CreateHardLinkW(name.c_str(), target.c_str(), nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && DeleteFileW(name.c_str()) &&
         CreateHardLinkW(name.c_str(), target.c_str(), nullptr);
}

bool WriteAndFlush(HANDLE file, std::string_view bytes) {
  return WriteAll(file, bytes) && SetEndOfFile(file) && internal::PassFileStep(internal::FileStep::Flush) &&
         FlushFileBuffers(file);
}

// Closes the file, even when the gate fails the step.
bool CloseWritten(FileHandle& file) {
  const bool allowed = internal::PassFileStep(internal::FileStep::Close);
  return file.Close() && allowed;
}

// The kept old file written over with `bytes`, and given its name back: the
// new copy that stood in its place goes. When a step fails, the kept name
// goes instead and the new copy stays.
void RestoreKeptFile(const std::wstring& kept, const std::wstring& target, std::string_view bytes) {
  using internal::FileStep;
  using internal::PassFileStep;
  FileHandle file(PassFileStep(FileStep::Reopen) ? CreateFileW(kept.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                                               FILE_ATTRIBUTE_NORMAL, nullptr)
                                                 : INVALID_HANDLE_VALUE);
  const bool written = file.valid() && WriteAndFlush(file.get(), bytes);
  const bool closed = file.valid() && CloseWritten(file);
  if (written && closed && PassFileStep(FileStep::Restore) &&
      MoveFileExW(kept.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return;
  }
  DeleteFileW(kept.c_str());
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  return ReadFileStart(path, std::string().max_size());
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes) {
  const std::wstring name = Cp932ToWide(path);
  if (NamesDevice(name)) return std::nullopt;
  FileHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // A name that still leads to a device or a pipe (a link to one, under Wine).
  if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
  std::string bytes;
  const auto fileSize = static_cast<unsigned long long>(size.QuadPart);
  bytes.reserve(fileSize < maxBytes ? static_cast<std::size_t>(fileSize) : maxBytes);
  char chunk[65536];
  while (bytes.size() < maxBytes) {
    const std::size_t wanted = std::min(sizeof chunk, maxBytes - bytes.size());
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk, static_cast<DWORD>(wanted), &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  using internal::FileStep;
  using internal::PassFileStep;
  const std::wstring target = SaveTarget(Cp932ToWide(path));
  const DWORD oldAttributes = GetFileAttributesW(target.c_str());
  const bool exists = oldAttributes != INVALID_FILE_ATTRIBUTES;
  // The read-only mark is the user's "do not change this file".
  if (exists && (oldAttributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  RemoveSaveLeftovers(target);
  const DWORD kept = exists ? (oldAttributes & kKeptAttributes) : 0;
  const std::wstring temporary = SaveName(target, L".new");
  FileHandle file(PassFileStep(FileStep::CreateTemporary)
                      ? CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, nullptr)
                      : INVALID_HANDLE_VALUE);
  if (!file.valid()) return false;
  const bool written = WriteAndFlush(file.get(), bytes);
  if (!CloseWritten(file) || !written) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  const std::wstring keptName = SaveName(target, L".keep");
  const bool keeping = exists && PassFileStep(FileStep::Link) && LinkNew(target, keptName);
  if (!PassFileStep(FileStep::Replace) ||
      !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    if (keeping) DeleteFileW(keptName.c_str());
    return false;
  }
  if (keeping) RestoreKeptFile(keptName, target, bytes);
  return true;
}

namespace {

// The folder's entries whose names code page 932 can write (named in CP932),
// or those whose names it cannot (named in UTF-8).
std::vector<FolderEntry> EntriesOf(const std::string& folder, bool writable) {
  std::vector<FolderEntry> entries;
  std::wstring prefix = Cp932ToWide(folder);
  if (!prefix.empty() && prefix.back() != L'/' && prefix.back() != L'\\') prefix += L'\\';
  const std::wstring pattern = prefix + L'*';
  WIN32_FIND_DATAW data{};
  FindHandle find(FindFirstFileW(pattern.c_str(), &data));
  if (find.get() == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    // A name that code page 932 cannot write would come back as '?' and
    // could never be opened by the program.
    std::string cp932Name = WideToCp932(name);
    const bool nameWritable = !cp932Name.empty() && Cp932ToWide(cp932Name) == name;
    if (nameWritable != writable) continue;
    const bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool isFile = !isDirectory && !NamesDevice(prefix + data.cFileName);
    entries.push_back({writable ? std::move(cp932Name) : WideToUtf8(name), isDirectory, isFile});
  } while (FindNextFileW(find.get(), &data));
  return entries;
}

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) { return EntriesOf(folder, true); }

std::vector<FolderEntry> EntriesWithoutCp932Names(const std::string& folder) { return EntriesOf(folder, false); }

bool IsDirectory(const std::string& path) {
  const DWORD attributes = Attributes(Cp932ToWide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = Attributes(Cp932ToWide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool LeadsToDevice(const std::string& path) {
  const std::wstring name = Cp932ToWide(path);
  if (NamesDevice(name)) return true;
  if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  // Wine gives no attributes for a link to a device or for a pipe; opened
  // without asking for any access, they tell what they are.
  const FileHandle file(CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  return file.valid() && GetFileType(file.get()) != FILE_TYPE_DISK;
}

std::string CurrentDirectory() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return std::string();
  std::wstring buffer(length, L'\0');
  const DWORD written = GetCurrentDirectoryW(length, buffer.data());
  buffer.resize(written);
  return WideToCp932(buffer);
}

bool SetCurrentDirectoryTo(const std::string& path) { return SetCurrentDirectoryW(Cp932ToWide(path).c_str()) != 0; }

}  // namespace kanaflow

namespace kanaflow {

std::optional<FileTail> ReadFileTail(const std::string& path, std::size_t maxBytes) {
  FileHandle file(CreateFileW(Cp932ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
  FileTail tail;
  tail.size = static_cast<std::uint64_t>(size.QuadPart);
  const std::uint64_t start = tail.size > maxBytes ? tail.size - maxBytes : 0;
  LARGE_INTEGER offset{};
  offset.QuadPart = static_cast<LONGLONG>(start);
  if (!SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN)) return std::nullopt;
  tail.bytes.resize(static_cast<std::size_t>(tail.size - start));
  std::size_t done = 0;
  while (done < tail.bytes.size()) {
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(tail.bytes.size() - done, 1 << 20));
    if (!ReadFile(file.get(), tail.bytes.data() + done, wanted, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    done += got;
  }
  tail.bytes.resize(done);
  return tail;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
  // The read-only mark is the user's "do not change this file", also where
  // the system would let this process write it anyway.
  const std::wstring wide = Cp932ToWide(path);
  if (NamesDevice(wide)) return false;
  const DWORD attributes = Attributes(wide);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  // Shared for reading only: another copy appending at the same moment waits
  // for its turn instead of interleaving its bytes with ours.
  FileHandle file(CreateFileW(wide.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid() && WriteAll(file.get(), bytes) && file.Close();
}

}  // namespace kanaflow
