// Files and folders by CP932 path. On Windows the paths go through the wide
// functions; on Linux file names are UTF-8, so a Japanese folder name reads
// the same on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kanaflow {

// The whole file, byte for byte; nullopt when it cannot be opened or read.
// Other programs may read and write the file meanwhile.
std::optional<std::string> ReadWholeFile(const std::string& path);

// At most the first `maxBytes` bytes of the file: enough to tell a file
// longer than a limit (ask for one byte more), without reading an endless or
// huge one (a device, a file of gigabytes) into memory. nullopt as above.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes);

// Replaces the file's contents in one step: the bytes go to a temporary file
// in the same folder, which then takes the file's place, so an interrupted
// write leaves the old file or the new one, never half of one. A symbolic
// link is followed and its target written, with the target's permissions
// kept. A read-only file is refused (false) and left as it is.
[[nodiscard]] bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// The last `maxBytes` bytes of a file (all of it when it is shorter) and the
// whole file's size: what a log that only grows is read back by, however
// long it has grown. nullopt when it cannot be opened or read, or is a folder.
struct FileTail {
  std::string bytes;
  std::uint64_t size = 0;
};
std::optional<FileTail> ReadFileTail(const std::string& path, std::size_t maxBytes);

// Adds `bytes` at the end of the file, creating it when absent, in one write:
// what is already in the file is never rewritten. False when the file could
// not be opened for writing (read-only, locked, a folder of that name) or the
// bytes were not all written (a full disk).
[[nodiscard]] bool AppendToFile(const std::string& path, std::string_view bytes);

struct FolderEntry {
  std::string name;  // CP932
  bool isDirectory = false;
};

// The entries of a folder in the order the file system gives them, without
// "." and "..". Empty when the folder cannot be read. Names that code page
// 932 cannot write are left out: the program could not open them anyway.
std::vector<FolderEntry> ListFolder(const std::string& folder);

bool IsDirectory(const std::string& path);
bool FileExists(const std::string& path);

// The process's current directory as CP932 text.
std::string CurrentDirectory();

// Changes the current directory (tools and tests that read a working folder).
[[nodiscard]] bool SetCurrentDirectoryTo(const std::string& path);

}  // namespace kanaflow
