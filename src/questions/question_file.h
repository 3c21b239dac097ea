// The lines of a question text file, read as the program reads them: text
// and reading lines in pairs, each at most 253 bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bounded_file.h"

namespace kanaflow {

class QuestionLineReader {
 public:
  static constexpr std::size_t kMaxLineBytes = 253;

  // A UTF-8 byte order mark before the first line is passed over.
  explicit QuestionLineReader(std::string_view bytes);

  // The next line without its line break (LF or CR LF). Past the end of the
  // file every line is empty. A line longer than 253 bytes gives its first
  // 253 bytes (never half a character) and ends the reading: every later
  // line is empty. A zero byte ends a line's text, as it ends a C string.
  std::string_view NextLine();

  // Whether every later line is empty: the bytes are used up, or a long
  // line stopped the reading.
  bool exhausted() const { return stoppedAtLongLine_ || pos_ >= bytes_.size(); }

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

// A question file is read no further than this: enough for thousands of
// questions, while an endless file (a device) or a huge one cannot fill the
// memory before the window shows.
inline constexpr std::size_t kMaxQuestionFileBytes = std::size_t{1} << 20;

// The bytes of a question file that the questions are read from.
using QuestionFileBytes = BoundedFileBytes;

// `start` is the beginning of a file, read up to kMaxQuestionFileBytes + 1
// bytes. When the file is longer than the limit, only the lines that end
// within it are kept: a line the limit cuts is dropped rather than read as
// half a question.
QuestionFileBytes QuestionFileBytesFor(std::string start);

// The first kMaxQuestionFileBytes of the question file at `path`, as above;
// nullopt when it cannot be opened.
std::optional<QuestionFileBytes> ReadQuestionFile(const std::string& path);

}  // namespace kanaflow
