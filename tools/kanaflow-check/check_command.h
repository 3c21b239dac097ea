// The command line of kanaflow-check: options in, text and exit code out.
// main.cpp only connects this to the process.
#pragma once

#include <string>
#include <vector>

namespace kanaflow::check {

struct CommandResult {
  std::string output;         // for standard output
  std::string errors;         // for standard error, CP932
  int exitCode = 0;           // 0 no error found, 1 errors found, 2 usage error
  bool outputIsUtf8 = false;  // UTF-8 (--utf8, --json), otherwise CP932
};

// `arguments` without the program name, CP932. Checks FOLDER (the current
// directory when none is given) and restores the current directory after.
CommandResult RunCheckCommand(const std::vector<std::string>& arguments);

}  // namespace kanaflow::check
