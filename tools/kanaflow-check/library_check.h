// The whole check of a working folder: Setting.ini, the library scan and
// every set in it, each loaded with the program's own loaders while fatal
// errors are collected instead of ending the process.
#pragma once

#include "kanaflow-check/finding.h"

namespace kanaflow::check {

// Checks the working folder that is the current directory, as the program
// started there would read it.
CheckReport CheckWorkingFolder();

}  // namespace kanaflow::check
