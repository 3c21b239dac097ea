// The selection screen driven with real messages: the library as it lists
// it, the information area, the ways to start and to go back, the remembered
// positions, and the fatal errors of a library that it cannot use.
#include "program/question_select_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/scene.h"
#include "app/window_utilities.h"
#include "draw/draw_surface.h"
#include "platform/fatal_error.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "program/main_window.h"
#include "support/image.h"
#include "support/menu_scene.h"
#include "support/modal_answerer.h"
#include "support/practice_fixture.h"
#include "support/screen_harness.h"
#include "support/temp_folder.h"

namespace kanaflow {
namespace {

using testing::CaptureSurface;
using testing::CaptureWindow;
using testing::Image;
using testing::MenuScene;
using testing::ModalAnswerer;
using testing::PracticeFolder;
using testing::PumpMessages;
using testing::SavePng;
using testing::SendKeyDown;
using testing::StandInScreen;
using testing::TakeQuitRequest;
using testing::TestInstance;
using testing::TestScreenFactory;
using Texts = std::vector<std::string>;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr char kTop[] = "分類項目なし";

// A question set with a title (none when empty) and a message.
std::string SetFile(const std::string& title, const std::string& more = "Message=m\r\n") {
  return "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=2\r\nQuestionFileName=#q.txt\r\n" +
         (title.empty() ? std::string() : "Title=" + title + "\r\n") + more;
}

std::filesystem::path NativePath(const std::string& cp932) { return std::filesystem::path(Cp932ToWide(cp932)); }


// ---------------------------------------------------------------------------
// The list boxes as the user works them.

Texts Items(HWND list) {
  Texts items;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(WideToCp932(text));
  }
  return items;
}

int Selected(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

LPARAM ItemPoint(HWND list, int index) {
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
}

// A click on an item: press and release, as the mouse sends them.
void ClickItem(HWND list, int index) {
  const LPARAM at = ItemPoint(list, index);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
}

// The second click of a double click; the list may be gone after it.
void DoubleClickItem(HWND list, int index) {
  ClickItem(list, index);
  const LPARAM at = ItemPoint(list, index);
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  if (IsWindow(list)) SendMessageW(list, WM_LBUTTONUP, 0, at);
}

std::string Joined(const Texts& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : " | ") + text;
  return joined;
}

// ---------------------------------------------------------------------------
// The fixture: a working folder, a scene whose main menu and selection screen
// are the real ones and whose practice screen is a stand-in that records the
// mode and the set it was given.

class QuestionSelectTest : public ::testing::Test {
 protected:
  void Write(const std::string& relative, const std::string& bytes) const { folder_.Write(relative, bytes); }
  void Remove(const std::string& relative) const {
    std::error_code ignored;
    std::filesystem::remove_all(NativePath(folder_.path() + "/" + relative), ignored);
  }

  // Sets in ./data and in folders with Japanese and ASCII names, and what
  // must not be listed: files that are not sets, folders without sets, sets
  // two levels down.
  void WriteMixedLibrary() const {
    const struct {
      const char* path;
      const char* title;
    } sets[] = {
        {"b.ini", "b"},
        {"A.ini", "A"},
        {"a10.ini", "a10"},
        {"a2.ini", "a2"},
        {"C.INI", "C"},
        {"単語/動物.ini", "動物"},
        {"単語/あいさつ.ini", "あいさつ"},
        {"単語/Basic.ini", "Basic"},
        {"かな/k.ini", "かな練習"},
        {"Words/x.ini", "Words x"},
        {"drill/d.ini", "drill d"},
        {"10/n.ini", "ten"},
        {"2/m.ini", "two"},
        {"drill/inner/y.ini", "too deep"},
        {"deep/inner/z.ini", "too deep"},
    };
    for (const auto& set : sets) Write(std::string("data/") + set.path, SetFile(set.title));
    Write("data/notes.txt", SetFile("not a set"));
    Write("data/a.ini.bak", SetFile("not a set"));
    Write("data/empty/readme.txt", "nothing to practise here");
    Write("data/単語/memo.txt", SetFile("not a set"));
  }

  // ./data/a.ini and b.ini, ./data/sub/c.ini and d.ini, ./data/sub2/e.ini and
  // f.ini, each titled with its file name.
  void WriteThreeCategories() const {
    for (const std::string path : {"a", "b", "sub/c", "sub/d", "sub2/e", "sub2/f"}) {
      Write("data/" + path + ".ini", SetFile(path.substr(path.rfind('/') + 1)));
    }
  }

