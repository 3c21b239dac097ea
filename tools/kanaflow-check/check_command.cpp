#include "kanaflow-check/check_command.h"

#include <optional>

#include "common/option_parser.h"
#include "kanaflow-check/library_check.h"
#include "kanaflow-check/report_output.h"
#include "platform/file_system.h"

namespace kanaflow::check {
namespace {

constexpr char kUsage[] =
    "usage: kanaflow-check [--utf8] [--json] [FOLDER]\n"
    "Checks the question library of a Kanaflow working folder (the folder that\n"
    "holds data/ and Setting.ini; the current folder when none is given) and\n"
    "reports what would end the program or trouble a learner, one finding a\n"
    "line as FILE:LINE: error|warning: TEXT, with a summary of every set.\n"
    "  --utf8  write UTF-8 instead of Shift_JIS\n"
    "  --json  write one JSON object (always UTF-8)\n"
    "  --help  show this text\n"
    "Exit code: 0 no error, 1 errors found, 2 usage error.\n";

struct Options {
  bool utf8 = false;
  bool json = false;
  std::string folder = ".";
};

CommandResult UsageError(const std::string& message) { return {"", "kanaflow-check: " + message + "\n" + kUsage, 2}; }

// Enters the folder for the check and goes back afterwards.
class FolderVisit {
 public:
  explicit FolderVisit(const std::string& folder) : previous_(CurrentDirectory()) {
    entered_ = SetCurrentDirectoryTo(folder);
  }
  ~FolderVisit() {
    if (entered_) (void)SetCurrentDirectoryTo(previous_);
  }
  FolderVisit(const FolderVisit&) = delete;
  FolderVisit& operator=(const FolderVisit&) = delete;
  bool entered() const { return entered_; }

 private:
  std::string previous_;
  bool entered_ = false;
};

}  // namespace

CommandResult RunCheckCommand(const std::vector<std::string>& arguments) {
  const tools::ParsedCommandLine line = tools::ParseCommandLine(arguments, {{"--utf8", ""}, {"--json", ""}});
  if (line.help) return {kUsage, "", 0};
  if (line.error) return UsageError(*line.error);
  if (line.operands.size() > 1) return UsageError("more than one FOLDER");
  Options options;
  options.utf8 = line.Has("--utf8");
  options.json = line.Has("--json");
  if (!line.operands.empty()) options.folder = line.operands.front();
  const FolderVisit visit(options.folder);
  if (!visit.entered()) return UsageError("cannot enter folder '" + options.folder + "'");
  const CheckReport report = CheckWorkingFolder();
  CommandResult result;
  result.outputIsUtf8 = options.json || options.utf8;
  result.output = options.json ? FormatJson(report, options.folder) : FormatText(report, options.folder, options.utf8);
  result.exitCode = report.CountOf(Severity::Error) > 0 ? 1 : 0;
  return result;
}

}  // namespace kanaflow::check
