// The lines of a question text file, read as the program reads them: text
// and reading lines in pairs, each at most 253 bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace kanaflow {

class QuestionLineReader {
 public:
  static constexpr std::size_t kMaxLineBytes = 253;

  explicit QuestionLineReader(std::string_view bytes) : bytes_(bytes) {}

  // The next line without its line break (LF or CR LF). Past the end of the
  // file every line is empty. A line longer than 253 bytes gives its first
  // 253 bytes (never half a character) and ends the reading: every later
  // line is empty. A zero byte ends a line's text, as it ends a C string.
  std::string_view NextLine();

  // Whether a line was cut at the limit (for the checker's warning).
  bool stoppedAtLongLine() const { return stoppedAtLongLine_; }
  // 1-based number of the line that NextLine returned last.
  std::size_t lineNumber() const { return lineNumber_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::size_t lineNumber_ = 0;
  bool stoppedAtLongLine_ = false;
};

}  // namespace kanaflow
