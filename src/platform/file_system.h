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

// Only regular files are read. A name that opens anything else, a folder, a
// pipe or a device (a serial port, the console, the printer), reads as a file
// that cannot be opened, and nothing is read from it, for a device can keep a
// reader waiting for ever. On Windows a device is also what the platform
// makes of a name such as COM1, aux.ini or con.txt in any folder; a regular
// file of such a name is read where the platform opens it as a file (on
// Linux, say).

// The whole file, byte for byte; nullopt when it cannot be opened or read.
// Other programs may read and write the file meanwhile.
std::optional<std::string> ReadWholeFile(const std::string& path);

// At most the first `maxBytes` bytes of the file: enough to tell a file
// longer than a limit (ask for one byte more), without reading a huge one (a
// file of gigabytes) into memory. nullopt as above.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes);

// Replaces the file's contents in one step: the bytes go to a temporary file
// in the same folder, which then takes the file's place, so an interrupted
// write leaves the old file or the new one, never half of one. A symbolic
// link is followed and its target written. A read-only file is refused
// (false) and left as it is.
//
// The file itself is kept: its permissions, owner and hard links, which a
// Windows program under Wine could not give a new file. A second name made
// for it beforehand keeps it while the new copy stands in its place; it is
// then written over with the same bytes and takes its place back. Where no
// second name can be made (a FAT disk), or a step after the replacement
// fails, the new copy stays, with the old file's permissions where the
// platform lets a new file have them.
//
// A save cut short (the program killed) can leave those two files behind.
// Each save first removes such leftovers of earlier saves beside the file:
// regular files named exactly as this function names them (the file's name,
// ".new" or ".keep", and the number of a process that no longer runs), and
// nothing else.
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
  bool isFile = false;  // a regular file, which the program can read (above)
};

// The entries of a folder in the order the file system gives them, without
// "." and "..". Empty when the folder cannot be read. Names that code page
// 932 cannot write are left out: the program could not open them anyway.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// The entries that ListFolder leaves out for their names, each name in UTF-8:
// a set named with 〜 (U+301C) or − (U+2212), as Linux input methods type
// them, instead of ～ or －, which Shift_JIS has. For the checker, which
// names them.
std::vector<FolderEntry> EntriesWithoutCp932Names(const std::string& folder);

bool IsDirectory(const std::string& path);
// Whether the path names a regular file, as the readers above take it.
bool FileExists(const std::string& path);
// Whether the path leads to something that is neither a regular file nor a
// folder (a device, a pipe), which nothing should open; false for a path that
// leads nowhere. For the readers that the platform opens by name (music,
// pictures).
bool LeadsToDevice(const std::string& path);

// The process's current directory as CP932 text.
std::string CurrentDirectory();

// Changes the current directory (tools and tests that read a working folder).
[[nodiscard]] bool SetCurrentDirectoryTo(const std::string& path);

}  // namespace kanaflow