  // Leaves the screen shown (its window destroyed, as a screen leaves) for
  // a new selection screen in `mode`.
  void Open(PracticeMode mode = PracticeMode::Basic) {
    if (HWND old = window()) DestroyWindow(old);
    menus_.scene().SetMode(mode);
    menus_.scene().ShowQuestionSelect();
    ASSERT_NE(screen(), nullptr);
    Paint();
  }

  void Paint() const {
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(30);
  }

  QuestionSelectMenu* screen() const { return dynamic_cast<QuestionSelectMenu*>(menus_.current()); }
  bool AtMainMenu() const { return dynamic_cast<MainWindow*>(menus_.current()) != nullptr; }
  bool Started() const { return menus_.AtPracticeScreen(); }
  HWND window() const { return menus_.window(); }
  HWND setList() const { return GetDlgItem(window(), QuestionSelectMenu::kSetListId); }
  HWND categoryList() const { return GetDlgItem(window(), QuestionSelectMenu::kCategoryListId); }
  HWND button(int id) const { return GetDlgItem(window(), id); }
  std::string currentPath() const {
    return screen() && screen()->currentEntry() ? screen()->currentEntry()->path() : "<none>";
  }

  PracticeFolder folder_;
  ModalAnswerer answerer_;
  MenuScene menus_;
};

// ---------------------------------------------------------------------------
// What the screen lists.

TEST_F(QuestionSelectTest, ListsCategoriesAndTheirSetsInLibraryOrder) {
  WriteMixedLibrary();
  Open();
  // The top category first (its path is a prefix of every other), then by the
  // Japanese word sort: digits one by one, then letters without regard to
  // case, then kana before kanji. "empty", "deep" and "drill/inner" hold no
  // set of their own.
  const Texts categories = {kTop, "10", "2", "drill", "Words", "かな", "単語"};
  ASSERT_EQ(Items(categoryList()), categories) << Joined(Items(categoryList()));
  EXPECT_EQ(Selected(categoryList()), 0);
  EXPECT_EQ(Selected(setList()), 0);
  EXPECT_EQ(currentPath(), "./data/A.ini");
  const Texts sets[] = {
      {"A", "a10", "a2", "b", "C"},  // "." before digits, digits one by one, case after the letters
      {"ten"},
      {"two"},
      {"drill d"},
      {"Words x"},
      {"かな練習"},
      {"Basic", "あいさつ", "動物"},  // letters, kana, kanji
  };
  for (std::size_t i = 0; i < categories.size(); ++i) {
    if (i > 0) ClickItem(categoryList(), static_cast<int>(i));
    EXPECT_EQ(Items(setList()), sets[i]) << categories[i] << ": " << Joined(Items(setList()));
    if (i > 0) {
      EXPECT_EQ(Selected(setList()), -1) << categories[i] << ": a new category has no set selected";
    }
  }
  ClickItem(setList(), 1);
  EXPECT_EQ(currentPath(), "./data/単語/あいさつ.ini");
  Paint();
  SavePng(testing::CaptureWindowWithFrame(window()), "question-select");
}

TEST_F(QuestionSelectTest, TheControlsAreWhereTheyBelongAndTheSetListHasTheFocus) {
  Write("data/a.ini", SetFile("a"));
  Open();
  EXPECT_EQ(GetWindowTextCp932(window(), 255), "Kanaflow Version 0.511");
  const struct Row {
    int id;
    const wchar_t* className;
    const char* text;
    RECT rect;  // client coordinates
  } rows[] = {
      {QuestionSelectMenu::kSetListId, L"ListBox", "", {10, 60, 360, 260}},
      {QuestionSelectMenu::kStartButtonId, L"Button", "開始(Enter)", {500, 340, 600, 380}},
      {QuestionSelectMenu::kSettingsButtonId, L"Button", "設定", {500, 390, 600, 430}},
      {QuestionSelectMenu::kBackButtonId, L"Button", "戻る(ESC)", {500, 290, 600, 330}},
      {QuestionSelectMenu::kCategoryListId, L"ListBox", "", {400, 60, 600, 260}},
  };
  for (const Row& row : rows) {
    const HWND control = button(row.id);
    ASSERT_NE(control, nullptr) << row.id;
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    EXPECT_EQ(_wcsicmp(className, row.className), 0) << row.id;
    EXPECT_EQ(GetWindowTextCp932(control, 255), row.text) << row.id;
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&rect), 2);
    // A list box keeps to whole items: up to one item shorter than asked.
    const int shortBy = row.className == std::wstring(L"ListBox")
                            ? static_cast<int>(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0)) - 1
                            : 0;
    EXPECT_EQ(rect.left, row.rect.left) << row.id;
    EXPECT_EQ(rect.top, row.rect.top) << row.id;
    EXPECT_EQ(rect.right, row.rect.right) << row.id;
    EXPECT_LE(rect.bottom, row.rect.bottom) << row.id;
    EXPECT_GE(rect.bottom, row.rect.bottom - shortBy) << row.id;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    EXPECT_TRUE(style & WS_VISIBLE) << row.id;
    if (row.className == std::wstring(L"ListBox")) {
      const DWORD wanted = WS_BORDER | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT;
      EXPECT_EQ(style & wanted, wanted) << row.id;
      EXPECT_EQ(style & LBS_SORT, 0u) << row.id << ": the lists keep the library order";
    }
  }
  EXPECT_EQ(GetFocus(), setList());
  // The vertical scroll bar shows once the sets no longer fit.
  for (int i = 0; i < 30; ++i) Write("data/s" + std::to_string(i) + ".ini", SetFile("set " + std::to_string(i)));
  Open();
  EXPECT_TRUE(GetWindowLongPtrW(setList(), GWL_STYLE) & WS_VSCROLL);
}

