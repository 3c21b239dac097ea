// The basic practice screen driven with real messages: the countdown, a whole
// run typed to the results, the ways out, sounds, keyboard and IME.
#include "typing/typing1_window.h"

#include <gtest/gtest.h>
#include <imm.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/fatal_error.h"
#include "platform/text_encoding.h"
#include "support/fresh_frame.h"
#include "support/message_box_watcher.h"
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

constexpr Colour kBackColour = 0xE0F0E0;  // a pale green: easy to tell from anything drawn

class Typing1WindowTest : public ::testing::Test {
 protected:
  // A set of `questions` (text and reading line pairs) with extra keys.
  void WriteSet(const std::string& questions, int count, const std::string& keys = "") {
    folder_.Write("data/set.ini", "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=" + std::to_string(count) +
                                      "\r\nQuestionFileName=#q.txt\r\nWindowBackColor=0xE0F0E0\r\n" + keys);
    folder_.Write("data/q.txt", questions);
  }

  Typing1Window& screen() { return *static_cast<Typing1Window*>(scene_.current()); }

  void Open() {
    scene_.Open(PracticeMode::Basic);
    ASSERT_NE(dynamic_cast<Typing1Window*>(scene_.current()), nullptr);
  }

  // The three countdown ticks, sent at once instead of waited for.
  void FinishCountdown() {
    for (int tick = 0; tick < 3; ++tick) SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
    ASSERT_EQ(screen().state(), PracticeState::Running);
  }

  // The running clock moves by itself between two looks; nothing else may.
  std::optional<RECT> MovingClock() {
    if (screen().state() != PracticeState::Running) return std::nullopt;
    return screen().ClockRect();
  }
  // What the user sees now, which must be what a whole repaint shows.
  Image Shown(const std::string& what = "the last step") {
    return testing::ShownFrame(scene_.window(), what, MovingClock());
  }

  PracticeFolder folder_;
  PracticeScene scene_;
};

TEST_F(Typing1WindowTest, CountdownIgnoresCharactersAndTypingStartsAfterTheThirdTick) {
  WriteSet("犬\r\nいぬ\r\n", 1);
  Open();
  EXPECT_EQ(screen().state(), PracticeState::Countdown);
  EXPECT_EQ(screen().countdown(), 2) << "the painter shows 3";
  SendText(scene_.window(), "inu");
  EXPECT_EQ(screen().matcher().counters().missCount, 0) << "characters in the countdown are ignored";
  EXPECT_EQ(screen().matcher().counters().typedKeys, 0);
  Shown("the screen opened");
  SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-countdown");
  SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
  SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
  EXPECT_EQ(screen().state(), PracticeState::Countdown) << "2 and 1 still show";
  SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
  EXPECT_EQ(screen().state(), PracticeState::Running);
}

// The drawing surface only reports a picture it cannot load; the screen that
// asked for it must still tell the user, once, and go on with an empty one.
TEST_F(Typing1WindowTest, AMissingBackgroundPictureShowsThe0100BoxOnceAndThePracticeGoesOn) {
  WriteSet("犬\r\nいぬ\r\n", 1, "BackGroundPictureFileName=#missing.bmp\r\n");
  const testing::MessageBoxWatcher boxes;
  Open();
  ASSERT_EQ(boxes.texts().size(), 1u);
  const std::string expected = FatalErrorText(
      FatalError::PictureNotLoaded, {"読み込み対象ファイル名：./data/missing.bmp", CurrentDirectoryLine()});
  EXPECT_EQ(boxes.texts()[0], Cp932ToWide(expected));
  EXPECT_EQ(screen().state(), PracticeState::Countdown);
}

