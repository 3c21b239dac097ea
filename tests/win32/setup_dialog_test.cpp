// The setup dialog driven with real messages: the template, what the dialog
// shows for a Setting.ini, what OK writes, what closing without OK leaves
// alone, and what it says when the file cannot be written.
#include "settings/setting_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/window_utilities.h"
#include "platform/fatal_error.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "settings/setup_dialog_ids.h"
#include "support/image.h"
#include "support/screen_harness.h"
#include "support/temp_folder.h"

namespace kanaflow {
namespace {

using testing::ScopedCurrentDirectory;
using testing::TempFolder;
using testing::TestCanvas;

// ---------------------------------------------------------------------------
// Setting.ini as a save writes it.

struct Key {
  const char* name;
  const char* value;
};

// The 23 keys in the order they are written, with their default values.
constexpr Key kSavedKeys[] = {
    {"ShowKeyboard", "1"},      {"ShowFingerPosition", "1"}, {"ShowNextTypeKey", "1"}, {"ShowKeyString", "1"},
    {"DisableImeControl", "0"}, {"DisablePlayMusic", "0"},   {"DisableWindowVibration", "0"},
    {"Character_si", "1"},      {"Character_sya", "1"},      {"Character_syu", "1"},   {"Character_syo", "1"},
    {"Character_jya", "2"},     {"Character_jyu", "2"},      {"Character_jye", "2"},   {"Character_jyo", "2"},
    {"Character_ti", "1"},      {"Character_tu", "1"},       {"Character_tya", "1"},   {"Character_tyu", "1"},
    {"Character_tyo", "1"},     {"Character_hu", "1"},       {"Character_zi", "1"},    {"Character_Komoji", "1"},
};

using Changes = std::map<std::string, std::string>;

// The file that a save writes: every key with its default value unless
// `changes` gives another.
std::string SettingFile(const Changes& changes = {}) {
  std::string file = "[Setting]\r\n";
  std::size_t used = 0;
  for (const Key& key : kSavedKeys) {
    const auto changed = changes.find(key.name);
    used += changed != changes.end() ? 1 : 0;
    file += std::string(key.name) + "=" + (changed != changes.end() ? changed->second : key.value) + "\r\n";
  }
  if (used != changes.size()) throw std::logic_error("a change names no key of Setting.ini");
  return file;
}

// Every spelling key set to `value`, merged with `more`.
Changes AllSpellings(const std::string& value, const Changes& more = {}) {
  Changes changes = more;
  for (const Key& key : kSavedKeys) {
    if (std::string(key.name).rfind("Character_", 0) == 0) changes.emplace(key.name, value);
  }
  return changes;
}

std::filesystem::path NativePath(const std::string& cp932) { return std::filesystem::path(Cp932ToWide(cp932)); }

// A time long past, so that any rewrite of a file shows in its time stamp.
std::filesystem::file_time_type OldTime() {
  return std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 5);
}

// A fresh working folder, the current directory while it lives.
struct WorkingFolder {
  TempFolder folder;
  ScopedCurrentDirectory inside{folder.path()};

  void WriteSettings(const std::optional<std::string>& bytes) const {
    if (bytes) folder.Write("Setting.ini", *bytes);
  }
  std::string SettingsPath() const { return folder.path() + "/Setting.ini"; }
};

// ---------------------------------------------------------------------------
// The dialog's controls as a test reads them.

constexpr int kCheckBoxes[] = {IDC_SHOW_KEYBOARD,      IDC_SHOW_FINGER_POSITION,     IDC_SHOW_NEXT_TYPE_KEY,
                               IDC_SHOW_KEY_STRING,    IDC_DISABLE_PLAY_MUSIC,       IDC_DISABLE_WINDOW_VIBRATION,
                               IDC_KANA_INPUT_WITH_IME, IDC_DISABLE_IME_CONTROL};

// The radio buttons of each kana in the order the dialog lays them out:
// し じ ち つ ふ, しゃ しゅ しょ, ちゃ ちゅ ちょ, じゃ じゅ じぇ じょ, small kana.
const std::vector<std::vector<int>> kRadioGroups = {
    {IDC_SI_SI, IDC_SI_SHI},
    {IDC_ZI_ZI, IDC_ZI_JI},
    {IDC_TI_TI, IDC_TI_CHI},
    {IDC_TU_TU, IDC_TU_TSU},
    {IDC_HU_HU, IDC_HU_FU},
    {IDC_SYA_SYA, IDC_SYA_SHA},
    {IDC_SYU_SYU, IDC_SYU_SHU},
    {IDC_SYO_SYO, IDC_SYO_SHO},
    {IDC_TYA_TYA, IDC_TYA_CHA},
    {IDC_TYU_TYU, IDC_TYU_CHU},
    {IDC_TYO_TYO, IDC_TYO_CHO},
    {IDC_JYA_JA, IDC_JYA_ZYA, IDC_JYA_JYA},
    {IDC_JYU_JU, IDC_JYU_ZYU, IDC_JYU_JYU},
    {IDC_JYE_JE, IDC_JYE_ZYE, IDC_JYE_JYE},
    {IDC_JYO_JO, IDC_JYO_ZYO, IDC_JYO_JYO},
    {IDC_KOMOJI_L, IDC_KOMOJI_X},
};

constexpr char kDefaultSpellings[] = "shi ji chi tsu fu sha shu sho cha chu cho jya jyu jye jyo x";

void Append(std::string& list, const std::string& item) {
  if (!list.empty()) list += ' ';
  list += item;
}

// The first word of a button's label: "l" of "l  （例：la lyo ltu lwa）".
std::string Label(HWND button) {
  const std::string text = GetWindowTextCp932(button, 255);
  return text.substr(0, text.find(' '));
}

struct DialogState {
  std::string checked;    // ids of the checked check boxes
  std::string disabled;   // ids of the disabled check boxes
  std::string spellings;  // per kana the label of its checked button, "-" for none
};

DialogState ReadState(HWND dialog) {
  DialogState state;
  for (int id : kCheckBoxes) {
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) Append(state.checked, std::to_string(id));
    if (!IsWindowEnabled(GetDlgItem(dialog, id))) Append(state.disabled, std::to_string(id));
  }
  for (const auto& group : kRadioGroups) {
    std::string picked;
    for (int id : group) {
      if (IsDlgButtonChecked(dialog, id) != BST_CHECKED) continue;
      picked += (picked.empty() ? "" : "+") + Label(GetDlgItem(dialog, id));
    }
    Append(state.spellings, picked.empty() ? "-" : picked);
  }
  return state;
}

