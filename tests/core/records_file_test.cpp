#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "support/temp_folder.h"
#include "typing/records_file.h"
#include "typing/run_progress.h"

namespace kanaflow {
namespace {

using testing::TempFolder;

RunRecord SampleRun(int keystrokes, std::uint32_t milliseconds) {
  RunRecord run;
  run.dateTime = "2026-12-11 08:45:27";
  run.setPath = "./data/1_キー/01.ini";
  run.title = "ホーム \"段\", 1";
  run.questions = 5;
  run.keystrokes = keystrokes;
  run.misses = 3;
  run.milliseconds = milliseconds;
  run.points = -120;
  run.flexibleInput = true;
  run.keys = {{'K', 4, 2, 900}, {',', 1, 0, 300}, {';', 2, 1, 700}};
  return run;
}

std::string WithoutLineEnd(const RunRecord& run) {
  std::string line = FormatRecordLine(run);
  return line.substr(0, line.size() - 2);
}

TEST(RecordsFileTest, RecordReadsBackAsWrittenAndNoCutOfItIsARecord) {
  const RunRecord run = SampleRun(300, 60000);
  const std::string line = WithoutLineEnd(run);
  const auto back = ParseRecordLine(line);
  ASSERT_TRUE(back);
  EXPECT_EQ(FormatRecordLine(*back), FormatRecordLine(run));
  EXPECT_NEAR(back->KeystrokesPerSecond(), 5.0, 1e-9);
  for (std::size_t length = 0; length < line.size(); ++length) {
    EXPECT_FALSE(ParseRecordLine(line.substr(0, length))) << "cut after " << length << " bytes";
  }
}

TEST(RecordsFileTest, CutAndForeignLinesArePassedOverAndTheNextRecordStaysWhole) {
  TempFolder folder;
  const std::string first = FormatRecordLine(SampleRun(100, 1000));
  const std::string cut = WithoutLineEnd(SampleRun(200, 1000)).substr(0, 40);
  const std::string path = folder.Write("Records.csv", kRecordsHeader + first + "メモ,手で書いた行\r\n" + cut);
  ASSERT_TRUE(AppendRecord(path, SampleRun(300, 1000)));
  const std::vector<RunRecord> records = ReadRecentRecords(path);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].keystrokes, 100);
  EXPECT_EQ(records[1].keystrokes, 300);
  EXPECT_EQ(folder.Read("Records.csv").substr(0, first.size() + std::string(kRecordsHeader).size()), kRecordsHeader + first);
}

TEST(RecordsFileTest, UnwritableFileIsReportedAndLeftAsItWas) {
  TempFolder folder;
  EXPECT_FALSE(AppendRecord(folder.MakeFolder("Records.csv"), SampleRun(1, 1)));
  const std::string bytes = kRecordsHeader + FormatRecordLine(SampleRun(100, 1000));
  const std::string path = folder.Write("ReadOnly.csv", bytes);
#ifdef _WIN32
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
#else
  chmod(path.c_str(), 0444);
#endif
  EXPECT_FALSE(AppendRecord(path, SampleRun(2, 1)));
  EXPECT_EQ(folder.Read("ReadOnly.csv"), bytes);
}

TEST(RecordsFileTest, ReadingFromTheEndGivesOnlyWholeRecentRecords) {
  TempFolder folder;
  const std::string path = folder.path() + "/Records.csv";
  for (int run = 1; run <= 30; ++run) ASSERT_TRUE(AppendRecord(path, SampleRun(run, 1000)));
  const std::size_t lineBytes = FormatRecordLine(SampleRun(10, 1000)).size();
  const std::vector<RunRecord> records = ReadRecentRecords(path, lineBytes * 7 / 2);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records.front().keystrokes, 28);
  EXPECT_EQ(records.back().keystrokes, 30);
}

TEST(RunProgressTest, BestAndChartCountOnlyEarlierRunsOfTheSameSetAndMode) {
  std::vector<RunRecord> records;
  for (int run = 1; run <= 25; ++run) {
    records.push_back(SampleRun(run * 10, 1000));
    records.back().dateTime[18] = static_cast<char>('0' + run % 10);
    RunRecord otherSet = SampleRun(9999, 1000);
    otherSet.setPath = "./data/other.ini";
    RunRecord otherMode = SampleRun(9999, 1000);
    otherMode.mode = 1;
    records.push_back(otherSet);
    records.push_back(otherMode);
  }
  const RunRecord thisRun = records[72];  // the 25th run, already recorded
  const RunProgress progress = ProgressOf(records, thisRun);
  EXPECT_EQ(progress.earlierRuns, 24);
  EXPECT_DOUBLE_EQ(progress.bestBefore, 240.0);
  ASSERT_EQ(progress.chart.size(), kChartRuns);
  EXPECT_DOUBLE_EQ(progress.chart.back().keystrokesPerSecond, 250.0);
  EXPECT_DOUBLE_EQ(progress.chart.front().keystrokesPerSecond, 60.0);

  const ChartLayout chart = LayOutChart(progress.chart, 200, 60);
  EXPECT_EQ(chart.bars.back().top, 0) << "the fastest run fills the height";
  for (const ChartRect& bar : chart.bars) EXPECT_TRUE(bar.left >= 0 && bar.right <= 200 && bar.bottom == 60);
}

}  // namespace
}  // namespace kanaflow