TEST_F(Typing1WindowTest, AWholeRunTypedToTheResults) {
  WriteSet("犬\r\nいぬ\r\n猫\r\nねこ\r\n", 2);
  Open();
  FinishCountdown();
  SendText(scene_.window(), "inu");
  EXPECT_EQ(screen().matcher().counters().questionsDone, 1);
  SendText(scene_.window(), "nx");  // x is a miss where e is due
  EXPECT_EQ(screen().matcher().counters().missCount, 1);
  SendText(scene_.window(), "eko");
  EXPECT_EQ(screen().state(), PracticeState::Results);
  EXPECT_EQ(screen().matcher().counters().typedKeys, 7);
  EXPECT_EQ(screen().matcher().counters().questionsDone, 2);
  SendText(scene_.window(), "abc");
  EXPECT_EQ(screen().matcher().counters().typedKeys, 7) << "nothing typed on the results counts";
  const auto image = Shown("the last key");
  SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-results");
  // The keyboard is drawn on the results, with the E key marked as the most missed.
  const CKeyboardKey& e = screen().keyboard().key(18);
  EXPECT_TRUE(e.marked());
  EXPECT_EQ(image.at(15 + e.x() + 1, 240 + e.y() + 20), RGB(255, 0, 0));
}

// The window is a Unicode window: each character is judged as the Shift_JIS
// bytes it has, one judgement per byte, and not by the low byte of UTF-16.
TEST_F(Typing1WindowTest, CharactersAreJudgedByTheirShiftJisBytes) {
  WriteSet("ｱ地\r\nｱち\r\n", 1);  // romaji: the half-width byte 0xB1, then chi
  Open();
  FinishCountdown();
  const struct Step {
    const char* what;
    std::wstring characters;
    int misses;  // in all, so far
    int romajiPos;
  } steps[] = {
      {"ち (U+3061, low byte 'a'): two bytes, two misses", L"\x3061", 2, 0},
      {"full-width ａ: two bytes, two misses", L"\xFF41", 4, 0},
      {"a character beyond the basic plane: one miss", L"\xD83D\xDE00", 5, 0},
      {"half-width ｱ: its one byte, right", L"\xFF71", 5, 1},
      {"c h i", L"chi", 5, 0},
  };
  for (const Step& step : steps) {
    for (const wchar_t character : step.characters) SendChar(scene_.window(), character);
    EXPECT_EQ(screen().matcher().counters().missCount, step.misses) << step.what;
    EXPECT_EQ(screen().matcher().romajiPos(), step.romajiPos) << step.what;
  }
  EXPECT_EQ(screen().state(), PracticeState::Results);
  EXPECT_EQ(screen().matcher().counters().typedKeys, 4);
}

// Whatever the user types, the screen shows its outcome at once: the pixels
// as they are equal a whole repaint, and the rows read what was driven.
TEST_F(Typing1WindowTest, EveryKindOfKeyIsShownAtOnce) {
  WriteSet("犬\r\nいぬ\r\n猫\r\nねこ\r\n", 2);
  Open();
  FinishCountdown();
  const struct Step {
    const char* what;
    const wchar_t* keys;  // 0: a tick of the running timer
    const char* romaji;   // the romaji row, and the typed part under it
    const char* typed;
    const char* misses;
  } steps[] = {
      {"a right key", L"i", "inu", "i", "0 回"},
      {"a miss", L"x", "inu", "i", "1 回"},
      {"a kana: two misses", L"\x3061", "inu", "i", "3 回"},
      {"a tick of the clock", nullptr, "inu", "i", "3 回"},
      {"the end of a question that is not the last", L"nu", "neko", "", "3 回"},
      {"the last key", L"neko", nullptr, nullptr, "3 回"},
  };
  const COLORREF ink = RGB(0, 0, 0);
  auto text = [&](const std::string& value, int x, int y) {
    return testing::RenderText(scene_.window(), Typing1Window::kWidth, Typing1Window::kHeight, kBackColour, value, x,
                               y, ink);
  };
  for (const Step& step : steps) {
    if (step.keys) {
      for (const wchar_t* key = step.keys; *key; ++key) SendChar(scene_.window(), *key);
    } else {
      SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kRunningTimer, 0);
    }
    const Image shown = Shown(step.what);
    if (step.romaji) {
      EXPECT_TRUE(testing::Shows(shown, text(step.romaji, 110, 65), std::string("romaji, ") + step.what));
    }
    if (step.typed && *step.typed) {
      EXPECT_TRUE(testing::Shows(shown, text(step.typed, 110, 90), std::string("typed, ") + step.what));
    }
    EXPECT_TRUE(testing::Shows(shown, text(step.misses, 300, 175), std::string("ミス回数, ") + step.what));
  }
  EXPECT_EQ(screen().state(), PracticeState::Results);
}

