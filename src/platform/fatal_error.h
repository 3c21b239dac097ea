// The numbered error box: the one way the program reports an error that
// stops it, and the non-fatal box of a picture that cannot be loaded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kanaflow {

inline constexpr char kProgramTitle[] = "Kanaflow Version 0.511";

// The error numbers, written with four digits in every text.
enum class FatalError {
  PictureNotLoaded = 100,     // 0100, not fatal
  QuestionFileNotOpened = 101,
  VersionOutOfRange = 102,
  VersionUnreadable = 103,
  SettingValueError = 104,
  NoQuestionSet = 105,
  QuestionCountOutOfRange = 106,
};

// What the box says: every line ends with a line feed except the last.
struct FatalErrorReport {
  int number = 0;  // 0 for a report without a number (the exception box)
  std::string text;
};

// Where the fatal path ends. The program shows a message box and exits with
// code 1; tools write the text to standard error; tests throw. A handler that
// returns is followed by exit(1), so no caller ever resumes after a report.
using FatalErrorHandler = void (*)(const FatalErrorReport& report);

// Installs `handler` and returns the one it replaces.
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);

// The fixed header block of an error number, every line ending with "\n".
std::string FatalErrorHeader(FatalError number);

// The whole text of the box: header, an empty line, "情報" and the
// information lines. It is cut at a character boundary to the 1019 bytes that
// the box's text buffer holds.
std::string FatalErrorText(FatalError number, const std::vector<std::string>& informationLines);

// Shows the box of `number` and ends the process with exit code 1.
[[noreturn]] void ReportFatalError(FatalError number, const std::vector<std::string>& informationLines);

// Shows a box with the given text, no number, and ends the process with code 1.
[[noreturn]] void ReportFatalText(const std::string& text);

// The information line that names the current directory, as every error box
// gives it: at most 253 bytes of the directory.
std::string CurrentDirectoryLine();

}  // namespace kanaflow
