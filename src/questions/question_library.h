// The question library: the question-set files under ./data, grouped into
// categories as the selection screen lists them, and the order of that list.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fatal_error.h"
#include "platform/question_set_path.h"
#include "questions/question_setting_data.h"

namespace kanaflow {

inline constexpr char kLibraryFolder[] = "./data";
inline constexpr char kTopCategoryName[] = "分類項目なし";

struct QuestionCategory {
  std::string folderPath;                    // "./data/" for the top category, "./data/<folder>" for the others
  std::string displayName;                   // "分類項目なし", or the folder's name
  std::vector<CMenuQuestionLoader> entries;  // one per set file, in library order of their paths
};

// Compares two CP932 paths in library order (see library_order.h):
// negative, 0 or positive.
int CompareLibraryPaths(std::string_view a, std::string_view b);

// Whether `name` is a question-set file name: it ends in ".ini", in any case.
bool IsQuestionSetFileName(std::string_view name);

// Scans the library at `root` (./data, relative to the current directory, for
// the program; a category's path is `root` + "/" + its folder) as the
// selection screen needs it: the top category while it holds a set, then every direct
// subfolder that holds at least one set, each with its sets loaded, both in
// library order. A bad set file ends the program with its fatal error (0102
// to 0104). Left out are a set whose path is longer than the practice
// screens are given (kQuestionSetPathBytes): read through its cut path it
// would be reported as missing its keys; and a set whose name does not lead
// to a regular file (a device such as data/COM1.ini on Windows), which is
// never opened. Empty
// when there is no library folder or no set in it; the screen then reports
// 0105.
std::vector<QuestionCategory> ScanQuestionLibrary(const std::string& root = kLibraryFolder);

// A set file that the library leaves out, and why.
struct LeftOutSet {
  enum class Reason { PathTooLong, NotAFile };
  std::string path;
  Reason reason = Reason::PathTooLong;
  bool operator==(const LeftOutSet& other) const { return path == other.path && reason == other.reason; }
};

// A set file whose loading raised a fatal error.
struct SetLoadFailure {
  std::string path;
  std::string folderPath;  // of the category the set belongs to
  FatalErrorReport report;
};

// The scan for the checker: the same categories, but a set that raises a
// fatal error is recorded and left out instead of ending the program. A
// folder whose set files all failed is still listed (with no entries), as the
// program would list it had they loaded.
struct CollectedLibrary {
  std::vector<QuestionCategory> categories;
  std::vector<SetLoadFailure> failures;  // in library order
  std::vector<LeftOutSet> leftOut;       // in the order found
};
CollectedLibrary ScanQuestionLibraryCollectingErrors(const std::string& root = kLibraryFolder);

// Runs `body` with a fatal-error handler that throws, and returns the report
// that ended it, or nullopt when it ran to the end. The handler in place
// before is restored either way.
std::optional<FatalErrorReport> CollectFatalError(const std::function<void()>& body);

}  // namespace kanaflow
