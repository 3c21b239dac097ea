// The windows' scale, chosen once when the program starts.
#pragma once

namespace kanaflow {

// Reads WindowScale from ./Setting.ini. At 100 (or a value the setting does
// not know) nothing is declared and the system scales the program as it
// always has; otherwise the process declares itself aware of each screen's
// scale and the screens are drawn at the chosen one.
void StartWindowScale();

}  // namespace kanaflow
