#include "settings/software_setting_data.h"

#include "platform/number_text.h"
#include "platform/profile_file.h"

namespace kanaflow {
namespace {

struct FlagKey {
  const char* name;
  bool SoftwareSettings::*field;
  const char* defaultText;
};

struct SpellingKey {
  const char* name;
  std::int32_t SpellingPreferences::*field;
  const char* defaultText;
};

// Read and written in this order: the flags first, then the spellings
// grouped as the setup dialog shows them.
constexpr FlagKey kFlagKeys[] = {
    {"ShowKeyboard", &SoftwareSettings::showKeyboard, "1"},
    {"ShowFingerPosition", &SoftwareSettings::showFingerPosition, "1"},
    {"ShowNextTypeKey", &SoftwareSettings::showNextTypeKey, "1"},
    {"ShowKeyString", &SoftwareSettings::showKeyString, "1"},
    {"DisableImeControl", &SoftwareSettings::disableImeControl, "0"},
    {"DisablePlayMusic", &SoftwareSettings::disablePlayMusic, "0"},
    {"DisableWindowVibration", &SoftwareSettings::disableWindowVibration, "0"},
};

// Added later than the others: a file without them means off, and saving
// with them off leaves such a file without them.
constexpr FlagKey kLaterKeys[] = {
    {"FlexibleInput", &SoftwareSettings::flexibleInput, "0"},
    {"KeepRecords", &SoftwareSettings::keepRecords, "0"},
};

struct NumberKey {
  const char* name;
  int SoftwareSettings::*field;
  const char* defaultText;
};

// Options for learners who need more than the program first offered. Like
// FlexibleInput, each is written only when it differs from its default or is
// already in the file, so a file saved with the defaults stays as it was.
constexpr NumberKey kLaterNumberKeys[] = {
    {"ShowRomaji", &SoftwareSettings::showRomaji, "1"},
    {"KeyboardLayout", &SoftwareSettings::keyboardLayout, "0"},
    {"WindowScale", &SoftwareSettings::windowScale, "100"},
};

constexpr SpellingKey kSpellingKeys[] = {
    {"Character_si", &SpellingPreferences::si, "1"},
    {"Character_sya", &SpellingPreferences::sya, "1"},
    {"Character_syu", &SpellingPreferences::syu, "1"},
    {"Character_syo", &SpellingPreferences::syo, "1"},
    {"Character_jya", &SpellingPreferences::jya, "2"},
    {"Character_jyu", &SpellingPreferences::jyu, "2"},
    {"Character_jye", &SpellingPreferences::jye, "2"},
    {"Character_jyo", &SpellingPreferences::jyo, "2"},
    {"Character_ti", &SpellingPreferences::ti, "1"},
    {"Character_tu", &SpellingPreferences::tu, "1"},
    {"Character_tya", &SpellingPreferences::tya, "1"},
    {"Character_tyu", &SpellingPreferences::tyu, "1"},
    {"Character_tyo", &SpellingPreferences::tyo, "1"},
    {"Character_hu", &SpellingPreferences::hu, "1"},
    {"Character_zi", &SpellingPreferences::zi, "1"},
    {"Character_Komoji", &SpellingPreferences::Komoji, "1"},
};

}  // namespace

int WindowScalePercent(int windowScale, int screenDpi) {
  if (windowScale == 125 || windowScale == 150 || windowScale == 200) return windowScale;
  if (windowScale == 0 && screenDpi > 0) return screenDpi * 100 / 96;
  return 100;
}

int CSoftwareSettingData::ReadRecord() {
  for (const FlagKey& key : kFlagKeys) {
    values_.*key.field = ParseDecimal(ReadValue(kSettingSection, key.name, key.defaultText)) != 0;
  }
  for (const FlagKey& key : kLaterKeys) {
    values_.*key.field = ParseDecimal(ReadValue(kSettingSection, key.name, key.defaultText)) != 0;
  }
  for (const NumberKey& key : kLaterNumberKeys) {
    values_.*key.field = ParseDecimal(ReadValue(kSettingSection, key.name, key.defaultText));
  }
  for (const SpellingKey& key : kSpellingKeys) {
    values_.spelling.*key.field = ParseDecimal(ReadValue(kSettingSection, key.name, key.defaultText));
  }
  return 0;
}

bool CSoftwareSettingData::Save(const std::string& path) const {
  std::optional<ProfileText> profile = LoadProfileTextForUpdate(path);
  if (!profile) return false;
  for (const FlagKey& key : kFlagKeys) {
    profile->SetString(kSettingSection, key.name, values_.*key.field ? "1" : "0");
  }
  for (const SpellingKey& key : kSpellingKeys) {
    profile->SetString(kSettingSection, key.name, DecimalText(values_.spelling.*key.field));
  }
  for (const FlagKey& key : kLaterKeys) {
    if (values_.*key.field || profile->Find(kSettingSection, key.name)) {
      profile->SetString(kSettingSection, key.name, values_.*key.field ? "1" : "0");
    }
  }
  for (const NumberKey& key : kLaterNumberKeys) {
    const std::string value = DecimalText(values_.*key.field);
    if (value != key.defaultText || profile->Find(kSettingSection, key.name)) {
      profile->SetString(kSettingSection, key.name, value);
    }
  }
  return SaveProfileText(path, *profile);
}

}  // namespace kanaflow
