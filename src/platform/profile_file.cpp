#include "platform/profile_file.h"

#include "platform/file_system.h"

namespace kanaflow {

namespace {
// CR LF, LF and a lone CR each end a line of an ini file.
constexpr std::string_view kProfileLineEnds = "\r\n";
}  // namespace

ProfileFileBytes ProfileFileBytesFor(std::string start) {
  return WholeLinesWithin(std::move(start), kMaxProfileBytes, kProfileLineEnds);
}

std::optional<ProfileFileBytes> ReadProfileFile(const std::string& path) {
  return ReadWholeLinesWithin(path, kMaxProfileBytes, kProfileLineEnds);
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