// ---------------------------------------------------------------------------
// The information area, compared with the layout drawn from its description.

struct Information {
  std::string title;
  std::string path;
  std::string questionFile;
  std::string count;
  std::string message;
};

// The area as it should look: 15-pixel "MS UI Gothic" on white, labels at x 0
// and values at x 100 on rows 15 pixels apart, the message at y 75.
Image ExpectedInformation(HWND window, const Information& information) {
  CDrawSurface surface(window, 640, 300, kWhite);
  surface.SetFont(15);
  surface.DrawString("タイトル：", 0, 0);
  surface.DrawString(information.title, 100, 0);
  surface.DrawString("設定ファイル：", 0, 15);
  surface.DrawString(information.path, 100, 15);
  surface.DrawString("問題ファイル：", 0, 30);
  surface.DrawString(information.questionFile, 100, 30);
  surface.DrawString("問題数：", 0, 45);
  surface.DrawString(information.count, 100, 45);
  surface.DrawString(information.message, 0, 75);
  surface.RestoreFont();
  return CaptureSurface(surface);
}

Image ExpectedHeading(HWND window) {
  CDrawSurface surface(window, 640, 300, kWhite);
  surface.DrawString("ロードする問題ファイルを選択してください。", 0, 0);
  surface.DrawString("「開始」ボタンではじめます。", 0, 20);
  return CaptureSurface(surface);
}

// Pixels of `shown` from (left, top) that differ from `expected` from (0, 0).
int Differences(const Image& shown, int left, int top, const Image& expected, int width, int height) {
  int differences = 0;
  for (int y = 0; y < height && top + y < shown.height; ++y) {
    for (int x = 0; x < width && left + x < shown.width; ++x) {
      differences += shown.at(left + x, top + y) != expected.at(x, y) ? 1 : 0;
    }
  }
  return differences;
}

// Pixels of the rectangle from (left, top) that differ between two pictures
// of the same window.
int ChangedPixels(const Image& a, const Image& b, int left, int top, int width, int height) {
  int differences = 0;
  for (int y = top; y < top + height && y < a.height && y < b.height; ++y) {
    for (int x = left; x < left + width && x < a.width && x < b.width; ++x) differences += a.at(x, y) != b.at(x, y);
  }
  return differences;
}

