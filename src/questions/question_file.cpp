#include "questions/question_file.h"

#include "platform/cp932.h"
#include "platform/profile_text.h"

namespace kanaflow {

QuestionLineReader::QuestionLineReader(std::string_view bytes) : bytes_(bytes), pos_(Utf8MarkLength(bytes)) {}

std::string_view QuestionLineReader::NextLine() {
  ++lineNumber_;
  if (stoppedAtLongLine_ || pos_ >= bytes_.size()) return {};
  const std::size_t feed = bytes_.find('\n', pos_);
  const std::size_t end = feed == std::string_view::npos ? bytes_.size() : feed;
  std::string_view line = bytes_.substr(pos_, end - pos_);
  pos_ = feed == std::string_view::npos ? bytes_.size() : feed + 1;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxLineBytes) {
    line = cp932::CutToFit(line, kMaxLineBytes);
    stoppedAtLongLine_ = true;
  }
  if (const std::size_t zero = line.find('\0'); zero != std::string_view::npos) line = line.substr(0, zero);
  return line;
}

QuestionFileBytes QuestionFileBytesFor(std::string start) {
  return WholeLinesWithin(std::move(start), kMaxQuestionFileBytes, "\n");
}

std::optional<QuestionFileBytes> ReadQuestionFile(const std::string& path) {
  return ReadWholeLinesWithin(path, kMaxQuestionFileBytes, "\n");
}

}  // namespace kanaflow
