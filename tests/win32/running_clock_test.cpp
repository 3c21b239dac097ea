// The running clock of both practice screens: a tick of the 100 ms timer
// asks for the clock's place alone, and what the screen then shows is the
// same, pixel for pixel, as a whole new frame at that moment.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>

#include "support/image.h"
#include "support/practice_fixture.h"
#include "typing/typing1_window.h"
#include "typing/typing2_window.h"

namespace kanaflow {
namespace {

using testing::CaptureWindow;
using testing::Image;
using testing::PracticeFolder;
using testing::PracticeScene;
using testing::PumpMessages;

constexpr std::uint32_t kStartMs = 5000;

// A 24-bit BMP file of 640 by 480 in stripes of 3 pixels, so that a clock
// drawn over a plain fill instead of the picture shows.
std::string StripedBitmapFile() {
  constexpr int kWidth = 640;
  constexpr int kHeight = 480;
  constexpr int kRowBytes = kWidth * 3;
  constexpr int kPixelOffset = 54;
  auto put32 = [](std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  std::string file = "BM";
  put32(file, kPixelOffset + kRowBytes * kHeight);
  put32(file, 0);
  put32(file, kPixelOffset);
  put32(file, 40);
  put32(file, kWidth);
  put32(file, kHeight);
  put32(file, 1 | (24 << 16));  // one plane, 24 bits
  for (int i = 0; i < 6; ++i) put32(file, 0);
  for (int y = 0; y < kHeight; ++y) {
    const char shade = static_cast<char>((y / 3) % 2 ? 0xF0 : 0xC0);
    for (int x = 0; x < kWidth; ++x) file += std::string{shade, static_cast<char>(0xE0), shade};
  }
  return file;
}

// Pixels that differ, leaving out the edit box, whose caret blinks.
int DifferentPixels(const Image& a, const Image& b) {
  int count = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const bool editBox = y >= 15 && y < 40 && x >= 15 && x < 620;
      if (!editBox && a.at(x, y) != b.at(x, y)) ++count;
    }
  }
  return count;
}

int DifferentPixelsIn(const Image& a, const Image& b, const RECT& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += a.at(x, y) != b.at(x, y);
  }
  return count;
}

struct ClockCase {
  const char* name;
  PracticeMode mode;
  std::uint32_t elapsedMs;
  bool onlyTheClock;  // false: the text outgrows its place
};

void PrintTo(const ClockCase& test, std::ostream* out) { *out << test.name; }

constexpr ClockCase kClockCases[] = {
    {"basic", PracticeMode::Basic, 12345, true},
    {"hiragana", PracticeMode::Hiragana, 12345, true},
    {"kanji", PracticeMode::KanjiKana, 987654, true},
    {"basic, longest time", PracticeMode::Basic, 0xFFFFFFFF - kStartMs, false},
    {"hiragana, longest time", PracticeMode::Hiragana, 0xFFFFFFFF - kStartMs, false},
};

class RunningClockTest : public ::testing::TestWithParam<ClockCase> {
 protected:
  void SetUp() override {
    folder_.Write("data/set.ini",
                  "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=1\r\nQuestionFileName=#q.txt\r\n"
                  "WindowBackColor=0xE0F0E0\r\nBackGroundPictureFileName=#back.bmp\r\n");
    folder_.Write("data/q.txt", "犬\r\nいぬ\r\n");
    folder_.Write("data/back.bmp", StripedBitmapFile());
  }

  CTypingWindow& screen() { return *static_cast<CTypingWindow*>(scene_.current()); }

  // The run started at kStartMs on a clock the test moves.
  void StartRun(PracticeMode mode) {
    scene_.Open(mode);
    ASSERT_NE(dynamic_cast<CTypingWindow*>(scene_.current()), nullptr);
    screen().SetStopwatchClock([this] { return now_; });
    for (int tick = 0; tick < 3; ++tick) SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
    ASSERT_EQ(screen().state(), PracticeState::Running);
  }

  Image RepaintWhole() {
    RedrawWindow(scene_.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    return CaptureWindow(scene_.window());
  }

  PracticeFolder folder_;
  PracticeScene scene_;
  std::uint32_t now_ = kStartMs;
};

TEST_P(RunningClockTest, ATickRedrawsTheClockAsAWholeFrameWould) {
  const ClockCase& test = GetParam();
  StartRun(test.mode);
  const Image before = RepaintWhole();
  now_ += test.elapsedMs;

  SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kRunningTimer, 0);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(scene_.window(), &update, FALSE));
  RECT client{};
  GetClientRect(scene_.window(), &client);
  const RECT clock = screen().ClockRect();
  const RECT expected = test.onlyTheClock ? clock : client;
  EXPECT_TRUE(EqualRect(&update, &expected))
      << "asked for (" << update.left << "," << update.top << ")-(" << update.right << "," << update.bottom << ")";

  UpdateWindow(scene_.window());
  PumpMessages();
  const Image afterTick = CaptureWindow(scene_.window());
  EXPECT_GT(DifferentPixelsIn(before, afterTick, clock), 0) << "the clock shows the new time";
  EXPECT_EQ(DifferentPixels(afterTick, RepaintWhole()), 0) << "a whole frame at the same moment";
}

INSTANTIATE_TEST_SUITE_P(BothScreens, RunningClockTest, ::testing::ValuesIn(kClockCases),
                         [](const ::testing::TestParamInfo<ClockCase>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

// A keystroke after ticks shows in full: the kept frame never hides a change.
TEST(RunningClockKeystrokeTest, AKeystrokeAfterTicksRepaintsEverything) {
  PracticeFolder folder;
  folder.Write("data/set.ini",
               "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=1\r\nQuestionFileName=#q.txt\r\n"
               "WindowBackColor=0xE0F0E0\r\n");
  folder.Write("data/q.txt", "犬\r\nいぬ\r\n");
  PracticeScene scene;
  scene.Open(PracticeMode::Basic);
  auto& screen = *static_cast<Typing1Window*>(scene.current());
  std::uint32_t now = kStartMs;
  screen.SetStopwatchClock([&now] { return now; });
  for (int tick = 0; tick < 3; ++tick) SendMessageW(scene.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
  for (int tick = 0; tick < 3; ++tick) {
    now += 100;
    SendMessageW(scene.window(), WM_TIMER, CTypingWindow::kRunningTimer, 0);
    UpdateWindow(scene.window());
  }
  testing::SendChar(scene.window(), L'i');
  UpdateWindow(scene.window());
  PumpMessages();
  const Image afterKey = CaptureWindow(scene.window());
  RedrawWindow(scene.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages();
  EXPECT_EQ(DifferentPixels(afterKey, CaptureWindow(scene.window())), 0);
}

}  // namespace
}  // namespace kanaflow