TEST_F(QuestionSelectTest, TheInformationAreaShowsTheHeaderOfTheSelectedSet) {
  const std::string longMessage(200, 'W');
  const struct Row {
    const char* name;
    std::string file;  // at ./data/sub/x.ini
    Information shown;
  } rows[] = {
      {"every key",
       "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=12\r\nQuestionFileName=#q.txt\r\nTitle=動物の名前\r\n"
       "Message=よく見る動物の名前を打ちます。\r\n",
       {"動物の名前", "./data/sub/x.ini", "./data/sub/q.txt", "12", "よく見る動物の名前を打ちます。"}},
      {"no title, no message",
       "[TypingQuesitonSetup]\r\nQuestionNumber=3\r\nQuestionFileName=q.txt\r\n",
       {"No Title...", "./data/sub/x.ini", "q.txt", "3", "No Message..."}},
      {"no questions: listed, count 0",
       "[TypingQuesitonSetup]\r\nQuestionNumber=0\r\nQuestionFileName=/data/q.txt\r\nTitle=空\r\n",
       {"空", "./data/sub/x.ini", "./data/q.txt", "0", "No Message..."}},
      {"version 1 with a set-relative file",
       "[TypingQuesitonSetup]\r\nVersion=1\r\nQuestionNumber=5\r\nQuestionFileName=#q.txt\r\nTitle=v1\r\n",
       {"v1", "./data/sub/x.ini", "./data/sub/q.txt", "5", "No Message..."}},
      {"a message wider than the area",
       "[TypingQuesitonSetup]\r\nQuestionNumber=1\r\nQuestionFileName=q.txt\r\nTitle=long\r\nMessage=" + longMessage +
           "\r\n",
       {"long", "./data/sub/x.ini", "q.txt", "1", longMessage}},
  };
  Write("data/a.ini", SetFile("a"));
  for (const Row& row : rows) {
    Write("data/sub/x.ini", row.file);
    QuestionSelectMenu::ForgetPositions();
    Open();
    ClickItem(categoryList(), 1);
    ASSERT_EQ(Items(setList()), Texts{row.shown.title}) << row.name;
    ClickItem(setList(), 0);
    const Image expected = ExpectedInformation(window(), row.shown);
    const Image heading = ExpectedHeading(window());
    Paint();
    const Image shown = CaptureWindow(window());
    const int rows = std::min(300, shown.height - 300);
    EXPECT_EQ(Differences(shown, 10, 300, expected, 490, rows), 0) << row.name;
    EXPECT_EQ(Differences(shown, 10, 10, heading, 640, 40), 0) << row.name;
    // The area is 490 wide: nothing of the message reaches past x 500, where
    // the white background shows between the start and settings buttons.
    EXPECT_EQ(shown.Count(500, 381, shown.width, 390, kWhite), (shown.width - 500) * 9) << row.name;
    // A repaint that erases the background first (a window closing over the
    // screen asks for one) shows the same.
    InvalidateRect(window(), nullptr, TRUE);
    PumpMessages(50);
    EXPECT_EQ(Differences(CaptureWindow(window()), 10, 300, expected, 490, rows), 0) << row.name << ", erased";
  }
}

// ---------------------------------------------------------------------------
// Starting, going back, keys.

enum class Way { EnterToScreen, EnterToSetList, StartButton, DoubleClick };

const char* Name(Way way) {
  switch (way) {
    case Way::EnterToScreen: return "Enter to the screen";
    case Way::EnterToSetList: return "Enter to the set list";
    case Way::StartButton: return "start button";
    case Way::DoubleClick: return "double click";
  }
  return "?";
}

TEST_F(QuestionSelectTest, StartHandsTheChosenSetToThePracticeScreenOfTheMode) {
  WriteThreeCategories();
  for (int mode = 0; mode <= 2; ++mode) {
    for (Way way : {Way::EnterToScreen, Way::EnterToSetList, Way::StartButton, Way::DoubleClick}) {
      const std::string row = std::string(Name(way)) + ", mode " + std::to_string(mode);
      QuestionSelectMenu::ForgetPositions();
      menus_.ForgetTypingRequest();
      Open(kPracticeModes[mode]);
      ClickItem(categoryList(), 1);
      ClickItem(setList(), 1);
      ASSERT_EQ(currentPath(), "./data/sub/d.ini") << row;
      switch (way) {
        case Way::EnterToScreen: SendKeyDown(window(), VK_RETURN); break;
        case Way::EnterToSetList: SendKeyDown(setList(), VK_RETURN); break;
        case Way::StartButton: SendMessageW(button(QuestionSelectMenu::kStartButtonId), BM_CLICK, 0, 0); break;
        case Way::DoubleClick: DoubleClickItem(setList(), 1); break;
      }
      ASSERT_TRUE(Started()) << row;
      EXPECT_EQ(menus_.typingRequest().mode, mode) << row;
      EXPECT_EQ(menus_.typingRequest().path, "./data/sub/d.ini") << row;
      EXPECT_EQ(QuestionSelectMenu::RememberedCategory(), 1) << row;
      EXPECT_EQ(QuestionSelectMenu::RememberedSet(), 1) << row;
    }
  }
}

// A large folder fills the list at a click at once (5,000 sets took 30 s;
// screen_bench times them), every set in library order.
TEST_F(QuestionSelectTest, ALargeFolderFillsTheListAtOnce) {
  Write("data/first.ini", SetFile("first"));
  Texts titles;
  for (int i = 0; i < 1000; ++i) {
    titles.push_back("問題集 " + std::to_string(i));
    Write("data/many/" + std::to_string(i) + ".ini", SetFile(titles.back()));
  }
  std::sort(titles.begin(), titles.end());  // digits one by one, as the library orders the file names
  Open();
  const auto start = std::chrono::steady_clock::now();
  ClickItem(categoryList(), 1);
  UpdateWindow(setList());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  EXPECT_EQ(Items(setList()), titles);
}

