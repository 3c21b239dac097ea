// A question set as a practice screen holds it: the set's record, its
// questions with their romaji and katakana forms, and the random order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "questions/question_setting_data.h"
#include "settings/spelling_preferences.h"

namespace kanaflow {

struct Question {
  std::string text;      // shown as 問題文
  std::string reading;   // hiragana, shown as 読み
  std::string romaji;    // the keys to type, derived from the reading
  std::string katakana;  // the reading in katakana
};

inline constexpr char kSubstituteText[] = "問題文が定義されていませんでした。";
inline constexpr char kSubstituteReading[] = "もんだいぶんがていぎされていませんでした。";

// The most questions a set may ask for; a larger QuestionNumber is out of
// range (0106) like one below 1.
inline constexpr std::int32_t kMaxQuestionCount = 1 << 23;

class CQuestionList {
 public:
  void SetPreferences(const SpellingPreferences& preferences) { preferences_ = preferences; }
  const SpellingPreferences& preferences() const { return preferences_; }

  std::string MakeRomaji(std::string_view reading) const;
  static std::string MakeKatakana(std::string_view reading);

  std::int32_t questionCount = 0;
  // The questions in file order up to where the file runs out, then one
  // substitute question that stands for every question after it: a short
  // file asked for many questions holds no more than the file gives.
  std::vector<Question> questions;

 private:
  SpellingPreferences preferences_;
};

class CQuestionSet {
 public:
  // Reads the set file at `path` with every key of its version; its fatal
  // errors (0102, 0103, 0104) end the program.
  explicit CQuestionSet(const std::string& path);

  // Reads the questions from the set's question file and derives their romaji
  // with `preferences`. Fatal 0106 for a count below 1, 0101 for a file that
  // cannot be opened, the exception box when memory runs out. Returns 0.
  // The file is read no further than kMaxQuestionFileBytes.
  int LoadQuestions(SpellingPreferences preferences);

  // A copy of question `index` (0-based, below the question count).
  Question GetQuestion(int index) const { return questionAt(index); }
  const Question& questionAt(int index) const;
  // How many questions are held one by one: from index storedQuestions() - 1
  // on, every question is the same one (the substitute question, when the
  // file ran out before the question count).
  int storedQuestions() const { return static_cast<int>(list_.questions.size()); }

  // A question not picked before in this set, seeded from the millisecond
  // clock as every call is.
  int PickRandomQuestion();
  // The same with the generator seeded by `seed`.
  int PickRandomQuestion(std::uint32_t seed);

  const CQuestionSettingData& setting() const { return setting_; }
  const QuestionSetValues& values() const { return setting_.values(); }
  int questionCount() const { return list_.questionCount; }
  // Asks only the questions at `indices` (loaded before), in that order and
  // each once: a run of the questions that had a miss.
  void KeepOnly(const std::vector<int>& indices);
  // What the romaji forms were made with.
  const SpellingPreferences& preferences() const { return list_.preferences(); }

 private:
  void ReadQuestions(std::string_view fileBytes);

  CQuestionSettingData setting_;
  CQuestionList list_;
  std::vector<bool> usedFlags_;
};

// The C library generator of the Windows runtime: rand() after srand(seed).
class RuntimeRandom {
 public:
  explicit RuntimeRandom(std::uint32_t seed) : state_(seed) {}
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  std::uint32_t state_;
};

}  // namespace kanaflow
