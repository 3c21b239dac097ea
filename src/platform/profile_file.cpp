#include "platform/profile_file.h"

#include "platform/file_system.h"

namespace kanaflow {

ProfileFileBytes ProfileFileBytesFor(std::string start) {
  ProfileFileBytes file;
  file.cut = start.size() > kMaxProfileBytes;
  if (file.cut) {
    // CR LF, LF and a lone CR each end a line.
    const std::size_t lastBreak = start.find_last_of("\r\n", kMaxProfileBytes - 1);
    start.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
  }
  file.bytes = std::move(start);
  return file;
}

std::optional<ProfileFileBytes> ReadProfileFile(const std::string& path) {
  std::optional<std::string> start = ReadFileStart(path, kMaxProfileBytes + 1);
  if (!start) return std::nullopt;
  return ProfileFileBytesFor(std::move(*start));
}

ProfileText LoadProfileText(const std::string& path) {
  std::optional<ProfileFileBytes> file = ReadProfileFile(path);
  return ProfileText(file ? std::move(file->bytes) : std::string());
}

std::string ReadProfileValue(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view defaultValue) {
  return LoadProfileText(path).GetString(section, key, defaultValue);
}

namespace {

// The text to change, or why there is none.
struct TextForUpdate {
  std::optional<ProfileText> text;
  std::optional<ProfileRefusal> refusal;
};

TextForUpdate ReadForUpdate(const std::string& path) {
  std::optional<ProfileFileBytes> existing = ReadProfileFile(path);
  if (!existing) {
    if (IsDirectory(path) || LeadsToDevice(path)) return {std::nullopt, ProfileRefusal::NotAFile};
    if (FileExists(path)) return {std::nullopt, ProfileRefusal::Unreadable};
    return {ProfileText(), std::nullopt};
  }
  if (ProfileText::IsUtf16(existing->bytes)) return {std::nullopt, ProfileRefusal::Utf16};
  if (existing->cut) return {std::nullopt, ProfileRefusal::TooLarge};
  return {ProfileText(std::move(existing->bytes)), std::nullopt};
}

}  // namespace

std::optional<ProfileText> LoadProfileTextForUpdate(const std::string& path) { return ReadForUpdate(path).text; }

std::optional<ProfileRefusal> RefusalToUpdate(const std::string& path) { return ReadForUpdate(path).refusal; }

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
