// One practice run as the records file keeps it: one CSV line that a
// spreadsheet opens and the program reads back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kanaflow {

// One key's figures of a basic run: `key` is the character the key types
// unshifted ("K" as the upper-case letter, "-", "1").
struct KeyFigures {
  char key = 0;
  int strokes = 0;
  int misses = 0;
  std::uint32_t milliseconds = 0;
};

struct RunRecord {
  std::string dateTime;  // "2026-12-11 08:45:27", local time
  int mode = 0;          // 0 basic, 1 hiragana edit box, 2 kanji edit box
  std::string setPath;   // as the selection screen names it: "./data/1_キー/01_home_row.ini"
  std::string title;
  int questions = 0;
  int keystrokes = 0;
  int misses = 0;
  std::uint32_t milliseconds = 0;
  int points = 0;
  bool flexibleInput = false;
  std::vector<KeyFigures> keys;  // basic runs only

  double KeystrokesPerSecond() const;
  double MissesPer100Keystrokes() const;
};

// The first line of the file: the column names.
extern const char kRecordsHeader[];

// The record as one line, with its line end ("\r\n", as spreadsheets write).
std::string FormatRecordLine(const RunRecord& record);

// The record of one line (without its line end), or nullopt for a line that
// is not a whole record: the header, text a user typed in, a record cut short.
std::optional<RunRecord> ParseRecordLine(std::string_view line);

// "YYYY-MM-DD hh:mm:ss" of the local time now.
std::string LocalDateTimeNow();

}  // namespace kanaflow