TEST_F(QuestionSelectTest, KeysReachTheScreenFromItselfAndFromTheSetListOnly) {
  WriteThreeCategories();
  enum Target { kScreen, kSetList, kCategoryList };
  enum Result { kStays, kBack, kStarts };
  const struct Row {
    const char* name;
    Target target;
    UINT key;
    bool repeat;
    Result result;
  } rows[] = {
      {"Escape to the screen", kScreen, VK_ESCAPE, false, kBack},
      {"Escape to the set list", kSetList, VK_ESCAPE, false, kBack},
      {"Escape to the category list", kCategoryList, VK_ESCAPE, false, kStays},
      {"held Escape to the screen", kScreen, VK_ESCAPE, true, kStays},
      {"held Escape to the set list", kSetList, VK_ESCAPE, true, kStays},
      {"Enter to the screen", kScreen, VK_RETURN, false, kStarts},
      {"Enter to the set list", kSetList, VK_RETURN, false, kStarts},
      {"Enter to the category list", kCategoryList, VK_RETURN, false, kStays},
      {"held Enter to the screen", kScreen, VK_RETURN, true, kStays},
      {"held Enter to the set list", kSetList, VK_RETURN, true, kStays},
      {"F5 to the screen", kScreen, VK_F5, false, kStays},
      {"a letter to the set list", kSetList, 'A', false, kStays},
  };
  for (const Row& row : rows) {
    QuestionSelectMenu::ForgetPositions();
    Open(PracticeMode::KanjiKana);
    // The remembered positions stay untouched unless the row starts a set.
    const HWND target = row.target == kScreen ? window() : row.target == kSetList ? setList() : categoryList();
    SendKeyDown(target, row.key, row.repeat);
    EXPECT_EQ(screen() != nullptr, row.result == kStays) << row.name;
    EXPECT_EQ(AtMainMenu(), row.result == kBack) << row.name;
    EXPECT_EQ(Started(), row.result == kStarts) << row.name;
    if (row.result == kStarts) {
      EXPECT_EQ(menus_.typingRequest().path, "./data/a.ini") << row.name;
    }
    EXPECT_EQ(menus_.scene().mode(), PracticeMode::KanjiKana) << row.name << ": the mode stays as the main menu set it";
  }
}

TEST_F(QuestionSelectTest, TheBackButtonReturnsToTheMainMenuKeepingTheRememberedPositions) {
  WriteThreeCategories();
  Open();
  ClickItem(categoryList(), 2);
  ClickItem(setList(), 1);
  SendKeyDown(window(), VK_RETURN);
  ASSERT_TRUE(Started());
  Open();
  ClickItem(categoryList(), 1);
  ClickItem(setList(), 0);
  SendMessageW(button(QuestionSelectMenu::kBackButtonId), BM_CLICK, 0, 0);
  EXPECT_TRUE(AtMainMenu());
  EXPECT_EQ(QuestionSelectMenu::RememberedCategory(), 2);
  EXPECT_EQ(QuestionSelectMenu::RememberedSet(), 1);
}

TEST_F(QuestionSelectTest, TheNextVisitSelectsTheCategoryAndSetOfTheLastStart) {
  WriteThreeCategories();
  Open();
  ClickItem(categoryList(), 2);
  ClickItem(setList(), 1);
  SendKeyDown(setList(), VK_RETURN);
  ASSERT_TRUE(Started());
  EXPECT_EQ(menus_.typingRequest().path, "./data/sub2/f.ini");
  for (const char* visit : {"after the practice", "after going back to the main menu and returning"}) {
    Open();  // as the practice screen's Escape does
    EXPECT_EQ(Selected(categoryList()), 2) << visit;
    EXPECT_EQ(Items(setList()), (Texts{"e", "f"})) << visit;
    EXPECT_EQ(Selected(setList()), 1) << visit;
    EXPECT_EQ(currentPath(), "./data/sub2/f.ini") << visit;
    EXPECT_EQ(GetFocus(), setList()) << visit;
    SendKeyDown(window(), VK_ESCAPE);
    ASSERT_TRUE(AtMainMenu()) << visit;
  }
}

