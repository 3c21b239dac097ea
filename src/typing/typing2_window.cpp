#include "typing/typing2_window.h"

#include <commctrl.h>

#include <utility>

#include "app/scene.h"
#include "app/window_utilities.h"
#include "draw/screen_scale.h"
#include "typing/number_format.h"

namespace kanaflow {
namespace {

constexpr int kBigDigitHeight = 200;
constexpr int kOperationFontHeight = 15;
constexpr UINT_PTR kEditSubclassId = 1;
// Right of the rates, below the edit box, above the operation box at y 150.
constexpr int kProgressLeft = 400;
constexpr int kProgressTop = 45;
constexpr int kProgressChartHeight = 44;

// The edit box hands Enter, Escape and F5 to the screen: Enter never goes
// into the text (and never beeps), Escape as a character is swallowed, and
// every key press reaches the screen's keystroke sound.
LRESULT CALLBACK EditBoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const HWND parent = GetParent(edit);
  switch (message) {
    case WM_KEYDOWN:
    case WM_IME_COMPOSITION:
      SendMessageW(parent, message, wParam, lParam);
      // Escape or F5 may have closed the screen, and this box with it.
      if (!IsWindow(edit)) return 0;
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN) {
        SendMessageW(parent, WM_CHAR, VK_RETURN, 0);
        return 0;
      }
      if (wParam == VK_ESCAPE) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, EditBoxProc, kEditSubclassId);
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

Typing2Window::Typing2Window(CScene& scene, PracticeMode mode, PracticeMedia media)
    : CTypingWindow(&scene, kWidth, kHeight, std::move(media)), mode_(mode) {
  window_ = CreateScreen(kWidth, kHeight);
  SetUp(window_);
  ShowWindow(window_, SW_SHOWNORMAL);
}

Typing2Window::~Typing2Window() { state_ = PracticeState::Closing; }

bool Typing2Window::IsHiraganaMode() const { return mode_ == PracticeMode::Hiragana; }

ImeSetting Typing2Window::OpenImeSetting() const {
  if (!IsHiraganaMode()) return kImeConversion;
  return questionSet_->values().katakanaMode ? kImeKatakana : kImeHiragana;
}

void Typing2Window::ScaleEditFont() {
  if (!Scaling()) return;
  TEXTMETRICW metrics{};
  {
    const WindowDc screen(nullptr);
    const Selection system(screen.get(), GetStockObject(SYSTEM_FONT));
    GetTextMetricsW(screen.get(), &metrics);
  }
  editFont_.reset(CreateFontW(Scaled(metrics.tmHeight), 0, 0, 0, 0, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              kUiFontFace));
  SendMessageW(editBox_, WM_SETFONT, reinterpret_cast<WPARAM>(editFont_.get()), FALSE);
}

void Typing2Window::SetUp(HWND window) {
  state_ = PracticeState::Countdown;
  LoadSettingsAndQuestions();
  matcher_ = std::make_unique<CEditBoxMatcher>(*questionSet_, mode_, settings(), *this);
  stopwatch_ = std::make_unique<CStopwatch>();
  // Scrolling sideways lets a target wider than the box be written whole.
  const RECT box = Scaled(RECT{15, 15, 620, 40});
  editBox_ = CreateEditControl("", window, kEditBoxId, box.left, box.top, box.right - box.left, box.bottom - box.top,
                               scene()->GetInstance(), ES_AUTOHSCROLL);
  ScaleEditFont();
  SetWindowSubclass(editBox_, EditBoxProc, kEditSubclassId, 0);
  EnableWindow(editBox_, FALSE);  // nothing can be typed during the countdown
  LoadBackground(window);
  LoadSounds();
  if (!settings().disableImeControl) {
    const int imeStatus = questionSet_->values().imeStatus;
    if (imeStatus == 0) ChangeIme(OpenImeSetting());
    if (imeStatus == 1) ChangeIme(kImeClosed);
  }
  StartCountdown(window);
}

void Typing2Window::OnDestroy(HWND window) { ime_.RestoreImeMode(window); }

LRESULT Typing2Window::OnTypingMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
      if (wParam == VK_RETURN) {
        NoteJudgement(matcher_->MatchAnswer(GetWindowTextCp932(editBox_, CEditBoxMatcher::kMaxEditTextBytes)));
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kEditBoxId) OnEditNotify();
      return 0;
    case WM_SETFOCUS:
      // Back from another program: the box gets the keys and its IME again,
      // whatever the set asked for at the start.
      SetFocus(editBox_);
      if (!settings().disableImeControl) ChangeIme(OpenImeSetting());
      return 0;
    case WM_KEYDOWN:
      PlayTypeSound();
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A change of the text arrives as EN_UPDATE and EN_CHANGE, and the focus
// coming and going notifies too: judged on every notification, one wrong
// character would be two misses or more, and a wrong text left in the box
// would count again each time the user switched programs.
void Typing2Window::OnEditNotify() {
  std::string text = GetWindowTextCp932(editBox_, CEditBoxMatcher::kMaxEditTextBytes);
  if (text == lastEditText_) return;
  lastEditText_ = std::move(text);
  if (static_cast<int>(lastEditText_.size()) != matcher_->acceptedLen()) {
    NoteJudgement(matcher_->MatchEditText(lastEditText_));
  }
}

// Each save would overwrite the last: after the screen set the IME again on
// getting the focus back, leaving would restore the screen's own modes and
// the user's would be lost. So only the first change saves.
void Typing2Window::ChangeIme(const ImeSetting& setting) {
  if (ime_.saved()) {
    ImeModeKeeper().SetImeMode(editBox_, setting);
  } else {
    ime_.SetImeMode(editBox_, setting);
  }
}

void Typing2Window::StartTyping(HWND window) {
  KillTimer(window, kCountdownTimer);
  state_ = PracticeState::Running;
  PlayMusic(window);
  EnableWindow(editBox_, TRUE);
  SetFocus(editBox_);
  stopwatch_->Start();
  SetTimer(window, kRunningTimer, kRunningPeriod, nullptr);
}

void Typing2Window::ClearEditBox() { SetWindowTextW(editBox_, L""); }

std::string Typing2Window::SecondRowLabel() const {
  return IsHiraganaMode() && questionSet_->values().katakanaMode ? "カタカナ" : "読み";
}

void Typing2Window::Compose(HWND /*window*/, CDrawSurface& image) {
  {
    const TextColour colour(image.GetMemoryDC(), static_cast<COLORREF>(questionSet_->values().windowStringColor));
    DrawCounters(image);
    DrawOperationBox(image);
    if (state_ == PracticeState::Results) {
      DrawRates(image);
      DrawProgressIfKept(image, kProgressLeft, kProgressTop, kProgressChartHeight);
      DrawMissedRunHint(image, 15, 50);  // where the running screen shows the question
    } else {
      DrawQuestionRows(image);
    }
  }
  if (state_ == PracticeState::Countdown) {
    if (IsHiraganaMode()) DrawRule(image, 90);
    // The digit is drawn in the image's own text colour, as it always was.
    image.SetFont(kBigDigitHeight);
    image.DrawString(FormatNumber(countdown_ + 1), (kWidth - 200) / 2, (kHeight - 200) / 2);
    image.RestoreFont();
  } else if (state_ == PracticeState::Running) {
    DrawRule(image, IsHiraganaMode() ? 90 : 65);
    image.DrawString(std::string(matcher_->AcceptedText()), 110, 120);
  }
}

// Four pieces around the edit box, so the box itself is never painted over.
void Typing2Window::Present(const CDrawSurface& image) const {
  image.BlitToWindow(0, 0, 640, 15, 0, 0);
  image.BlitToWindow(0, 15, 15, 25, 0, 15);
  image.BlitToWindow(620, 15, 15, 25, 620, 15);
  image.BlitToWindow(0, 40, 640, 260, 0, 40);
}

void Typing2Window::DrawOperationBox(CDrawSurface& image) const {
  const Colour colour = questionSet_->values().windowStringColor;
  image.SetFont(kOperationFontHeight);
  SelectObject(image.GetMemoryDC(), GetStockObject(HOLLOW_BRUSH));
  image.DrawRect(500, 150, 110, 120, colour, 1, PS_SOLID);
  image.DrawString("　　操作方法", 505, 155);
  image.DrawString("問題確定：Enter", 505, 185);
  image.DrawString("タイトル：F5", 505, 200);
  image.DrawString("問題一覧：ESC", 505, 215);
  image.RestoreFont();
}

void Typing2Window::DrawQuestionRows(CDrawSurface& image) const {
  image.DrawString("問題文", 15, 45);
  image.DrawString(SecondRowLabel(), 15, 70);
  image.DrawString("ローマ字", 15, 95);
  image.DrawString("打った文字", 15, 120);
  if (state_ != PracticeState::Running) return;
  const Question& question = matcher_->question();
  image.DrawString(question.text, 110, 45);
  image.DrawString(IsHiraganaMode() ? std::string(matcher_->Target()) : question.reading, 110, 70);
  image.DrawString(question.romaji, 110, 95);
}

void Typing2Window::DrawRates(CDrawSurface& image) const {
  const int typedKeys = matcher_->counters().typedKeys;
  const std::uint32_t elapsed = stopwatch_->ElapsedMs();
  image.DrawString("一秒あたりの打数", 15, 95);
  image.DrawString(KeystrokesPerSecondText(typedKeys, elapsed), 300, 95);
  image.DrawString("一打あたりの時間", 15, 120);
  image.DrawString(TimePerKeystrokeText(typedKeys, elapsed), 300, 120);
}

void Typing2Window::DrawRule(CDrawSurface& image, int y) const {
  SelectObject(image.GetMemoryDC(), GetStockObject(HOLLOW_BRUSH));
  image.DrawRect(15, y, 1, kWidth - 30, questionSet_->values().windowStringColor, 1, PS_SOLID);
}

}  // namespace kanaflow
