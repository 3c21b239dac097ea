#include "questions/question_set.h"

#include <algorithm>
#include <exception>

#include "platform/clock.h"
#include "platform/fatal_error.h"
#include "platform/number_text.h"
#include "questions/question_file.h"
#include "romaji/romaji_rules.h"

namespace kanaflow {

std::string CQuestionList::MakeRomaji(std::string_view reading) const {
  return kanaflow::MakeRomaji(reading, preferences_);
}

std::string CQuestionList::MakeKatakana(std::string_view reading) { return kanaflow::MakeKatakana(reading); }

CQuestionSet::CQuestionSet(const std::string& path) {
  setting_.Load(path);
  const std::int32_t count = setting_.values().questionNumber;
  // A count that is out of range is reported when the questions are loaded.
  if (count > 0 && count <= kMaxQuestionCount) usedFlags_.assign(static_cast<std::size_t>(count), false);
}

void CQuestionSet::KeepOnly(const std::vector<int>& indices) {
  if (indices.empty()) return;
  std::vector<Question> kept;
  for (const int index : indices) kept.push_back(questionAt(index));
  list_.questions = std::move(kept);
  list_.questionCount = static_cast<std::int32_t>(indices.size());
  setting_.values().questionNumber = list_.questionCount;
  setting_.values().randomQuestionSet = false;
  usedFlags_.assign(indices.size(), false);
}

int CQuestionSet::LoadQuestions(SpellingPreferences preferences) {
  list_.SetPreferences(preferences);
  list_.questionCount = setting_.values().questionNumber;
  const std::string& fileName = setting_.values().questionFileName;
  if (list_.questionCount < 1 || list_.questionCount > kMaxQuestionCount) {
    ReportFatalError(FatalError::QuestionCountOutOfRange,
                     {"設定ファイル名：" + fileName, "キー名：QuestionNumber",
                      "値：" + DecimalText(list_.questionCount), CurrentDirectoryLine()});
  }
  const std::optional<QuestionFileBytes> file = ReadQuestionFile(fileName);
  if (!file) ReportFatalError(FatalError::QuestionFileNotOpened, {"ファイル名：" + fileName, CurrentDirectoryLine()});
  try {
    ReadQuestions(file->bytes);
  } catch (const std::exception&) {
    list_.questions = std::vector<Question>();
    ReportFatalText("問題ファイルの読み込みで例外が発生しました。\n終了します。");
  }
  return 0;
}

void CQuestionSet::ReadQuestions(std::string_view fileBytes) {
  const auto count = static_cast<std::size_t>(list_.questionCount);
  list_.questions.clear();
  QuestionLineReader reader(fileBytes);
  std::string substituteRomaji;  // made once: short files repeat it many times
  // Once the file is used up every later question is the same substitute,
  // so it is made once, as the last question held.
  while (list_.questions.size() < count) {
    const bool tail = reader.exhausted();
    Question& question = list_.questions.emplace_back();
    question.text = reader.NextLine();
    question.reading = reader.NextLine();
    question.katakana = CQuestionList::MakeKatakana(question.reading);
    if (question.text.empty() || question.reading.empty()) {
      question.text = kSubstituteText;
      if (substituteRomaji.empty()) substituteRomaji = list_.MakeRomaji(kSubstituteReading);
      question.romaji = substituteRomaji;
    } else {
      question.romaji = list_.MakeRomaji(question.reading);
    }
    if (tail) break;
  }
}

const Question& CQuestionSet::questionAt(int index) const {
  const auto stored = list_.questions.size();
  return list_.questions[std::min(static_cast<std::size_t>(index), stored - 1)];
}

int CQuestionSet::PickRandomQuestion() { return PickRandomQuestion(MillisecondClock()); }

int CQuestionSet::PickRandomQuestion(std::uint32_t seed) {
  RuntimeRandom random(seed);
  const int count = static_cast<int>(usedFlags_.size());
  if (count <= 1) {
    if (count == 1) usedFlags_[0] = true;
    return 0;
  }
  // Modulo count - 1: the first probe is never the last question.
  int candidate = random.Next() % (count - 1);
  for (int probes = 0; probes < count && usedFlags_[static_cast<std::size_t>(candidate)]; ++probes) {
    candidate = (candidate + 1) % count;
  }
  usedFlags_[static_cast<std::size_t>(candidate)] = true;
  return candidate;
}

}  // namespace kanaflow
