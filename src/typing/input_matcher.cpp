#include "typing/input_matcher.h"

#include <algorithm>
#include <utility>

#include "draw/virtual_keyboard.h"
#include "questions/question_set.h"
#include "settings/software_setting_data.h"

namespace kanaflow {
namespace {

const Question kNoQuestion{};

// The first `length` bytes of `text`, never more than it has.
std::string_view Prefix(std::string_view text, int length) {
  if (length <= 0) return {};
  return text.substr(0, static_cast<std::size_t>(length));
}

}  // namespace

// ---- CRunMatcher ----------------------------------------------------------

CRunMatcher::CRunMatcher(CQuestionSet& questions, const SoftwareSettings& settings, PracticeEffects& effects,
                         Clock clock)
    : questions_(questions),
      effects_(effects),
      clock_(std::move(clock)),
      showNextTypeKey_(settings.showNextTypeKey),
      disableWindowVibration_(settings.disableWindowVibration) {
  // In random order the first question is drawn too, so that no later draw
  // can hand it out a second time.
  counters_.currentQuestion = questions_.values().randomQuestionSet ? PickQuestion() : 0;
}

const Question& CRunMatcher::question() const {
  const int index = counters_.currentQuestion;
  if (index < 0 || index >= questions_.questionCount()) return kNoQuestion;
  return questions_.questionAt(index);
}

int CRunMatcher::PickQuestion() { return questions_.PickRandomQuestion(clock_()); }

bool CRunMatcher::CountQuestionDone() {
  ++counters_.questionsDone;
  return counters_.questionsDone >= questions_.values().questionNumber;
}

void CRunMatcher::FinishRun() {
  finished_ = true;
  effects_.FinishRun();
}

void CRunMatcher::MoveToNextQuestion() {
  counters_.currentQuestion = questions_.values().randomQuestionSet ? PickQuestion() : counters_.questionsDone;
}

void CRunMatcher::CountMiss() {
  ++counters_.missCount;
  points_.AddMissPenalty();
  effects_.PlayMissSound();
  if (!disableWindowVibration_) effects_.ShakeWindow();
}

// ---- CKeyboardMatcher -----------------------------------------------------

CKeyboardMatcher::CKeyboardMatcher(CQuestionSet& questions, CVirtualKeyboard& keyboard,
                                   const SoftwareSettings& settings, PracticeEffects& effects, Clock clock)
    : CRunMatcher(questions, settings, effects, std::move(clock)),
      keyboard_(keyboard),
      flexible_(settings.flexibleInput) {
  StartQuestion();
}

std::string_view CKeyboardMatcher::Romaji() const {
  return flexible_ ? flexibleMatch_.Shown() : std::string_view(question().romaji);
}

void CKeyboardMatcher::StartQuestion() {
  questionMisses_ = 0;
  longestWait_ = 0;
  if (flexible_) flexibleMatch_.Start(question().reading, question().romaji, questions_.preferences());
}

bool CKeyboardMatcher::Accept(unsigned char byte) {
  if (flexible_) return flexibleMatch_.Accept(static_cast<char>(byte));
  const std::string_view romaji = Romaji();
  const auto pos = static_cast<std::size_t>(romajiPos_);
  // An empty romaji has no byte to match: every key is a miss.
  return pos < romaji.size() && byte == static_cast<unsigned char>(romaji[pos]);
}

bool CKeyboardMatcher::QuestionComplete() const {
  if (flexible_) return flexibleMatch_.Done();
  return static_cast<std::size_t>(romajiPos_) == Romaji().size();
}

std::string_view CKeyboardMatcher::TypedRomaji() const { return Prefix(Romaji(), romajiPos_); }

std::uint32_t CKeyboardMatcher::LongestWaitOnQuestion() const {
  if (!typing_) return longestWait_;
  return std::max(longestWait_, clock_() - lastKeyTime_);
}

void CKeyboardMatcher::StartTyping() {
  if (finished_) return;
  typing_ = true;
  ShowNextKey();
  lastKeyTime_ = clock_();
}

void CKeyboardMatcher::ShowNextKey() {
  keyboard_.ClearHighlights();
  // With the setting off the first key would be marked and cleared at once,
  // which leaves exactly what ClearHighlights leaves: nothing marked.
  if (!showNextTypeKey_) return;
  const std::string_view romaji = Romaji();
  const auto pos = static_cast<std::size_t>(romajiPos_);
  if (pos < romaji.size()) keyboard_.HighlightNextKey(romaji.substr(pos, 1));
}

MatchResult CKeyboardMatcher::MatchTypedChar(std::uintptr_t code) {
  if (!typing_ || finished_ || code == kEscape) return MatchResult::Ignored;

  const bool right = code <= 0xFF && Accept(static_cast<unsigned char>(code));
  if (!right) {
    ++missesOnKey_;
    ++questionMisses_;
    CountMiss();
    effects_.Repaint();
    return MatchResult::Miss;
  }

  // One reading of the clock: the time charged to this key is exactly the
  // time the next key's measurement starts from.
  const std::uint32_t now = clock_();
  const std::uint32_t elapsed = now - lastKeyTime_;
  // The typed byte is the expected one (or one of them), so the misses
  // before it are charged to the key that should have been pressed.
  const char typed = static_cast<char>(code);
  keyboard_.RecordKeystroke(std::string_view(&typed, 1), missesOnKey_, elapsed);
  points_.AddKeyPoints(elapsed);
  missesOnKey_ = 0;
  longestWait_ = std::max(longestWait_, elapsed);
  lastKeyTime_ = now;
  ++romajiPos_;
  ++counters_.typedKeys;

  if (QuestionComplete()) {
    points_.AddQuestionBonus(static_cast<std::size_t>(romajiPos_));
    const bool last = CountQuestionDone();
    romajiPos_ = 0;
    if (last) {
      // The screen's FinishRun repaints the results; no next key is marked
      // and no keystroke sound plays over the end sound.
      typing_ = false;
      FinishRun();
      return MatchResult::RunFinished;
    }
    MoveToNextQuestion();
    StartQuestion();
  }
  ShowNextKey();
  effects_.PlayTypeSound();
  effects_.Repaint();
  return MatchResult::Right;
}

// ---- CEditBoxMatcher ------------------------------------------------------

std::string_view EditTarget(const Question& question, PracticeMode mode, bool katakanaMode) {
  if (mode != PracticeMode::Hiragana) return question.text;
  return katakanaMode ? question.katakana : question.reading;
}

CEditBoxMatcher::CEditBoxMatcher(CQuestionSet& questions, PracticeMode mode, const SoftwareSettings& settings,
                                 PracticeEffects& effects, Clock clock)
    : CRunMatcher(questions, settings, effects, std::move(clock)),
      mode_(mode),
      katakanaMode_(questions.values().katakanaMode) {}

std::string_view CEditBoxMatcher::Target() const { return EditTarget(question(), mode_, katakanaMode_); }

std::string_view CEditBoxMatcher::AcceptedText() const { return Prefix(Target(), acceptedLen_); }

// Whatever a judgement changed (the typed part, a counter, the points, the
// question) is on the screen at once; a text that changed nothing is not.
MatchResult CEditBoxMatcher::Shown(MatchResult result) {
  if (result != MatchResult::Ignored) effects_.Repaint();
  return result;
}

MatchResult CEditBoxMatcher::MatchEditText(std::string_view text) { return Shown(JudgeEditText(text)); }

MatchResult CEditBoxMatcher::MatchAnswer(std::string_view text) { return Shown(JudgeAnswer(text)); }

MatchResult CEditBoxMatcher::JudgeEditText(std::string_view text) {
  if (finished_) return MatchResult::Ignored;
  text = text.substr(0, kMaxEditTextBytes);
  const int length = static_cast<int>(text.size());
  // The edit box notifies more than once per change; only a new length is
  // worth a look, and a shorter text (a deletion) is neither right nor wrong.
  if (length == acceptedLen_ || acceptedLen_ >= length) return MatchResult::Ignored;

  // The whole text against the start of the target; a text longer than the
  // target cannot match.
  const std::string_view target = Target();
  if (text.size() > target.size() || target.compare(0, text.size(), text) != 0) {
    CountMiss();
    return MatchResult::Miss;
  }
  const int accepted = length - acceptedLen_;
  acceptedLen_ = length;
  counters_.typedKeys += accepted;
  points_.AddChunkPoints(kChunkMilliseconds, static_cast<std::uint32_t>(accepted));
  return MatchResult::Right;
}

MatchResult CEditBoxMatcher::JudgeAnswer(std::string_view text) {
  if (finished_) return MatchResult::Ignored;
  text = text.substr(0, kMaxEditTextBytes);
  if (text != Target()) {
    CountMiss();
    return MatchResult::Miss;
  }
  const bool last = CountQuestionDone();
  // Emptying the edit box notifies MatchEditText at once; the old acceptedLen
  // is then at least the new length 0, so that call changes nothing.
  effects_.ClearEditBox();
  acceptedLen_ = 0;
  if (last) {
    FinishRun();
    return MatchResult::RunFinished;
  }
  MoveToNextQuestion();
  return MatchResult::Right;
}

}  // namespace kanaflow
