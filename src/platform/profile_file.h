// Private-profile values read from and written to files by CP932 path.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bounded_file.h"
#include "platform/profile_text.h"

namespace kanaflow {

// An ini file is read no further than this: a thousand times what a
// settings or set file holds, while a huge or endless one (a file of
// gigabytes, a link to /dev/zero) costs no more time or memory than this.
// Beyond it the file is as if absent, and so is the line that the limit
// cuts: a key is never read with half its value.
inline constexpr std::size_t kMaxProfileBytes = std::size_t{1} << 20;

// The bytes of an ini file that its keys are read from.
using ProfileFileBytes = BoundedFileBytes;

// `start` is the beginning of a file, read up to kMaxProfileBytes + 1 bytes:
// when the file is longer, only the lines that end within the limit are kept.
ProfileFileBytes ProfileFileBytesFor(std::string start);

// The first kMaxProfileBytes of the ini file at `path`, as above; nullopt
// when it cannot be opened.
std::optional<ProfileFileBytes> ReadProfileFile(const std::string& path);

// The file's text, as above; an empty text when the file does not exist or
// cannot be read, so every key reads as absent, as the platform's reader has
// it.
ProfileText LoadProfileText(const std::string& path);

// One value, as GetPrivateProfileStringA gives it.
std::string ReadProfileValue(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue);

// Sets one value, keeping the rest of the file; the file is replaced in one
// step. False when the file could not be written.
[[nodiscard]] bool WriteProfileValue(const std::string& path, std::string_view section, std::string_view key,
                                     std::string_view value);

// The file's text for a change: an empty text when the file does not exist,
// nullopt when it exists but cannot be read, is UTF-16 text or is longer
// than kMaxProfileBytes, so that a write never replaces lines it could not
// see.
std::optional<ProfileText> LoadProfileTextForUpdate(const std::string& path);

// Why LoadProfileTextForUpdate gives no text, for the message that says so.
enum class ProfileRefusal {
  Unreadable,  // the file exists but cannot be read (no permission, locked)
  NotAFile,    // a folder or a device has the file's name
  Utf16,       // UTF-16 text, which the reader does not read
  TooLarge,    // longer than kMaxProfileBytes, so read only in part
};

// Why LoadProfileTextForUpdate refuses the file at `path`, or nullopt when
// it gives its text (or an empty one for a file that does not exist).
std::optional<ProfileRefusal> RefusalToUpdate(const std::string& path);

// Writes a changed profile text back in one step.
[[nodiscard]] bool SaveProfileText(const std::string& path, const ProfileText& profile);

}  // namespace kanaflow
