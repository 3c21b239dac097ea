// The edit-box practice screens driven with real messages: text arrives in
// the edit box as characters or as a committed IME string, the box tells the
// screen through its notifications, Enter and the keys go through the box's
// subclass procedure. Also the pictures, the IME modes and a long run.
#include "typing/typing2_window.h"

#include <gtest/gtest.h>
#include <imm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/window_utilities.h"
#include "draw/gdi_handles.h"
#include "platform/text_encoding.h"
#include "support/fresh_frame.h"
#include "support/image.h"
#include "support/practice_fixture.h"
#include "support/text_picture.h"

namespace kanaflow {
namespace {

using testing::Image;
using testing::PracticeFolder;
using testing::PracticeScene;
using testing::PumpMessages;
using testing::SavePng;
using testing::SendChar;
using testing::SendKeyDown;
using testing::SendText;
using testing::Shows;
using testing::TextPicture;

constexpr COLORREF kBackColour = 0xE0F0E0;    // pale green: easy to tell from anything drawn
constexpr COLORREF kStringColour = 0x800000;  // dark blue: labels, frames and rule lines
constexpr COLORREF kDefaultText = 0x000000;   // the image's own text colour
constexpr PracticeMode kHiragana = PracticeMode::Hiragana;
constexpr PracticeMode kKanjiKana = PracticeMode::KanjiKana;

// ---- the IME of the thread's default input context ------------------------

struct ImeState {
  bool open;
  DWORD conversion;
  DWORD sentence;
};

bool operator==(const ImeState& a, const ImeState& b) {
  return a.open == b.open && a.conversion == b.conversion && a.sentence == b.sentence;
}

std::ostream& operator<<(std::ostream& out, const ImeState& state) {
  char text[64];
  std::snprintf(text, sizeof text, "{%s, 0x%lX, %lu}", state.open ? "open" : "closed", state.conversion,
                state.sentence);
  return out << text;
}

ImeState ReadIme(HWND window) {
  const HIMC context = ImmGetContext(window);
  ImeState state{ImmGetOpenStatus(context) != FALSE, 0, 0};
  ImmGetConversionStatus(context, &state.conversion, &state.sentence);
  ImmReleaseContext(window, context);
  return state;
}

// Sets the thread's input context through a window of its own, before or
// after any screen.
void SetThreadIme(const ImeState& state) {
  const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const HIMC context = ImmGetContext(probe);
  ImmSetOpenStatus(context, state.open ? TRUE : FALSE);
  ImmSetConversionStatus(context, state.conversion, state.sentence);
  ImmReleaseContext(probe, context);
  DestroyWindow(probe);
}

// What the user had before the screen came: none of the screen's settings.
constexpr ImeState kUsersIme{false, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, IME_SMODE_AUTOMATIC};
constexpr ImeState kHiraganaIme{true, 0x19, 0};
constexpr ImeState kKatakanaIme{true, 0x1B, 0};
constexpr ImeState kConversionIme{true, 0x19, 8};

// ---- pictures ----------------------------------------------------------------

TextPicture RenderText(HWND window, const std::string& text, int x, int y, COLORREF colour, int fontHeight = 0) {
  return testing::RenderText(window, Typing2Window::kWidth, Typing2Window::kHeight, kBackColour, text, x, y, colour,
                             fontHeight);
}

// Pixels of the rule colour along the row of a rule line (from x 15 over 610
// pixels), left and right of the countdown's digit, which covers x 220 to 420.
constexpr int kRuleSides = 2 * 205;
int RulePixels(const Image& shot, int y) {
  return shot.Count(15, y, 220, y + 1, kStringColour) +
         shot.Count(420, y, std::min(625, shot.width), y + 1, kStringColour);
}

// ---- what the edit control's own procedure and the screen receive ----------

struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A local class "Edit" of the test module stands in front of the system's, so
// the screen's box is made from it: its procedure records what the screen's
// subclass passes on to the edit control's own procedure. A thread hook
// records what is sent to the screen's window. One at a time; the box must
// be gone before this ends, or its class stays registered.
class MessageRecorder {
 public:
  MessageRecorder() {
    WNDCLASSEXW record{};
    record.cbSize = sizeof record;
    GetClassInfoExW(nullptr, L"Edit", &record);
    systemProc_ = record.lpfnWndProc;
    record.lpfnWndProc = EditProc;
    record.hInstance = testing::TestInstance();
    record.style &= ~CS_GLOBALCLASS;
    record.lpszClassName = L"Edit";
    registered_ = RegisterClassExW(&record) != 0;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, SentProc, nullptr, GetCurrentThreadId());
    current_ = this;
  }
  ~MessageRecorder() {
    current_ = nullptr;
    if (hook_) UnhookWindowsHookEx(hook_);
    if (registered_) UnregisterClassW(L"Edit", testing::TestInstance());
  }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  bool ready() const { return registered_ && hook_ != nullptr; }
  void Clear() {
    edit_.clear();
    sent_.clear();
  }
  // What reached the edit control's own procedure, of `message`.
  std::vector<Seen> ToEdit(UINT message) const { return Only(edit_, nullptr, message); }
  // What was sent to `window`, of `message`.
  std::vector<Seen> ToWindow(HWND window, UINT message) const { return Only(sent_, window, message); }

