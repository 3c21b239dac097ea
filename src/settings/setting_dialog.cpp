#include "settings/setting_dialog.h"

#include <cstdint>
#include <optional>

#include "app/error_box.h"
#include "platform/fatal_error.h"
#include "platform/profile_file.h"
#include "settings/setup_dialog_ids.h"
#include "settings/software_setting_data.h"

namespace kanaflow {
namespace {

constexpr wchar_t kTemplateName[] = L"SETUP_DIALOG";

struct FlagBox {
  int id;
  bool SoftwareSettings::*field;
};

// Shown, and enabled, only while the keyboard itself is shown (1002).
constexpr FlagBox kKeyboardOptions[] = {
    {IDC_SHOW_FINGER_POSITION, &SoftwareSettings::showFingerPosition},
    {IDC_SHOW_NEXT_TYPE_KEY, &SoftwareSettings::showNextTypeKey},
    {IDC_SHOW_KEY_STRING, &SoftwareSettings::showKeyString},
};

constexpr FlagBox kProgramOptions[] = {
    {IDC_DISABLE_IME_CONTROL, &SoftwareSettings::disableImeControl},
    {IDC_DISABLE_PLAY_MUSIC, &SoftwareSettings::disablePlayMusic},
    {IDC_DISABLE_WINDOW_VIBRATION, &SoftwareSettings::disableWindowVibration},
    {IDC_FLEXIBLE_INPUT, &SoftwareSettings::flexibleInput},
    {IDC_KEEP_RECORDS, &SoftwareSettings::keepRecords},
};

// The radio buttons of one kana, in the order of the values they stand for.
struct SpellingGroup {
  std::int32_t SpellingPreferences::*field;
  int buttons[3];
  int count;
};

constexpr SpellingGroup kSpellingGroups[] = {
    {&SpellingPreferences::si, {IDC_SI_SI, IDC_SI_SHI}, 2},
    {&SpellingPreferences::zi, {IDC_ZI_ZI, IDC_ZI_JI}, 2},
    {&SpellingPreferences::ti, {IDC_TI_TI, IDC_TI_CHI}, 2},
    {&SpellingPreferences::tu, {IDC_TU_TU, IDC_TU_TSU}, 2},
    {&SpellingPreferences::hu, {IDC_HU_HU, IDC_HU_FU}, 2},
    {&SpellingPreferences::sya, {IDC_SYA_SYA, IDC_SYA_SHA}, 2},
    {&SpellingPreferences::syu, {IDC_SYU_SYU, IDC_SYU_SHU}, 2},
    {&SpellingPreferences::syo, {IDC_SYO_SYO, IDC_SYO_SHO}, 2},
    {&SpellingPreferences::tya, {IDC_TYA_TYA, IDC_TYA_CHA}, 2},
    {&SpellingPreferences::tyu, {IDC_TYU_TYU, IDC_TYU_CHU}, 2},
    {&SpellingPreferences::tyo, {IDC_TYO_TYO, IDC_TYO_CHO}, 2},
    {&SpellingPreferences::jya, {IDC_JYA_JA, IDC_JYA_ZYA, IDC_JYA_JYA}, 3},
    {&SpellingPreferences::jyu, {IDC_JYU_JU, IDC_JYU_ZYU, IDC_JYU_JYU}, 3},
    {&SpellingPreferences::jye, {IDC_JYE_JE, IDC_JYE_ZYE, IDC_JYE_JYE}, 3},
    {&SpellingPreferences::jyo, {IDC_JYO_JO, IDC_JYO_ZYO, IDC_JYO_JYO}, 3},
    {&SpellingPreferences::Komoji, {IDC_KOMOJI_L, IDC_KOMOJI_X}, 2},
};

// A setting chosen among a few values, one radio button each. A value with
// no button of its own (from a hand-edited file) shows as the default's
// button, the first, which is how the program reads such a value.
struct ChoiceGroup {
  int SoftwareSettings::*field;
  int buttons[5];
  int values[5];
  int count;
};

constexpr ChoiceGroup kChoiceGroups[] = {
    {&SoftwareSettings::showRomaji, {IDC_SHOW_ROMAJI_ON, IDC_SHOW_ROMAJI_OFF, IDC_SHOW_ROMAJI_LATER}, {1, 0, 2}, 3},
    {&SoftwareSettings::keyboardLayout, {IDC_KEYBOARD_LAYOUT_JAPANESE, IDC_KEYBOARD_LAYOUT_US}, {0, 1}, 2},
    {&SoftwareSettings::windowScale,
     {IDC_WINDOW_SCALE_100, IDC_WINDOW_SCALE_125, IDC_WINDOW_SCALE_150, IDC_WINDOW_SCALE_200, IDC_WINDOW_SCALE_SCREEN},
     {100, 125, 150, 200, 0},
     5},
};

// One record for the whole life of the process, reloaded at every opening.
CSoftwareSettingData& DialogRecord() {
  static CSoftwareSettingData record;
  return record;
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) != BST_UNCHECKED; }

void SetChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableKeyboardOptions(HWND dialog, bool enable) {
  for (const FlagBox& box : kKeyboardOptions) EnableWindow(GetDlgItem(dialog, box.id), enable ? TRUE : FALSE);
}

// A value that has no button of its own (out of range, from a hand-edited
// file) shows as the group's last button, and is saved as that button's value.
void ShowSpelling(HWND dialog, const SpellingGroup& group, std::int32_t value) {
  const int chosen = value >= 0 && value < group.count ? value : group.count - 1;
  for (int index = 0; index < group.count; ++index) SetChecked(dialog, group.buttons[index], index == chosen);
}

std::int32_t ChosenSpelling(HWND dialog, const SpellingGroup& group) {
  for (int index = 0; index < group.count - 1; ++index) {
    if (IsChecked(dialog, group.buttons[index])) return index;
  }
  return group.count - 1;
}

void ShowChoice(HWND dialog, const ChoiceGroup& group, int value) {
  int chosen = 0;
  for (int index = 0; index < group.count; ++index) {
    if (group.values[index] == value) chosen = index;
  }
  for (int index = 0; index < group.count; ++index) SetChecked(dialog, group.buttons[index], index == chosen);
}

int ChosenValue(HWND dialog, const ChoiceGroup& group) {
  for (int index = 1; index < group.count; ++index) {
    if (IsChecked(dialog, group.buttons[index])) return group.values[index];
  }
  return group.values[0];
}

// What the user can do about a save that failed: a file that the program
// refused to write into says why; otherwise the writing itself failed.
const char* SaveFailureAdvice(std::optional<ProfileRefusal> refusal) {
  if (!refusal) return "ファイルが読み取り専用になっていないか、フォルダーに書き込めるかを確かめてから、";
  switch (*refusal) {
    case ProfileRefusal::Utf16:
      return "ファイルが UTF-16 で書かれているため、その設定を読むことも、そこへ書き込むこともできません。\n"
             "文字コードを Shift_JIS にして保存し直してから、";
    case ProfileRefusal::TooLarge:
      return "ファイルが 1 MiB より大きく、はじめの 1 MiB しか読めないため、書き込むと残りが失われます。\n"
             "ファイルを小さくしてから、";
    case ProfileRefusal::Unreadable:
      return "ファイルを読むことができないため、書き込むと読めなかった行が失われます。\n"
             "ほかのプログラムが開いていないか、読み取りの権限があるかを確かめてから、";
    case ProfileRefusal::NotAFile:
      return "その名前のフォルダーまたは装置があるため、ファイルを書けません。\nそれを別の名前にしてから、";
  }
  return "";
}

// Closing as if saved would lose the user's choices without a word, so the
// dialog says where it could not write and why, and stays open for another
// try.
void ReportSaveFailure(HWND dialog, std::optional<ProfileRefusal> refusal) {
  const std::string text = std::string("設定を保存できませんでした。\n") + "ファイル：" + kSettingFilePath + "\n" +
                           CurrentDirectoryLine() + "\n\n" + SaveFailureAdvice(refusal) +
                           "もう一度「OK」を押してください。\n「キャンセル」を押すと、変更を保存せずに閉じます。";
  ShowErrorBox(dialog, text, MB_OK | MB_ICONERROR);
}

}  // namespace

