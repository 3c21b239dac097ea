// The records part of a practice screen: with KeepRecords on, a finished run
// goes into the records file and the results show the progress.
#include "app/scene.h"
#include "typing/records_file.h"
#include "typing/typing_window.h"

namespace kanaflow {

void CTypingWindow::KeepRecord() {
  if (!settings().keepRecords) return;
  const RunCounters& counters = runMatcher().counters();
  RunRecord run;
  run.dateTime = LocalDateTimeNow();
  run.mode = static_cast<int>(ModeId());
  run.setPath = (missedOnly_ ? kMissedRunPrefix : "") + scene()->GetQuestionSetPath();
  run.title = (missedOnly_ ? "ミスした問題：" : "") + questionSet_->values().title;
  run.questions = counters.questionsDone;
  run.keystrokes = counters.typedKeys;
  run.misses = counters.missCount;
  run.milliseconds = stopwatch_->ElapsedMs();
  run.points = runMatcher().points().points();
  run.flexibleInput = settings().flexibleInput;
  run.keys = RunKeyFigures();
  progress_ = RecordAndReadBack(kRecordsFilePath, std::move(run));
}

void CTypingWindow::DrawProgressIfKept(CDrawSurface& image, int left, int top, int chartHeight) const {
  if (!progress_) return;
  const QuestionSetValues& set = questionSet_->values();
  DrawProgress(image, *progress_, left, top, chartHeight, {set.windowStringColor, set.nextTypeKeyColor});
}

void CTypingWindow::NoteJudgement(MatchResult result) {
  if (result == MatchResult::Miss) missed_.Note(runMatcher().counters().currentQuestion);
}

bool CTypingWindow::OffersMissedRun() const { return settings().keepRecords && !missed_.empty(); }

void CTypingWindow::DrawMissedRunHint(CDrawSurface& image, int x, int y) const {
  if (OffersMissedRun()) DrawSmallText(image, "ミスした問題をもう一度：F2", x, y);
}

void CTypingWindow::StartMissedRun(HWND window) {
  // The scene deletes this object inside the show call: take what is needed
  // first and touch nothing afterwards.
  CScene* const scene = this->scene();
  const PracticeMode mode = ModeId();
  std::vector<int> indices = missed_.indices();
  DestroyWindow(window);
  scene->SetMode(mode);
  scene->SetQuestionSubset(std::move(indices));
  scene->ShowTypingScreen();
}

}  // namespace kanaflow
