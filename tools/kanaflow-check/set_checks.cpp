#include "kanaflow-check/set_checks.h"

#include "kanaflow-check/device_names.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/number_text.h"

namespace kanaflow::check {
namespace {

enum class Media { QuestionFile, Sound, Music, Picture };

struct FileField {
  const char* key;  // the key the value came from at this version
  const std::string* value;
  Media media;
};

std::vector<FileField> FileFields(const QuestionSetValues& v, int version) {
  std::vector<FileField> fields = {{"QuestionFileName", &v.questionFileName, Media::QuestionFile},
                                   {"TypeSoundFileName", &v.typeSoundFileName, Media::Sound},
                                   {"MissTypeSoundFileName", &v.missTypeSoundFileName, Media::Sound},
                                   {"BGMFileName", &v.bgmFileName, Media::Music},
                                   {"BackGroundPictureFileName", &v.backGroundPictureFileName, Media::Picture}};
  if (version >= 2) {
    fields.push_back({"EndSoundFileName", &v.endSoundFileName, Media::Sound});
    fields.push_back({"EndBGMFileName", &v.endBgmFileName, Media::Music});
  } else {
    // Version 1 names the end music with the end sound keys.
    fields.push_back({"EndSoundFileName", &v.endBgmFileName, Media::Music});
  }
  return fields;
}

const char* Consequence(Media media) {
  switch (media) {
    case Media::QuestionFile:
      return "the program reads no question from it (error 0101)";
    case Media::Sound:
      return "no sound plays";
    case Media::Music:
      return "no music plays";
    case Media::Picture:
      return "the practice screen shows error box 0100 at every start";
  }
  return "";
}

void AddKeysTooNew(const SetFileText& set, int version, std::vector<Finding>& findings) {
  for (const SetKey& key : SetKeys()) {
    if (key.sinceVersion <= version || !set.Find(key.name)) continue;
    findings.push_back(set.At(key.name, Severity::Warning, "version-too-old",
                              std::string(key.name) + " needs Version " + DecimalText(key.sinceVersion) +
                                  " or later; this set is Version " + DecimalText(version) +
                                  ", so the program ignores it"));
  }
}

void AddFileFields(const SetFileText& set, const QuestionSetValues& values, int version,
                   std::vector<Finding>& findings) {
  for (const FileField& field : FileFields(values, version)) {
    const std::string& value = *field.value;
    if (value.empty()) continue;
    if (const auto device = WindowsDeviceName(value)) {
      findings.push_back(set.At(field.key, Severity::Warning, "device-name",
                                std::string(field.key) + " \"" + value + "\": on Windows the name " + *device +
                                    " opens a device, not a file: " + Consequence(field.media)));
    } else if (version < 4 && (value.front() == '#' || value.front() == '?')) {
      findings.push_back(set.At(field.key, Severity::Warning, "version-too-old",
                                std::string(field.key) + " \"" + value + "\": a path starting with \"" + value.front() +
                                    "\" needs Version 4 or later; in this Version " + DecimalText(version) +
                                    " set the program looks for a file of that very name"));
    } else if (field.media != Media::QuestionFile && !MediaFileExists(value)) {
      findings.push_back(
          set.At(field.key, Severity::Warning, "missing-file",
                 std::string(field.key) + ": file \"" + value + "\" not found: " + Consequence(field.media)));
    }
  }
}

void AddMusicWithoutType(const SetFileText& set, const char* nameKey, const std::string& name, const char* typeKey,
                         const std::string& type, std::vector<Finding>& findings) {
  if (name.empty() || !type.empty()) return;
  findings.push_back(set.At(nameKey, Severity::Warning, "music-without-type",
                            std::string(nameKey) + " names \"" + name + "\" but " + typeKey +
                                " is empty: no music plays (give the device type, for instance sequencer)"));
}

#ifndef _WIN32
// The name with every "\" made "/", character by character: the trail byte
// of a kana such as ソ is the byte of "\".
std::string WithSlashes(std::string_view path) {
  std::string result(path);
  for (std::size_t pos = 0; pos < result.size(); pos = cp932::NextChar(result, pos)) {
    if (result[pos] == '\\' && cp932::CharLength(result, pos) == 1) result[pos] = '/';
  }
  return result;
}
#endif

}  // namespace

bool MediaFileExists(const std::string& path) {
  if (FileExists(path)) return true;
#ifdef _WIN32
  return false;
#else
  const std::string slashed = WithSlashes(path);
  if (FileExists(slashed)) return true;
  const std::size_t slash = slashed.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slashed.substr(0, slash + 1);
  const std::string_view name =
      slash == std::string::npos ? std::string_view(slashed) : std::string_view(slashed).substr(slash + 1);
  for (const FolderEntry& entry : ListFolder(folder)) {
    if (!entry.isDirectory && cp932::EqualIgnoringAsciiCase(entry.name, name)) return true;
  }
  return false;
#endif
}

void AddSetWarnings(const SetFileText& set, const CQuestionSettingData& record, std::vector<Finding>& findings) {
  const int version = record.version();
  const QuestionSetValues& v = record.values();
  AddKeysTooNew(set, version, findings);
  AddFileFields(set, v, version, findings);
  AddMusicWithoutType(set, "BGMFileName", v.bgmFileName, "BGMFileType", v.bgmFileType, findings);
  if (version >= 2) {
    AddMusicWithoutType(set, "EndBGMFileName", v.endBgmFileName, "EndBGMFileType", v.endBgmFileType, findings);
  } else {
    AddMusicWithoutType(set, "EndSoundFileName", v.endBgmFileName, "EndSoundFileType", v.endBgmFileType, findings);
  }
}

}  // namespace kanaflow::check
