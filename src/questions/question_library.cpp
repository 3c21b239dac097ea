#include "questions/question_library.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/cp932.h"
#include "platform/file_system.h"

namespace kanaflow {
namespace {

// The library order is the order of the platform's lstrcmpA under the
// Japanese locale, a "word sort" in several passes:
//
// 1. Characters by their primary weight, over the whole string (a string
//    that is a prefix of the other comes first): symbols, then digits, then
//    letters without regard to case, then kana, kanji and anything else.
//    Hyphen and apostrophe carry no primary weight ("coop" and "co-op" stay
//    together), and control characters no weight at all.
// 2. Case: at the first letter whose case differs, lower case comes first.
// 3. Width: a full-width letter, digit or symbol has the primary weight of
//    its ASCII form; at the first difference the half-width one comes first.
// 4. Hyphens and apostrophes: the string without them, or with them later
//    in the string, comes first.
//
// What is not the platform's: symbols among themselves follow the order we
// know from its default table (below), and kana and kanji, half-width kana
// included, follow their CP932 codes rather than the gojūon order, which
// keeps hiragana before katakana before kanji. File and folder names of a
// question library are ordered the same way on every system.
constexpr std::string_view kSymbolOrder = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";

enum Group : std::uint32_t { kSymbols = 1, kDigits = 2, kLetters = 3, kOthers = 4 };

struct SortKey {
  std::vector<std::uint32_t> primary;
  std::vector<std::uint8_t> upperCase;                           // per primary weight: 1 for an upper-case letter
  std::vector<std::uint8_t> fullWidth;                           // per primary weight: 1 for a full-width form
  std::vector<std::pair<std::uint32_t, std::uint32_t>> special;  // (position, character)
};

constexpr std::uint32_t Weight(Group group, std::uint32_t value) { return group << 16 | value; }

// Adds one ASCII character: a hyphen or apostrophe to the last pass only, a
// control character not at all.
void AddAscii(SortKey& key, unsigned char c, bool fullWidth) {
  if (c == '-' || c == '\'') {
    key.special.emplace_back(static_cast<std::uint32_t>(key.primary.size()), c);
    return;
  }
  std::uint32_t weight = 0;
  bool upper = false;
  if (c >= '0' && c <= '9') {
    weight = Weight(kDigits, c);
  } else if (c >= 'a' && c <= 'z') {
    weight = Weight(kLetters, c);
  } else if (c >= 'A' && c <= 'Z') {
    weight = Weight(kLetters, c - 'A' + 'a');
    upper = true;
  } else if (const std::size_t at = kSymbolOrder.find(static_cast<char>(c)); at != std::string_view::npos) {
    weight = Weight(kSymbols, static_cast<std::uint32_t>(at));
  } else {
    return;  // control characters are ignored
  }
  key.primary.push_back(weight);
  key.upperCase.push_back(upper ? 1 : 0);
  key.fullWidth.push_back(fullWidth ? 1 : 0);
}

void AddOther(SortKey& key, std::uint32_t code) {
  key.primary.push_back(Weight(kOthers, code));
  key.upperCase.push_back(0);
  key.fullWidth.push_back(0);
}

SortKey MakeSortKey(std::string_view text) {
  SortKey key;
  key.primary.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); pos = cp932::NextChar(text, pos)) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte == 0) break;  // the end of a C string
    if (byte < 0x80) {
      AddAscii(key, byte, false);
      continue;
    }
    const std::uint16_t code = cp932::DoubleByteCodeAt(text, pos);
    if (code == 0) {
      AddOther(key, byte);  // half-width kana, or a byte without a character
      continue;
    }
    const std::optional<unsigned char> halfWidth = cp932::HalfWidthForm(code);
    if (halfWidth && *halfWidth >= 0x20 && *halfWidth < 0x7F) {
      AddAscii(key, *halfWidth, true);
    } else {
      AddOther(key, code);
    }
  }
  return key;
}