// ShowRomaji=2: the row comes up after a wait or a miss, with what is left.
TEST_F(Typing1WindowTest, HeldBackRomajiRowComesUpOnAMissOrAWait) {
  folder_.Write("Setting.ini", "[Setting]\r\nShowRomaji=2\r\n");
  WriteSet("犬\r\nいぬ\r\n猫\r\nねこ\r\n", 2);
  Open();
  FinishCountdown();
  auto text = [&](const std::string& value, int x) {
    return testing::RenderText(scene_.window(), 640, 480, kBackColour, value, x, 65, RGB(0, 0, 0));
  };
  auto blank = [](const Image& shown) { return shown.Count(110, 65, 600, 85, kBackColour) == 490 * 20; };
  SendChar(scene_.window(), L'i');
  EXPECT_TRUE(blank(Shown("a right key")));
  Sleep(kRomajiGuideWaitMs + 100);
  SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kRunningTimer, 0);
  const Image waited = Shown("a tick after two seconds of waiting");
  const int restLeft = text("i", 110).box.right;
  EXPECT_TRUE(testing::Shows(waited, text("nu", restLeft), "the rest after the wait"));
  EXPECT_EQ(waited.Count(110, 65, restLeft, 85, kBackColour), (restLeft - 110) * 20) << "the typed part stays out";
  SendText(scene_.window(), "nu");
  EXPECT_TRUE(blank(Shown("the next question")));
  SendChar(scene_.window(), L'x');
  const Image missed = Shown("a miss");  // before a surface of the test validates the window
  EXPECT_TRUE(testing::Shows(missed, text("neko", 110), "the whole rest after a miss"));
  SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-romaji-after-miss");
}

// KeyboardLayout=1: "@" is Shift and 2 on the US keyboard; that key is marked
// with both Shift keys, and the results name it by its legend "@".
TEST_F(Typing1WindowTest, UsKeyboardMarksAndNamesTheUsKeyOfASymbol) {
  folder_.Write("Setting.ini", "[Setting]\r\nKeyboardLayout=1\r\n");
  WriteSet("記号\r\n@\r\n", 1);
  Open();
  FinishCountdown();
  const Image shown = Shown("typing started");
  SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-us-keyboard-at-marked");
  const CVirtualKeyboard& keyboard = screen().keyboard();
  for (int i = 0; i < keyboard.keyCount(); ++i) {
    const CKeyboardKey& key = keyboard.key(i);
    const COLORREF inside = shown.at(15 + key.x() + key.width() - 3, 240 + key.y() + key.height() - 3);
    EXPECT_EQ(inside == RGB(255, 0, 0), key.label(1) == "2" || key.label(0) == "Shift") << key.label(0);
  }
  Sleep(20);  // so that the key has a time and is the slowest
  SendChar(scene_.window(), L'@');
  const Image results = Shown("the run's end");  // before any surface validates the window
  const auto name = testing::RenderText(scene_.window(), 640, 480, kBackColour, "@", 300, 40, RGB(0, 0, 0));
  EXPECT_TRUE(testing::Shows(results, name, "the slowest key's name"));
  SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-us-results");
}

TEST_F(Typing1WindowTest, EscapeAndF5LeaveInEveryState) {
  WriteSet("犬\r\nいぬ\r\n", 1);
  struct Row {
    int state;  // 0 countdown, 1 running, 2 results
    UINT key;
    int expected;
  } rows[] = {{0, VK_ESCAPE, testing::kStandInQuestionSelect}, {0, VK_F5, testing::kStandInMainMenu},
              {1, VK_ESCAPE, testing::kStandInQuestionSelect}, {1, VK_F5, testing::kStandInMainMenu},
              {2, VK_ESCAPE, testing::kStandInQuestionSelect}, {2, VK_F5, testing::kStandInMainMenu}};
  for (const Row& row : rows) {
    Open();
    if (row.state >= 1) FinishCountdown();
    if (row.state == 2) SendText(scene_.window(), "inu");
    SendKeyDown(scene_.window(), row.key, true);
    EXPECT_EQ(scene_.standInKind(), 0) << "an auto-repeat does not leave, row " << row.state;
    SendKeyDown(scene_.window(), row.key);
    EXPECT_EQ(scene_.standInKind(), row.expected) << "state " << row.state << " key " << row.key;
    EXPECT_EQ(scene_.scene().mode(), PracticeMode::Basic);
  }
}

