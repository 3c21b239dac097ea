// Long runs of the screens under Wine: ten thousand keystrokes and two
// thousand timer repaints in each practice screen, and two hundred round
// trips through every screen. Whatever a screen makes for a key, a tick or a
// visit it must give back: the process's GDI objects, USER objects (counted
// as windows under Wine) and private memory end where they began.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/scene.h"
#include "platform/text_encoding.h"
#include "program/main_window.h"
#include "program/program_screens.h"
#include "program/question_select_menu.h"
#include "support/footprint.h"
#include "support/image.h"
#include "support/practice_fixture.h"
#include "support/screen_harness.h"
#include "typing/typing1_window.h"
#include "typing/typing2_window.h"

namespace kanaflow {
namespace {

using testing::Footprint;
using testing::FootprintMargin;
using testing::PracticeFolder;
using testing::PracticeScene;
using testing::PumpMessages;
using testing::SendChar;
using testing::SendKeyDown;
using testing::SendText;

// The gauge finds its highest slot with a burst of pens and moves by a few
// slots on its own; a window or a USER object kept on every visit or every
// few keys would show hundreds; a megabyte is far less than 10,000 keys
// would leave at a hundred bytes each.
constexpr FootprintMargin kMargin{testing::kGdiGaugeSlack, 0, 0, 1024 * 1024};

constexpr int kKeystrokes = 10000;
constexpr int kTimerRepaints = 2000;
constexpr int kKeysPerTimerRepaint = kKeystrokes / kTimerRepaints;
constexpr int kKeysPerPump = 100;  // the real timers and posted messages get through now and then
constexpr int kMissEvery = 10;     // questions
constexpr int kRoundTrips = 200;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* what, const Footprint& start, const Footprint& end, double seconds) {
  std::printf("soak %s (%.1f s): %s\n", what, seconds, Describe(start, end, kMargin).c_str());
  std::fflush(stdout);
}

// ---- practice screens ------------------------------------------------------------

// A practice mode as the soak drives it. The keys are CP932; '\r' is Enter
// (the edit box hands it to the screen) and '\b' a backspace.
struct ModeRow {
  const char* name;
  PracticeMode mode;
  const char* questionLines;  // one question: its text line and its reading line
  const char* answer;         // the keys that complete one question
  const char* missThenUndo;   // sent before every tenth question: one wrong key, then what removes it
  int unitsPerKey;            // what typedKeys counts for an accepted key: 1 key, or the kana's 2 bytes
};

const ModeRow kModes[] = {
    {"basic screen", PracticeMode::Basic, "練習\r\nれんしゅう\r\n", "rennshuu", "x", 1},
    {"edit box, hiragana", PracticeMode::Hiragana, "朝の空は青い\r\nあさのそらはあおい\r\n", "あさのそらはあおい\r", "ん\b", 2},
    {"edit box, kanji and kana", PracticeMode::KanjiKana, "朝の空は青い\r\nあさのそらはあおい\r\n", "朝の空は青い\r", "ん\b", 2},
};

// Enough questions that 10,000 keys never reach the end of the run.
constexpr int kQuestions = 1600;

struct Expected {
  int typedKeys = 0;
  int missCount = 0;
  int questionsDone = 0;
};

class PracticeSoak {
 public:
  PracticeSoak(const ModeRow& row, PracticeScene& scene) : row_(row), scene_(scene) {}

  CTypingWindow& screen() const { return *static_cast<CTypingWindow*>(scene_.current()); }
  const RunCounters& counters() const {
    if (const auto* basic = dynamic_cast<const Typing1Window*>(scene_.current())) return basic->matcher().counters();
    return static_cast<const Typing2Window*>(scene_.current())->matcher().counters();
  }
  const Expected& expected() const { return expected_; }
  int keystrokes() const { return keystrokes_; }
  int timerRepaints() const { return timerRepaints_; }

  // One question, with the miss first on every tenth; stops after `limit`
  // keystrokes in all.
  void TypeQuestion(int limit) {
    if (question_ % kMissEvery == kMissEvery - 1) Send(Cp932ToWide(row_.missThenUndo), true, limit);
    Send(Cp932ToWide(row_.answer), false, limit);
    ++question_;
  }

  // The repaint that the 100 ms timer brings, delivered at once.
  void TimerRepaint() {
    SendMessageW(window(), WM_TIMER, CTypingWindow::kRunningTimer, 0);
    UpdateWindow(window());
    ++timerRepaints_;
  }

