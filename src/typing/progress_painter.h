// Draws the progress that the results show with the records kept: this run
// against the best, the chart of the last runs, and the line that says when
// the run could not be recorded.
#pragma once

#include "draw/draw_surface.h"
#include "typing/results_progress.h"

namespace kanaflow {

struct ProgressColours {
  Colour text = 0;
  Colour thisRun = 0;  // the bar of the run just finished
};

inline constexpr int kProgressWidth = 225;

// The block at (left, top), kProgressWidth wide; `chartHeight` is the height
// of the chart box, the texts take 44 pixels more (58 when not recorded).
void DrawProgress(CDrawSurface& image, const ResultsProgress& results, int left, int top, int chartHeight,
                  const ProgressColours& colours);

// One line in the block's font.
void DrawSmallText(CDrawSurface& image, const std::string& text, int x, int y);

}  // namespace kanaflow
