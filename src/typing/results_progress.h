// A finished run kept in the records file, and what its results then show.
#pragma once

#include <string>
#include <vector>

#include "draw/virtual_keyboard.h"
#include "typing/run_progress.h"
#include "typing/run_record.h"

namespace kanaflow {

struct ResultsProgress {
  RunRecord run;
  RunProgress progress;
  bool recorded = false;  // false: the file could not be written
};

// Adds `run` to the records file at `path` and reads back the progress of
// its set and mode. A file that cannot be written still gives the progress,
// with this run counted from memory.
ResultsProgress RecordAndReadBack(const std::string& path, RunRecord run);

// Every key of a basic run that was typed or missed, by its unshifted
// character; the special keys (Shift, space) are never charged.
std::vector<KeyFigures> KeyFiguresOf(const CVirtualKeyboard& keyboard);

}  // namespace kanaflow
