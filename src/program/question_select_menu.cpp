#include "program/question_select_menu.h"

#include <commctrl.h>

#include <memory>

#include "draw/screen_scale.h"

#include "app/scene.h"
#include "draw/draw_surface.h"
#include "platform/fatal_error.h"
#include "platform/text_encoding.h"
#include "settings/setting_dialog.h"
#include "typing/number_format.h"
#include "typing/weak_key_drill.h"

namespace kanaflow {
namespace {

constexpr UINT_PTR kSetListSubclassId = 1;
constexpr int kInfoFontHeight = 15;
constexpr int kControlFontHeight = 12;
constexpr Colour kWhite = 0xFFFFFF;

int g_rememberedCategory = 0;
int g_rememberedSet = 0;

// Every key pressed in the set list also reaches the screen first, so Enter
// and Escape work while the list has the focus.
LRESULT CALLBACK SetListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_KEYDOWN) {
    SendMessageW(GetParent(list), message, wParam, lParam);
    if (!IsWindow(list)) return 0;  // the screen has left and taken the list with it
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(list, SetListProc, kSetListSubclassId);
  return DefSubclassProc(list, message, wParam, lParam);
}

// The set list without its subclass while it lives. The subclass only
// forwards keys, and none arrive while the list is filled within one message;
// but every message through it costs Wine a round trip to its server (the
// subclass is found by a window property), 0.13 ms for each of 5,000 items.
class SubclassSetAside {
 public:
  explicit SubclassSetAside(HWND list) : list_(list) { RemoveWindowSubclass(list_, SetListProc, kSetListSubclassId); }
  ~SubclassSetAside() { SetWindowSubclass(list_, SetListProc, kSetListSubclassId, 0); }
  SubclassSetAside(const SubclassSetAside&) = delete;
  SubclassSetAside& operator=(const SubclassSetAside&) = delete;