 private:
  HWND window() const { return scene_.window(); }
  // Keys go where the keyboard sends them: the basic screen, or its edit box.
  HWND keyTarget() const {
    if (const auto* edit = dynamic_cast<const Typing2Window*>(scene_.current())) return edit->editBox();
    return window();
  }

  void Send(const std::wstring& keys, bool missFirst, int limit) {
    for (std::size_t i = 0; i < keys.size() && keystrokes_ < limit; ++i) {
      const HWND target = keyTarget();
      SendChar(target, keys[i]);
      UpdateWindow(target);
      UpdateWindow(window());
      Count(keys[i], missFirst && i == 0, !missFirst && i + 1 == keys.size());
      if (++keystrokes_ % kKeysPerTimerRepaint == 0) TimerRepaint();
      if (keystrokes_ % kKeysPerPump == 0) PumpMessages();
    }
  }

  // The last key of the answer completes the question: the last romaji key,
  // or Enter, which itself is not typed text.
  void Count(wchar_t key, bool miss, bool completes) {
    if (miss) ++expected_.missCount;
    if (completes) ++expected_.questionsDone;
    if (!miss && key != L'\r' && key != L'\b') expected_.typedKeys += row_.unitsPerKey;
  }

  const ModeRow& row_;
  PracticeScene& scene_;
  Expected expected_;
  int question_ = 0;
  int keystrokes_ = 0;
  int timerRepaints_ = 0;
};

std::string QuestionSet(const std::string& questionLines, int count) {
  std::string questions;
  for (int i = 0; i < count; ++i) questions += questionLines;
  return questions;
}

TEST(SoakTest, EveryPracticeScreenGivesBackWhatKeysAndTicksTake) {
  for (const ModeRow& row : kModes) {
    SCOPED_TRACE(row.name);
    PracticeFolder folder;
    folder.Write("data/set.ini", "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=" + std::to_string(kQuestions) +
                                     "\r\nQuestionFileName=#q.txt\r\n");
    folder.Write("data/q.txt", QuestionSet(row.questionLines, kQuestions));
    PracticeScene scene;
    scene.Open(row.mode);
    ASSERT_NE(dynamic_cast<CTypingWindow*>(scene.current()), nullptr);
    for (int tick = 0; tick < 3; ++tick) SendMessageW(scene.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
    PracticeSoak soak(row, scene);
    ASSERT_EQ(soak.screen().state(), PracticeState::Running);

    // Warm-up: ten questions, the last with a miss, and a timer repaint, so
    // the fonts, the caret and the per-key records that stay for the run
    // are made before the first measure.
    for (int question = 0; question < kMissEvery; ++question) soak.TypeQuestion(kKeystrokes * 2);
    soak.TimerRepaint();
    PumpMessages();
    ASSERT_EQ(soak.counters().questionsDone, kMissEvery) << "the warm-up questions are typed right";
    const Expected warmUp = soak.expected();
    const int warmUpKeys = soak.keystrokes();
    const int warmUpRepaints = soak.timerRepaints();
    const RunCounters before = soak.counters();

    const auto started = std::chrono::steady_clock::now();
    const Footprint start = testing::TakeFootprint();
    while (soak.keystrokes() - warmUpKeys < kKeystrokes) soak.TypeQuestion(warmUpKeys + kKeystrokes);
    PumpMessages();
    const Footprint end = testing::TakeFootprint();
    Report(row.name, start, end, SecondsSince(started));

    EXPECT_EQ(soak.timerRepaints() - warmUpRepaints, kTimerRepaints);
    EXPECT_EQ(soak.screen().state(), PracticeState::Running) << "the run is still going";
    const RunCounters& after = soak.counters();
    EXPECT_EQ(after.typedKeys - before.typedKeys, soak.expected().typedKeys - warmUp.typedKeys);
    EXPECT_EQ(after.missCount - before.missCount, soak.expected().missCount - warmUp.missCount);
    EXPECT_EQ(after.questionsDone - before.questionsDone, soak.expected().questionsDone - warmUp.questionsDone);
    EXPECT_EQ(GrownPastMargin(start, end, kMargin), "") << Describe(start, end, kMargin);
  }
}

// ---- round trips ------------------------------------------------------------------

// The program's own screens in a scene, the main menu first; every screen
// window is gone afterwards.
class ProgramScene {
 public:
  ProgramScene() : scene_(std::make_unique<CScene>(testing::TestInstance(), screens_)) {
    scene_->ShowMainMenu();
    PumpMessages();
  }
  ~ProgramScene() {
    scene_.reset();
    while (HWND window = FindWindowW(kScreenClassName, nullptr)) DestroyWindow(window);
    PumpMessages();
  }
  ProgramScene(const ProgramScene&) = delete;
  ProgramScene& operator=(const ProgramScene&) = delete;

  CWindow* current() const { return scene_->currentScreen(); }
  HWND window() const { return current() ? current()->handle() : nullptr; }
  template <typename Screen>
  Screen* As() const {
    return dynamic_cast<Screen*>(current());
  }

  // A key pressed where the keyboard sends it: the focused control of the
  // screen (the set list, the edit box), else the screen itself.
  void Press(UINT key) {
    const HWND focus = GetFocus();
    const bool inScreen = focus && (focus == window() || IsChild(window(), focus));
    SendKeyDown(inScreen ? focus : window(), key);
    PumpMessages();
  }

 private:
  ProgramScreens screens_;
  std::unique_ptr<CScene> scene_;
};

// One trip: the main menu's entry of `mode`, the first set, the countdown,
// one question or the whole run, one timer repaint, and back to the menu
// with F5 or with Escape twice.
::testing::AssertionResult RoundTrip(ProgramScene& program, int mode, bool wholeRun, bool byF5) {
  using ::testing::AssertionFailure;
  if (!program.As<MainWindow>()) return AssertionFailure() << "the trip starts away from the main menu";
  for (int i = 0; i < MainWindow::kEntryCount; ++i) program.Press(VK_UP);
  for (int i = 0; i < mode; ++i) program.Press(VK_DOWN);
  program.Press(VK_RETURN);
  if (!program.As<QuestionSelectMenu>()) return AssertionFailure() << "Enter on the menu did not open the selection";
  program.Press(VK_RETURN);
  auto* practice = program.As<CTypingWindow>();
  if (!practice) return AssertionFailure() << "Enter on the selection did not open a practice screen";
  for (int tick = 0; tick < 3; ++tick) SendMessageW(program.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
  const char* const basic[] = {"inu", "neko"};
  const char* const edit[] = {mode == 1 ? "いぬ" : "犬", mode == 1 ? "ねこ" : "猫"};
  for (int question = 0; question < (wholeRun ? 2 : 1); ++question) {
    if (auto* screen = program.As<Typing2Window>()) {
      SendText(screen->editBox(), edit[question]);
      SendChar(screen->editBox(), VK_RETURN);
    } else {
      SendText(program.window(), basic[question]);
    }
  }
  SendMessageW(program.window(), WM_TIMER, CTypingWindow::kRunningTimer, 0);
  PumpMessages();
  const PracticeState expected = wholeRun ? PracticeState::Results : PracticeState::Running;
  if (practice->state() != expected) return AssertionFailure() << "the practice did not reach its state";
  if (byF5) {
    program.Press(VK_F5);
  } else {
    program.Press(VK_ESCAPE);
    if (!program.As<QuestionSelectMenu>()) return AssertionFailure() << "Escape did not go back to the selection";
    program.Press(VK_ESCAPE);
  }
  if (!program.As<MainWindow>()) return AssertionFailure() << "the trip did not end on the main menu";
  return ::testing::AssertionSuccess();
}

TEST(SoakTest, RoundTripsThroughEveryScreenGiveBackWhatEachVisitTakes) {
  PracticeFolder folder;
  const std::string set = "[TypingQuesitonSetup]\r\nVersion=5\r\nTitle=動物\r\nQuestionNumber=2\r\n"
                          "QuestionFileName=#q.txt\r\nMessage=犬と猫\r\n";
  folder.Write("data/set.ini", set);
  folder.Write("data/q.txt", "犬\r\nいぬ\r\n猫\r\nねこ\r\n");
  folder.Write("data/二つ目/set.ini", set);
  folder.Write("data/二つ目/q.txt", "犬\r\nいぬ\r\n猫\r\nねこ\r\n");
  MainWindow::SelectEntry(0);
  QuestionSelectMenu::ForgetPositions();
  ProgramScene program;

  // Trip i: mode i % 3, the whole run on every other three, F5 on every other.
  auto trip = [&program](int i) { return RoundTrip(program, i % 3, (i / 3) % 2 == 1, i % 2 == 1); };
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(trip(i)) << "warm-up trip " << i;

  const auto started = std::chrono::steady_clock::now();
  const Footprint start = testing::TakeFootprint();
  for (int i = 0; i < kRoundTrips; ++i) ASSERT_TRUE(trip(i)) << "trip " << i;
  const Footprint end = testing::TakeFootprint();
  Report("round trips", start, end, SecondsSince(started));
  EXPECT_EQ(GrownPastMargin(start, end, kMargin), "") << Describe(start, end, kMargin);
}

}  // namespace
}  // namespace kanaflow
