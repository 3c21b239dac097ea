// KeepRecords on the basic screen, driven with real messages: the records
// file after two runs, the progress read off the results' pixels, the line
// of a run that could not be recorded, and a working folder left alone
// while the option is off.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "support/fresh_frame.h"
#include "support/practice_fixture.h"
#include "support/text_picture.h"
#include "typing/typing1_window.h"

namespace kanaflow {
namespace {

using testing::PracticeFolder;
using testing::PracticeScene;

constexpr Colour kBackColour = 0xE0F0E0;
std::uint32_t fakeNow = 0;

class RecordsScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("data/set.ini", "[TypingQuesitonSetup]\r\nVersion=5\r\nQuestionNumber=1\r\nTitle=犬の問題\r\n"
                                  "QuestionFileName=#q.txt\r\nWindowBackColor=0xE0F0E0\r\n");
    folder_.Write("data/q.txt", "犬\r\nいぬ\r\n");
  }

  // One run of "inu" that the stopwatch times at `milliseconds`, to its results.
  Typing1Window& PlayRun(std::uint32_t milliseconds, const std::string& typed = "inu") {
    scene_.Open(PracticeMode::Basic);
    auto& screen = *static_cast<Typing1Window*>(scene_.current());
    fakeNow = 0;
    screen.SetStopwatchClock([] { return fakeNow; });
    for (int tick = 0; tick < 3; ++tick) SendMessageW(scene_.window(), WM_TIMER, CTypingWindow::kCountdownTimer, 0);
    fakeNow = milliseconds;
    testing::SendText(scene_.window(), typed);
    EXPECT_EQ(screen.state(), PracticeState::Results);
    return screen;
  }

  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Cp932ToWide(folder_.path()))) {
      names.insert(entry.path().generic_u8string());
    }
    return names;
  }

  ::testing::AssertionResult ShowsLine(const testing::Image& shot, const std::string& text, int y) {
    const auto expected = testing::RenderText(scene_.window(), Typing1Window::kWidth, Typing1Window::kHeight,
                                              kBackColour, text, 400, y, RGB(0, 0, 0), 12);
    return testing::Shows(shot, expected, text);
  }

  PracticeFolder folder_;
  PracticeScene scene_;
};

TEST_F(RecordsScreenTest, WithTheOptionOffARunWritesNothing) {
  const std::set<std::string> before = Files();
  PlayRun(1000);
  EXPECT_EQ(Files(), before);
}

TEST_F(RecordsScreenTest, TwoRunsAreRecordedAndTheSecondShowsItsProgress) {
  folder_.Write("Setting.ini", "[Setting]\r\nKeepRecords=1\r\n");
  PlayRun(1000);
  SendMessageW(scene_.window(), WM_KEYDOWN, VK_ESCAPE, 0);
  PlayRun(600, "ixnu");
  const auto shot = testing::ShownFrame(scene_.window(), "the second run's last key");
  testing::SavePng(testing::CaptureWindowWithFrame(scene_.window()), "basic-results-progress");
  EXPECT_TRUE(ShowsLine(shot, "今回 5.000 字/秒  ミス 33.3/100打", 60));
  EXPECT_TRUE(ShowsLine(shot, "自己最高を更新（前 3.000 字/秒）", 74));

  const std::string file = ReadWholeFile(folder_.path() + "/Records.csv").value_or("");
  EXPECT_EQ(file.find("日時,モード,"), 0u) << "the header comes first";
  EXPECT_NE(file.find(",0,./data/set.ini,犬の問題,1,3,0,1000,"), std::string::npos) << file;
  EXPECT_NE(file.find(",0,./data/set.ini,犬の問題,1,3,1,600,"), std::string::npos) << file;
  EXPECT_NE(file.find("N=1/1/"), std::string::npos) << "the miss is charged to the key due";
}

TEST_F(RecordsScreenTest, ARunThatCannotBeRecordedSaysSoOnItsResults) {
  folder_.Write("Setting.ini", "[Setting]\r\nKeepRecords=1\r\n");
  std::filesystem::create_directory(std::filesystem::path(Cp932ToWide(folder_.path() + "/Records.csv")));
  PlayRun(1000);
  const auto shot = testing::ShownFrame(scene_.window(), "the last key");
  EXPECT_TRUE(ShowsLine(shot, "この回は記録できませんでした", 162));
  EXPECT_TRUE(ShowsLine(shot, "初めての記録です", 74));
}

TEST_F(RecordsScreenTest, F2OnTheResultsAsksJustTheMissedQuestionsAgain) {
  folder_.Write("Setting.ini", "[Setting]\r\nKeepRecords=1\r\n");
  folder_.Write("data/q.txt", "犬\r\nいぬ\r\n猫\r\nねこ\r\n鳥\r\nとり\r\n");
  folder_.Write("data/set.ini", "[TypingQuesitonSetup]\r\nQuestionNumber=3\r\nQuestionFileName=#q.txt\r\n"
                                "WindowBackColor=0xE0F0E0\r\n");
  PlayRun(1000, "inunxekotori");
  EXPECT_TRUE(ShowsLine(testing::ShownFrame(scene_.window(), "the last key"), "ミスした問題をもう一度：F2", 178));
  SendMessageW(scene_.window(), WM_KEYDOWN, VK_F2, 0);
  auto* again = dynamic_cast<Typing1Window*>(scene_.current());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->questionSet().questionCount(), 1);
  EXPECT_EQ(again->questionSet().questionAt(0).text, "猫");
}

}  // namespace
}  // namespace kanaflow