template <typename T>
int CompareSequences(const std::vector<T>& a, const std::vector<T>& b) {
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end())) return -1;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end())) return 1;
  return 0;
}

int CompareKeys(const SortKey& a, const SortKey& b) {
  if (const int c = CompareSequences(a.primary, b.primary)) return c;
  if (const int c = CompareSequences(a.upperCase, b.upperCase)) return c;
  if (const int c = CompareSequences(a.fullWidth, b.fullWidth)) return c;
  return CompareSequences(a.special, b.special);
}

// Puts `items` into library order as inserting them one by one in their
// present order would: each new item goes before the items equal to it.
template <typename T, typename PathOf>
void SortInLibraryOrder(std::vector<T>& items, PathOf pathOf) {
  std::vector<std::pair<SortKey, T>> keyed;
  keyed.reserve(items.size());
  // Reversed, a stable sort puts later items before earlier equal ones.
  for (auto it = items.rbegin(); it != items.rend(); ++it) keyed.emplace_back(MakeSortKey(pathOf(*it)), std::move(*it));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return CompareKeys(a.first, b.first) < 0; });
  items.clear();
  for (auto& item : keyed) items.push_back(std::move(item.second));
}

struct CategoryFiles {
  std::string folderPath;
  std::string displayName;
  std::vector<std::string> setPaths;  // in library order
};

// The set files directly in `folder`, each named as `prefix` + file name.
// Only files: a folder that happens to be called "x.ini" is no set. A path
// too long for a record goes to `leftOut` instead.
std::vector<std::string> SetPathsIn(const std::string& folder, const std::string& prefix,
                                    std::vector<std::string>& leftOut) {
  std::vector<std::string> paths;
  for (const FolderEntry& entry : ListFolder(folder)) {
    if (entry.isDirectory || !IsQuestionSetFileName(entry.name)) continue;
    std::string path = prefix + entry.name;
    (path.size() <= kSettingPathBytes ? paths : leftOut).push_back(std::move(path));
  }
  SortInLibraryOrder(paths, [](const std::string& path) -> std::string_view { return path; });
  return paths;
}

// The categories of the library with their set files, before any is loaded.
// The top category is left out while it holds no set: otherwise a library
// whose sets are all in subfolders would open on an empty list and end the
// program with 0105.
std::vector<CategoryFiles> FindCategories(std::vector<std::string>& leftOut) {
  std::vector<CategoryFiles> categories;
  const std::vector<FolderEntry> entries = ListFolder(kLibraryFolder);
  if (entries.empty()) return categories;
  CategoryFiles top{kTopCategoryPath, kTopCategoryName, SetPathsIn(kLibraryFolder, kTopCategoryPath, leftOut)};
  if (!top.setPaths.empty()) categories.push_back(std::move(top));
  for (const FolderEntry& entry : entries) {
    if (!entry.isDirectory) continue;
    const std::string folderPath = kTopCategoryPath + entry.name;
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

int CompareLibraryPaths(std::string_view a, std::string_view b) { return CompareKeys(MakeSortKey(a), MakeSortKey(b)); }

bool IsQuestionSetFileName(std::string_view name) {
  return name.size() >= 4 && cp932::EqualIgnoringAsciiCase(name.substr(name.size() - 4), ".ini");
}

std::vector<QuestionCategory> ScanQuestionLibrary() {
  std::vector<QuestionCategory> categories;
  std::vector<std::string> leftOut;  // the screen has no place to tell of them
  for (CategoryFiles& files : FindCategories(leftOut)) {
    QuestionCategory category{std::move(files.folderPath), std::move(files.displayName), {}};
    category.entries.resize(files.setPaths.size());
    for (std::size_t i = 0; i < files.setPaths.size(); ++i) category.entries[i].Load(files.setPaths[i]);
    categories.push_back(std::move(category));
  }
  return categories;
}

CollectedLibrary ScanQuestionLibraryCollectingErrors() {
  CollectedLibrary library;
  for (CategoryFiles& files : FindCategories(library.leftOut)) {
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
