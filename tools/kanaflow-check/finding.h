// What kanaflow-check reports: findings (errors and warnings, each tied to a
// file and where possible a line) and a summary of every set that loads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kanaflow::check {

enum class Severity { Error, Warning };

struct Finding {
  std::string file;  // as the program names it: "./data/a.ini" (CP932)
  int line = 0;      // 1-based; 0 when the finding belongs to no line
  Severity severity = Severity::Warning;
  std::string code;     // a short fixed name, such as "missing-file", for tools
  std::string message;  // CP932
};

struct SetSummary {
  std::string file;
  std::string category;  // the display name of its category
  std::string title;
  std::int32_t questions = 0;
  std::int64_t keystrokes = 0;  // romaji bytes of all its questions
  bool suitsBasic = false;      // every romaji form non-empty and typeable
  bool suitsHiragana = false;   // every reading plain hiragana
  bool suitsKanjiKana = false;  // some text holds a kanji
};

// The findings and summary of one set file, in the order they are found.
struct SetReport {
  std::string file;
  std::vector<Finding> findings;
  bool loaded = false;  // the summary holds only when the set loads
  SetSummary summary;
};

struct CheckReport {
  std::vector<Finding> general;  // the library and Setting.ini
  std::vector<SetReport> sets;   // in the order the selection screen lists them

  int CountOf(Severity severity) const;
};

}  // namespace kanaflow::check
