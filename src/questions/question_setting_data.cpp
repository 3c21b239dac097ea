#include "questions/question_setting_data.h"

#include "platform/cp932.h"
#include "platform/fatal_error.h"
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

// Files named with "#" or "?" lie beside the set file from this version on.
constexpr int kSetRelativePathsVersion = 4;

}  // namespace

// Every key of a set file, read in this order: a value "Error" ends the
// program naming the first key that holds it.
const QuestionSetKey kQuestionSetKeys[] = {
    // key                        field                                         kind             default          version listed
    {"QuestionNumber", &QuestionSetValues::questionNumber, KeyKind::Decimal, "Error", 1, true},
    {"QuestionFileName", &QuestionSetValues::questionFileName, KeyKind::Path, "Error", 1, true},
    {"Message", &QuestionSetValues::message, KeyKind::Text, "No Message...", 1, true},
    {"Title", &QuestionSetValues::title, KeyKind::Text, "No Title...", 1, true},
    {"TypeSoundFileName", &QuestionSetValues::typeSoundFileName, KeyKind::Path, "", 1, false},
    {"MissTypeSoundFileName", &QuestionSetValues::missTypeSoundFileName, KeyKind::Path, "", 1, false},
    {"BGMFileName", &QuestionSetValues::bgmFileName, KeyKind::Path, "", 1, false},
    {"BGMFileType", &QuestionSetValues::bgmFileType, KeyKind::Text, "", 1, false},
    {"EndSoundFileName", &QuestionSetValues::endSoundFileName, KeyKind::Path, "", 1, false},
    {"EndSoundFileType", &QuestionSetValues::endSoundFileType, KeyKind::Text, "", 1, false},
    {"BackColor_Koyubi", &QuestionSetValues::backColorKoyubi, KeyKind::Colour, "0x8080FF", 1, false},
    {"BackColor_Kusuriyubi", &QuestionSetValues::backColorKusuriyubi, KeyKind::Colour, "0x80FFFF", 1, false},
    {"BackColor_Nakayubi", &QuestionSetValues::backColorNakayubi, KeyKind::Colour, "0x80FF80", 1, false},
    {"BackColor_Hitosashiyubi", &QuestionSetValues::backColorHitosashiyubi, KeyKind::Colour, "0xFFFF80", 1, false},
    {"BackColor_Other", &QuestionSetValues::backColorOther, KeyKind::Colour, "0xFFFFFF", 1, false},
    {"WindowBackColor", &QuestionSetValues::windowBackColor, KeyKind::Colour, "0xFFFFFF", 1, false},
    {"WindowStringColor", &QuestionSetValues::windowStringColor, KeyKind::Colour, "0x000000", 1, false},
    {"KeyboardLineColor", &QuestionSetValues::keyboardLineColor, KeyKind::Colour, "0x000000", 1, false},
    {"KeyboardStringColor", &QuestionSetValues::keyboardStringColor, KeyKind::Colour, "0x000000", 1, false},
    {"NextTypeKeyColor", &QuestionSetValues::nextTypeKeyColor, KeyKind::Colour, "0x0000FF", 1, false},
    {"BackGroundPictureFileName", &QuestionSetValues::backGroundPictureFileName, KeyKind::Path, "", 1, false},
    {"EndBGMFileName", &QuestionSetValues::endBgmFileName, KeyKind::Path, "", 2, false},
    {"EndBGMFileType", &QuestionSetValues::endBgmFileType, KeyKind::Text, "", 2, false},
    {"RandomQuestionSet", &QuestionSetValues::randomQuestionSet, KeyKind::Flag, "0", 3, false},
    {"ImeStatus", &QuestionSetValues::imeStatus, KeyKind::Option, "0", 4, false},
    {"KatakanaMode", &QuestionSetValues::katakanaMode, KeyKind::Flag, "0", 5, false},
};

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

int CQuestionSettingData::ReadRecord() {
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

void CQuestionSettingData::ResolveSetRelativePath(std::string& field) const {
  field = kanaflow::ResolveSetRelativePath(path(), field);
}

void CQuestionSettingData::ReadKey(const QuestionSetKey& key) {
  const std::string value = ReadValue(kQuestionSetSection, key.name, key.defaultText);
  switch (key.kind) {
    case KeyKind::Text:
    case KeyKind::Path:
      values_.*std::get<TextField>(key.field) = std::string(cp932::CutToFit(value, kFieldBytes));
      break;
    case KeyKind::Decimal:
      values_.*std::get<NumberField>(key.field) = ParseDecimal(value);
      break;
    case KeyKind::Colour:
      values_.*std::get<NumberField>(key.field) = ParseColor(value);
      break;
    case KeyKind::Option:
      values_.*std::get<NumberField>(key.field) = ReadOption(value);
      break;
    case KeyKind::Flag:
      values_.*std::get<FlagField>(key.field) = ReadOption(value) != 0;
      break;
  }
}

int CQuestionSettingData::ReadKeys(int version) {
  for (const QuestionSetKey& key : kQuestionSetKeys) {
    if (version >= key.firstVersion) ReadKey(key);
  }
  QuestionSetValues& v = values_;
  if (version == 1) {
    // Version 1 had no end music keys: its end sound keys named the end music.
    v.endBgmFileName = std::move(v.endSoundFileName);
    v.endBgmFileType = v.endSoundFileType;
    v.endSoundFileName.clear();
  } else {
    v.endSoundFileType.clear();  // read, but no sound has a type
  }
  for (const QuestionSetKey& key : kQuestionSetKeys) {
    if (key.kind != KeyKind::Path) continue;
    std::string& field = v.*std::get<TextField>(key.field);
    if (version >= kSetRelativePathsVersion) ResolveSetRelativePath(field);
    field = ResolveRootRelativePath(field);
  }
  return 0;
}

int CMenuQuestionLoader::ReadKeys(int /*version*/) {
  for (const QuestionSetKey& key : kQuestionSetKeys) {
    if (key.listed) ReadKey(key);
  }
  // The list shows where the questions come from whatever the set's version.
  ResolveSetRelativePath(values_.questionFileName);
  values_.questionFileName = ResolveRootRelativePath(values_.questionFileName);
  return 0;
}

}  // namespace kanaflow
