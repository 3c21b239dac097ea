#include "kanaflow-check/fatal_findings.h"

#include <cstdio>

#include "platform/cp932.h"
#include "platform/profile_text.h"
#include "platform/number_text.h"
#include "questions/question_set.h"
#include "questions/question_setting_data.h"
#include "settings/software_setting_data.h"

namespace kanaflow::check {
namespace {

constexpr char kErrorValue[] = "Error";
constexpr char kKeyLabel[] = "キー名：";

bool IsRequired(std::string_view key) { return key == "QuestionNumber" || key == "QuestionFileName"; }

std::string ErrorValueMessage(std::string_view key) {
  return std::string(key) + "=Error: the value \"Error\" ends the program (error 0104)";
}

Finding MissingKey(const SetFileText& set, std::string_view key) {
  std::string message = std::string(key) + " is missing, and the program cannot read the set without it";
  if (!set.HasSection()) {
    message += " (the file has no section [" + std::string(kQuestionSetSection) + "], spelt so)";
  }
  return {set.path(), 0, Severity::Error, "missing-key", message + " (error 0104)"};
}

Finding KeyFinding(const SetFileText& set, std::string_view key) {
  if (!set.Find(key)) return MissingKey(set, key);
  return set.At(key, Severity::Error, "error-value", ErrorValueMessage(key));
}

std::string NumberText(int number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", number);
  return digits;
}

Finding ReportFinding(const SetFileText& set, const FatalErrorReport& report) {
  const std::string version = set.Find("Version").value_or("");
  const std::string count = set.Find("QuestionNumber").value_or("");
  switch (static_cast<FatalError>(report.number)) {
    case FatalError::VersionOutOfRange:
      return set.At("Version", Severity::Error, "version-out-of-range",
                    "Version=" + version + ": the program reads Version 1 to 5 only (error 0102)");
    case FatalError::VersionUnreadable:
      return set.At("Version", Severity::Error, "version-unreadable",
                    "Version=" + version + " is not a version number (error 0103)");
    case FatalError::SettingValueError:
      return KeyFinding(set, InformationValue(report.text, kKeyLabel));
    case FatalError::QuestionCountOutOfRange:
      return set.At("QuestionNumber", Severity::Error, "question-count",
                    "QuestionNumber=" + count + ": a set asks for 1 to " + DecimalText(kMaxQuestionCount) +
                        " questions (error 0106)");
    case FatalError::QuestionFileNotOpened:
      return set.At(
          "QuestionFileName", Severity::Error, "question-file-missing",
          "the question file \"" + InformationValue(report.text, "ファイル名：") + "\" cannot be opened (error 0101)");
    default:
      break;
  }
  if (report.number == 0) {
    return set.At("QuestionNumber", Severity::Error, "question-read-failure",
                  "the program ran out of memory while reading the questions and ends");
  }
  // No loader raises anything else; should one ever, its box is shown whole.
  return {set.path(), 0, Severity::Error, "fatal-error", "error " + NumberText(report.number) + ": " + report.text};
}

}  // namespace

std::string InformationValue(const std::string& reportText, std::string_view label) {
  const std::string marker = "\n" + std::string(label);
  const std::size_t at = reportText.find(marker, reportText.find("\n情報\n"));
  if (at == std::string::npos) return std::string();
  const std::size_t begin = at + marker.size();
  const std::size_t end = reportText.find('\n', begin);
  return reportText.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

void AddSetFailure(const SetFileText& set, const FatalErrorReport& report, std::vector<Finding>& findings) {
  findings.push_back(ReportFinding(set, report));
  const std::optional<int> version = set.Version();
  if (!version) return;  // the keys of a set without a version mean nothing yet
  const bool keyReported = report.number == static_cast<int>(FatalError::SettingValueError);
  const std::string reportedKey = keyReported ? InformationValue(report.text, kKeyLabel) : std::string();
  for (const SetKey& key : SetKeys()) {
    if (key.sinceVersion > *version || cp932::EqualIgnoringAsciiCase(key.name, reportedKey)) continue;
    const std::optional<std::string> value = set.Find(key.name);
    if ((value && *value == kErrorValue) || (!value && IsRequired(key.name)))
      findings.push_back(KeyFinding(set, key.name));
  }
}

Finding SettingsFailure(const std::string& path, const std::string& fileText, const FatalErrorReport& report) {
  const std::string key = InformationValue(report.text, kKeyLabel);
  return {path, ProfileText(fileText).KeyLineNumber(kSettingSection, key), Severity::Error, "settings-error-value",
          ErrorValueMessage(key)};
}

}  // namespace kanaflow::check
