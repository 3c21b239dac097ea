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
  run.mode = ModeId();
  run.setPath = scene()->GetQuestionSetPath();
  run.title = questionSet_->values().title;
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

}  // namespace kanaflow
