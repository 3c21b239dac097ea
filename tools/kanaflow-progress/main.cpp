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
#include "common/option_parser.h"
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

constexpr char kUsage[] =
    "usage: kanaflow-progress [FILE]\n"
    "Prints the progress kept in a Kanaflow records file (Records.csv in the\n"
    "current folder when none is given), per set and mode, and the numbers of\n"
    "the lines that the program passes over.\n"
    "Exit code: 0 every line read, 1 lines passed over, 2 usage error or no file.\n";

void Print(const std::string& cp932) { std::fputs(kanaflow::tools::SystemText(cp932).c_str(), stdout); }

int UsageError(const std::string& message) {
  std::fputs(("kanaflow-progress: " + message + "\n" + kUsage).c_str(), stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const kanaflow::tools::ParsedCommandLine line =
      kanaflow::tools::ParseCommandLine(kanaflow::tools::Cp932Arguments(argc, argv), {});
  if (line.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (line.error) return UsageError(*line.error);
  if (line.operands.size() > 1) return UsageError("more than one FILE");
  const std::string path = line.operands.empty() ? kanaflow::kRecordsFilePath : line.operands.front();
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
