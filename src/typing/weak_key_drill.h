// The weak-key drill as a question set of its own: its set file and question
// file in the working folder, made afresh from the records each time the
// selection screen lists it, and played like any set.
#pragma once

#include <string>
#include <vector>

#include "questions/question_library.h"
#include "questions/question_set.h"
#include "settings/spelling_preferences.h"
#include "typing/run_record.h"

namespace kanaflow {

inline constexpr char kDrillSetPath[] = "./WeakKeyDrill.ini";
inline constexpr char kDrillQuestionPath[] = "./WeakKeyDrill.txt";
inline constexpr char kDrillName[] = "苦手なキーの練習";

// Every question of the library's sets (each set file's questions as its
// question file holds them), with romaji by `preferences`.
std::vector<Question> LibraryQuestions(const std::vector<QuestionCategory>& library,
                                       const SpellingPreferences& preferences);

// The drill's set file: the look and media of `modelSetBytes` (a set of the
// library), its own title, message naming `keys`, and question file.
std::string DrillSetText(const std::string& modelSetBytes, const std::vector<char>& keys, int questionCount);

// Writes the drill's two files from the recorded basic runs among `records`
// and the library, and puts its category first in `library`. Nothing when
// there is no recorded basic run, no question uses the weak keys, or the
// files cannot be written. True when the drill was put first.
bool AddWeakKeyDrill(std::vector<QuestionCategory>& library, const std::vector<RunRecord>& records,
                     const SpellingPreferences& preferences);

// The same with the records file and the settings of the working folder,
// when Setting.ini keeps records. True when the drill was put first.
bool AddWeakKeyDrillWhenKept(std::vector<QuestionCategory>& library);

}  // namespace kanaflow