TEST_F(QuestionSelectTest, ARememberedPositionThatNoLongerExistsFallsBackToTheFirstItem) {
  const struct Row {
    const char* name;
    const char* removed;  // below ./data, after the start from sub2/f.ini (category 2, set 1)
    int category;
    int set;
    const char* path;
  } rows[] = {
      {"nothing removed", nullptr, 2, 1, "./data/sub2/f.ini"},
      {"the set is gone: the first set of the category", "sub2/f.ini", 2, 0, "./data/sub2/e.ini"},
      {"the category is gone: the first set of the first category", "sub2", 0, 0, "./data/a.ini"},
      {"an earlier category is gone: position 2 is gone too", "sub", 0, 0, "./data/a.ini"},
  };
  for (const Row& row : rows) {
    Remove("data");
    WriteThreeCategories();
    QuestionSelectMenu::ForgetPositions();
    Open();
    ClickItem(categoryList(), 2);
    ClickItem(setList(), 1);
    SendKeyDown(window(), VK_RETURN);
    ASSERT_TRUE(Started()) << row.name;
    if (row.removed) Remove(std::string("data/") + row.removed);
    Open();
    EXPECT_EQ(Selected(categoryList()), row.category) << row.name;
    EXPECT_EQ(Selected(setList()), row.set) << row.name;
    EXPECT_EQ(currentPath(), row.path) << row.name;
  }
}

TEST_F(QuestionSelectTest, ChangingTheCategoryClearsTheSetSelectionAndEnterThenWaits) {
  WriteThreeCategories();
  Open();
  ClickItem(setList(), 1);
  ASSERT_EQ(currentPath(), "./data/b.ini");
  Paint();
  const Image before = CaptureWindow(window());
  ClickItem(categoryList(), 1);
  EXPECT_EQ(Items(setList()), (Texts{"c", "d"}));
  EXPECT_EQ(Selected(setList()), -1);
  EXPECT_EQ(currentPath(), "./data/b.ini") << "the header of the last set stays";
  Paint();
  const Image after = CaptureWindow(window());
  EXPECT_EQ(ChangedPixels(after, before, 10, 300, 490, std::min(300, after.height - 300)), 0)
      << "the information area still shows b";
  SendKeyDown(window(), VK_RETURN);
  SendKeyDown(setList(), VK_RETURN);
  SendMessageW(button(QuestionSelectMenu::kStartButtonId), BM_CLICK, 0, 0);
  ASSERT_NE(screen(), nullptr) << "nothing starts without a set";
  EXPECT_FALSE(Started());
  ClickItem(setList(), 0);
  EXPECT_EQ(currentPath(), "./data/sub/c.ini");
  SendKeyDown(window(), VK_RETURN);
  EXPECT_TRUE(Started());
  EXPECT_EQ(menus_.typingRequest().path, "./data/sub/c.ini");
}

TEST_F(QuestionSelectTest, FocusEnteringOrLeavingTheCategoryListRefillsTheSetList) {
  WriteThreeCategories();
  Open();
  ClickItem(setList(), 1);
  ASSERT_EQ(Selected(setList()), 1);
  SetFocus(categoryList());  // a click into the category list gives it the focus first
  EXPECT_EQ(Items(setList()), (Texts{"a", "b"}));
  EXPECT_EQ(Selected(setList()), -1) << "focus gained";
  SendMessageW(setList(), LB_SETCURSEL, 1, 0);
  SetFocus(setList());
  EXPECT_EQ(Selected(setList()), -1) << "focus lost";
  EXPECT_EQ(currentPath(), "./data/b.ini");
}

TEST_F(QuestionSelectTest, TheSettingsButtonOpensTheDialogOverTheScreenAndReloadsNothing) {
  WriteThreeCategories();
  Open();
  ClickItem(setList(), 1);
  Write("data/0.ini", SetFile("new"));  // would come first, were the library scanned again
  const QuestionSelectMenu* const shown = screen();
  SendMessageW(button(QuestionSelectMenu::kSettingsButtonId), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer_.setupDialogs.size(), 1u);
  EXPECT_EQ(answerer_.setupDialogs[0].owner, window());
  EXPECT_EQ(screen(), shown);
  EXPECT_EQ(Items(setList()), (Texts{"a", "b"}));
  EXPECT_EQ(Selected(setList()), 1);
  EXPECT_EQ(currentPath(), "./data/b.ini");
}

TEST_F(QuestionSelectTest, TheCloseBoxEndsTheProgram) {
  Write("data/a.ini", SetFile("a"));
  Open();
  const HWND shown = window();
  SendMessageW(shown, WM_CLOSE, 0, 0);
  EXPECT_TRUE(TakeQuitRequest());
  EXPECT_FALSE(IsWindow(shown));
}