CSettingDialog::CSettingDialog(HWND owner) : CDialogWindow(owner, kTemplateName) { RunModal(); }

INT_PTR CSettingDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return TRUE;  // the focus goes to the first tab stop, 1002
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

void CSettingDialog::OnInitDialog(HWND dialog) {
  CSoftwareSettingData& record = DialogRecord();
  record.Load(kSettingFilePath);
  const SoftwareSettings& values = record.values();

  SetChecked(dialog, IDC_SHOW_KEYBOARD, values.showKeyboard);
  // Without the keyboard its options open cleared, whatever the file holds.
  for (const FlagBox& box : kKeyboardOptions) SetChecked(dialog, box.id, values.showKeyboard && values.*box.field);
  EnableKeyboardOptions(dialog, values.showKeyboard);

  for (const FlagBox& box : kProgramOptions) SetChecked(dialog, box.id, values.*box.field);
  for (const SpellingGroup& group : kSpellingGroups) ShowSpelling(dialog, group, values.spelling.*group.field);
  for (const ChoiceGroup& group : kChoiceGroups) ShowChoice(dialog, group, values.*group.field);
}

void CSettingDialog::OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_SHOW_KEYBOARD:
      // The options keep their marks while disabled.
      EnableKeyboardOptions(dialog, IsChecked(dialog, IDC_SHOW_KEYBOARD));
      break;
    case IDOK:
      OnOk(dialog);
      break;
    case IDCANCEL:  // also the close box and Escape
      EndDialog(dialog, IDCANCEL);
      break;
  }
}

void CSettingDialog::OnOk(HWND dialog) {
  CSoftwareSettingData& record = DialogRecord();
  SoftwareSettings& values = record.values();
  values.showKeyboard = IsChecked(dialog, IDC_SHOW_KEYBOARD);
  for (const FlagBox& box : kKeyboardOptions) values.*box.field = IsChecked(dialog, box.id);
  for (const FlagBox& box : kProgramOptions) values.*box.field = IsChecked(dialog, box.id);
  for (const SpellingGroup& group : kSpellingGroups) values.spelling.*group.field = ChosenSpelling(dialog, group);
  for (const ChoiceGroup& group : kChoiceGroups) values.*group.field = ChosenValue(dialog, group);

  if (!record.Save(kSettingFilePath)) {
    ReportSaveFailure(dialog, RefusalToUpdate(kSettingFilePath));
    return;
  }
  EndDialog(dialog, IDOK);
}

}  // namespace kanaflow