 private:
  static std::vector<Seen> Only(const std::vector<Seen>& all, HWND window, UINT message) {
    std::vector<Seen> found;
    std::copy_if(all.begin(), all.end(), std::back_inserter(found),
                 [=](const Seen& seen) { return seen.message == message && (!window || seen.window == window); });
    return found;
  }

  static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (current_) current_->edit_.push_back({window, message, wParam, lParam});
    return CallWindowProcW(systemProc_, window, message, wParam, lParam);
  }

  static LRESULT CALLBACK SentProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && current_) {
      const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
      current_->sent_.push_back({sent->hwnd, sent->message, sent->wParam, sent->lParam});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  // Window procedures and hooks get no context of their own.
  static inline MessageRecorder* current_ = nullptr;
  static inline WNDPROC systemProc_ = nullptr;

  std::vector<Seen> edit_;
  std::vector<Seen> sent_;
  bool registered_ = false;
  HHOOK hook_ = nullptr;
};

// ---- the fixture -----------------------------------------------------------

class Typing2WindowTest : public ::testing::Test {
 protected:
  // A Version 5 set of `questions` (text and reading line pairs) with extra keys.
  void WriteSet(const std::string& questions, int count, const std::string& keys = "") {
    folder_.Write("data/set.ini", "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=" + std::to_string(count) +
                                      "\r\nQuestionFileName=#q.txt\r\nWindowBackColor=0xE0F0E0\r\n"
                                      "WindowStringColor=0x800000\r\n" +
                                      keys);
    folder_.Write("data/q.txt", questions);
  }

  void Open(PracticeMode mode) {
    scene_.Open(mode);
    ASSERT_NE(dynamic_cast<Typing2Window*>(scene_.current()), nullptr);
  }

  Typing2Window& screen() { return *static_cast<Typing2Window*>(scene_.current()); }
  const CEditBoxMatcher& matcher() { return screen().matcher(); }
  HWND box() { return screen().editBox(); }
  HWND window() { return scene_.window(); }

