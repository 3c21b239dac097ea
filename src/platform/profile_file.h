// Private-profile values read from and written to files by CP932 path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/profile_text.h"

namespace kanaflow {

// The file's text; an empty text when the file does not exist or cannot be
// read, so every key reads as absent, as the platform's reader has it.
ProfileText LoadProfileText(const std::string& path);

// One value, as GetPrivateProfileStringA gives it.
std::string ReadProfileValue(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue);

// Sets one value, keeping the rest of the file; the file is replaced in one
// step. False when the file could not be written.
[[nodiscard]] bool WriteProfileValue(const std::string& path, std::string_view section, std::string_view key,
                                     std::string_view value);

// The file's text for a change: an empty text when the file does not exist,
// nullopt when it exists but cannot be read, or is UTF-16 text, so that a
// write never replaces lines it could not see.
std::optional<ProfileText> LoadProfileTextForUpdate(const std::string& path);

// Writes a changed profile text back in one step.
[[nodiscard]] bool SaveProfileText(const std::string& path, const ProfileText& profile);

}  // namespace kanaflow
