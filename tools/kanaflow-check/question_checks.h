// Warnings about the questions of a set that loads, found by reading its
// question file line by line as the program does and comparing with the
// questions the program made of it; and the set's summary.
#pragma once

#include <string_view>
#include <vector>

#include "kanaflow-check/finding.h"
#include "kanaflow-check/set_file_text.h"
#include "questions/question_file.h"
#include "questions/question_set.h"
#include "settings/spelling_preferences.h"

namespace kanaflow::check {

// Title, count, keystrokes and the modes the loaded questions suit. A
// substitute question counts as the program asks it, but its text is no
// reason to call the set a kanji-kana set.
SetSummary Summarise(const CQuestionSet& questions);

// `file` is the part of the question file the questions were loaded from.
// The edit-box warnings are given for the modes that `summary` says the set
// suits.
void AddQuestionWarnings(const SetFileText& set, const CQuestionSet& questions, const QuestionFileBytes& file,
                         const SpellingPreferences& preferences, const SetSummary& summary,
                         std::vector<Finding>& findings);

}  // namespace kanaflow::check
