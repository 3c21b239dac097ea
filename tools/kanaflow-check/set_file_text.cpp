#include "kanaflow-check/set_file_text.h"

#include <utility>

#include "platform/number_text.h"
#include "platform/profile_file.h"
#include "questions/question_setting_data.h"

namespace kanaflow::check {

const std::vector<SetKey>& SetKeys() {
  static const std::vector<SetKey> keys = {
      {"Version", 1},
      {"QuestionNumber", 1},
      {"QuestionFileName", 1},
      {"Message", 1},
      {"Title", 1},
      {"TypeSoundFileName", 1},
      {"MissTypeSoundFileName", 1},
      {"BGMFileName", 1},
      {"BGMFileType", 1},
      {"EndSoundFileName", 1},
      {"EndSoundFileType", 1},
      {"BackColor_Koyubi", 1},
      {"BackColor_Kusuriyubi", 1},
      {"BackColor_Nakayubi", 1},
      {"BackColor_Hitosashiyubi", 1},
      {"BackColor_Other", 1},
      {"WindowBackColor", 1},
      {"WindowStringColor", 1},
      {"KeyboardLineColor", 1},
      {"KeyboardStringColor", 1},
      {"NextTypeKeyColor", 1},
      {"BackGroundPictureFileName", 1},
      {"EndBGMFileName", 2},
      {"EndBGMFileType", 2},
      {"RandomQuestionSet", 3},
      {"ImeStatus", 4},
      {"KatakanaMode", 5},
  };
  return keys;
}

SetFileText::SetFileText(std::string path) : path_(std::move(path)) {
  if (std::optional<ProfileFileBytes> file = ReadProfileFile(path_)) {
    profile_ = ProfileText(std::move(file->bytes));
    cut_ = file->cut;
  }
}

std::optional<Finding> TooLargeIni(const std::string& path, bool cut, std::string_view more) {
  if (!cut) return std::nullopt;
  const std::string limit = DecimalText(static_cast<std::int64_t>(kMaxProfileBytes));
  return Finding{path, 0, Severity::Warning, "ini-too-large",
                 "the file is longer than " + limit + " bytes: the program reads only the lines within its first " +
                     limit + " bytes, as if the rest were absent" + std::string(more)};
}

bool SetFileText::HasSection() const { return profile_.SectionLineNumber(kQuestionSetSection) != 0; }

std::optional<std::string> SetFileText::Find(std::string_view key) const {
  return profile_.Find(kQuestionSetSection, key);
}

int SetFileText::LineOf(std::string_view key) const { return profile_.KeyLineNumber(kQuestionSetSection, key); }

std::optional<int> SetFileText::Version() const {
  const std::string text = profile_.GetString(kQuestionSetSection, "Version", "5");
  if (text == "Error") return std::nullopt;
  const int version = ParseDecimal(text);
  if (version < 1 || version > kNewestQuestionSetVersion) return std::nullopt;
  return version;
}

Finding SetFileText::At(std::string_view key, Severity severity, std::string code, std::string message) const {
  return {path_, LineOf(key), severity, std::move(code), std::move(message)};
}

}  // namespace kanaflow::check
