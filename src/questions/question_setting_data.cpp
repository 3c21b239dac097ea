#include "questions/question_setting_data.h"

#include "app/fatal_error.h"
#include "platform/cp932.h"
#include "platform/number_text.h"

namespace kanaflow {
namespace {

constexpr std::size_t kFieldBytes = 254;
constexpr std::size_t kOptionBytes = 9;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Everything up to and including the last separator. Found character by
// character: the trail byte of a kana such as ソ is the byte of "\".
std::string_view FolderOf(std::string_view path) {
  std::size_t end = 0;
  for (std::size_t pos = 0; pos < path.size(); pos = cp932::NextChar(path, pos)) {
    if (cp932::CharLength(path, pos) == 1 && IsSeparator(path[pos])) end = pos + 1;
  }
  return path.substr(0, end);
}

std::int32_t ReadOption(std::string_view text) { return ParseDecimal(cp932::CutToFit(text, kOptionBytes)); }

}  // namespace

Colour ParseColor(std::string_view text) {
  if (text.size() >= 2 && text[0] == '0' && text[1] == 'x') return ParseLong(text, 16);
  return ParseLong(text, 10);
}

std::string ResolveSetRelativePath(std::string_view setPath, std::string_view field) {
  if (field.empty() || (field.front() != '#' && field.front() != '?')) return std::string(field);
  field.remove_prefix(1);
  if (!field.empty() && IsSeparator(field.front())) {
    field.remove_prefix(1);
  } else if (field.size() >= 2 && field[0] == '.' && IsSeparator(field[1])) {
    field.remove_prefix(2);
  }
  const std::string resolved = std::string(FolderOf(setPath)) + std::string(field);
  return std::string(cp932::CutToFit(resolved, kFieldBytes));
}

std::string ResolveRootRelativePath(std::string_view field) {
  if (field.empty() || !IsSeparator(field.front())) return std::string(field);
  return std::string(cp932::CutToFit("./" + std::string(field.substr(1)), kFieldBytes));
}

int CQuestionSettingData::Load(const std::string& path) {
  OpenFile(path);
  version_ = ParseDecimal(ReadValue(kQuestionSetSection, "Version", "5"));
  const std::string versionText = DecimalText(version_);
  if (version_ == 0) {
    ReportFatalError(FatalError::VersionUnreadable,
                     {"設定ファイル名：" + this->path(), "読み込もうとしたファイルのバージョン：" + versionText,
                      CurrentDirectoryLine()});
  }
  if (version_ > kNewestQuestionSetVersion || version_ < 1) {
    ReportFatalError(FatalError::VersionOutOfRange,
                     {"このプログラムの扱うことのできるバージョンの最大値：" + DecimalText(kNewestQuestionSetVersion),
                      "読み込もうとしたファイルのバージョン：" + versionText, "読み込み対象ファイル名：" + this->path(),
                      CurrentDirectoryLine()});
  }
  return ReadKeys(version_);
}

std::string CQuestionSettingData::ReadText(std::string_view key, std::string_view defaultValue) const {
  return std::string(cp932::CutToFit(ReadValue(kQuestionSetSection, key, defaultValue), kFieldBytes));
}

void CQuestionSettingData::ResolveSetRelativePath(std::string& field) const {
  field = kanaflow::ResolveSetRelativePath(path(), field);
}

int CQuestionSettingData::ReadKeys(int version) {
  QuestionSetValues& v = values_;
  v.questionNumber = ParseDecimal(ReadValue(kQuestionSetSection, "QuestionNumber", "Error"));
  v.questionFileName = ReadText("QuestionFileName", "Error");
  v.message = ReadText("Message", "No Message...");
  v.title = ReadText("Title", "No Title...");
  v.typeSoundFileName = ReadText("TypeSoundFileName", "");
  v.missTypeSoundFileName = ReadText("MissTypeSoundFileName", "");
  v.bgmFileName = ReadText("BGMFileName", "");
  v.bgmFileType = ReadText("BGMFileType", "");
  v.endSoundFileName = ReadText("EndSoundFileName", "");
  v.endSoundFileType = ReadText("EndSoundFileType", "");

  const struct {
    const char* key;
    Colour QuestionSetValues::*field;
    const char* defaultText;
  } colours[] = {
      {"BackColor_Koyubi", &QuestionSetValues::backColorKoyubi, "0x8080FF"},
      {"BackColor_Kusuriyubi", &QuestionSetValues::backColorKusuriyubi, "0x80FFFF"},
      {"BackColor_Nakayubi", &QuestionSetValues::backColorNakayubi, "0x80FF80"},
      {"BackColor_Hitosashiyubi", &QuestionSetValues::backColorHitosashiyubi, "0xFFFF80"},
      {"BackColor_Other", &QuestionSetValues::backColorOther, "0xFFFFFF"},
      {"WindowBackColor", &QuestionSetValues::windowBackColor, "0xFFFFFF"},
      {"WindowStringColor", &QuestionSetValues::windowStringColor, "0x000000"},
      {"KeyboardLineColor", &QuestionSetValues::keyboardLineColor, "0x000000"},
      {"KeyboardStringColor", &QuestionSetValues::keyboardStringColor, "0x000000"},
      {"NextTypeKeyColor", &QuestionSetValues::nextTypeKeyColor, "0x0000FF"},
  };
  for (const auto& colour : colours) {
    v.*colour.field = ParseColor(ReadValue(kQuestionSetSection, colour.key, colour.defaultText));
  }
  v.backGroundPictureFileName = ReadText("BackGroundPictureFileName", "");

  // Version 1 had no end music keys: its end sound keys named the end music.
  if (version >= 2) {
    v.endBgmFileName = ReadText("EndBGMFileName", "");
    v.endBgmFileType = ReadText("EndBGMFileType", "");
    v.endSoundFileName = ReadText("EndSoundFileName", "");
    v.endSoundFileType.clear();
  } else {
    v.endBgmFileName = ReadText("EndSoundFileName", "");
    v.endBgmFileType = ReadText("EndSoundFileType", "");
    v.endSoundFileName.clear();
  }
  v.randomQuestionSet = version >= 3 && ReadOption(ReadValue(kQuestionSetSection, "RandomQuestionSet", "0")) != 0;
  v.imeStatus = version >= 4 ? ReadOption(ReadValue(kQuestionSetSection, "ImeStatus", "0")) : 0;

  std::string* const fileNames[] = {&v.questionFileName, &v.typeSoundFileName, &v.missTypeSoundFileName,
                                    &v.bgmFileName,      &v.endSoundFileName,  &v.backGroundPictureFileName,
                                    &v.endBgmFileName};
  if (version >= 4) {
    for (std::string* field : fileNames) ResolveSetRelativePath(*field);
  }
  v.katakanaMode = version >= 5 && ReadOption(ReadValue(kQuestionSetSection, "KatakanaMode", "0")) != 0;
  for (std::string* field : fileNames) *field = ResolveRootRelativePath(*field);
  return 0;
}

int CMenuQuestionLoader::ReadKeys(int /*version*/) {
  QuestionSetValues& v = values_;
  v.questionNumber = ParseDecimal(ReadValue(kQuestionSetSection, "QuestionNumber", "Error"));
  v.questionFileName = ReadText("QuestionFileName", "Error");
  v.message = ReadText("Message", "No Message...");
  v.title = ReadText("Title", "No Title...");
  // The list shows where the questions come from whatever the set's version.
  ResolveSetRelativePath(v.questionFileName);
  v.questionFileName = ResolveRootRelativePath(v.questionFileName);
  return 0;
}

}  // namespace kanaflow