 private:
  HWND list_;
};

HWND MakeControl(HWND parent, const wchar_t* className, const std::string& text, DWORD style, int id, int x, int y,
                 int width, int height, HFONT font) {
  const RECT place = Scaled(RECT{x, y, x + width, y + height});
  const HWND control = CreateWindowExW(0, className, Cp932ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                       place.left, place.top, place.right - place.left, place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

int SelectedIndex(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

void AddItem(HWND list, const std::string& text) {
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp932ToWide(text).c_str()));
}

// A remembered position that the library no longer has falls back to the
// first item. Returns whether the remembered one was there.
bool SelectRemembered(HWND list, int position) {
  const bool there = position >= 0 && position < ItemCount(list);
  SendMessageW(list, LB_SETCURSEL, there ? position : 0, 0);
  return there;
}

[[noreturn]] void ReportNoQuestionSet() { ReportFatalError(FatalError::NoQuestionSet, {CurrentDirectoryLine()}); }

}  // namespace

QuestionSelectMenu::QuestionSelectMenu(CScene& scene) : CWindow(&scene) {
  ShowWindow(CreateScreen(kWidth, kHeight), SW_SHOWNORMAL);
}

int QuestionSelectMenu::RememberedCategory() { return g_rememberedCategory; }
int QuestionSelectMenu::RememberedSet() { return g_rememberedSet; }
void QuestionSelectMenu::ForgetPositions() { g_rememberedCategory = g_rememberedSet = 0; }

LRESULT QuestionSelectMenu::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_KEYDOWN:
      if (OnKeyDown(window, wParam, lParam)) return 0;
      break;
    case WM_PAINT:
      OnPaint(window);
      break;
    case WM_CLOSE:
      PostQuitMessage(0);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void QuestionSelectMenu::OnCreate(HWND window) {
  CreateControls(window);
  categories_ = ScanQuestionLibrary();
  // The drill's category comes and goes before the library's: the
  // remembered position counts the library's categories only.
  drillRows_ = AddWeakKeyDrillWhenKept(categories_) ? 1 : 0;
  for (const QuestionCategory& category : categories_) AddItem(categoryList_, category.displayName);
  const bool sameCategory = SelectRemembered(categoryList_, g_rememberedCategory + drillRows_);
  FillSetList();
  // The set position belongs to the remembered category: in another one it
  // would pick an unrelated set, so there the first set is taken.
  SelectRemembered(setList_, sameCategory ? g_rememberedSet : 0);
  SetFocus(setList_);
  if (ItemCount(categoryList_) == 0 || ItemCount(setList_) == 0) ReportNoQuestionSet();
  current_ = SelectedEntry();
}

void QuestionSelectMenu::CreateControls(HWND window) {
  controlFont_.reset(CreateFontW(Scaled(kControlFontHeight), 0, 0, 0, 0, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, kUiFontFace));
  const DWORD listStyle = WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT;
  const HFONT font = controlFont_.get();
  setList_ = MakeControl(window, L"LISTBOX", "", listStyle, kSetListId, 10, 60, 350, 200, font);
  MakeControl(window, L"BUTTON", "開始(Enter)", BS_PUSHBUTTON, kStartButtonId, 500, 340, 100, 40, font);
  MakeControl(window, L"BUTTON", "設定", BS_PUSHBUTTON, kSettingsButtonId, 500, 390, 100, 40, font);
  MakeControl(window, L"BUTTON", "戻る(ESC)", BS_PUSHBUTTON, kBackButtonId, 500, 290, 100, 40, font);
  categoryList_ = MakeControl(window, L"LISTBOX", "", listStyle, kCategoryListId, 400, 60, 200, 200, font);
  SetWindowSubclass(setList_, SetListProc, kSetListSubclassId, 0);
}

// The list is filled with its drawing off, its room made at once and no
// subclass in the way: item by item, each addition would update the scroll
// bar and repaint and grow the list's storage by a few items, so that a
// folder of 5,000 sets took a minute under Wine.
void QuestionSelectMenu::FillSetList() {
  const int category = SelectedIndex(categoryList_);
  if (category < 0 || category >= static_cast<int>(categories_.size())) ReportNoQuestionSet();
  const std::vector<CMenuQuestionLoader>& entries = categories_[static_cast<std::size_t>(category)].entries;
  std::vector<std::wstring> titles;
  titles.reserve(entries.size());
  std::size_t characters = 0;
  for (const CMenuQuestionLoader& entry : entries) {
    titles.push_back(Cp932ToWide(entry.values().title));
    characters += titles.back().size() + 1;
  }
  const SubclassSetAside plain(setList_);
  SendMessageW(setList_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(setList_, LB_RESETCONTENT, 0, 0);
  SendMessageW(setList_, LB_INITSTORAGE, titles.size(), characters * sizeof(wchar_t));
  for (const std::wstring& title : titles) {
    SendMessageW(setList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
  }
  SendMessageW(setList_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(setList_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

bool QuestionSelectMenu::BothSelected() const { return SelectedIndex(categoryList_) >= 0 && SelectedIndex(setList_) >= 0; }

const CMenuQuestionLoader* QuestionSelectMenu::SelectedEntry() const {
  const int category = SelectedIndex(categoryList_);
  const int set = SelectedIndex(setList_);
  if (category < 0 || set < 0 || category >= static_cast<int>(categories_.size())) return nullptr;
  const auto& entries = categories_[static_cast<std::size_t>(category)].entries;
  return set < static_cast<int>(entries.size()) ? &entries[static_cast<std::size_t>(set)] : nullptr;
}

void QuestionSelectMenu::OnCommand(HWND window, int id, int notification) {
  switch (id) {
    case kSetListId:
      if (notification == LBN_SELCHANGE) {
        if (const CMenuQuestionLoader* entry = SelectedEntry()) current_ = entry;
        InvalidateRect(window, nullptr, FALSE);
      } else if (notification == LBN_DBLCLK && BothSelected()) {
        Start(window);
      }
      break;
    case kStartButtonId:
      if (BothSelected()) Start(window);
      break;
    case kSettingsButtonId: {
      CSettingDialog dialog(window);
      break;
    }
    case kBackButtonId:
      Back(window);
      break;
    case kCategoryListId:
      FillSetList();
      break;
  }
}

bool QuestionSelectMenu::OnKeyDown(HWND window, WPARAM key, LPARAM lParam) {
  if (lParam & (1 << 30)) return false;  // a held key does not start twice
  if (key == VK_ESCAPE) {
    Back(window);
    return true;
  }
  if (key == VK_RETURN && BothSelected()) {
    Start(window);
    return true;
  }
  return false;
}

void QuestionSelectMenu::Start(HWND window) {
  current_ = SelectedEntry();
  if (!current_) return;
  CScene* const scene = SceneOf(window);
  scene->SetQuestionSetPath(current_->path());
  g_rememberedCategory = SelectedIndex(categoryList_) - drillRows_;
  g_rememberedSet = SelectedIndex(setList_);
  DestroyWindow(window);
  scene->ShowTypingScreen();
}

void QuestionSelectMenu::Back(HWND window) {
  CScene* const scene = SceneOf(window);
  DestroyWindow(window);
  scene->ShowMainMenu();
}

void QuestionSelectMenu::OnPaint(HWND window) const {
  {
    CDrawSurface heading(window, 640, 300, kWhite);
    heading.DrawString("ロードする問題ファイルを選択してください。", 0, 0);
    heading.DrawString("「開始」ボタンではじめます。", 0, 20);
    heading.BlitToWindow(10, 10, 640, 40, 0, 0);
  }
  CDrawSurface info(window, 640, 300, kWhite);
  info.SetFont(kInfoFontHeight);
  if (current_) {
    const QuestionSetValues& values = current_->values();
    info.DrawString("タイトル：", 0, 0);
    info.DrawString(values.title, 100, 0);
    info.DrawString("設定ファイル：", 0, 15);
    info.DrawString(current_->path(), 100, 15);
    info.DrawString("問題ファイル：", 0, 30);
    info.DrawString(values.questionFileName, 100, 30);
    info.DrawString("問題数：", 0, 45);
    info.DrawString(FormatNumber(values.questionNumber), 100, 45);
    info.DrawString(values.message, 0, 75);
  }
  info.RestoreFont();
  RECT client{};
  GetClientRect(window, &client);
  info.BlitToWindow(10, 300, 490, Unscaled(client.bottom) - 300, 0, 0);
}

}  // namespace kanaflow
