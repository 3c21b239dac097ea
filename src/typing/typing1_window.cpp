#include "typing/typing1_window.h"

#include <utility>

#include "app/scene.h"
#include "draw/keyboard_painter.h"
#include "typing/number_format.h"

namespace kanaflow {
namespace {

constexpr int kBigDigitHeight = 200;
constexpr int kKeyboardTop = 240;
// Right of the result figures, below the two key hints, above the points'
// last change at (400, 200).
constexpr int kProgressLeft = 400;
constexpr int kProgressTop = 60;
constexpr int kProgressChartHeight = 56;
constexpr int kMissedRunHintTop = 178;  // below the block's line of a run not recorded

KeyboardColours KeyboardColoursOf(const QuestionSetValues& set) {
  return {set.keyboardLineColor,      set.keyboardStringColor, set.backColorKoyubi, set.backColorKusuriyubi,
          set.backColorNakayubi, set.backColorHitosashiyubi, set.backColorOther};
}

}  // namespace

Typing1Window::Typing1Window(CScene& scene, PracticeMedia media)
    : CTypingWindow(&scene, kWidth, kHeight, std::move(media)) {
  window_ = CreateScreen(kWidth, kHeight);
  SetUp(window_);
  ShowWindow(window_, SW_SHOWNORMAL);
}

Typing1Window::~Typing1Window() { state_ = PracticeState::Closing; }

PracticeMode Typing1Window::ModeId() const { return PracticeMode::Basic; }

void Typing1Window::SetUp(HWND window) {
  state_ = PracticeState::Countdown;
  LoadSettingsAndQuestions();
  const KeyboardLayout layout = settings().keyboardLayout == 1 ? KeyboardLayout::Us : KeyboardLayout::Japanese;
  keyboard_ = std::make_unique<CVirtualKeyboard>(KeyboardColoursOf(questionSet_->values()), 16, 14, 40, layout);
  keyboard_->SetShowLabels(settings().showKeyString);
  keyboard_->SetFingerColours(settings().showFingerPosition);
  matcher_ = std::make_unique<CKeyboardMatcher>(*questionSet_, *keyboard_, settings(), *this);
  LoadBackground(window);
  LoadSounds();
  stopwatch_ = std::make_unique<CStopwatch>();
  // The keys must arrive as plain letters: the IME stays closed here.
  if (!settings().disableImeControl) ime_.SetImeMode(window, kImeClosed);
  StartCountdown(window);
}

LRESULT Typing1Window::OnTypingMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    // A kana is two keystrokes' worth of bytes, each judged on its own.
    for (const std::uintptr_t code : typedBytes_.Take(wParam)) NoteJudgement(matcher_->MatchTypedChar(code));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Typing1Window::StartTyping(HWND window) {
  KillTimer(window, kCountdownTimer);
  state_ = PracticeState::Running;
  SetNextKeyColour(questionSet_->values().nextTypeKeyColor);
  PlayMusic(window);
  SetTimer(window, kRunningTimer, kRunningPeriod, nullptr);
  // Last, so that starting the music does not count against the first key.
  matcher_->StartTyping();
  stopwatch_->Start();
}

void Typing1Window::FinishRunSteps() {
  keyboard_->SetResultsView(true);
  keyboard_->ClearHighlights();
  keyboard_->FindMostMissedKey();
  keyboard_->FindSlowestKey();
}

void Typing1Window::RepaintAfterFinish() { InvalidateRect(window_, nullptr, TRUE); }

void Typing1Window::Compose(HWND window, CDrawSurface& image) {
  const TextColour colour(image.GetMemoryDC(), static_cast<COLORREF>(questionSet_->values().windowStringColor));
  image.DrawString("タイトル：F5", 520, 15);
  image.DrawString("問題一覧：ESC", 520, 35);
  DrawCounters(image);
  DrawKeyboard(window, image);
  if (state_ == PracticeState::Results) {
    DrawResultFigures(image);
    DrawProgressIfKept(image, kProgressLeft, kProgressTop, kProgressChartHeight);
    DrawMissedRunHint(image, kProgressLeft, kMissedRunHintTop);
  } else {
    DrawQuestionRows(image);
  }
  if (state_ == PracticeState::Countdown) {
    image.SetFont(kBigDigitHeight);
    image.DrawString(FormatNumber(countdown_ + 1), 220, 140);
    image.RestoreFont();
  }
}

RomajiRow Typing1Window::CurrentRomajiRow() const {
  return RomajiRowFor(settings().showRomaji, matcher_->questionMisses(), matcher_->LongestWaitOnQuestion());
}

bool Typing1Window::FrameOutdated() const {
  return state_ == PracticeState::Running && CurrentRomajiRow() != shownRomajiRow_;
}

void Typing1Window::DrawQuestionRows(CDrawSurface& image) {
  image.DrawString("問題文", 15, 15);
  image.DrawString("読み", 15, 40);
  image.DrawString("ローマ字", 15, 65);
  image.DrawString("打った文字", 15, 90);
  if (state_ != PracticeState::Running) return;
  const Question& question = matcher_->question();
  image.DrawString(question.text, 110, 15);
  image.DrawString(question.reading, 110, 40);
  DrawRomajiRow(image);
  image.DrawString(std::string(matcher_->TypedRomaji()), 110, 90);
}

void Typing1Window::DrawRomajiRow(CDrawSurface& image) {
  shownRomajiRow_ = CurrentRomajiRow();
  const std::string_view romaji = matcher_->Romaji();
  if (shownRomajiRow_ == RomajiRow::Whole) {
    image.DrawString(std::string(romaji), 110, 65);
  } else if (shownRomajiRow_ == RomajiRow::Rest) {
    // The rest stands where it stands in the whole row: right above the
    // place in the typed row where the next key will appear.
    const std::string typed(matcher_->TypedRomaji());
    image.DrawString(std::string(romaji.substr(typed.size())), 110 + image.TextWidth(typed), 65);
  }
}

void Typing1Window::DrawResultFigures(CDrawSurface& image) {
  const CKeyboardKey* mostMissed = keyboard_->FindMostMissedKey();
  const CKeyboardKey* slowest = keyboard_->FindSlowestKey();
  const int typedKeys = matcher_->counters().typedKeys;
  const std::uint32_t elapsed = stopwatch_->ElapsedMs();
  image.DrawString("ミスする割合が一番高いキー", 15, 15);
  image.DrawString(mostMissed ? mostMissed->label(0) : "無し", 300, 15);
  image.DrawString("打つまでの時間が一番長いキー", 15, 40);
  image.DrawString(slowest ? slowest->label(0) : "無し", 300, 40);
  image.DrawString("一秒あたりの打数", 15, 65);
  image.DrawString(KeystrokesPerSecondText(typedKeys, elapsed), 300, 65);
  image.DrawString("一打あたりの時間", 15, 90);
  image.DrawString(TimePerKeystrokeText(typedKeys, elapsed), 300, 90);
}

void Typing1Window::DrawKeyboard(HWND window, CDrawSurface& image) {
  // The results always show the keyboard: it carries every key's figures.
  if (!settings().showKeyboard && state_ != PracticeState::Results) return;
  const CDrawSurface& panel = keyboardPicture_.Update(window, *keyboard_, questionSet_->values().windowBackColor);
  panel.BlitTo(image.GetMemoryDC(), 15, kKeyboardTop, keyboard_->width(), keyboard_->height(), 0, 0);
}

}  // namespace kanaflow
