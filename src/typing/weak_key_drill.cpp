#include "typing/weak_key_drill.h"

#include "platform/file_system.h"
#include "platform/number_text.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"
#include "questions/question_file.h"
#include "romaji/romaji_rules.h"
#include "settings/software_setting_data.h"
#include "typing/records_file.h"
#include "typing/weak_keys.h"

namespace kanaflow {
namespace {

// The drill mostly stays the same from one visit to the next: a file that
// already holds the bytes is left alone, which spares the disk a flush.
bool WriteIfChanged(const std::string& path, const std::string& bytes) {
  return ReadFileStart(path, bytes.size() + 1) == bytes || ReplaceFileContents(path, bytes);
}

}  // namespace

std::vector<Question> LibraryQuestions(const std::vector<QuestionCategory>& library,
                                       const SpellingPreferences& preferences) {
  std::vector<Question> questions;
  for (const QuestionCategory& category : library) {
    for (const CMenuQuestionLoader& set : category.entries) {
      const std::optional<QuestionFileBytes> file = ReadQuestionFile(set.values().questionFileName);
      if (!file) continue;
      QuestionLineReader reader(file->bytes);
      while (!reader.exhausted()) {
        Question question;
        question.text = reader.NextLine();
        question.reading = reader.NextLine();
        if (question.text.empty() || question.reading.empty()) continue;
        question.romaji = MakeRomaji(question.reading, preferences);
        questions.push_back(std::move(question));
      }
    }
  }
  return questions;
}

std::string DrillSetText(const std::string& modelSetBytes, const std::vector<char>& keys, int questionCount) {
  ProfileText set(ProfileText::IsUtf16(modelSetBytes) ? std::string() : modelSetBytes);
  set.SetString(kQuestionSetSection, "Title", kDrillName);
  set.SetString(kQuestionSetSection, "Message", "苦手なキー " + KeysText(keys) + " を多く使う問題です。");
  set.SetString(kQuestionSetSection, "QuestionNumber", std::to_string(questionCount));
  set.SetString(kQuestionSetSection, "QuestionFileName", kDrillQuestionPath);
  set.SetString(kQuestionSetSection, "RandomQuestionSet", "0");
  if (!set.Find(kQuestionSetSection, "Version")) set.SetString(kQuestionSetSection, "Version", "5");
  return set.bytes();
}

bool AddWeakKeyDrill(std::vector<QuestionCategory>& library, const std::vector<RunRecord>& records,
                     const SpellingPreferences& preferences) {
  const std::vector<char> keys = WeakKeys(records);
  if (keys.empty() || library.empty() || library.front().entries.empty()) return false;
  const std::vector<Question> drill = ChooseDrillQuestions(LibraryQuestions(library, preferences), keys);
  if (drill.empty()) return false;
  std::string questionText;
  for (const Question& question : drill) questionText += question.text + "\r\n" + question.reading + "\r\n";
  const std::string modelPath = library.front().entries.front().path();
  const std::string setText =
      DrillSetText(ReadFileStart(modelPath, kMaxQuestionFileBytes).value_or(""), keys, static_cast<int>(drill.size()));
  if (!WriteIfChanged(kDrillQuestionPath, questionText) || !WriteIfChanged(kDrillSetPath, setText)) {
    return false;
  }
  QuestionCategory category{"./", kDrillName, {}};
  category.entries.emplace_back().Load(kDrillSetPath);
  library.insert(library.begin(), std::move(category));
  return true;
}

bool AddWeakKeyDrillWhenKept(std::vector<QuestionCategory>& library) {
  // The one key first and without the "Error" check: with the option off,
  // the list opens as it always did, whatever else the file holds.
  if (ParseDecimal(ReadProfileValue(kSettingFilePath, kSettingSection, "KeepRecords", "0")) == 0) return false;
  // A setting written "Error" is reported where it always was, when a
  // practice screen reads the settings: until then the list shows no drill.
  CSoftwareSettingData settings;
  if (CollectFatalError([&settings] { settings.Load(kSettingFilePath); })) return false;
  return AddWeakKeyDrill(library, ReadRecentRecords(kRecordsFilePath), settings.GetSpellingPreferences());
}

}  // namespace kanaflow
