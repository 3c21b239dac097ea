// The application settings of ./Setting.ini, section "Setting".
#pragma once

#include <string>

#include "settings/setting_data.h"
#include "settings/spelling_preferences.h"

namespace kanaflow {

inline constexpr char kSettingFilePath[] = "./Setting.ini";
inline constexpr char kSettingSection[] = "Setting";

// The eight switches and the sixteen spelling preferences. A default-
// constructed value holds what the program uses when Setting.ini is missing.
struct SoftwareSettings {
  bool showKeyboard = true;
  bool showFingerPosition = true;
  bool showNextTypeKey = true;
  bool showKeyString = true;
  bool disableImeControl = false;
  bool disablePlayMusic = false;
  bool disableWindowVibration = false;
  // The basic screen also accepts the other usual spellings of each kana.
  bool flexibleInput = false;
  // Each finished run is added to the records file, the results show the
  // progress, and drills are made from the weak keys and missed questions.
  bool keepRecords = false;
  // The basic screen's romaji row: 0 hidden, 1 shown, 2 shown once the
  // learner misses on the question or waits (RomajiGuide).
  int showRomaji = 1;
  // The on-screen keyboard: 0 Japanese (JIS), 1 US.
  int keyboardLayout = 0;
  // The windows' scale in percent: 100 leaves it to the system, 0 takes the
  // screen's (WindowScalePercent).
  int windowScale = 100;
  SpellingPreferences spelling;
};

// The scale the windows are drawn at for the setting WindowScale on a screen
// of `screenDpi` (96 is 100 %): 125, 150 and 200 as they are, 0 the
// screen's own, anything else 100.
int WindowScalePercent(int windowScale, int screenDpi);

class CSoftwareSettingData : public CSettingData {
 public:

  // Writes the keys into the file at `path`, keeping every other line of it
  // byte for byte; FlexibleInput and KeepRecords only when on or already
  // written, so that a file saved with them off stays as it always was. The file is
  // replaced in one step. False when it could not be written (the old file
  // is then untouched).
  [[nodiscard]] bool Save(const std::string& path) const;

  SpellingPreferences GetSpellingPreferences() const { return values_.spelling; }

  const SoftwareSettings& values() const { return values_; }
  SoftwareSettings& values() { return values_; }

 private:
  // Reads all the keys; a missing file, section or key gives its default.
  int ReadRecord() override;

  SoftwareSettings values_;
};

}  // namespace kanaflow