TEST_F(Typing1WindowTest, DisablePlayMusicCreatesNoSoundObject) {
  WriteSet("犬\r\nいぬ\r\n", 1,
           "TypeSoundFileName=t.wav\r\nMissTypeSoundFileName=m.wav\r\nEndSoundFileName=e.wav\r\n"
           "BGMFileName=b.mid\r\nBGMFileType=sequencer\r\n");
  Open();
  EXPECT_TRUE(screen().hasSounds()) << "named sounds are made when sound is on";
  EXPECT_TRUE(screen().hasMusic());
  folder_.Write("Setting.ini", "[Setting]\r\nDisablePlayMusic=1\r\n");
  Open();
  EXPECT_FALSE(screen().hasSounds());
  EXPECT_FALSE(screen().hasMusic());
}

TEST_F(Typing1WindowTest, MusicNeedsItsDeviceType) {
  WriteSet("犬\r\nいぬ\r\n", 1, "BGMFileName=b.mid\r\n");
  Open();
  EXPECT_FALSE(screen().hasMusic());
}

TEST_F(Typing1WindowTest, WithoutTheKeyboardTheLowerAreaShowsOnlyTheBackground) {
  WriteSet("犬\r\nいぬ\r\n", 1);
  folder_.Write("Setting.ini", "[Setting]\r\nShowKeyboard=0\r\n");
  Open();
  const COLORREF back = static_cast<COLORREF>(kBackColour);
  // The countdown's big digit reaches below y = 240; its columns are left out.
  auto lowerAreaIsBackground = [&] {
    const auto image = Shown();
    const int height = image.height - 240;
    return image.Count(0, 240, 200, image.height, back) == 200 * height &&
           image.Count(380, 240, image.width, image.height, back) == (image.width - 380) * height;
  };
  EXPECT_TRUE(lowerAreaIsBackground()) << "countdown";
  FinishCountdown();
  EXPECT_TRUE(lowerAreaIsBackground()) << "running";
  SendText(scene_.window(), "inu");
  EXPECT_FALSE(lowerAreaIsBackground()) << "the results always show the keyboard";
}

TEST_F(Typing1WindowTest, TheImeIsClosedUnlessImeControlIsDisabled) {
  WriteSet("犬\r\nいぬ\r\n", 1);
  for (bool disabled : {false, true}) {
    folder_.Write("Setting.ini", disabled ? "[Setting]\r\nDisableImeControl=1\r\n" : "[Setting]\r\n");
    // Open the IME of the thread's default context before the screen comes.
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HIMC context = ImmGetContext(probe);
    ImmSetOpenStatus(context, TRUE);
    ImmReleaseContext(probe, context);
    DestroyWindow(probe);
    Open();
    context = ImmGetContext(scene_.window());
    EXPECT_EQ(ImmGetOpenStatus(context) != FALSE, disabled) << (disabled ? "left alone" : "closed");
    ImmReleaseContext(scene_.window(), context);
  }
}

TEST_F(Typing1WindowTest, RunningPicturesWithMarksAndAMiss) {
  WriteSet("Ａ君\r\nAくん\r\n", 1);
  Open();
  FinishCountdown();
  const Image image = Shown("the start of typing");
  SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-running-shift-marked");
  const CVirtualKeyboard& keyboard = screen().keyboard();
  for (int key : {29, 41, 53}) {
    const CKeyboardKey& k = keyboard.key(key);
    EXPECT_EQ(image.at(15 + k.x() + 1, 240 + k.y() + 20), RGB(255, 0, 0)) << "key " << key << " is marked";
  }
  SendChar(scene_.window(), L'a');  // lower case where A is due: a miss
  Shown("a miss");
  SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-after-miss");
  EXPECT_EQ(screen().matcher().points().lastChange(), -100);
  EXPECT_EQ(screen().matcher().points().points(), -100);
}

