#include "typing/results_progress.h"

#include <utility>

#include "typing/records_file.h"

namespace kanaflow {

ResultsProgress RecordAndReadBack(const std::string& path, RunRecord run) {
  ResultsProgress results;
  results.recorded = AppendRecord(path, run);
  results.progress = ProgressOf(ReadRecentRecords(path), run);
  results.run = std::move(run);
  return results;
}

std::vector<KeyFigures> KeyFiguresOf(const CVirtualKeyboard& keyboard) {
  std::vector<KeyFigures> figures;
  for (int index = 0; index < CVirtualKeyboard::kKeyCount; ++index) {
    const CKeyboardKey& key = keyboard.key(index);
    if (key.special() || (key.strokeCount() == 0 && key.keyMisses() == 0)) continue;
    // The letters' only legend is the upper-case letter; the others carry
    // their unshifted character bottom-left.
    const std::string& name = key.label(1).empty() ? key.label(0) : key.label(1);
    if (name.size() != 1) continue;
    figures.push_back({name[0], key.strokeCount(), key.keyMisses(), key.keyTimeTotal()});
  }
  return figures;
}

}  // namespace kanaflow
