// Scanning a large question library, as the selection screen does every time
// it opens: every folder listed, every set file read and its header keys
// taken, both lists put in order. Goal: 1,000 sets in 100 folders in under
// 200 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system.h"
#include "questions/question_library.h"

namespace kanaflow {
namespace {

// A set file as authors write them: the header keys the scan reads, and the
// media and colour keys it does not read but has to pass over.
std::string SetFile(int folder, int set) {
  return "[TypingQuesitonSetup]\r\nVersion=5\r\nTitle=Set " + std::to_string(folder) + "-" + std::to_string(set) +
         "\r\nMessage=Everyday words, one a line.\r\nQuestionNumber=50\r\nQuestionFileName=#q" + std::to_string(set) +
         ".txt\r\nTypeSoundFileName=#../type.wav\r\nMissTypeSoundFileName=#../miss.wav\r\n"
         "BGMFileName=#../bgm.mid\r\nBGMFileType=sequencer\r\nBackColor_Koyubi=0x8080FF\r\n"
         "WindowBackColor=0xFFFFFF\r\nRandomQuestionSet=1\r\nImeStatus=0\r\nKatakanaMode=0\r\n";
}

class LibraryFolder {
 public:
  LibraryFolder(int folders, int setsPerFolder)
      : path_(std::filesystem::temp_directory_path() / ("kanaflow-bench-library-" + std::to_string(folders))) {
    std::filesystem::remove_all(path_);
    for (int f = 0; f < folders; ++f) {
      const std::filesystem::path folder = path_ / "data" / ("category" + std::to_string(f));
      std::filesystem::create_directories(folder);
      for (int s = 0; s < setsPerFolder; ++s) {
        std::ofstream(folder / ("set" + std::to_string(s) + ".ini"), std::ios::binary) << SetFile(f, s);
        std::ofstream(folder / ("q" + std::to_string(s) + ".txt"), std::ios::binary) << "犬\r\nいぬ\r\n";
      }
    }
  }
  ~LibraryFolder() { std::filesystem::remove_all(path_); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

void ScanLibrary(benchmark::State& state) {
  const int folders = static_cast<int>(state.range(0));
  const LibraryFolder library(folders, 10);
  const std::string previous = CurrentDirectory();
  if (!SetCurrentDirectoryTo(library.path())) state.SkipWithError("cannot enter the fixture folder");
  std::size_t sets = 0;
  for (auto _ : state) {
    const std::vector<QuestionCategory> categories = ScanQuestionLibrary();
    sets = 0;
    for (const QuestionCategory& category : categories) sets += category.entries.size();
    benchmark::DoNotOptimize(sets);
  }
  if (sets != static_cast<std::size_t>(folders) * 10) state.SkipWithError("the scan missed sets");
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(sets));
  (void)SetCurrentDirectoryTo(previous);
}
BENCHMARK(ScanLibrary)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kanaflow
