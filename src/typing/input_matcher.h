// The input matcher: whether what the user typed is right, and what follows
// from it (counters, points, the next question, the next-key mark, sounds,
// the window shake, the end of the run). The screens turn window messages
// into these calls and carry out the effects through PracticeEffects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/clock.h"
#include "platform/practice_mode.h"
#include "romaji/flexible_match.h"
#include "typing/point_counter.h"

namespace kanaflow {

class CQuestionSet;
class CVirtualKeyboard;
struct Question;
struct SoftwareSettings;

// What a decision makes happen outside the core, implemented by the screen.
class PracticeEffects {
 public:
  virtual ~PracticeEffects() = default;
  // Plays the run's keystroke sound, if it has one.
  virtual void PlayTypeSound() = 0;
  // Plays the run's miss sound, if it has one.
  virtual void PlayMissSound() = 0;
  virtual void ShakeWindow() = 0;
  // The last question is done: results state, end music and sound, stop the
  // stopwatch; the keyboard screen also repaints (with erasing) here.
  virtual void FinishRun() = 0;
  // Invalidate the window without erasing.
  virtual void Repaint() = 0;
  // Empty the edit box (edit-box screen only).
  virtual void ClearEditBox() = 0;
};

enum class MatchResult {
  Ignored,      // nothing changed: not typing, Escape, no new text, a deletion
  Right,        // accepted
  Miss,         // counted as a miss
  RunFinished,  // accepted, and it completed the last question
};

// Counters of both screens; all start at 0 except the first question.
struct RunCounters {
  int currentQuestion = 0;  // index into the question list
  int questionsDone = 0;
  int typedKeys = 0;  // keys (keyboard screen) or bytes (edit box) accepted
  int missCount = 0;
};

// What both screens share: the question order, misses and the end of a run.
class CRunMatcher {
 public:
  const RunCounters& counters() const { return counters_; }
  const PointCounter& points() const { return points_; }
  // The current question; an empty one if its index were ever out of range.
  const Question& question() const;
  bool finished() const { return finished_; }

 protected:
  // Picks the first question: random order draws it like every other one,
  // file order starts at question 0.
  CRunMatcher(CQuestionSet& questions, const SoftwareSettings& settings, PracticeEffects& effects, Clock clock);

  // Counts a completed question; true when it was the last of the run.
  bool CountQuestionDone();
  void FinishRun();
  // The next question: drawn in random order, else the next in the file.
  void MoveToNextQuestion();
  // A miss: counter, penalty, miss sound and, unless disabled, the shake.
  void CountMiss();

  CQuestionSet& questions_;
  PracticeEffects& effects_;
  Clock clock_;
  RunCounters counters_;
  PointCounter points_;
  bool showNextTypeKey_;
  bool finished_ = false;

 private:
  int PickQuestion();

  bool disableWindowVibration_;
};

// The basic screen: the user types the romaji form byte by byte.
class CKeyboardMatcher : public CRunMatcher {
 public:
  CKeyboardMatcher(CQuestionSet& questions, CVirtualKeyboard& keyboard, const SoftwareSettings& settings,
                   PracticeEffects& effects, Clock clock = MillisecondClock);

  // Typing begins: the first key is shown and the first key's time starts.
  // Characters before this (the countdown) and after the run are ignored.
  void StartTyping();
  // One typed byte of code page 932; a code above 0xFF (a character with
  // no such byte) matches nothing.
  MatchResult MatchTypedChar(std::uintptr_t code);
  // Marks the key of the next byte, or leaves nothing marked when the
  // setting ShowNextTypeKey is off.
  void ShowNextKey();

  // The romaji row: the question's romaji form, or with FlexibleInput on what
  // the user typed followed by the rest in the spellings that fit it.
  std::string_view Romaji() const;
  // The first romajiPos bytes of the romaji: what has been typed so far.
  std::string_view TypedRomaji() const;
  int romajiPos() const { return romajiPos_; }
  int missesOnKey() const { return missesOnKey_; }
  // Misses made on the current question so far.
  int questionMisses() const { return questionMisses_; }
  // The longest the learner has waited for a key on the current question,
  // the wait still going on included.
  std::uint32_t LongestWaitOnQuestion() const;
  std::uint32_t lastKeyTime() const { return lastKeyTime_; }
  bool typing() const { return typing_; }

  static constexpr std::uintptr_t kEscape = 27;

 private:
  // Whether `byte` is right, moving past it when it is.
  bool Accept(unsigned char byte);
  // The current question is complete.
  bool QuestionComplete() const;
  // The flexible state follows the current question.
  void StartQuestion();

  CVirtualKeyboard& keyboard_;
  bool flexible_;
  FlexibleMatch flexibleMatch_;
  int romajiPos_ = 0;
  int missesOnKey_ = 0;
  int questionMisses_ = 0;
  std::uint32_t longestWait_ = 0;
  std::uint32_t lastKeyTime_ = 0;
  bool typing_ = false;
};

// The text the edit-box screen expects: the hiragana mode asks for the
// reading, or its katakana form in KatakanaMode; any other mode for the text.
std::string_view EditTarget(const Question& question, PracticeMode mode, bool katakanaMode);

// The edit-box screens: the user writes the target through the IME.
class CEditBoxMatcher : public CRunMatcher {
 public:
  // What the screen reads from the edit box (a 254-byte buffer).
  static constexpr std::size_t kMaxEditTextBytes = 253;
  // Every accepted chunk is scored as if it took one second.
  static constexpr std::uint32_t kChunkMilliseconds = 1000;

  CEditBoxMatcher(CQuestionSet& questions, PracticeMode mode, const SoftwareSettings& settings, PracticeEffects& effects,
                  Clock clock = MillisecondClock);

  // Any notification of the edit box, with its current text.
  MatchResult MatchEditText(std::string_view text);
  // Enter, with the edit box's current text.
  MatchResult MatchAnswer(std::string_view text);

  std::string_view Target() const;
  // The first acceptedLen bytes of the target: what has been written right.
  std::string_view AcceptedText() const;
  int acceptedLen() const { return acceptedLen_; }
  PracticeMode mode() const { return mode_; }

 private:
  MatchResult JudgeEditText(std::string_view text);
  MatchResult JudgeAnswer(std::string_view text);
  // Asks for a repaint after every judgement that changed something.
  MatchResult Shown(MatchResult result);

  PracticeMode mode_;
  bool katakanaMode_;
  int acceptedLen_ = 0;
};

}  // namespace kanaflow