// ---------------------------------------------------------------------------
// Fatal errors.
//
// A report made while the screen is created cannot be caught here: Wine's
// CreateWindowExW swallows an exception thrown from WM_CREATE, so the screen
// would carry on half made. Those cases run the screen in a child process (this
// test program, with the one test below) whose fatal-error handler writes the
// report and exits with its number. Exceptions thrown from a message sent
// within this thread do come back through SendMessageW, so a report made on a
// later notification is caught in this process.

constexpr wchar_t kReportVariable[] = L"KANAFLOW_CHILD_FATAL_REPORT";
constexpr wchar_t kChildTest[] = L"QuestionSelectChild.DISABLED_OpensTheSelectionScreenInTheCurrentFolder";

std::wstring EnvironmentValue(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return std::wstring();
  std::wstring value(length, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), length));
  return value;
}

void WriteReportAndExit(const FatalErrorReport& report) {
  {
    std::ofstream file(std::filesystem::path(EnvironmentValue(kReportVariable)), std::ios::binary);
    file << report.text;
  }
  std::_Exit(report.number);
}

// Run only by ChildRun below, in a child process whose current folder holds
// the library to open.
TEST(QuestionSelectChild, DISABLED_OpensTheSelectionScreenInTheCurrentFolder) {
  if (EnvironmentValue(kReportVariable).empty()) GTEST_SKIP() << "runs only as a child of the fatal-error tests";
  SetFatalErrorHandler(WriteReportAndExit);
  TestScreenFactory factory;
  factory.mainMenu = [](CScene& scene) { return std::make_unique<StandInScreen>(scene, testing::kStandInMainMenu); };
  factory.questionSelect = [](CScene& scene) { return std::make_unique<QuestionSelectMenu>(scene); };
  factory.typing = [](CScene& scene, PracticeMode) { return std::make_unique<StandInScreen>(scene, testing::kStandInTyping); };
  CScene scene(TestInstance(), factory);
  scene.ShowQuestionSelect();
  EXPECT_NE(dynamic_cast<QuestionSelectMenu*>(scene.currentScreen()), nullptr);
}

