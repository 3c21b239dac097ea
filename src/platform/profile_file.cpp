#include "platform/profile_file.h"

#include "platform/file_system.h"

namespace kanaflow {

ProfileText LoadProfileText(const std::string& path) { return ProfileText(ReadWholeFile(path).value_or("")); }

std::string ReadProfileValue(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue) {
  return LoadProfileText(path).GetString(section, key, defaultValue);
}

std::optional<ProfileText> LoadProfileTextForUpdate(const std::string& path) {
  std::optional<std::string> existing = ReadWholeFile(path);
  if (!existing && (FileExists(path) || IsDirectory(path))) return std::nullopt;
  if (existing && ProfileText::IsUtf16(*existing)) return std::nullopt;
  return ProfileText(std::move(existing).value_or(""));
}

bool WriteProfileValue(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value) {
  std::optional<ProfileText> profile = LoadProfileTextForUpdate(path);
  if (!profile) return false;
  profile->SetString(section, key, value);
  return SaveProfileText(path, *profile);
}

bool SaveProfileText(const std::string& path, const ProfileText& profile) {
  return ReplaceFileContents(path, profile.bytes());
}

}  // namespace kanaflow