// With FlexibleInput on, a question typed in spellings that the preferences
// do not show (si, tu, a single n, ltu) completes without a miss, and the
// romaji row and the next-key mark follow what the user typed.
TEST_F(Typing1WindowTest, FlexibleInputShowsTheUsersOwnSpelling) {
  WriteSet("質問を切って\r\nしつもんをきって\r\n", 1);
  folder_.Write("Setting.ini", "[Setting]\r\nFlexibleInput=1\r\n");
  Open();
  FinishCountdown();
  const COLORREF ink = RGB(0, 0, 0);
  auto text = [&](const std::string& value, int x, int y) {
    return testing::RenderText(scene_.window(), Typing1Window::kWidth, Typing1Window::kHeight, kBackColour, value, x,
                               y, ink);
  };
  const struct Step {
    const char* keys;
    const char* romaji;  // the romaji row after the keys
    int nextKey;         // the key marked next
  } steps[] = {
      {"", "shitsumonnwokitte", 30},              // S: the preferences' spellings
      {"si", "sitsumonnwokitte", 20},             // T
      {"tumon", "situmonnwokitte", 47},           // N: nn shows, though w would do now
      {"wokiltut", "situmonwokiltute", 18},       // E
  };
  std::string typed;
  for (const Step& step : steps) {
    SendText(scene_.window(), step.keys);
    typed += step.keys;
    const Image shown = Shown(typed);
    EXPECT_TRUE(testing::Shows(shown, text(step.romaji, 110, 65), "romaji after " + typed));
    if (!typed.empty()) {
      EXPECT_TRUE(testing::Shows(shown, text(typed, 110, 90), "typed part after " + typed));
    }
    const CKeyboardKey& key = screen().keyboard().key(step.nextKey);
    EXPECT_EQ(shown.at(15 + key.x() + 1, 240 + key.y() + 20), RGB(255, 0, 0)) << "next key after " << typed;
  }
  SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-flexible-input");
  SendText(scene_.window(), "e");
  EXPECT_EQ(screen().state(), PracticeState::Results);
  EXPECT_EQ(screen().matcher().counters().missCount, 0);
  EXPECT_EQ(screen().matcher().counters().typedKeys, 16);
}

// Not a timed test: the figures are printed for the record; the objects and
// memory of the process must not grow over a long run.
TEST_F(Typing1WindowTest, ManyKeystrokesLeaveNothingBehind) {
  std::string questions;
  for (int i = 0; i < 50; ++i) questions += "練習\r\nれんしゅう\r\n";  // renshuu: 10 keys
  WriteSet(questions, 50);
  Open();
  FinishCountdown();
  SetTimer(scene_.window(), CTypingWindow::kRunningTimer, CTypingWindow::kRunningPeriod, nullptr);
  auto privateBytes = testing::PrivateBytes;
  std::vector<double> times;
  const std::string keys = "rennshuu";
  SendText(scene_.window(), "rennshuu");  // warm up: the first question
  Shown("the first question");
  const DWORD gdiBefore = testing::GdiObjectGauge();
  const SIZE_T memoryBefore = privateBytes();
  for (int question = 1; question < 50; ++question) {
    for (char key : keys) {
      const auto start = std::chrono::steady_clock::now();
      SendChar(scene_.window(), static_cast<wchar_t>(key));
      UpdateWindow(scene_.window());
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    PumpMessages();
  }
  EXPECT_EQ(screen().state(), PracticeState::Results);
  const DWORD gdiAfter = testing::GdiObjectGauge();
  const SIZE_T memoryAfter = privateBytes();
  std::sort(times.begin(), times.end());
  std::printf("basic screen keystroke to repainted frame: median %.3f ms over %zu keys; GDI gauge %lu -> %lu; "
              "private bytes %zu -> %zu\n",
              times[times.size() / 2], times.size(), gdiBefore, gdiAfter, static_cast<size_t>(memoryBefore),
              static_cast<size_t>(memoryAfter));
  EXPECT_LE(gdiAfter, gdiBefore + testing::kGdiGaugeSlack);
  EXPECT_LE(memoryAfter, memoryBefore + 1024 * 1024) << "private bytes grew over the run";
}

}  // namespace
}  // namespace kanaflow
