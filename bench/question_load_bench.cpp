// Loading a large question set: the file read, every line split, and each
// question's romaji and katakana made, as a practice screen does it at start.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system.h"
#include "questions/question_set.h"

namespace kanaflow {
namespace {

// Words of everyday Japanese with their readings, repeated to any length.
constexpr const char* kWords[][2] = {
    {"東京", "とうきょう"},         {"新聞", "しんぶん"},         {"抹茶", "まっちゃ"},
    {"一緒に行きましょう", "いっしょにいきましょう"},              {"学校", "がっこう"},
    {"写真を撮る", "しゃしんをとる"}, {"ファイル", "ふぁいる"},     {"ラーメン", "らーめん"},
    {"ちょっと待って", "ちょっとまって"}, {"自転車", "じてんしゃ"},
};

class QuestionFolder {
 public:
  explicit QuestionFolder(int count)
      : path_(std::filesystem::temp_directory_path() / ("kanaflow-bench-" + std::to_string(count))) {
    std::filesystem::create_directories(path_ / "data");
    std::ofstream set(path_ / "data" / "big.ini", std::ios::binary);
    set << "[TypingQuesitonSetup]\r\nQuestionNumber=" << count << "\r\nQuestionFileName=#big.txt\r\n";
    std::ofstream questions(path_ / "data" / "big.txt", std::ios::binary);
    for (int i = 0; i < count; ++i) {
      const auto& word = kWords[i % (sizeof kWords / sizeof kWords[0])];
      questions << word[0] << "\r\n" << word[1] << "\r\n";
    }
  }
  ~QuestionFolder() { std::filesystem::remove_all(path_); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

void LoadQuestionSet(benchmark::State& state) {
  const QuestionFolder folder(static_cast<int>(state.range(0)));
  const std::string previous = CurrentDirectory();
  if (!SetCurrentDirectoryTo(folder.path())) state.SkipWithError("cannot enter the fixture folder");
  for (auto _ : state) {
    CQuestionSet set("./data/big.ini");
    set.LoadQuestions(SpellingPreferences());
    benchmark::DoNotOptimize(set.questionAt(set.questionCount() - 1).romaji.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  (void)SetCurrentDirectoryTo(previous);
}
// 40000 questions of these words are about 920 KB: as many as the program
// reads of one file (kMaxQuestionFileBytes).
BENCHMARK(LoadQuestionSet)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kanaflow
