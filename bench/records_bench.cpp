// A records file of 100,000 runs, years of daily practice: what the results
// add to a run's end (the record appended, the progress read back) and what
// appending alone costs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system.h"
#include "questions/question_library.h"
#include "typing/records_file.h"
#include "typing/results_progress.h"
#include "typing/weak_key_drill.h"

namespace kanaflow {
namespace {

constexpr int kRecords = 100000;
constexpr int kSets = 58;  // the starter course

RunRecord BenchRun(int index) {
  RunRecord run;
  run.dateTime = "2026-12-11 08:45:27";
  run.mode = index % 3;
  run.setPath = "./data/3_言葉/" + std::to_string(index % kSets) + "_words.ini";
  run.title = "言葉の練習 " + std::to_string(index % kSets);
  run.questions = 20;
  run.keystrokes = 300 + index % 50;
  run.misses = index % 7;
  run.milliseconds = 60000 + static_cast<std::uint32_t>(index % 997);
  run.points = 1500;
  if (run.mode == 0) {
    for (const char key : std::string("AIUEOKSTNHMYRWGZDB-")) run.keys.push_back({key, 20, index % 3, 4000});
  }
  return run;
}

class RecordsFolder {
 public:
  RecordsFolder() : path_(std::filesystem::temp_directory_path() / "kanaflow-bench-records") {
    std::filesystem::create_directories(path_);
    std::ofstream file(path_ / "Records.csv", std::ios::binary);
    file << kRecordsHeader;
    for (int index = 0; index < kRecords; ++index) file << FormatRecordLine(BenchRun(index));
  }
  ~RecordsFolder() { std::filesystem::remove_all(path_); }
  std::string file() const { return (path_ / "Records.csv").string(); }
  std::string path() const { return path_.string(); }

  // A library the size of the starter course: 58 sets of 50 questions.
  void WriteLibrary() const {
    std::filesystem::create_directories(path_ / "data");
    std::ofstream(path_ / "Setting.ini", std::ios::binary) << "[Setting]\r\nKeepRecords=1\r\n";
    for (int set = 0; set < kSets; ++set) {
      const std::string name = "set" + std::to_string(set);
      std::ofstream(path_ / "data" / (name + ".ini"), std::ios::binary)
          << "[TypingQuesitonSetup]\r\nQuestionNumber=50\r\nQuestionFileName=#" << name << ".txt\r\n";
      std::ofstream questions(path_ / "data" / (name + ".txt"), std::ios::binary);
      for (int question = 0; question < 50; ++question) {
        questions << "写真を撮る" << set << "\r\nしゃしんをとる" << (question % 2 ? "ちょっとまって" : "いっしょに") << "\r\n";
      }
    }
  }

 private:
  std::filesystem::path path_;
};

// What the end of a run adds with KeepRecords on: append, then read back.
void RecordsResults(benchmark::State& state) {
  const RecordsFolder folder;
  int index = kRecords;
  for (auto _ : state) {
    const ResultsProgress results = RecordAndReadBack(folder.file(), BenchRun(index++));
    benchmark::DoNotOptimize(results.progress.chart.data());
  }
}
BENCHMARK(RecordsResults)->Unit(benchmark::kMillisecond);

void RecordsAppend(benchmark::State& state) {
  const RecordsFolder folder;
  int index = kRecords;
  for (auto _ : state) benchmark::DoNotOptimize(AppendRecord(folder.file(), BenchRun(index++)));
}
BENCHMARK(RecordsAppend)->Unit(benchmark::kMillisecond);

// What the selection screen adds with KeepRecords on: the records read back,
// the weak keys, every question of the library, the drill's two files.
void WeakKeyDrill(benchmark::State& state) {
  const RecordsFolder folder;
  folder.WriteLibrary();
  const std::string previous = CurrentDirectory();
  if (!SetCurrentDirectoryTo(folder.path())) state.SkipWithError("cannot enter the fixture folder");
  const std::vector<QuestionCategory> library = ScanQuestionLibrary();
  for (auto _ : state) {
    std::vector<QuestionCategory> categories = library;
    if (!AddWeakKeyDrillWhenKept(categories)) state.SkipWithError("no drill was made");
    benchmark::DoNotOptimize(categories.data());
  }
  (void)SetCurrentDirectoryTo(previous);
}
BENCHMARK(WeakKeyDrill)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kanaflow
