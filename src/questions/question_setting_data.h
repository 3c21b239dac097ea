// The question-set file: one ini file in the ./data tree, section
// "TypingQuesitonSetup", naming the question file, the media, the colours
// and the options of a set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "platform/colour.h"
#include "settings/setting_data.h"

namespace kanaflow {

inline constexpr char kQuestionSetSection[] = "TypingQuesitonSetup";
inline constexpr int kNewestQuestionSetVersion = 5;


struct QuestionSetValues {
  std::int32_t questionNumber = 0;
  std::string questionFileName;
  std::string typeSoundFileName;
  std::string missTypeSoundFileName;
  std::string bgmFileName;
  std::string bgmFileType;
  std::string endSoundFileName;
  std::string endSoundFileType;
  std::string backGroundPictureFileName;
  std::string message;
  std::string title;
  Colour backColorKoyubi = 0;         // little finger
  Colour backColorKusuriyubi = 0;     // ring finger
  Colour backColorNakayubi = 0;       // middle finger
  Colour backColorHitosashiyubi = 0;  // index finger
  Colour backColorOther = 0;          // keys of no finger
  Colour windowBackColor = 0;
  Colour windowStringColor = 0;
  Colour keyboardLineColor = 0;
  Colour keyboardStringColor = 0;
  Colour nextTypeKeyColor = 0;
  std::string endBgmFileName;
  std::string endBgmFileType;
  bool randomQuestionSet = false;
  std::int32_t imeStatus = 0;  // 0 open the IME, 1 close it, other: leave it
  bool katakanaMode = false;
};

// How a key's value becomes its field: a text cut to a field's 254 bytes (a
// path is a text that names a file), a decimal number, a colour, an option
// (a decimal number of at most 9 characters) or a flag (an option, not 0).
enum class KeyKind { Text, Path, Decimal, Colour, Option, Flag };

using TextField = std::string QuestionSetValues::*;
using NumberField = std::int32_t QuestionSetValues::*;
using FlagField = bool QuestionSetValues::*;

// One key of the set file: where it goes, its default, the first version
// that reads it and whether the selection screen's list reads it too.
struct QuestionSetKey {
  const char* name;
  std::variant<TextField, NumberField, FlagField> field;
  KeyKind kind;
  const char* defaultText;
  int firstVersion;
  bool listed;
};

// Every key the program reads after `Version`, in the order it reads them.
extern const QuestionSetKey kQuestionSetKeys[26];

// The full record that a practice screen uses.
class CQuestionSettingData : public CSettingData {
 public:
  const QuestionSetValues& values() const { return values_; }
  QuestionSetValues& values() { return values_; }
  // The version the file declared (5 when it declares none).
  int version() const { return version_; }

 protected:
  virtual int ReadKeys(int version);

  // Reads one key into its field.
  void ReadKey(const QuestionSetKey& key);
  // "#name" and "?name" name a file beside the set file: made relative to it.
  void ResolveSetRelativePath(std::string& field) const;

  QuestionSetValues values_;

 private:
  // Checks the version (fatal 0103 for 0 or no number, 0102 outside 1..5),
  // then reads the keys of that version. Returns 0.
  int ReadRecord() override;

  int version_ = 0;
};

// The short record that the selection screen makes for every set it lists:
// count, question file, message and title only.
class CMenuQuestionLoader : public CQuestionSettingData {
 protected:
  int ReadKeys(int version) override;
};

// "0x" followed by hexadecimal digits, or a decimal number, as the C
// library's long conversion reads it (clamped to 32 bits).
Colour ParseColor(std::string_view text);

// A field starting with "#" or "?" becomes the set file's folder followed by
// the rest of the field ("#q.txt" in ./data/sub/a.ini: ./data/sub/q.txt).
std::string ResolveSetRelativePath(std::string_view setPath, std::string_view field);

// A field starting with "/" or "\" is taken from the current directory:
// "/data/q.txt" becomes "./data/q.txt". Anything else stays as it is.
std::string ResolveRootRelativePath(std::string_view field);

}  // namespace kanaflow
