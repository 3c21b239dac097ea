#include "settings/software_setting_data.h"

#include <gtest/gtest.h>

#include <utility>

#include "support/temp_folder.h"

namespace kanaflow {
namespace {

using testing::ExpectFatal;
using testing::TempFolder;

SoftwareSettings LoadFrom(const std::string& path) {
  CSoftwareSettingData data;
  data.Load(path);
  return data.values();
}

TEST(SoftwareSettingDataTest, MissingFileGivesTheDefaults) {
  TempFolder folder;
  const SoftwareSettings settings = LoadFrom(folder.path() + "/Setting.ini");
  EXPECT_TRUE(settings.showKeyboard);
  EXPECT_TRUE(settings.showFingerPosition);
  EXPECT_TRUE(settings.showNextTypeKey);
  EXPECT_TRUE(settings.showKeyString);
  EXPECT_FALSE(settings.disableImeControl);
  EXPECT_FALSE(settings.disablePlayMusic);
  EXPECT_FALSE(settings.disableWindowVibration);
  const SpellingPreferences& s = settings.spelling;
  const std::int32_t got[] = {s.si,  s.ti,  s.tu,  s.hu,  s.zi,  s.sya, s.syu, s.syo,
                              s.jya, s.jyu, s.jye, s.jyo, s.tya, s.tyu, s.tyo, s.Komoji};
  const std::int32_t expected[] = {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 1, 1, 1, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(got[i], expected[i]) << "preference " << i;
}

TEST(SoftwareSettingDataTest, ValuesFollowTheDecimalRule) {
  TempFolder folder;
  const std::string path = folder.Write("Setting.ini",
                                        "[Setting]\r\nShowKeyboard=\r\nShowFingerPosition=2\r\nShowNextTypeKey=-1\r\n"
                                        "ShowKeyString=abc\r\nDisablePlayMusic= 1 \r\nCharacter_si=7\r\n"
                                        "Character_jya=0\r\nCharacter_Komoji=x\r\n");
  const SoftwareSettings settings = LoadFrom(path);
  EXPECT_FALSE(settings.showKeyboard) << "an empty value is not the default";
  EXPECT_TRUE(settings.showFingerPosition);
  EXPECT_TRUE(settings.showNextTypeKey);
  EXPECT_FALSE(settings.showKeyString);
  EXPECT_TRUE(settings.disablePlayMusic);
  EXPECT_EQ(settings.spelling.si, 7) << "stored unchecked";
  EXPECT_EQ(settings.spelling.jya, 0);
  EXPECT_EQ(settings.spelling.Komoji, 0);
  EXPECT_EQ(settings.spelling.ti, 1) << "absent key keeps its default";
}

TEST(SoftwareSettingDataTest, TheWordErrorIsFatalAndNamesTheKey) {
  TempFolder folder;
  const std::string path = folder.Write("Setting.ini", "[Setting]\nDisablePlayMusic=Error\n");
  const auto raised = ExpectFatal([&] { LoadFrom(path); });
  EXPECT_EQ(raised.number, 104);
  EXPECT_NE(raised.text.find("情報\n設定ファイル名：" + path + "\nセクション名：Setting\nキー名：DisablePlayMusic\n"
                             "カレントディレクトリ："),
            std::string::npos)
      << raised.text;
}

TEST(SoftwareSettingDataTest, FreshSaveWritesAllKeysInOrder) {
  TempFolder folder;
  CSoftwareSettingData data;
  data.Load(folder.path() + "/Setting.ini");
  ASSERT_TRUE(data.Save(folder.path() + "/Setting.ini"));
  EXPECT_EQ(folder.Read("Setting.ini"),
            "[Setting]\r\nShowKeyboard=1\r\nShowFingerPosition=1\r\nShowNextTypeKey=1\r\nShowKeyString=1\r\n"
            "DisableImeControl=0\r\nDisablePlayMusic=0\r\nDisableWindowVibration=0\r\nCharacter_si=1\r\n"
            "Character_sya=1\r\nCharacter_syu=1\r\nCharacter_syo=1\r\nCharacter_jya=2\r\nCharacter_jyu=2\r\n"
            "Character_jye=2\r\nCharacter_jyo=2\r\nCharacter_ti=1\r\nCharacter_tu=1\r\nCharacter_tya=1\r\n"
            "Character_tyu=1\r\nCharacter_tyo=1\r\nCharacter_hu=1\r\nCharacter_zi=1\r\nCharacter_Komoji=1\r\n");
}

TEST(SoftwareSettingDataTest, SaveKeepsOtherSectionsKeysAndCommentsByteForByte) {
  TempFolder folder;
  const std::string path = folder.Write("Setting.ini",
                                        "; mine\n[Other]\nShowKeyboard=9\n\n[setting]\nExtra = keep me \n"
                                        "showkeyboard = 1\nCharacter_si=7\n");
  CSoftwareSettingData data;
  data.Load(path);
  data.values().showKeyboard = false;
  ASSERT_TRUE(data.Save(path));
  const std::string saved = folder.Read("Setting.ini");
  EXPECT_EQ(saved.substr(0, saved.find("showkeyboard")),
            "; mine\n[Other]\nShowKeyboard=9\n\n[setting]\nExtra = keep me \n");
  EXPECT_NE(saved.find("\nshowkeyboard=0\nCharacter_si=7\nShowFingerPosition=1\n"), std::string::npos) << saved;
  CSoftwareSettingData reread;
  reread.Load(path);
  EXPECT_FALSE(reread.values().showKeyboard);
  EXPECT_EQ(reread.values().spelling.si, 7);
}

TEST(SoftwareSettingDataTest, SaveReportsAFileThatCannotBeWritten) {
  TempFolder folder;
  folder.MakeFolder("Setting.ini");  // a folder where the file should be
  CSoftwareSettingData data;
  EXPECT_FALSE(data.Save(folder.path() + "/Setting.ini"));
  EXPECT_FALSE(data.Save(folder.path() + "/missing-folder/Setting.ini"));
}

// Writing Shift_JIS lines into UTF-16 text would leave a file that no
// editor reads whole, so the save is refused and the file left as it was.
TEST(SoftwareSettingDataTest, AUtf16FileIsReadAsAbsentAndNeverWrittenInto) {
  const std::string utf16 = std::string("\xFF\xFE[\0S\0e\0t\0t\0i\0n\0g\0]\0\r\0\n\0", 24);
  for (const std::string& bytes : {utf16, "\xFE\xFF" + utf16.substr(2)}) {
    TempFolder folder;
    const std::string path = folder.Write("Setting.ini", bytes + std::string("S\0h\0o\0w\0", 8));
    CSoftwareSettingData data;
    data.Load(path);
    EXPECT_EQ(data.values().showKeyboard, SoftwareSettings().showKeyboard);
    data.values().showKeyboard = false;
    EXPECT_FALSE(data.Save(path));
    EXPECT_EQ(folder.Read("Setting.ini"), bytes + std::string("S\0h\0o\0w\0", 8));
  }
}

TEST(SoftwareSettingDataTest, LaterSwitchesAreOffUnlessWrittenAndSavedOnlyWhenTheyMatter) {
  const std::pair<const char*, bool SoftwareSettings::*> keys[] = {
      {"FlexibleInput", &SoftwareSettings::flexibleInput}, {"KeepRecords", &SoftwareSettings::keepRecords}};
  for (const auto& [name, field] : keys) {
    TempFolder folder;
    const std::string path = folder.Write("Setting.ini", "[Setting]\r\nShowKeyboard=0\r\n");
    CSoftwareSettingData data;
    data.Load(path);
    EXPECT_FALSE(data.values().*field) << name;
    ASSERT_TRUE(data.Save(path));
    EXPECT_EQ(folder.Read("Setting.ini").find(name), std::string::npos) << name << " is not written while off";
    data.values().*field = true;
    ASSERT_TRUE(data.Save(path));
    CSoftwareSettingData reread;
    reread.Load(path);
    EXPECT_TRUE(reread.values().*field) << name;
    EXPECT_FALSE(reread.values().showKeyboard);
    reread.values().*field = false;
    ASSERT_TRUE(reread.Save(path));
    EXPECT_NE(folder.Read("Setting.ini").find(std::string(name) + "=0\r\n"), std::string::npos) << "a written key stays";
    data.Load(path);
    EXPECT_FALSE(data.values().*field) << name;
  }
}

TEST(SoftwareSettingDataTest, WindowScaleIsTheChosenPercentOrTheScreens) {
  EXPECT_EQ(WindowScalePercent(0, 144), 150) << "the screen's: 144 dpi";
  EXPECT_EQ(WindowScalePercent(125, 192), 125);
  EXPECT_EQ(WindowScalePercent(120, 192), 100) << "a value the setting does not know";
}

}  // namespace
}  // namespace kanaflow
