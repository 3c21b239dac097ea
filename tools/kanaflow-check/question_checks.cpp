#include "kanaflow-check/question_checks.h"

#include <algorithm>
#include <string>

#include "kanaflow-check/reading_analysis.h"
#include "platform/number_text.h"
#include "questions/question_file.h"

namespace kanaflow::check {
namespace {

bool IsSubstitute(const Question& question) { return question.text == kSubstituteText; }

// Lines as the question reader sees them: only LF ends a line, and a last
// line without one still counts.
std::size_t LineCount(std::string_view bytes) {
  std::size_t lines = 0;
  for (const char c : bytes) lines += c == '\n' ? 1 : 0;
  if (!bytes.empty() && bytes.back() != '\n') ++lines;
  return lines;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

struct QuestionLines {
  int index = 0;  // 0-based
  std::string_view text;
  int textLine = 0;
  std::string_view reading;
  int readingLine = 0;
};

class QuestionWarnings {
 public:
  QuestionWarnings(const SetFileText& set, const CQuestionSet& questions, const SpellingPreferences& preferences,
                   const SetSummary& summary, std::vector<Finding>& findings)
      : set_(set), questions_(questions), preferences_(preferences), summary_(summary), findings_(findings) {}

  void Read(const QuestionFileBytes& file) {
    const std::string_view bytes = file.bytes;
    const std::size_t available = LineCount(bytes);
    const std::int32_t count = questions_.questionCount();
    QuestionLineReader reader(bytes);
    for (int i = 0; i < count; ++i) {
      QuestionLines lines;
      lines.index = i;
      lines.text = reader.NextLine();
      lines.textLine = static_cast<int>(reader.lineNumber());
      if (Stopped(reader)) return;
      lines.reading = reader.NextLine();
      lines.readingLine = static_cast<int>(reader.lineNumber());
      const bool stopped = Stopped(reader);
      if (static_cast<std::size_t>(lines.readingLine) > available) break;
      CheckQuestion(lines);
      if (stopped) return;
    }
    if (available < 2 * static_cast<std::size_t>(count)) AddShortFile(available, count, file.cut);
  }

 private:
  // A line cut at the limit ends the reading: every later line is empty.
  bool Stopped(const QuestionLineReader& reader) {
    if (!reader.stoppedAtLongLine()) return false;
    Add(static_cast<int>(reader.lineNumber()), "long-line",
        "the line is longer than " + DecimalText(QuestionLineReader::kMaxLineBytes) +
            " bytes: the program cuts it there and reads every later line as empty, so the questions after it "
            "become the substitute question");
    return true;
  }

  void CheckQuestion(const QuestionLines& lines) {
    const std::string number = "question " + DecimalText(lines.index + 1) + ": ";
    if (lines.text.empty() || lines.reading.empty()) {
      const bool textEmpty = lines.text.empty();
      Add(textEmpty ? lines.textLine : lines.readingLine, "empty-line",
          number + "the " + (textEmpty ? "text" : "reading") +
              " line is empty, so the program asks the substitute question instead");
      return;
    }
    const Question& question = questions_.questionAt(lines.index);
    CheckRomaji(lines, question, number);
    CheckEditBox(lines, question, number);
  }

  void CheckRomaji(const QuestionLines& lines, const Question& question, const std::string& number) {
    const ReadingAnalysis analysis = AnalyseReading(lines.reading, preferences_);
    const std::string reading = Quoted(lines.reading);
    if (question.romaji.empty()) {
      Add(lines.readingLine, "empty-romaji",
          number + "the reading " + reading +
              " gives no romaji, so the question can never be completed in the basic mode");
      return;
    }
    if (!analysis.silentCharacters.empty()) {
      Add(lines.readingLine, "silent-characters",
          number + "the reading " + reading +
              " holds characters that add nothing to the romaji form: " + analysis.silentCharacters);
    }
    if (!analysis.untypeableCharacters.empty()) {
      Add(lines.readingLine, "katakana-reading",
          number + "the reading " + reading + " holds characters whose romaji cannot be typed: " +
              analysis.untypeableCharacters + " (katakana become half-width characters; write readings in hiragana)");
    }
    if (analysis.fullRomajiBytes > question.romaji.size()) {
      Add(lines.readingLine, "romaji-cut",
          number + "the romaji form is " + DecimalText(static_cast<std::int64_t>(analysis.fullRomajiBytes)) +
              " bytes long and is cut to " + DecimalText(static_cast<std::int64_t>(question.romaji.size())) +
              ", so the question ends early");
    }
  }

  void CheckEditBox(const QuestionLines& lines, const Question& question, const std::string& number) {
    if (summary_.suitsHiragana) {
      const bool katakana = questions_.values().katakanaMode;
      CheckTarget(lines.readingLine, katakana ? question.katakana : question.reading,
                  number + (katakana ? "the katakana form" : "the reading"), "hiragana");
    }
    if (summary_.suitsKanjiKana) CheckTarget(lines.textLine, question.text, number + "the text", "kanji-kana");
  }

  void CheckTarget(int line, std::string_view target, const std::string& what, const char* mode) {
    if (FitsEditBox(target)) return;
    Add(line, "edit-box-overflow",
        what + " is about " + DecimalText(EstimatedEditBoxWidth(target)) + " pixels wide (" +
            DecimalText(static_cast<std::int64_t>(target.size())) + " bytes), more than the edit box of the " + mode +
            " mode holds (" + DecimalText(kEditBoxWidth) + " pixels, " +
            DecimalText(static_cast<std::int64_t>(kEditBoxTextBytes)) + " bytes)");
  }

  // `cut`: the lines ran out at the read limit, not at the end of the file.
  void AddShortFile(std::size_t available, std::int32_t count, bool cut) {
    const std::int64_t first = static_cast<std::int64_t>(available / 2) + 1;
    const std::string which = first == count
                                  ? "question " + DecimalText(count) + " becomes"
                                  : "questions " + DecimalText(first) + " to " + DecimalText(count) + " become";
    const std::string file = Quoted(questions_.values().questionFileName);
    const std::string lines = DecimalText(static_cast<std::int64_t>(available));
    const std::string asked =
        "QuestionNumber=" + DecimalText(count) + " asks for " + DecimalText(2 * static_cast<std::int64_t>(count)) +
        " lines, but ";
    const std::string outcome = ": " + which + " the substitute question";
    if (cut) {
      findings_.push_back(set_.At("QuestionNumber", Severity::Warning, "file-too-large",
                                  asked + "the program reads only the first " +
                                      DecimalText(static_cast<std::int64_t>(kMaxQuestionFileBytes)) + " bytes of " +
                                      file + ", which hold " + lines + " whole lines" + outcome));
      return;
    }
    findings_.push_back(set_.At("QuestionNumber", Severity::Warning, "short-file",
                                asked + file + " has " + lines + outcome));
  }

  void Add(int line, const char* code, std::string message) {
    findings_.push_back({questions_.values().questionFileName, line, Severity::Warning, code, std::move(message)});
  }

  const SetFileText& set_;
  const CQuestionSet& questions_;
  const SpellingPreferences& preferences_;
  const SetSummary& summary_;
  std::vector<Finding>& findings_;
};

}  // namespace

SetSummary Summarise(const CQuestionSet& questions) {
  SetSummary summary;
  summary.title = questions.values().title;
  summary.questions = questions.questionCount();
  summary.suitsBasic = summary.suitsHiragana = summary.questions > 0;
  // The questions past the stored ones repeat the last: each is looked at
  // once, and its keystrokes counted as often as it is asked.
  const int stored = std::min(questions.storedQuestions(), questions.questionCount());
  for (int i = 0; i < stored; ++i) {
    const Question& question = questions.questionAt(i);
    const std::int64_t asked = i == stored - 1 ? questions.questionCount() - i : 1;
    summary.keystrokes += asked * static_cast<std::int64_t>(question.romaji.size());
    summary.suitsBasic = summary.suitsBasic && !question.romaji.empty() && IsTypeable(question.romaji);
    summary.suitsHiragana = summary.suitsHiragana && IsPlainHiragana(question.reading);
    summary.suitsKanjiKana = summary.suitsKanjiKana || (!IsSubstitute(question) && HoldsKanji(question.text));
  }
  return summary;
}

void AddQuestionWarnings(const SetFileText& set, const CQuestionSet& questions, const QuestionFileBytes& file,
                         const SpellingPreferences& preferences, const SetSummary& summary,
                         std::vector<Finding>& findings) {
  QuestionWarnings(set, questions, preferences, summary, findings).Read(file);
}

}  // namespace kanaflow::check