  // The three countdown ticks, sent at once instead of waited for.
  void FinishCountdown() {
    for (int tick = 0; tick < 3; ++tick) SendMessageW(window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
    ASSERT_EQ(screen().state(), PracticeState::Running);
  }

  // A string the IME commits: it replaces the selection, here the empty one
  // at the end of the text.
  void Commit(const std::string& cp932) {
    const int end = GetWindowTextLengthW(box());
    SendMessageW(box(), EM_SETSEL, end, end);
    const std::wstring wide = Cp932ToWide(cp932);
    SendMessageW(box(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  void Backspace() { SendChar(box(), VK_BACK); }
  // The last character selected and cleared, as with Shift+Left and Delete.
  void ClearLast() {
    const int end = GetWindowTextLengthW(box());
    SendMessageW(box(), EM_SETSEL, end - 1, end);
    SendMessageW(box(), WM_CLEAR, 0, 0);
  }
  void Enter() { SendChar(box(), VK_RETURN); }
  std::string BoxText() { return GetWindowTextCp932(box(), 4096); }

  // The running clock moves by itself between two looks; nothing else may.
  std::optional<RECT> MovingClock() {
    if (screen().state() != PracticeState::Running) return std::nullopt;
    return screen().ClockRect();
  }
  // What the user sees now, which must be what a whole repaint shows.
  Image Shot(const std::string& what = "the last step") {
    return testing::ShownFrame(window(), what, MovingClock());
  }
  void SaveShot(const std::string& name) { SavePng(testing::CaptureWindowWithFrame(window()), name); }
  TextPicture Text(const std::string& text, int x, int y, COLORREF colour = kStringColour, int fontHeight = 0) {
    return RenderText(window(), text, x, y, colour, fontHeight);
  }

  // Leaves the practice screen the way the user does.
  void Leave() {
    SendKeyDown(window(), VK_ESCAPE);
    ASSERT_EQ(scene_.standInKind(), testing::kStandInQuestionSelect);
  }

  PracticeFolder folder_;
  PracticeScene scene_;
};

// ---- countdown -----------------------------------------------------------------

TEST_F(Typing2WindowTest, DuringTheCountdownTheBoxIsDisabledAndEscapeStillLeaves) {
  WriteSet("朝\r\nあさ\r\n", 1);
  for (PracticeMode mode : {kHiragana, kKanjiKana}) {
    Open(mode);
    EXPECT_EQ(screen().state(), PracticeState::Countdown) << "mode " << static_cast<int>(mode);
    EXPECT_FALSE(IsWindowEnabled(box())) << "mode " << static_cast<int>(mode);
    SendText(box(), "あさ");
    SendChar(box(), VK_RETURN);
    EXPECT_EQ(matcher().counters().typedKeys, 0) << "nothing counts in the countdown, mode " << static_cast<int>(mode);
    EXPECT_EQ(matcher().counters().missCount, 0) << "mode " << static_cast<int>(mode);
    SendKeyDown(window(), VK_ESCAPE);
    EXPECT_EQ(scene_.standInKind(), testing::kStandInQuestionSelect) << "mode " << static_cast<int>(mode);
    EXPECT_EQ(scene_.scene().mode(), mode) << "back to the list of the same mode";
  }
}

TEST_F(Typing2WindowTest, TheCountdownPictureShowsLabelsWithoutValuesAndTheDigit) {
  WriteSet("朝\r\nあさ\r\n", 1);
  Open(kHiragana);
  const Image shot = Shot();
  SaveShot("edit-countdown");
  EXPECT_TRUE(Shows(shot, Text("問題文", 15, 45), "question label"));
  EXPECT_TRUE(Shows(shot, Text("読み", 15, 70), "second row label"));
  EXPECT_TRUE(Shows(shot, Text("総問題数", 15, 170), "counter label"));
  EXPECT_TRUE(Shows(shot, Text("（）", 400, 245), "no last change in the countdown"));
  EXPECT_EQ(shot.Count(100, 170, 180, 190, kStringColour), 0) << "no values in the countdown";
  // The 3 in the image's own colour, 200 high. The rule line at y 90 runs
  // under it and its lower part meets the counter labels: both left out.
  const TextPicture digit = Text("3", 220, 50, kDefaultText, 200);
  EXPECT_TRUE(Shows(shot, digit, "big digit above the rule", RECT{220, 50, 420, 90}));
  EXPECT_TRUE(Shows(shot, digit, "big digit below the rule", RECT{220, 91, 420, 165}));
}

TEST_F(Typing2WindowTest, TheThirdTickEnablesAndFocusesTheBox) {
  WriteSet("朝\r\nあさ\r\n", 1);
  Open(kHiragana);
  for (int tick = 1; tick <= 3; ++tick) {
    SendMessageW(window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
    const bool running = tick == 3;
    EXPECT_EQ(screen().state() == PracticeState::Running, running) << "tick " << tick;
    EXPECT_EQ(IsWindowEnabled(box()) != FALSE, running) << "tick " << tick;
  }
  EXPECT_EQ(GetFocus(), box());
}

// ---- judging the text ------------------------------------------------------------

struct Counts {
  int acceptedLen;
  int typedKeys;
  int missCount;
  int points;
  int lastChange;
  const char* box;
};

TEST_F(Typing2WindowTest, CommittedTextIsJudgedByTheBytesItAdds) {
  WriteSet("朝\r\nあさ\r\n", 1);
  enum Action { kCommit, kBackspace, kClearLast, kType };
  struct Step {
    Action action;
    const char* text;
    Counts expected;
  };
  // Each accepted two-byte character scores 2 x (10000 / (1000 / 2)) = 40; a miss -100.
  const std::vector<std::vector<Step>> runs = {
      {{kCommit, "あ", {2, 2, 0, 40, 40, "あ"}},
       {kCommit, "い", {2, 2, 1, -60, -100, "あい"}},
       {kBackspace, "", {2, 2, 1, -60, -100, "あ"}},
       {kCommit, "さ", {4, 4, 1, -20, 40, "あさ"}}},
      {{kType, "あ", {2, 2, 0, 40, 40, "あ"}},
       {kType, "い", {2, 2, 1, -60, -100, "あい"}},
       {kClearLast, "", {2, 2, 1, -60, -100, "あ"}},
       {kBackspace, "", {2, 2, 1, -60, -100, ""}},
       {kType, "あ", {2, 2, 1, -60, -100, "あ"}},
       {kType, "さ", {4, 4, 1, -20, 40, "あさ"}}},
      // Both characters in one commit: one chunk of four bytes, 4 x (10000 / 250).
      {{kCommit, "あさ", {4, 4, 0, 160, 160, "あさ"}}},
      // Longer than the target: a miss, though it starts right.
      {{kCommit, "あさあ", {0, 0, 1, -100, -100, "あさあ"}}},
  };
  for (std::size_t run = 0; run < runs.size(); ++run) {
    Open(kHiragana);
    FinishCountdown();
    for (std::size_t index = 0; index < runs[run].size(); ++index) {
      const Step& step = runs[run][index];
      switch (step.action) {
        case kCommit:
          Commit(step.text);
          break;
        case kType:
          SendText(box(), step.text);
          break;
        case kBackspace:
          Backspace();
          break;
        case kClearLast:
          ClearLast();
          break;
      }
      const Counts& want = step.expected;
      const std::string row = "run " + std::to_string(run) + " step " + std::to_string(index);
      EXPECT_EQ(matcher().acceptedLen(), want.acceptedLen) << row;
      EXPECT_EQ(matcher().counters().typedKeys, want.typedKeys) << row;
      EXPECT_EQ(matcher().counters().missCount, want.missCount) << row;
      EXPECT_EQ(matcher().points().points(), want.points) << row;
      EXPECT_EQ(matcher().points().lastChange(), want.lastChange) << row;
      EXPECT_EQ(BoxText(), want.box) << row << ": the text stays as the user left it";
    }
  }
}

TEST_F(Typing2WindowTest, AWrongTextIsOneMissWhateverTheBoxNotifiesAfterwards) {
  WriteSet("朝\r\nあさ\r\n", 1);
  Open(kHiragana);
  FinishCountdown();
  Commit("あい");
  EXPECT_EQ(matcher().counters().missCount, 1) << "one change of the text, one miss";
  // The box notifies again when it loses and regains the focus, and may
  // repeat an update; the text has not changed.
  SetFocus(nullptr);
  SetFocus(box());
  SendMessageW(window(), WM_COMMAND, MAKEWPARAM(Typing2Window::kEditBoxId, EN_UPDATE), reinterpret_cast<LPARAM>(box()));
  SendMessageW(window(), WM_COMMAND, MAKEWPARAM(Typing2Window::kEditBoxId, EN_CHANGE), reinterpret_cast<LPARAM>(box()));
  EXPECT_EQ(matcher().counters().missCount, 1);
  EXPECT_EQ(matcher().points().points(), -100);
  Commit("う");
  EXPECT_EQ(matcher().counters().missCount, 2) << "a new wrong text is a new miss";
  // Back to the accepted part in one deletion, then the same wrong text again.
  SendMessageW(box(), EM_SETSEL, 1, -1);
  SendMessageW(box(), WM_CLEAR, 0, 0);
  EXPECT_EQ(matcher().counters().missCount, 2) << "a deletion to the accepted part is no miss";
  Commit("い");
  EXPECT_EQ(matcher().counters().missCount, 3) << "the same wrong text written again";
}

TEST_F(Typing2WindowTest, EnterJudgesTheWholeText) {
  WriteSet("朝\r\nあさ\r\n犬\r\nいぬ\r\n", 2);
  Open(kHiragana);
  FinishCountdown();
  Commit("あ");
  Enter();
  EXPECT_EQ(matcher().counters().missCount, 1) << "right but incomplete";
  EXPECT_EQ(matcher().points().lastChange(), -100);
  EXPECT_EQ(matcher().counters().questionsDone, 0);
  EXPECT_EQ(BoxText(), "あ") << "Enter inserts nothing";
  Commit("さ");
  const int points = matcher().points().points();
  Enter();
  EXPECT_EQ(matcher().counters().questionsDone, 1);
  EXPECT_EQ(matcher().counters().currentQuestion, 1) << "the next question in file order";
  EXPECT_EQ(matcher().acceptedLen(), 0);
  EXPECT_EQ(BoxText(), "") << "the box is emptied for the next question";
  EXPECT_EQ(matcher().points().points(), points) << "no bonus for a completed question";
  EXPECT_EQ(matcher().Target(), "いぬ");
  Commit("い");
  EXPECT_EQ(matcher().acceptedLen(), 2) << "the next question starts from its first byte";
  EXPECT_EQ(matcher().counters().typedKeys, 6);
}

// ---- a run and its pictures ------------------------------------------------------

// Whatever the user does, the screen shows its outcome at once: the pixels as
// they are equal a whole repaint, and the counters read what was driven.
TEST_F(Typing2WindowTest, EveryKindOfInputIsShownAtOnce) {
  WriteSet("あさ\r\nあさ\r\nいぬ\r\nいぬ\r\n", 2);
  enum Action { kCommit, kBackspace, kEnter, kTick };
  const struct Step {
    const char* what;
    Action action;
    const char* text;
    const char* question;  // the display text then shown
    const char* done;      // 問題数
    const char* misses;    // ミス回数
  } steps[] = {
      {"a right part", kCommit, "あ", "あさ", "0 問", "0 回"},
      {"a wrong text", kCommit, "い", "あさ", "0 問", "1 回"},
      {"a deletion", kBackspace, "", "あさ", "0 問", "1 回"},
      {"Enter on a part", kEnter, "", "あさ", "0 問", "2 回"},
      {"the rest", kCommit, "さ", "あさ", "0 問", "2 回"},
      {"a tick of the clock", kTick, "", "あさ", "0 問", "2 回"},
      {"Enter on a question that is not the last", kEnter, "", "いぬ", "1 問", "2 回"},
      {"the whole last answer", kCommit, "いぬ", "いぬ", "1 問", "2 回"},
      {"Enter on the last question", kEnter, "", nullptr, "2 問", "2 回"},
  };
  for (PracticeMode mode : {kHiragana, kKanjiKana}) {
    Open(mode);
    FinishCountdown();
    for (const Step& step : steps) {
      const std::string what = std::string(step.what) + ", mode " + std::to_string(static_cast<int>(mode));
      switch (step.action) {
        case kCommit:
          Commit(step.text);
          break;
        case kBackspace:
          Backspace();
          break;
        case kEnter:
          Enter();
          break;
        case kTick:
          SendMessageW(window(), WM_TIMER, CTypingWindow::kRunningTimer, 0);
          break;
      }
      const Image shown = Shot(what);
      if (step.question) {
        EXPECT_TRUE(Shows(shown, Text(step.question, 110, 45), "question, " + what));
      }
      EXPECT_TRUE(Shows(shown, Text(step.done, 100, 195), "問題数, " + what));
      EXPECT_TRUE(Shows(shown, Text(step.misses, 300, 220), "ミス回数, " + what));
    }
    EXPECT_EQ(screen().state(), PracticeState::Results) << "mode " << static_cast<int>(mode);
  }
}

TEST_F(Typing2WindowTest, AWholeRunToTheResults) {
  WriteSet("朝\r\nあさ\r\n犬\r\nいぬ\r\n", 2);
  Open(kHiragana);
  FinishCountdown();
  Commit("あ");
  const Image running = Shot();
  SaveShot("edit-running-hiragana");
  EXPECT_TRUE(Shows(running, Text("問題文", 15, 45), "question label"));
  EXPECT_TRUE(Shows(running, Text("朝", 110, 45), "display text"));
  EXPECT_TRUE(Shows(running, Text("読み", 15, 70), "second row label"));
  EXPECT_TRUE(Shows(running, Text("あさ", 110, 70), "reading"));
  EXPECT_TRUE(Shows(running, Text("ローマ字", 15, 95), "romaji label"));
  EXPECT_TRUE(Shows(running, Text("asa", 110, 95), "romaji"));
  EXPECT_TRUE(Shows(running, Text("打った文字", 15, 120), "typed label"));
  EXPECT_TRUE(Shows(running, Text("あ", 110, 120, kDefaultText), "accepted part in the image's own colour"));
  EXPECT_TRUE(Shows(running, Text("2 字", 100, 220), "typed bytes"));
  EXPECT_TRUE(Shows(running, Text("40 Point", 300, 245), "points"));
  EXPECT_TRUE(Shows(running, Text("（40）", 400, 245), "last change"));
  EXPECT_TRUE(
      Shows(running, Text("問題確定：Enter", 505, 185, kStringColour, 15), "operation box", RECT{505, 185, 619, 200}));

  Commit("さ");
  Enter();
  PumpMessages(30);  // some time on the stopwatch
  Commit("いぬ");
  Enter();
  ASSERT_EQ(screen().state(), PracticeState::Results);
  EXPECT_EQ(matcher().counters().questionsDone, 2);
  EXPECT_EQ(matcher().counters().typedKeys, 8);
  EXPECT_EQ(matcher().points().points(), 40 + 40 + 160);
  EXPECT_EQ(BoxText(), "");
  EXPECT_TRUE(IsWindowEnabled(box())) << "the box stays enabled on the results";

  const Image results = Shot();
  SaveShot("edit-results");
  // The rows at 95 and 120 now hold the rates.
  const int rowsTop = 95, rowsBottom = 136;
  int changed = 0;
  for (int y = rowsTop; y < rowsBottom; ++y) {
    for (int x = 15; x < results.width; ++x) changed += results.at(x, y) != running.at(x, y) ? 1 : 0;
  }
  EXPECT_GT(changed, 100) << "the question rows gave way to the rates";
  const double ms = screen().stopwatch().ElapsedMs();
  ASSERT_GT(ms, 0);
  char perSecond[64], perKey[64];
  std::snprintf(perSecond, sizeof perSecond, "%.3f 字", 8 / ms * 1000);
  std::snprintf(perKey, sizeof perKey, "%.3f 秒", ms / 1000 / 8);
  EXPECT_TRUE(Shows(results, Text("一秒あたりの打数", 15, 95), "rate label"));
  EXPECT_TRUE(Shows(results, Text(perSecond, 300, 95), "keystrokes per second"));
  EXPECT_TRUE(Shows(results, Text("一打あたりの時間", 15, 120), "rate label"));
  EXPECT_TRUE(Shows(results, Text(perKey, 300, 120), "time per keystroke"));
  EXPECT_EQ(results.Count(15, 45, 300, 90, kStringColour), 0) << "the question rows are not drawn";
  EXPECT_TRUE(Shows(results, Text("2 問", 100, 195), "questions done"));
  EXPECT_TRUE(Shows(results, Text("8 字", 100, 220), "typed bytes"));

  Commit("あ");
  Enter();
  EXPECT_EQ(matcher().counters().typedKeys, 8) << "nothing typed on the results counts";
  EXPECT_EQ(matcher().counters().missCount, 0);
}

// ---- what the mode decides --------------------------------------------------------

TEST_F(Typing2WindowTest, TheModeDecidesTheTargetAndTheSecondRow) {
  struct Row {
    PracticeMode mode;
    bool katakanaMode;
    const char* label;      // second row
    const char* secondRow;  // its text
    const char* wrong;      // a text that is not accepted
    const char* right;      // the whole target
    int points;             // for the right text in one commit
    const char* png;
  } rows[] = {
      {kHiragana, false, "読み", "がっこう", "ガッコウ", "がっこう", 8 * (10000 / 125), ""},
      {kHiragana, true, "カタカナ", "ガッコウ", "がっこう", "ガッコウ", 8 * (10000 / 125), ""},
      {kKanjiKana, false, "読み", "がっこう", "がっこう", "学校", 4 * (10000 / 250), "edit-running-kanji"},
      {kKanjiKana, true, "読み", "がっこう", "ガッコウ", "学校", 4 * (10000 / 250), ""},
  };
  for (const Row& row : rows) {
    const std::string name = "mode " + std::to_string(static_cast<int>(row.mode)) + (row.katakanaMode ? " katakana" : "");
    WriteSet("学校\r\nがっこう\r\n", 1, row.katakanaMode ? "KatakanaMode=1\r\n" : "");
    Open(row.mode);
    FinishCountdown();
    Commit(row.wrong);
    EXPECT_EQ(matcher().counters().missCount, 1) << name;
    EXPECT_EQ(matcher().acceptedLen(), 0) << name;
    SetWindowTextW(box(), L"");
    Commit(row.right);
    EXPECT_EQ(matcher().acceptedLen(), static_cast<int>(std::string(row.right).size())) << name;
    EXPECT_EQ(matcher().points().lastChange(), row.points) << name;
    const Image shot = Shot();
    if (*row.png) SaveShot(row.png);
    EXPECT_TRUE(Shows(shot, Text("学校", 110, 45), "display text, " + name));
    EXPECT_TRUE(Shows(shot, Text(row.label, 15, 70), "second row label, " + name));
    EXPECT_TRUE(Shows(shot, Text(row.secondRow, 110, 70), "second row, " + name));
    EXPECT_TRUE(Shows(shot, Text("gakkou", 110, 95), "romaji, " + name));
    EXPECT_TRUE(Shows(shot, Text(row.right, 110, 120, kDefaultText), "accepted part, " + name));
    Enter();
    EXPECT_EQ(screen().state(), PracticeState::Results) << name;
  }
}

TEST_F(Typing2WindowTest, TheRuleLineFollowsTheModeAndTheState) {
  WriteSet("学校\r\nがっこう\r\n", 1);
  struct Row {
    PracticeMode mode;
    bool running;
    bool at65;
    bool at90;
  } rows[] = {
      {kHiragana, false, false, true},
      {kHiragana, true, false, true},
      {kKanjiKana, false, false, false},
      {kKanjiKana, true, true, false},
  };
  for (const Row& row : rows) {
    Open(row.mode);
    if (row.running) FinishCountdown();
    const Image shot = Shot();
    const std::string name = "mode " + std::to_string(static_cast<int>(row.mode)) + (row.running ? " running" : " countdown");
    EXPECT_EQ(RulePixels(shot, 65), row.at65 ? kRuleSides : 0) << name << ", y 65";
    EXPECT_EQ(RulePixels(shot, 90), row.at90 ? kRuleSides : 0) << name << ", y 90";
  }
}

// ---- the edit box itself -------------------------------------------------------------

TEST_F(Typing2WindowTest, ATargetWiderThanTheBoxCanBeCompleted) {
  std::string reading;
  for (int i = 0; i < 12; ++i) reading += "あいうえお";  // 60 kana, far wider than 605 pixels
  WriteSet("長文\r\n" + reading + "\r\n", 1);
  Open(kHiragana);
  FinishCountdown();
  SendText(box(), reading);
  EXPECT_EQ(BoxText(), reading) << "the box took every character";
  EXPECT_EQ(matcher().acceptedLen(), 120);
  EXPECT_EQ(matcher().counters().missCount, 0);
  Enter();
  EXPECT_EQ(screen().state(), PracticeState::Results);
}

TEST_F(Typing2WindowTest, TheBoxHandsKeysEnterAndCompositionToTheScreen) {
  WriteSet("朝\r\nあさ\r\n", 1);
  MessageRecorder recorder;
  ASSERT_TRUE(recorder.ready());
  Open(kHiragana);
  FinishCountdown();
  const LPARAM keyBits = 1 | (0x1E << 16);
  struct Row {
    UINT message;
    WPARAM wParam;
    bool toScreen;       // the screen's window receives it
    LPARAM screenParam;  // with this LPARAM
    bool toEdit;         // the edit control's own procedure receives it
  } rows[] = {
      {WM_KEYDOWN, 'A', true, keyBits, true},      // every key press: the keystroke sound
      {WM_KEYDOWN, VK_BACK, true, keyBits, true},  // wrong or correcting keys too
      {WM_KEYDOWN, VK_LEFT, true, keyBits, true},
      {WM_CHAR, VK_RETURN, true, 0, false},   // Enter: to the screen only, never into the text
      {WM_CHAR, VK_ESCAPE, false, 0, false},  // swallowed
      {WM_IME_COMPOSITION, 0, true, keyBits, true},
  };
  for (const Row& row : rows) {
    recorder.Clear();
    SendMessageW(box(), row.message, row.wParam, keyBits);
    const std::string name = "message " + std::to_string(row.message) + " code " + std::to_string(row.wParam);
    const std::vector<Seen> toScreen = recorder.ToWindow(window(), row.message);
    ASSERT_EQ(toScreen.size(), row.toScreen ? 1u : 0u) << name;
    if (row.toScreen) {
      EXPECT_EQ(toScreen[0].wParam, row.wParam) << name;
      EXPECT_EQ(toScreen[0].lParam, row.screenParam) << name;
    }
    const std::vector<Seen> toEdit = recorder.ToEdit(row.message);
    EXPECT_EQ(toEdit.size(), row.toEdit ? 1u : 0u) << name;
  }
  EXPECT_EQ(BoxText(), "");
  EXPECT_EQ(matcher().counters().missCount, 1) << "only the Enter on an empty box";
  scene_.scene().ShowMainMenu();  // the box goes before its class does
}

TEST_F(Typing2WindowTest, EscapeAndF5PressedInTheBoxLeave) {
  WriteSet("朝\r\nあさ\r\n", 1);
  struct Row {
    PracticeMode mode;
    bool results;
    UINT key;
    int expected;
  } rows[] = {
      {kHiragana, false, VK_F5, testing::kStandInMainMenu},
      {kHiragana, false, VK_ESCAPE, testing::kStandInQuestionSelect},
      {kKanjiKana, false, VK_ESCAPE, testing::kStandInQuestionSelect},
      {kHiragana, true, VK_F5, testing::kStandInMainMenu},
      {kKanjiKana, true, VK_ESCAPE, testing::kStandInQuestionSelect},
  };
  for (const Row& row : rows) {
    const std::string name = "mode " + std::to_string(static_cast<int>(row.mode)) + " key " + std::to_string(row.key) +
                             (row.results ? " on the results" : " while typing");
    Open(row.mode);
    FinishCountdown();
    if (row.results) {
      Commit(row.mode == kHiragana ? "あさ" : "朝");
      Enter();
      ASSERT_EQ(screen().state(), PracticeState::Results) << name;
    }
    SendKeyDown(box(), row.key, true);
    EXPECT_EQ(scene_.standInKind(), 0) << "an auto-repeat does not leave, " << name;
    SendKeyDown(box(), row.key);
    EXPECT_EQ(scene_.standInKind(), row.expected) << name;
    EXPECT_EQ(scene_.scene().mode(), row.mode) << name;
  }
}

// ---- the IME -------------------------------------------------------------------------

struct ImeRow {
  PracticeMode mode;
  const char* keys;  // of the set
  bool disabled;     // DisableImeControl
  ImeState expected;
};

std::string ImeRowName(const ImeRow& row) {
  return "mode " + std::to_string(static_cast<int>(row.mode)) + " keys " + row.keys + (row.disabled ? " control disabled" : "");
}

TEST_F(Typing2WindowTest, SetUpSetsTheImeByImeStatus) {
  const ImeRow rows[] = {
      {kHiragana, "", false, kHiraganaIme},
      {kHiragana, "ImeStatus=0\r\n", false, kHiraganaIme},
      {kHiragana, "KatakanaMode=1\r\n", false, kKatakanaIme},
      {kKanjiKana, "", false, kConversionIme},
      {kKanjiKana, "KatakanaMode=1\r\n", false, kConversionIme},
      {kHiragana, "ImeStatus=1\r\n", false, {false, 0, 0}},
      {kKanjiKana, "ImeStatus=1\r\n", false, {false, 0, 0}},
      {kHiragana, "ImeStatus=2\r\n", false, kUsersIme},
      {kKanjiKana, "ImeStatus=2\r\n", false, kUsersIme},
      {kHiragana, "", true, kUsersIme},
      {kKanjiKana, "ImeStatus=1\r\n", true, kUsersIme},
  };
  for (const ImeRow& row : rows) {
    WriteSet("学校\r\nがっこう\r\n", 1, row.keys);
    folder_.Write("Setting.ini", row.disabled ? "[Setting]\r\nDisableImeControl=1\r\n" : "[Setting]\r\n");
    SetThreadIme(kUsersIme);
    Open(row.mode);
    EXPECT_EQ(ReadIme(box()), row.expected) << ImeRowName(row);
    Leave();
  }
}

TEST_F(Typing2WindowTest, TheScreenGettingTheFocusWhileTypingReopensTheIme) {
  constexpr ImeState kClosed{false, 0, 0};
  struct Row {
    ImeRow ime;          // expected: after the screen got the focus while typing
    ImeState countdown;  // what set-up left, and the focus in the countdown changes nothing
  } rows[] = {
      {{kHiragana, "ImeStatus=1\r\n", false, kHiraganaIme}, kClosed},
      {{kHiragana, "ImeStatus=1\r\nKatakanaMode=1\r\n", false, kKatakanaIme}, kClosed},
      {{kKanjiKana, "ImeStatus=1\r\n", false, kConversionIme}, kClosed},
      {{kHiragana, "ImeStatus=2\r\n", false, kHiraganaIme}, kUsersIme},
      {{kHiragana, "", true, kUsersIme}, kUsersIme},
  };
  for (const Row& row : rows) {
    const std::string name = ImeRowName(row.ime);
    WriteSet("学校\r\nがっこう\r\n", 1, row.ime.keys);
    folder_.Write("Setting.ini", row.ime.disabled ? "[Setting]\r\nDisableImeControl=1\r\n" : "[Setting]\r\n");
    SetThreadIme(kUsersIme);
    Open(row.ime.mode);
    SetFocus(nullptr);
    SetFocus(window());
    EXPECT_EQ(ReadIme(box()), row.countdown) << "countdown, " << name;
    FinishCountdown();
    EXPECT_EQ(ReadIme(box()), row.countdown) << "typing starts, " << name;
    SetFocus(window());
    EXPECT_EQ(GetFocus(), box()) << "the screen hands the focus on, " << name;
    EXPECT_EQ(ReadIme(box()), row.ime.expected) << name;
    Leave();
  }
}

TEST_F(Typing2WindowTest, LeavingRestoresTheModesButNotTheOpenStatus) {
  struct Row {
    const char* keys;
    bool disabled;
    bool refocus;  // the screen got the focus back while typing
    ImeState afterLeaving;
  } rows[] = {
      // The IME the screen opened stays open, with the user's modes.
      {"", false, false, {true, kUsersIme.conversion, kUsersIme.sentence}},
      {"", false, true, {true, kUsersIme.conversion, kUsersIme.sentence}},
      {"ImeStatus=1\r\n", false, false, {false, kUsersIme.conversion, kUsersIme.sentence}},
      {"ImeStatus=1\r\n", false, true, {true, kUsersIme.conversion, kUsersIme.sentence}},
      {"ImeStatus=2\r\n", false, true, {true, kUsersIme.conversion, kUsersIme.sentence}},
      {"ImeStatus=2\r\n", false, false, kUsersIme},
      {"", true, true, kUsersIme},
  };
  for (const Row& row : rows) {
    const std::string name =
        std::string("keys ") + row.keys + (row.disabled ? " control disabled" : "") + (row.refocus ? " refocused" : "");
    WriteSet("学校\r\nがっこう\r\n", 1, row.keys);
    folder_.Write("Setting.ini", row.disabled ? "[Setting]\r\nDisableImeControl=1\r\n" : "[Setting]\r\n");
    SetThreadIme(kUsersIme);
    Open(kKanjiKana);
    FinishCountdown();
    if (row.refocus) SetFocus(window());
    Leave();
    EXPECT_EQ(ReadIme(scene_.window()), row.afterLeaving) << name;
  }
}

// ---- a long run ------------------------------------------------------------------------

// Not a timed test: the figures are printed for the record; the objects and
// memory of the process must not grow over a long run.
TEST_F(Typing2WindowTest, ManyEditsLeaveNothingBehind) {
  std::string questions;
  constexpr int kQuestions = 60;
  for (int i = 0; i < kQuestions; ++i) questions += "朝\r\nあさ\r\n";
  WriteSet(questions, kQuestions);
  Open(kHiragana);
  FinishCountdown();
  // Each edit, then the full repaint that the running timer would bring.
  std::vector<double> times;
  auto timed = [&](auto edit) {
    const auto start = std::chrono::steady_clock::now();
    edit();
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  };
  auto question = [&] {
    timed([&] { SendText(box(), "あ"); });
    timed([&] { SendText(box(), "さ"); });
    timed([&] { Backspace(); });
    timed([&] { SendText(box(), "さ"); });
    timed([&] { Enter(); });
    PumpMessages();
  };
  question();  // warm up: fonts and surfaces made once
  const DWORD gdiBefore = testing::GdiObjectGauge();
  const SIZE_T memoryBefore = testing::PrivateBytes();
  times.clear();
  for (int i = 1; i < kQuestions; ++i) question();
  EXPECT_EQ(screen().state(), PracticeState::Results);
  EXPECT_EQ(matcher().counters().typedKeys, 4 * kQuestions);
  EXPECT_EQ(matcher().counters().missCount, 0);
  const DWORD gdiAfter = testing::GdiObjectGauge();
  const SIZE_T memoryAfter = testing::PrivateBytes();
  std::sort(times.begin(), times.end());
  std::printf(
      "edit-box screen edit to repainted frame: median %.3f ms, slowest %.3f ms over %zu edits; "
      "GDI gauge %lu -> %lu; private bytes %zu -> %zu\n",
      times[times.size() / 2], times.back(), times.size(), gdiBefore, gdiAfter, static_cast<size_t>(memoryBefore),
      static_cast<size_t>(memoryAfter));
  EXPECT_LE(gdiAfter, gdiBefore + testing::kGdiGaugeSlack);
  EXPECT_LE(memoryAfter, memoryBefore + 1024 * 1024) << "private bytes grew over the run";
}

}  // namespace
}  // namespace kanaflow
