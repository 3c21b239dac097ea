// The logic of kanaflow-romaji: readings in, "reading<TAB>romaji<TAB>katakana"
// lines out, exactly as the program converts a question's reading line.
// Everything here works on byte strings; main.cpp only wires up the files and
// the standard streams.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/spelling_preferences.h"

namespace kanaflow {

struct PrinterOptions {
  SpellingPreferences preferences;
  bool utf8 = false;  // input and output in UTF-8 instead of Shift_JIS
  // "reading<TAB>units" instead: every spelling that FlexibleInput accepts
  // for each unit, the preferred one first, "/" between the spellings of a
  // unit and a space between units.
  bool all = false;
};

// The --all row of one reading, without its line break.
std::string AllSpellingsRow(std::string_view reading, const SpellingPreferences& preferences);

struct PrinterResult {
  std::string output;  // for standard output
  std::string errors;  // for standard error, CP932, one message per line
  int exitCode = 0;    // 0 done, 1 some lines skipped, 2 usage error
};

// The name that messages give to standard input.
inline constexpr char kStandardInputName[] = "(standard input)";

// Takes output as it is made, in pieces of whole lines.
using OutputSink = std::function<void(std::string_view bytes)>;

// Converts every line of `input` and appends one output line per reading to
// `result.output`. A line that is not valid in the input encoding is reported
// in `result.errors` with `inputName` and its line number, and skipped
// (exit code 1). Lines end with LF or CR LF; output lines end with LF.
void PrintReadings(std::string_view input, std::string_view inputName, const PrinterOptions& options,
                   PrinterResult& result);

// Reads the next piece of one input into `buffer`, at most `size` bytes:
// how many it read, 0 at the end of the input, nullopt when reading failed.
// Inputs are read piece by piece into one buffer that is used again: a large
// input never has to be in memory at once.
using InputReader = std::function<std::optional<std::size_t>(char* buffer, std::size_t size)>;

// An input served from a string.
InputReader ReaderFromString(std::string bytes);

// What a run needs from the outside world, so tests can feed strings. Paths
// are CP932, as the program's file functions take them.
struct PrinterEnvironment {
  // nullopt when the file cannot be read at all.
  std::function<std::optional<InputReader>(const std::string& path)> openFile;
  std::function<InputReader()> standardInput;
  std::function<std::optional<SpellingPreferences>(const std::string& path)> loadSettings;
  // Standard output. When set, output goes here in pieces as it is made
  // rather than into `PrinterResult::output`: the output of a whole
  // dictionary then never has to be in memory at once.
  OutputSink writeOutput;
};

// The spelling preferences of the Setting.ini at `path`, read as the program
// reads them; nullopt when the file cannot be read at all, since a misspelt
// path should not quietly give the defaults.
std::optional<SpellingPreferences> LoadSpellingPreferences(const std::string& path);

// The whole tool: parses `arguments` (without the program name, CP932),
// opens every input before converting any, and returns what to write.
PrinterResult RunRomajiPrinter(const std::vector<std::string>& arguments, const PrinterEnvironment& environment);

}  // namespace kanaflow