class KernelHandle {
 public:
  explicit KernelHandle(HANDLE handle) : handle_(handle) {}
  ~KernelHandle() {
    if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

struct ChildRun {
  DWORD exitCode = 0;
  std::string report;  // the fatal report's text, empty when none was made
};

// Opens the selection screen on the library of `folder` in a child process.
ChildRun OpenInChildProcess(const std::string& folder) {
  const std::string reportPath = folder + "/fatal-report.txt";
  std::error_code ignored;
  std::filesystem::remove(NativePath(reportPath), ignored);
  std::wstring program(MAX_PATH, L'\0');
  program.resize(GetModuleFileNameW(nullptr, program.data(), MAX_PATH));
  std::wstring command =
      L"\"" + program + L"\" --gtest_also_run_disabled_tests --gtest_filter=" + std::wstring(kChildTest);
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const KernelHandle quiet(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                       OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = quiet.get();
  startup.hStdError = quiet.get();
  PROCESS_INFORMATION started{};
  SetEnvironmentVariableW(kReportVariable, Cp932ToWide(reportPath).c_str());
  // Wine now and then fails a start with ERROR_INTERNAL_ERROR while an
  // earlier child is still being torn down; a later try starts it.
  BOOL created = FALSE;
  for (int attempt = 0; attempt < 3 && !created; ++attempt) {
    if (attempt > 0) Sleep(200);
    created = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             Cp932ToWide(folder).c_str(), &startup, &started);
    if (!created && GetLastError() != ERROR_INTERNAL_ERROR) break;
  }
  SetEnvironmentVariableW(kReportVariable, nullptr);
  ChildRun run;
  if (!created) {
    ADD_FAILURE() << "the child process did not start: " << GetLastError();
    run.exitCode = ~0u;
    return run;
  }
  const KernelHandle process(started.hProcess);
  const KernelHandle thread(started.hThread);
  // Pumping while waiting: the child's windows may send to ours.
  const DWORD deadline = GetTickCount() + 60000;
  while (MsgWaitForMultipleObjects(1, &started.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
    if (GetTickCount() > deadline) {
      TerminateProcess(process.get(), ~0u);
      ADD_FAILURE() << "the child process did not end";
      break;
    }
    PumpMessages();
  }
  WaitForSingleObject(process.get(), 5000);
  GetExitCodeProcess(process.get(), &run.exitCode);
  run.report = ReadWholeFile(reportPath).value_or("");
  return run;
}

TEST_F(QuestionSelectTest, ALibraryWithoutAnySetEndsTheProgramWith0105) {
  const struct Row {
    const char* name;
    bool dataFolder;
    std::vector<const char*> files;  // below ./data
  } rows[] = {
      {"no ./data folder", false, {}},
      {"an empty ./data folder", true, {}},
      {"folders without sets and files that are not sets", true, {"notes.txt", "sub/readme.txt", "sub/set.ini.bak"}},
      {"sets two levels down only", true, {"sub/inner/a.ini"}},
  };
  for (const Row& row : rows) {
    Remove("data");
    if (row.dataFolder) std::filesystem::create_directories(NativePath(folder_.path() + "/data"));
    for (const char* file : row.files) Write(std::string("data/") + file, SetFile("x"));
    const ChildRun run = OpenInChildProcess(folder_.path());
    EXPECT_EQ(run.exitCode, 105u) << row.name;
    // The child's current folder is this test's: the same information line.
    EXPECT_EQ(run.report, FatalErrorText(FatalError::NoQuestionSet, {CurrentDirectoryLine()})) << row.name;
  }
}

TEST_F(QuestionSelectTest, ABadSetFileAnywhereInTheLibraryEndsTheProgramWithItsError) {
  const struct Row {
    const char* name;
    std::string file;  // ./data/sub/bad.ini, beside the good ./data/a.ini
    DWORD number;
    std::vector<std::string> mentions;
  } rows[] = {
      {"no QuestionNumber", "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionFileName=q.txt\r\n", 104,
       {"設定ファイル名：./data/sub/bad.ini", "キー名：QuestionNumber"}},
      {"a Title of Error", SetFile("Error"), 104, {"設定ファイル名：./data/sub/bad.ini", "キー名：Title"}},
      {"version 9", "[TypingQuesitonSetup]\r\nVersion=9\r\nQuestionNumber=1\r\nQuestionFileName=q.txt\r\n", 102,
       {"読み込み対象ファイル名：./data/sub/bad.ini", "読み込もうとしたファイルのバージョン：9"}},
      {"version abc", "[TypingQuesitonSetup]\r\nVersion=abc\r\nQuestionNumber=1\r\nQuestionFileName=q.txt\r\n", 103,
       {"設定ファイル名：./data/sub/bad.ini", "読み込もうとしたファイルのバージョン：0"}},
  };
  Write("data/a.ini", SetFile("good"));
  for (const Row& row : rows) {
    Write("data/sub/bad.ini", row.file);
    const ChildRun run = OpenInChildProcess(folder_.path());
    EXPECT_EQ(run.exitCode, row.number) << row.name;
    char number[16];
    std::snprintf(number, sizeof number, "エラー番号：%04lu", static_cast<unsigned long>(row.number));
    EXPECT_NE(run.report.find(number), std::string::npos) << row.name;
    for (const std::string& mention : row.mentions) {
      EXPECT_NE(run.report.find(mention), std::string::npos) << row.name << ": " << mention;
    }
  }
}

TEST_F(QuestionSelectTest, SetsOnlyInSubfoldersOpenOnTheFirstSubfolderWithoutTheEmptyTopCategory) {
  Write("data/zoo/z1.ini", SetFile("z1"));
  Write("data/apple/a2.ini", SetFile("a2"));
  Write("data/apple/a1.ini", SetFile("a1"));
  Write("data/readme.txt", "sets are in the folders");
  // In a child first: should the screen end the program, this process goes on.
  const ChildRun run = OpenInChildProcess(folder_.path());
  ASSERT_EQ(run.exitCode, 0u) << run.report;
  Open();
  EXPECT_EQ(Items(categoryList()), (Texts{"apple", "zoo"})) << "no empty " << kTop;
  EXPECT_EQ(Selected(categoryList()), 0);
  EXPECT_EQ(Items(setList()), (Texts{"a1", "a2"}));
  EXPECT_EQ(Selected(setList()), 0);
  EXPECT_EQ(currentPath(), "./data/apple/a1.ini");
}

TEST_F(QuestionSelectTest, TheCategoryListNotifyingWithoutASelectionEndsTheProgramWith0105) {
  WriteThreeCategories();
  Open();
  SendMessageW(categoryList(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  const testing::FatalErrorRaised raised = testing::ExpectFatal([&] {
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(QuestionSelectMenu::kCategoryListId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(categoryList()));
  });
  EXPECT_EQ(raised.number, 105);
  EXPECT_EQ(raised.text, FatalErrorText(FatalError::NoQuestionSet, {CurrentDirectoryLine()}));
}

}  // namespace
}  // namespace kanaflow
