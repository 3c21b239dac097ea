#include "questions/question_library.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "questions/library_order.h"

namespace kanaflow {
namespace {

// Puts `items` into library order as inserting them one by one in their
// present order would: each new item goes before the items equal to it.
template <typename T, typename PathOf>
void SortInLibraryOrder(std::vector<T>& items, PathOf pathOf) {
  // Reversed, a stable sort puts later items before earlier equal ones.
  std::reverse(items.begin(), items.end());
  std::stable_sort(items.begin(), items.end(),
                   [&pathOf](const T& a, const T& b) { return CompareLibraryNames(pathOf(a), pathOf(b)) < 0; });
}

struct CategoryFiles {
  std::string folderPath;
  std::string displayName;
  std::vector<std::string> setPaths;  // in library order
};

// The set files directly in `folder`, each named as `prefix` + file name.
// A folder that happens to be called "x.ini" is no set. A path too long for
// a record, or one that leads to a device, goes to `leftOut` instead.
std::vector<std::string> SetPathsIn(const std::string& folder, const std::string& prefix,
                                    std::vector<LeftOutSet>& leftOut) {
  std::vector<std::string> paths;
  for (const FolderEntry& entry : ListFolder(folder)) {
    if (entry.isDirectory || !IsQuestionSetFileName(entry.name)) continue;
    std::string path = prefix + entry.name;
    if (path.size() > kQuestionSetPathBytes) {
      leftOut.push_back({std::move(path), LeftOutSet::Reason::PathTooLong});
    } else if (!entry.isFile) {
      leftOut.push_back({std::move(path), LeftOutSet::Reason::NotAFile});
    } else {
      paths.push_back(std::move(path));
    }
  }
  SortInLibraryOrder(paths, [](const std::string& path) -> std::string_view { return path; });
  return paths;
}

// The categories of the library with their set files, before any is loaded.
// The top category is left out while it holds no set: otherwise a library
// whose sets are all in subfolders would open on an empty list and end the
// program with 0105.
std::vector<CategoryFiles> FindCategories(const std::string& root, std::vector<LeftOutSet>& leftOut) {
  std::vector<CategoryFiles> categories;
  const std::vector<FolderEntry> entries = ListFolder(root);
  if (entries.empty()) return categories;
  const std::string topPath = root + "/";
  CategoryFiles top{topPath, kTopCategoryName, SetPathsIn(root, topPath, leftOut)};
  if (!top.setPaths.empty()) categories.push_back(std::move(top));
  for (const FolderEntry& entry : entries) {
    if (!entry.isDirectory) continue;
    const std::string folderPath = topPath + entry.name;
    std::vector<std::string> setPaths = SetPathsIn(folderPath, folderPath + "/", leftOut);
    if (!setPaths.empty()) categories.push_back({folderPath, entry.name, std::move(setPaths)});
  }
  SortInLibraryOrder(categories, [](const CategoryFiles& c) -> std::string_view { return c.folderPath; });
  return categories;
}

struct FatalErrorThrown {
  FatalErrorReport report;
};

void ThrowFatalError(const FatalErrorReport& report) { throw FatalErrorThrown{report}; }

class ScopedFatalErrorHandler {
 public:
  explicit ScopedFatalErrorHandler(FatalErrorHandler handler) : previous_(SetFatalErrorHandler(handler)) {}
  ~ScopedFatalErrorHandler() { SetFatalErrorHandler(previous_); }
  ScopedFatalErrorHandler(const ScopedFatalErrorHandler&) = delete;
  ScopedFatalErrorHandler& operator=(const ScopedFatalErrorHandler&) = delete;

 private:
  FatalErrorHandler previous_;
};

}  // namespace

int CompareLibraryPaths(std::string_view a, std::string_view b) { return CompareLibraryNames(a, b); }

bool IsQuestionSetFileName(std::string_view name) {
  return name.size() >= 4 && cp932::EqualIgnoringAsciiCase(name.substr(name.size() - 4), ".ini");
}

std::vector<QuestionCategory> ScanQuestionLibrary(const std::string& root) {
  std::vector<QuestionCategory> categories;
  std::vector<LeftOutSet> leftOut;  // the screen has no place to tell of them
  for (CategoryFiles& files : FindCategories(root, leftOut)) {
    QuestionCategory category{std::move(files.folderPath), std::move(files.displayName), {}};
    category.entries.resize(files.setPaths.size());
    for (std::size_t i = 0; i < files.setPaths.size(); ++i) category.entries[i].Load(files.setPaths[i]);
    categories.push_back(std::move(category));
  }
  return categories;
}

CollectedLibrary ScanQuestionLibraryCollectingErrors(const std::string& root) {
  CollectedLibrary library;
  for (CategoryFiles& files : FindCategories(root, library.leftOut)) {
    QuestionCategory category{std::move(files.folderPath), std::move(files.displayName), {}};
    for (const std::string& path : files.setPaths) {
      CMenuQuestionLoader loader;
      if (auto failure = CollectFatalError([&] { loader.Load(path); })) {
        library.failures.push_back({path, category.folderPath, std::move(*failure)});
      } else {
        category.entries.push_back(std::move(loader));
      }
    }
    library.categories.push_back(std::move(category));
  }
  return library;
}

std::optional<FatalErrorReport> CollectFatalError(const std::function<void()>& body) {
  const ScopedFatalErrorHandler handler(ThrowFatalError);
  try {
    body();
  } catch (const FatalErrorThrown& thrown) {
    return thrown.report;
  }
  return std::nullopt;
}

}  // namespace kanaflow