// A click as the mouse makes it: the button toggles or checks itself and
// tells the dialog.
void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void ClickAll(HWND dialog, const std::vector<int>& ids) {
  for (int id : ids) Click(dialog, id);
}

std::vector<int> ButtonsAt(std::size_t index) {
  std::vector<int> buttons;
  for (const auto& group : kRadioGroups) buttons.push_back(group[std::min(index, group.size() - 1)]);
  return buttons;
}

// ---------------------------------------------------------------------------
// Driving the modal dialog.

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct Search {
  HWND owner;  // find a message box owned by this window; null: find the setup dialog
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (ClassOf(window) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  const bool match = search->owner ? GetWindow(window, GW_OWNER) == search->owner
                                   : GetWindowTextCp932(window, 255) == "Kanaflow Setup Dialog";
  if (match) search->found = window;
  return match ? FALSE : TRUE;
}

HWND FindOnThread(HWND owner) {
  Search search{owner, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct SeenBox {
  std::string caption;
  std::string text;
};

constexpr int kMessageBoxTextId = 0xFFFF;

// Runs a script on the setup dialog once it is on the screen. The dialog's
// constructor returns only when the dialog has ended, so the script runs from
// a thread timer inside the dialog's own modal loop. The same timer answers
// the message boxes that the dialog opens (with OK, after reading them), and
// ends a dialog that the script left open, so that a failing test cannot hang.
class DialogDriver {
 public:
  using Script = std::function<void(HWND dialog)>;

  explicit DialogDriver(Script script) : script_(std::move(script)) {
    active_ = this;
    timer_ = SetTimer(nullptr, 0, 20, Tick);
  }
  ~DialogDriver() {
    KillTimer(nullptr, timer_);
    active_ = nullptr;
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  bool scriptRan() const { return ran_; }
  // True when the script did not end the dialog and the driver had to.
  bool leftOpen() const { return leftOpen_; }
  const std::vector<SeenBox>& boxes() const { return boxes_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (active_) active_->OnTick();
  }

  void OnTick() {
    const HWND dialog = FindOnThread(nullptr);
    if (!dialog) return;
    if (const HWND box = FindOnThread(dialog)) {
      boxes_.push_back({GetWindowTextCp932(box, 255), GetWindowTextCp932(GetDlgItem(box, kMessageBoxTextId), 4096)});
      SendMessageW(box, WM_COMMAND, IDOK, 0);
      return;
    }
    if (running_) return;  // the script waits in a nested loop
    if (!ran_) {
      running_ = true;
      script_(dialog);
      running_ = false;
      ran_ = true;
      return;
    }
    // Past the dialog's own procedure: a broken キャンセル must not keep it open.
    leftOpen_ = true;
    EndDialog(dialog, IDCANCEL);
  }

  static inline DialogDriver* active_ = nullptr;
  Script script_;
  UINT_PTR timer_ = 0;
  bool running_ = false;
  bool ran_ = false;
  bool leftOpen_ = false;
  std::vector<SeenBox> boxes_;
};

struct Outcome {
  bool scriptRan = false;
  bool leftOpen = false;
  std::vector<SeenBox> boxes;
};

// Opens the dialog as the main menu does, over a window of this thread, and
// runs `script` while it is open.
Outcome RunDialog(const DialogDriver::Script& script) {
  TestCanvas owner(320, 200);
  DialogDriver driver(script);
  { const CSettingDialog dialog(owner.window()); }
  return {driver.scriptRan(), driver.leftOpen(), driver.boxes()};
}

// ---------------------------------------------------------------------------
// What the dialog shows.

struct StateRow {
  const char* name;
  std::optional<std::string> file;  // nullopt: no Setting.ini
  std::vector<int> clicks;          // made after opening
  const char* checked;
  const char* disabled;
  const char* spellings;
};

TEST(SetupDialogTest, ShowsTheSettingsOfTheFileAndFollowsClicks) {
  const std::vector<StateRow> rows = {
      {"no Setting.ini: the defaults", std::nullopt, {}, "1002 1003 1006 1010", "", kDefaultSpellings},
      {"a Setting.ini of defaults", SettingFile(), {}, "1002 1003 1006 1010", "", kDefaultSpellings},
      {"ShowKeyboard 0: its three options cleared and disabled", SettingFile({{"ShowKeyboard", "0"}}), {}, "",
       "1003 1006 1010", kDefaultSpellings},
      {"each keyboard option from its own key", SettingFile({{"ShowFingerPosition", "0"}, {"ShowKeyString", "0"}}),
       {}, "1002 1006", "", kDefaultSpellings},
      {"the program options",
       SettingFile({{"DisableImeControl", "1"}, {"DisablePlayMusic", "1"}, {"DisableWindowVibration", "1"}}), {},
       "1002 1003 1006 1010 1005 1007 1004", "", kDefaultSpellings},
      {"only DisablePlayMusic", SettingFile({{"DisablePlayMusic", "1"}}), {}, "1002 1003 1006 1010 1005", "",
       kDefaultSpellings},
      {"every spelling 0: the first buttons", SettingFile(AllSpellings("0")), {}, "1002 1003 1006 1010", "",
       "si zi ti tu hu sya syu syo tya tyu tyo ja ju je jo l"},
      {"the j row at 1: the middle buttons",
       SettingFile({{"Character_jya", "1"}, {"Character_jyu", "1"}, {"Character_jye", "1"}, {"Character_jyo", "1"}}),
       {}, "1002 1003 1006 1010", "", "shi ji chi tsu fu sha shu sho cha chu cho zya zyu zye zyo x"},
      {"values without a button of their own: the last button",
       SettingFile(AllSpellings("0", {{"Character_si", "7"},
                                      {"Character_tu", "-1"},
                                      {"Character_jya", "5"},
                                      {"Character_jyo", "-2"},
                                      {"Character_Komoji", "3"}})),
       {}, "1002 1003 1006 1010", "", "shi zi ti tsu hu sya syu syo tya tyu tyo jya ju je jyo x"},
      {"Komoji 0: the l button", SettingFile({{"Character_Komoji", "0"}}), {}, "1002 1003 1006 1010", "",
       "shi ji chi tsu fu sha shu sho cha chu cho jya jyu jye jyo l"},
      {"unchecking 1002 disables its options and keeps their marks", SettingFile(), {IDC_SHOW_KEYBOARD},
       "1003 1006 1010", "1003 1006 1010", kDefaultSpellings},
      {"checking 1002 again enables them", SettingFile(), {IDC_SHOW_KEYBOARD, IDC_SHOW_KEYBOARD},
       "1002 1003 1006 1010", "", kDefaultSpellings},
      {"checking 1002 after ShowKeyboard 0 enables the cleared options", SettingFile({{"ShowKeyboard", "0"}}),
       {IDC_SHOW_KEYBOARD}, "1002", "", kDefaultSpellings},
      {"a radio button changes only its own group", SettingFile(), {IDC_JYA_JA, IDC_KOMOJI_L, IDC_SI_SI},
       "1002 1003 1006 1010", "", "si ji chi tsu fu sha shu sho cha chu cho ja jyu jye jyo l"},
      {"the first button of every group", SettingFile(), ButtonsAt(0), "1002 1003 1006 1010", "",
       "si zi ti tu hu sya syu syo tya tyu tyo ja ju je jo l"},
  };
  for (const StateRow& row : rows) {
    WorkingFolder work;
    work.WriteSettings(row.file);
    DialogState state;
    const Outcome outcome = RunDialog([&](HWND dialog) {
      ClickAll(dialog, row.clicks);
      state = ReadState(dialog);
      Click(dialog, IDCANCEL);
    });
    ASSERT_TRUE(outcome.scriptRan) << row.name;
    EXPECT_EQ(state.checked, row.checked) << row.name;
    EXPECT_EQ(state.disabled, row.disabled) << row.name;
    EXPECT_EQ(state.spellings, row.spellings) << row.name;
    EXPECT_FALSE(outcome.leftOpen) << row.name << ": キャンセル did not end the dialog";
  }
}

// ---------------------------------------------------------------------------
// What OK writes.

struct SaveRow {
  const char* name;
  std::optional<std::string> file;
  std::vector<int> clicks;
  std::string saved;
};

TEST(SetupDialogTest, OkSavesEveryControlAndEnds) {
  const std::vector<SaveRow> rows = {
      {"no Setting.ini: OK creates it with the 23 keys in order", std::nullopt, {}, SettingFile()},
      {"ShowKeyboard 0: the three cleared options are saved 0", SettingFile({{"ShowKeyboard", "0"}}), {},
       SettingFile({{"ShowKeyboard", "0"},
                    {"ShowFingerPosition", "0"},
                    {"ShowNextTypeKey", "0"},
                    {"ShowKeyString", "0"}})},
      {"1002 unchecked: the disabled options keep their marks and are saved 1", SettingFile(), {IDC_SHOW_KEYBOARD},
       SettingFile({{"ShowKeyboard", "0"}})},
      {"Character_jya 5 is saved back as 2", SettingFile({{"Character_jya", "5"}}), {},
       SettingFile({{"Character_jya", "2"}})},
      {"Character_si 7 is saved back as 1", SettingFile({{"Character_si", "7"}}), {},
       SettingFile({{"Character_si", "1"}})},
      {"Komoji 0 is kept", SettingFile({{"Character_Komoji", "0"}}), {}, SettingFile({{"Character_Komoji", "0"}})},
      {"flags outside 0 and 1 are saved as 0 or 1",
       SettingFile({{"ShowKeyboard", "2"}, {"DisablePlayMusic", "-1"}, {"ShowKeyString", "abc"}}), {},
       SettingFile({{"DisablePlayMusic", "1"}, {"ShowKeyString", "0"}})},
      {"every check box with a setting clicked", SettingFile(),
       {IDC_SHOW_FINGER_POSITION, IDC_SHOW_NEXT_TYPE_KEY, IDC_SHOW_KEY_STRING, IDC_DISABLE_IME_CONTROL,
        IDC_DISABLE_PLAY_MUSIC, IDC_DISABLE_WINDOW_VIBRATION},
       SettingFile({{"ShowFingerPosition", "0"},
                    {"ShowNextTypeKey", "0"},
                    {"ShowKeyString", "0"},
                    {"DisableImeControl", "1"},
                    {"DisablePlayMusic", "1"},
                    {"DisableWindowVibration", "1"}})},
      {"the first button of every group saves every spelling 0", SettingFile(), ButtonsAt(0),
       SettingFile(AllSpellings("0"))},
      {"the middle j-row buttons save 1", SettingFile(), {IDC_JYA_ZYA, IDC_JYU_ZYU, IDC_JYE_ZYE, IDC_JYO_ZYO},
       SettingFile({{"Character_jya", "1"}, {"Character_jyu", "1"}, {"Character_jye", "1"}, {"Character_jyo", "1"}})},
      {"the last button of every group saves the defaults again", SettingFile(AllSpellings("0")), ButtonsAt(2),
       SettingFile()},
      {"1008 has no setting", SettingFile(), {IDC_KANA_INPUT_WITH_IME}, SettingFile()},
      {"1079 checked adds FlexibleInput=1", SettingFile(), {IDC_FLEXIBLE_INPUT}, SettingFile() + "FlexibleInput=1\r\n"},
      {"1079 unchecked keeps a written FlexibleInput as 0", SettingFile() + "FlexibleInput=1\r\n", {IDC_FLEXIBLE_INPUT},
       SettingFile() + "FlexibleInput=0\r\n"},
      {"1093 checked adds KeepRecords=1", SettingFile(), {IDC_KEEP_RECORDS}, SettingFile() + "KeepRecords=1\r\n"},
      {"the romaji row held back adds ShowRomaji=2", SettingFile(), {IDC_SHOW_ROMAJI_LATER},
       SettingFile() + "ShowRomaji=2\r\n"},
      {"the US keyboard adds KeyboardLayout=1", SettingFile(), {IDC_KEYBOARD_LAYOUT_US},
       SettingFile() + "KeyboardLayout=1\r\n"},
  };
  for (const SaveRow& row : rows) {
    WorkingFolder work;
    work.WriteSettings(row.file);
    const Outcome outcome = RunDialog([&](HWND dialog) {
      ClickAll(dialog, row.clicks);
      Click(dialog, IDOK);
    });
    ASSERT_TRUE(outcome.scriptRan) << row.name;
    EXPECT_EQ(work.folder.Read("Setting.ini"), row.saved) << row.name;
    EXPECT_FALSE(outcome.leftOpen) << row.name << ": OK did not end the dialog";
    EXPECT_TRUE(outcome.boxes.empty()) << row.name;
  }
}

TEST(SetupDialogTest, OkWithoutChangesRewritesTheValuesAndKeepsEveryOtherLine) {
  WorkingFolder work;
  const std::string file = "; 練習ソフトの設定\r\n[Window]\r\nLeft=10\r\n\r\n" + SettingFile() +
                           "Extra=あいう\r\n[Other]\r\nShowKeyboard=0\r\n";
  work.WriteSettings(file);
  std::filesystem::last_write_time(NativePath(work.SettingsPath()), OldTime());
  const auto before = std::filesystem::last_write_time(NativePath(work.SettingsPath()));

  const Outcome outcome = RunDialog([](HWND dialog) { Click(dialog, IDOK); });

  EXPECT_EQ(work.folder.Read("Setting.ini"), file);
  EXPECT_GT(std::filesystem::last_write_time(NativePath(work.SettingsPath())), before) << "OK writes the file";
  EXPECT_FALSE(outcome.leftOpen);
}

// ---------------------------------------------------------------------------
// Leaving without OK.

struct CloseRow {
  const char* name;
  bool withFile;
  std::function<void(HWND)> close;
};

TEST(SetupDialogTest, LeavingWithoutOkWritesNothing) {
  const std::vector<CloseRow> rows = {
      {"キャンセル", true, [](HWND dialog) { Click(dialog, IDCANCEL); }},
      {"the close box", true, [](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Escape", true, [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
      {"キャンセル without a Setting.ini", false, [](HWND dialog) { Click(dialog, IDCANCEL); }},
  };
  for (const CloseRow& row : rows) {
    WorkingFolder work;
    const std::string file = SettingFile({{"Character_tu", "0"}});
    std::optional<std::filesystem::file_time_type> before;
    if (row.withFile) {
      work.WriteSettings(file);
      std::filesystem::last_write_time(NativePath(work.SettingsPath()), OldTime());
      before = std::filesystem::last_write_time(NativePath(work.SettingsPath()));
    }
    const Outcome outcome = RunDialog([&](HWND dialog) {
      ClickAll(dialog, {IDC_SHOW_KEYBOARD, IDC_DISABLE_PLAY_MUSIC, IDC_SI_SI, IDC_KOMOJI_L, IDC_TU_TSU});
      row.close(dialog);
    });
    ASSERT_TRUE(outcome.scriptRan) << row.name;
    EXPECT_FALSE(outcome.leftOpen) << row.name << " did not end the dialog";
    if (row.withFile) {
      EXPECT_EQ(work.folder.Read("Setting.ini"), file) << row.name;
      EXPECT_EQ(std::filesystem::last_write_time(NativePath(work.SettingsPath())), *before) << row.name;
    } else {
      EXPECT_FALSE(FileExists(work.SettingsPath())) << row.name;
    }
  }
}

// ---------------------------------------------------------------------------
// A Setting.ini that cannot be written.

constexpr char kWriteAdvice[] = "ファイルが読み取り専用になっていないか、フォルダーに書き込めるかを確かめてから、";

std::string SaveFailureText(const std::string& advice = kWriteAdvice) {
  return "設定を保存できませんでした。\nファイル：./Setting.ini\nカレントディレクトリ：" + CurrentDirectory() +
         "\n\n" + advice + "もう一度「OK」を押してください。\n「キャンセル」を押すと、変更を保存せずに閉じます。";
}

TEST(SetupDialogTest, SaveFailureIsReportedAndTheDialogStaysOpen) {
  WorkingFolder work;
  work.folder.MakeFolder("Setting.ini");  // a folder where the file should be: nothing can write it
  bool openAfterBox = false;
  DialogState stateAfterBox;
  const Outcome outcome = RunDialog([&](HWND dialog) {
    Click(dialog, IDC_DISABLE_PLAY_MUSIC);
    Click(dialog, IDOK);  // returns once the driver has answered the box
    openAfterBox = IsWindowVisible(dialog) != FALSE;
    stateAfterBox = ReadState(dialog);
    Click(dialog, IDCANCEL);
  });
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].caption, "エラー");
  EXPECT_EQ(outcome.boxes[0].text,
            SaveFailureText("その名前のフォルダーまたは装置があるため、ファイルを書けません。\nそれを別の名前にしてから、"));
  EXPECT_TRUE(openAfterBox) << "the dialog closed as if it had saved";
  EXPECT_EQ(stateAfterBox.checked, "1002 1003 1006 1010 1005") << "the user's choices are still shown";
  EXPECT_FALSE(outcome.leftOpen) << "キャンセル ends the dialog after a failed save";
  EXPECT_TRUE(IsDirectory(work.SettingsPath()));
}

// The read-only mark is the user's "leave this file alone": the save says
// it could not write, and the file and its mark stay as they were.
TEST(SetupDialogTest, AReadOnlySettingIniIsReportedAndLeftAsItIs) {
  WorkingFolder work;
  const std::string file = SettingFile({{"Character_tu", "0"}});
  work.WriteSettings(file);
  const std::filesystem::path native = NativePath(work.SettingsPath());
  std::filesystem::permissions(native, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  const Outcome outcome = RunDialog([&](HWND dialog) {
    ClickAll(dialog, {IDC_DISABLE_PLAY_MUSIC, IDC_TU_TSU});
    Click(dialog, IDOK);
    Click(dialog, IDCANCEL);
  });
  const auto writable = std::filesystem::status(native).permissions() & std::filesystem::perms::owner_write;
  std::filesystem::permissions(native, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);

  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].caption, "エラー");
  EXPECT_EQ(outcome.boxes[0].text, SaveFailureText());
  EXPECT_EQ(work.folder.Read("Setting.ini"), file);
  EXPECT_EQ(writable, std::filesystem::perms::none) << "the file is still read-only";
}

// A Setting.ini that the program will not write into, lest it lose lines it
// could not read: the box says what is wrong with the file, which stays as
// it is. UTF-16 text is what the platform's own profile functions would read;
// this program reads Shift_JIS only, and says so.
TEST(SetupDialogTest, ARefusedSaveSaysWhatIsWrongWithTheFile) {
  const struct Row {
    std::string file;
    std::string advice;
  } rows[] = {
      {std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 10),
       "ファイルが UTF-16 で書かれているため、その設定を読むことも、そこへ書き込むこともできません。\n"
       "文字コードを Shift_JIS にして保存し直してから、"},
      {"[Setting]\r\n;" + std::string(1 << 20, 'x') + "\r\n",
       "ファイルが 1 MiB より大きく、はじめの 1 MiB しか読めないため、書き込むと残りが失われます。\n"
       "ファイルを小さくしてから、"},
  };
  for (const Row& row : rows) {
    WorkingFolder work;
    work.WriteSettings(row.file);
    const Outcome outcome = RunDialog([&](HWND dialog) {
      Click(dialog, IDOK);
      Click(dialog, IDCANCEL);
    });
    ASSERT_EQ(outcome.boxes.size(), 1u) << row.advice;
    EXPECT_EQ(outcome.boxes[0].text, SaveFailureText(row.advice));
    EXPECT_EQ(work.folder.Read("Setting.ini"), row.file);
  }
}

TEST(SetupDialogTest, OkAfterAFailedSaveSavesTheChoicesOnceTheFileCanBeWritten) {
  WorkingFolder work;
  const std::string blocker = work.folder.MakeFolder("Setting.ini");
  const Outcome outcome = RunDialog([&](HWND dialog) {
    ClickAll(dialog, {IDC_DISABLE_PLAY_MUSIC, IDC_JYA_ZYA});
    Click(dialog, IDOK);
    RemoveDirectoryW(Cp932ToWide(blocker).c_str());
    Click(dialog, IDOK);
  });
  EXPECT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(work.folder.Read("Setting.ini"), SettingFile({{"DisablePlayMusic", "1"}, {"Character_jya", "1"}}));
  EXPECT_FALSE(outcome.leftOpen) << "the second OK ends the dialog";
}

// ---------------------------------------------------------------------------
// A value "Error" in Setting.ini.

// The fatal path ends the process, so the dialog opens in a child process (a
// death test). The child re-runs the test body: it finds the parent's folder
// through this variable instead of making its own, and its fatal handler
// leaves the report there for the parent to read.
constexpr wchar_t kFixtureVariable[] = L"KANAFLOW_SETUP_DIALOG_FIXTURE";
constexpr char kReportFile[] = "fatal-report.txt";

std::optional<std::string> InheritedFixture() {
  wchar_t buffer[1024] = {};
  const DWORD length = GetEnvironmentVariableW(kFixtureVariable, buffer, 1024);
  if (length == 0 || length >= 1024) return std::nullopt;
  return WideToCp932(buffer);
}

void WriteReportHere(const FatalErrorReport& report) {
  std::ofstream(kReportFile, std::ios::binary) << report.text;
}

void OpenDialogIn(const std::string& folder) {
  const ScopedCurrentDirectory inside(folder);
  SetFatalErrorHandler(WriteReportHere);
  // Should the dialog open after all, end it: the child then exits with 0.
  RunDialog([](HWND dialog) { Click(dialog, IDCANCEL); });
}

TEST(SetupDialogDeathTest, ErrorValueIsFatal0104WhenTheDialogOpens) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::optional<TempFolder> own;
  std::string fixture;
  if (const auto inherited = InheritedFixture()) {
    fixture = *inherited;
  } else {
    own.emplace();
    fixture = own->path();
    own->Write("Setting.ini", SettingFile({{"DisablePlayMusic", "Error"}}));
    SetEnvironmentVariableW(kFixtureVariable, Cp932ToWide(fixture).c_str());
  }
  EXPECT_EXIT(OpenDialogIn(fixture), ::testing::ExitedWithCode(1), "");
  SetEnvironmentVariableW(kFixtureVariable, nullptr);
  ASSERT_TRUE(own.has_value());

  const ScopedCurrentDirectory inside(fixture);
  EXPECT_EQ(own->Read(kReportFile),
            FatalErrorText(FatalError::SettingValueError,
                           {"設定ファイル名：./Setting.ini", "セクション名：Setting", "キー名：DisablePlayMusic",
                            CurrentDirectoryLine()}));
}

// ---------------------------------------------------------------------------
// The template.

struct ControlRow {
  int id;
  const wchar_t* className;
  const char* text;
  RECT units;     // left, top, width, height in dialog units
  DWORD type;     // the low four style bits: the kind of button or static
  DWORD windows;  // which of WS_VISIBLE, WS_TABSTOP, WS_GROUP are set
};

constexpr DWORD kShown = WS_VISIBLE;
constexpr DWORD kTab = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kFirstRadio = WS_VISIBLE | WS_TABSTOP | WS_GROUP;

// Every control in tab order: the check boxes first, the radio buttons last.
const ControlRow kControls[] = {
    {-1, L"Button", "キーボードに関する設定", {7, 6, 193, 65}, BS_GROUPBOX, kShown},
    {1002, L"Button", "キーボードを表示する", {15, 19, 83, 10}, BS_AUTOCHECKBOX, kTab},
    {1003, L"Button", "指の配置を表示する", {15, 31, 81, 10}, BS_AUTOCHECKBOX, kTab},
    {1006, L"Button", "次に打つキーを表示する", {15, 43, 92, 10}, BS_AUTOCHECKBOX, kTab},
    {1010, L"Button", "キーボードの刻印を表示する", {15, 55, 106, 10}, BS_AUTOCHECKBOX, kTab},
    {-1, L"Button", "ソフトウェア全体に関する設定", {7, 78, 193, 82}, BS_GROUPBOX, kShown},
    {1005, L"Button", "音声の再生を無効にする", {15, 90, 95, 10}, BS_AUTOCHECKBOX, kTab},
    {1007, L"Button", "ミスタイプ時のウィンドウの振動を無効にする", {15, 102, 151, 10}, BS_AUTOCHECKBOX, kTab},
    {1008, L"Button", "IMEの制御を行うときに、カナ入力設定する。", {15, 125, 155, 10}, BS_AUTOCHECKBOX, kTab},
    {1004, L"Button", "IME制御を無効にする", {15, 136, 85, 10}, BS_AUTOCHECKBOX, kTab},
    {IDOK, L"Button", "OK", {10, 186, 47, 13}, BS_PUSHBUTTON, kTab},
    {IDCANCEL, L"Button", "キャンセル", {61, 185, 50, 14}, BS_PUSHBUTTON, kTab},
    {-1, L"Static", "（プログラムを再起動しないと設定が反映されません）", {15, 147, 165, 10}, SS_LEFT, 0},
    {1020, L"Button", "し", {207, 5, 38, 33}, BS_GROUPBOX, kShown},
    {1032, L"Button", "じ", {249, 5, 38, 33}, BS_GROUPBOX, kShown},
    {1023, L"Button", "ち", {291, 5, 38, 33}, BS_GROUPBOX, kShown},
    {1026, L"Button", "つ", {333, 5, 38, 33}, BS_GROUPBOX, kShown},
    {1029, L"Button", "ふ", {375, 5, 38, 33}, BS_GROUPBOX, kShown},
    {1035, L"Button", "しゃ", {207, 40, 38, 33}, BS_GROUPBOX, kShown},
    {1038, L"Button", "しゅ", {249, 40, 38, 33}, BS_GROUPBOX, kShown},
    {1041, L"Button", "しょ", {291, 40, 38, 33}, BS_GROUPBOX, kShown},
    {1044, L"Button", "ちゃ", {207, 77, 38, 33}, BS_GROUPBOX, kShown},
    {1047, L"Button", "ちゅ", {249, 77, 38, 33}, BS_GROUPBOX, kShown},
    {1050, L"Button", "ちょ", {291, 77, 38, 33}, BS_GROUPBOX, kShown},
    {1063, L"Button", "じゃ", {207, 113, 38, 41}, BS_GROUPBOX, kShown},
    {1058, L"Button", "じゅ", {249, 112, 38, 41}, BS_GROUPBOX, kShown},
    {1062, L"Button", "じぇ", {291, 112, 38, 42}, BS_GROUPBOX, kShown},
    {1078, L"Button", "じょ", {333, 112, 38, 42}, BS_GROUPBOX, kShown},
    {1064, L"Button", "小文字（例：ぁ、ょ、っ、ゎ）", {205, 159, 100, 40}, BS_GROUPBOX, kShown},
    {1018, L"Button", "si", {213, 16, 21, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1019, L"Button", "shi", {213, 24, 25, 10}, BS_AUTORADIOBUTTON, kShown},
    {1030, L"Button", "zi", {257, 16, 21, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1031, L"Button", "ji", {257, 24, 25, 10}, BS_AUTORADIOBUTTON, kShown},
    {1021, L"Button", "ti", {299, 16, 21, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1022, L"Button", "chi", {299, 24, 25, 10}, BS_AUTORADIOBUTTON, kShown},
    {1024, L"Button", "tu", {341, 16, 21, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1025, L"Button", "tsu", {341, 24, 25, 10}, BS_AUTORADIOBUTTON, kShown},
    {1027, L"Button", "hu", {383, 16, 21, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1028, L"Button", "fu", {383, 24, 25, 10}, BS_AUTORADIOBUTTON, kShown},
    {1033, L"Button", "sya", {213, 51, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1034, L"Button", "sha", {213, 61, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1036, L"Button", "syu", {257, 51, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1037, L"Button", "shu", {257, 61, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1039, L"Button", "syo", {299, 51, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1040, L"Button", "sho", {299, 61, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1042, L"Button", "tya", {215, 88, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1043, L"Button", "cha", {215, 96, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1045, L"Button", "tyu", {257, 88, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1046, L"Button", "chu", {257, 96, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1048, L"Button", "tyo", {297, 88, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1049, L"Button", "cho", {297, 96, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1051, L"Button", "ja", {215, 125, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1052, L"Button", "zya", {215, 133, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1054, L"Button", "jya", {215, 141, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1055, L"Button", "ju", {257, 125, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1056, L"Button", "zyu", {257, 133, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1057, L"Button", "jyu", {257, 141, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1059, L"Button", "je", {299, 125, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1060, L"Button", "zye", {299, 133, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1061, L"Button", "jye", {299, 141, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1075, L"Button", "jo", {341, 125, 27, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1076, L"Button", "zyo", {341, 133, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1077, L"Button", "jyo", {341, 141, 27, 10}, BS_AUTORADIOBUTTON, kShown},
    {1053, L"Button", "l  （例：la lyo ltu lwa）", {211, 174, 81, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1065, L"Button", "x （例：xa xyo xtu xwa）", {211, 182, 92, 10}, BS_AUTORADIOBUTTON, kShown},
    {1080, L"Button", "ローマ字の表示", {428, 5, 110, 48}, BS_GROUPBOX, kShown | WS_GROUP},
    {1081, L"Button", "表示する", {434, 16, 98, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1082, L"Button", "表示しない", {434, 26, 98, 10}, BS_AUTORADIOBUTTON, kShown},
    {1083, L"Button", "ミスか2秒の迷いで表示する", {434, 36, 98, 10}, BS_AUTORADIOBUTTON, kShown},
    {1084, L"Button", "キーボードの配列", {428, 57, 110, 38}, BS_GROUPBOX, kShown | WS_GROUP},
    {1085, L"Button", "日本語（JIS）", {434, 68, 98, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1086, L"Button", "英語（US）", {434, 78, 98, 10}, BS_AUTORADIOBUTTON, kShown},
    {1087, L"Button", "ウィンドウの大きさ（次の起動から）", {428, 99, 110, 68}, BS_GROUPBOX, kShown | WS_GROUP},
    {1088, L"Button", "システムに任せる", {434, 110, 98, 10}, BS_AUTORADIOBUTTON, kFirstRadio},
    {1089, L"Button", "125%", {434, 120, 98, 10}, BS_AUTORADIOBUTTON, kShown},
    {1090, L"Button", "150%", {434, 130, 98, 10}, BS_AUTORADIOBUTTON, kShown},
    {1091, L"Button", "200%", {434, 140, 98, 10}, BS_AUTORADIOBUTTON, kShown},
    {1092, L"Button", "画面の拡大率に合わせる", {434, 150, 98, 10}, BS_AUTORADIOBUTTON, kShown},
    {1079, L"Button", "ほかの打ち方も受け付ける", {15, 207, 110, 10}, BS_AUTOCHECKBOX, kTab | WS_GROUP},
    {1093, L"Button", "成績を記録して苦手を練習する", {15, 219, 130, 10}, BS_AUTOCHECKBOX, kTab | WS_GROUP},
};

// Dialog units to pixels, as the dialog placed its controls.
RECT InPixels(HWND dialog, const RECT& units) {
  RECT origin{units.left, units.top, units.left, units.top};
  RECT size{0, 0, units.right, units.bottom};
  MapDialogRect(dialog, &origin);
  MapDialogRect(dialog, &size);
  return {origin.left, origin.top, origin.left + size.right, origin.top + size.bottom};
}

RECT ClientRectOf(HWND control, HWND dialog) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string Describe(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right) + "," +
         std::to_string(rect.bottom);
}

TEST(SetupDialogTest, TemplateHasEveryControlAsLaidOut) {
  TestCanvas owner(320, 200);
  std::vector<std::string> problems;
  auto check = [&](bool ok, const std::string& what) {
    if (!ok) problems.push_back(what);
  };
  DialogDriver driver([&](HWND dialog) {
    check(GetWindowTextCp932(dialog, 255) == "Kanaflow Setup Dialog", "caption");
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    const DWORD wanted = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    check((style & wanted) == wanted, "dialog style");
    check((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0, "no sizing frame, no min/max box");
    check(GetWindow(dialog, GW_OWNER) == owner.window(), "owned by the window that opened it");
    check(!IsWindowEnabled(owner.window()), "the owner is disabled while the dialog is open");
    check(GetFocus() == GetDlgItem(dialog, IDC_SHOW_KEYBOARD), "the focus starts on 1002");

    RECT client{};
    GetClientRect(dialog, &client);
    const RECT size = InPixels(dialog, {0, 0, 545, 234});
    check(client.right == size.right && client.bottom == size.bottom,
          "client " + Describe(client) + ", want " + Describe(size));

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    check(std::wstring(font.lfFaceName) == L"MS Shell Dlg", "font face " + WideToCp932(font.lfFaceName));
    const HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    check(font.lfHeight == height, "font height " + std::to_string(font.lfHeight));

    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ControlRow& row : kControls) {
      const std::string name = "control " + std::to_string(row.id) + " \"" + row.text + "\"";
      if (!control) {
        problems.push_back(name + " is missing");
        break;
      }
      check(static_cast<WORD>(GetDlgCtrlID(control)) == static_cast<WORD>(row.id),
            name + ": id " + std::to_string(GetDlgCtrlID(control)));
      check(lstrcmpiW(ClassOf(control).c_str(), row.className) == 0, name + ": class");
      check(GetWindowTextCp932(control, 255) == row.text, name + ": text " + GetWindowTextCp932(control, 255));
      const RECT at = ClientRectOf(control, dialog);
      const RECT want = InPixels(dialog, row.units);
      check(EqualRect(&at, &want) != FALSE, name + ": at " + Describe(at) + ", want " + Describe(want));
      const auto controlStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
      check((controlStyle & 0x0F) == row.type, name + ": type " + std::to_string(controlStyle & 0x0F));
      DWORD windows = row.windows;
      if (row.type == BS_AUTORADIOBUTTON) {
        // The button control moves a radio group's tab stop to its checked button.
        const bool checked = IsDlgButtonChecked(dialog, row.id) == BST_CHECKED;
        windows = (windows & ~WS_TABSTOP) | (checked ? WS_TABSTOP : 0);
      }
      check((controlStyle & (WS_VISIBLE | WS_TABSTOP | WS_GROUP)) == windows, name + ": visible/tab/group");
      control = GetWindow(control, GW_HWNDNEXT);
    }
    check(control == nullptr, "no further controls");
    Click(dialog, IDCANCEL);
  });
  { const CSettingDialog dialog(owner.window()); }
  ASSERT_TRUE(driver.scriptRan());
  for (const std::string& problem : problems) ADD_FAILURE() << problem;
  EXPECT_TRUE(IsWindowEnabled(owner.window())) << "the owner is enabled again after the dialog";
}

// ---------------------------------------------------------------------------
// A picture for a person to look at: the Japanese labels must be readable.

bool IsDark(COLORREF colour) { return GetRValue(colour) < 96 && GetGValue(colour) < 96 && GetBValue(colour) < 96; }

int DarkPixels(const testing::Image& image, const RECT& rect) {
  int count = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) count += IsDark(image.at(x, y)) ? 1 : 0;
  }
  return count;
}

TEST(SetupDialogTest, Screenshot) {
  WorkingFolder work;
  work.WriteSettings(SettingFile({{"DisablePlayMusic", "1"}, {"Character_jya", "0"}}));
  int labelInk = 0;
  int hiddenTextInk = 0;
  RunDialog([&](HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testing::PumpMessages(100);
    testing::SavePng(testing::CaptureWindowWithFrame(dialog), "setup-dialog");
    const testing::Image client = testing::CaptureWindow(dialog);
    labelInk = DarkPixels(client, ClientRectOf(GetDlgItem(dialog, IDC_SHOW_KEYBOARD), dialog));
    // Where the hidden note would be: between 1004 and the group box's bottom edge.
    hiddenTextInk = DarkPixels(client, InPixels(dialog, {15, 147, 165, 10}));
    Click(dialog, IDCANCEL);
  });
  EXPECT_GT(labelInk, 20) << "the label of 1002 is drawn";
  EXPECT_EQ(hiddenTextInk, 0) << "the note without WS_VISIBLE is not drawn";
}

}  // namespace
}  // namespace kanaflow
