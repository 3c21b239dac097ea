#include "kanaflow-check/set_file_text.h"

#include <utility>

#include "platform/number_text.h"
#include "platform/profile_file.h"
#include "questions/question_setting_data.h"

namespace kanaflow::check {

const std::vector<SetKey>& SetKeys() {
  // The keys the program reads, in its order, after the version that picks them.
  static const std::vector<SetKey> keys = [] {
    std::vector<SetKey> all = {{"Version", 1}};
    for (const QuestionSetKey& key : kQuestionSetKeys) all.push_back({key.name, key.firstVersion});
    return all;
  }();
  return keys;
}

SetFileText::SetFileText(std::string path) : path_(std::move(path)) {
  if (std::optional<ProfileFileBytes> file = ReadProfileFile(path_)) {
    profile_ = ProfileText(std::move(file->bytes));
    cut_ = file->cut;
  }
}

std::optional<Finding> TooLargeIni(const std::string& path, bool cut, std::string_view more) {
  if (!cut) return std::nullopt;
  const std::string limit = DecimalText(static_cast<std::int64_t>(kMaxProfileBytes));
  return Finding{path, 0, Severity::Warning, "ini-too-large",
                 "the file is longer than " + limit + " bytes: the program reads only the lines within its first " +
                     limit + " bytes, as if the rest were absent" + std::string(more)};
}

bool SetFileText::HasSection() const { return profile_.SectionLineNumber(kQuestionSetSection) != 0; }

std::optional<std::string> SetFileText::Find(std::string_view key) const {
  return profile_.Find(kQuestionSetSection, key);
}

int SetFileText::LineOf(std::string_view key) const { return profile_.KeyLineNumber(kQuestionSetSection, key); }

std::optional<int> SetFileText::Version() const {
  const std::string text = profile_.GetString(kQuestionSetSection, "Version", "5");
  if (text == "Error") return std::nullopt;
  const int version = ParseDecimal(text);
  if (version < 1 || version > kNewestQuestionSetVersion) return std::nullopt;
  return version;
}

Finding SetFileText::At(std::string_view key, Severity severity, std::string code, std::string message) const {
  return {path_, LineOf(key), severity, std::move(code), std::move(message)};
}

}  // namespace kanaflow::check
