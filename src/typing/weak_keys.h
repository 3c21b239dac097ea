// The learner's weak keys, from the recorded basic runs, and the drill made
// of the library's questions that use them most.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "questions/question_set.h"
#include "typing/run_record.h"

namespace kanaflow {

inline constexpr std::size_t kWeakKeyCount = 3;
inline constexpr std::size_t kDrillQuestions = 20;

// The keys of the basic runs among `records` (oldest first) with the worst
// mix of miss rate and time per keystroke, worst first. Each run weighs 0.9
// times the run after it, so the last runs count most; a key needs a few
// keystrokes before it is judged at all.
std::vector<char> WeakKeys(const std::vector<RunRecord>& records, std::size_t count = kWeakKeyCount);

// The key that types `romajiChar`, named as the records name keys: "K" for
// k, "-" for -.
char KeyOfRomaji(char romajiChar);

// Up to `count` questions of `library` (each question once, by its text and
// reading) whose romaji uses `keys` most, most first; a question that uses
// none of them is never chosen. Ties keep the library's order.
std::vector<Question> ChooseDrillQuestions(const std::vector<Question>& library, const std::vector<char>& keys,
                                           std::size_t count = kDrillQuestions);

// "K T -": the keys as the drill's message names them.
std::string KeysText(const std::vector<char>& keys);

}  // namespace kanaflow
