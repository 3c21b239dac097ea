// kanaflow-progress: the progress kept in a records file, per set and mode,
// for a learner at a terminal, and the file's lines that the program passes
// over (cut records, lines that are not records).
//
//   kanaflow-progress [Records.csv]
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/command_line.h"
#include "platform/file_system.h"
#include "typing/records_file.h"

namespace {

using kanaflow::RunRecord;

struct SetProgress {
  std::string title;
  int runs = 0;
  double best = 0;
  double last = 0;
  double lastMisses = 0;
};

void Print(const std::string& cp932) { std::fputs(kanaflow::tools::SystemText(cp932).c_str(), stdout); }

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = kanaflow::tools::Cp932Arguments(argc, argv);
  const std::string path = arguments.empty() ? kanaflow::kRecordsFilePath : arguments.front();
  const std::optional<std::string> bytes = kanaflow::ReadWholeFile(path);
  if (!bytes) {
    Print("kanaflow-progress: cannot read " + path + "\n");
    return 2;
  }
  std::map<std::pair<std::string, int>, SetProgress> sets;
  std::string passedOver;
  std::size_t start = 0;
  for (int line = 1; start < bytes->size(); ++line) {
    std::size_t end = bytes->find('\n', start);
    const bool whole = end != std::string::npos;
    if (!whole) end = bytes->size();
    std::string text = bytes->substr(start, end - start);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    start = end + 1;
    const std::optional<RunRecord> record = whole ? kanaflow::ParseRecordLine(text) : std::nullopt;
    if (!record) {
      if (line > 1 || text + "\r\n" != kanaflow::kRecordsHeader) passedOver += " " + std::to_string(line);
      continue;
    }
    SetProgress& set = sets[{record->setPath, record->mode}];
    set.title = record->title;
    ++set.runs;
    set.last = record->KeystrokesPerSecond();
    set.lastMisses = record->MissesPer100Keystrokes();
    if (set.last > set.best) set.best = set.last;
  }
  char figures[160];
  for (const auto& [key, set] : sets) {
    std::snprintf(figures, sizeof figures, "mode %d  runs %4d  best %7.3f  last %7.3f keys/s  %5.1f misses/100  ",
                  key.second, set.runs, set.best, set.last, set.lastMisses);
    Print(figures + set.title + "  (" + key.first + ")\n");
  }
  if (!passedOver.empty()) Print("passed over (not whole records), lines:" + passedOver + "\n");
  return passedOver.empty() ? 0 : 1;
}
