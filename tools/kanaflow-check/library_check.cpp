#include "kanaflow-check/library_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "kanaflow-check/device_names.h"
#include "kanaflow-check/fatal_findings.h"
#include "kanaflow-check/question_checks.h"
#include "kanaflow-check/set_checks.h"
#include "platform/file_system.h"
#include "platform/number_text.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"
#include "platform/text_encoding.h"
#include "questions/question_file.h"
#include "questions/question_library.h"
#include "questions/question_set.h"
#include "settings/software_setting_data.h"

namespace kanaflow::check {
namespace {

// The spelling preferences the practice screens would use; a fatal value
// in Setting.ini is reported and the defaults are used for the rest.
SpellingPreferences CheckSettings(std::vector<Finding>& findings) {
  CSoftwareSettingData settings;
  if (const auto failure = CollectFatalError([&] { settings.Load(kSettingFilePath); })) {
    findings.push_back(SettingsFailure(kSettingFilePath, LoadProfileText(kSettingFilePath).bytes(), *failure));
    return SpellingPreferences();
  }
  return settings.GetSpellingPreferences();
}

// A UTF-16 Setting.ini is not read (every value is its default) and the
// setup dialog refuses to save into it; so does a huge one, read only in part.
void CheckSettingsFile(std::vector<Finding>& findings) {
  if (const auto tooLarge =
          TooLargeIni(kSettingFilePath, ReadProfileFile(kSettingFilePath).value_or(ProfileFileBytes()).cut,
                      "; the setup dialog cannot save the settings into it")) {
    findings.push_back(*tooLarge);
  }
  if (!ProfileText::IsUtf16(ReadFileStart(kSettingFilePath, 2).value_or(""))) return;
  findings.push_back({kSettingFilePath, 0, Severity::Warning, "settings-utf16",
                      "the file is UTF-16 text: the program reads none of its values and cannot save the settings "
                      "into it; save it as Shift_JIS"});
}

void CheckLoadedSet(const SetFileText& text, CQuestionSet& set, const SpellingPreferences& preferences,
                    SetReport& report) {
  AddSetWarnings(text, set.setting(), report.findings);
  if (const auto failure = CollectFatalError([&] { set.LoadQuestions(preferences); })) {
    AddSetFailure(text, *failure, report.findings);
    return;
  }
  const QuestionFileBytes file = ReadQuestionFile(set.values().questionFileName).value_or(QuestionFileBytes());
  report.summary = Summarise(set);
  report.loaded = true;
  AddQuestionWarnings(text, set, file, preferences, report.summary, report.findings);
}

SetReport CheckSet(const std::string& path, const std::string& category, const SetLoadFailure* scanFailure,
                   const SpellingPreferences& preferences) {
  SetReport report;
  report.file = path;
  const SetFileText text(path);
  if (const auto tooLarge = TooLargeIni(path, text.cut())) report.findings.push_back(*tooLarge);
  if (scanFailure) {
    AddSetFailure(text, scanFailure->report, report.findings);
    return report;
  }
  std::optional<CQuestionSet> set;
  if (const auto failure = CollectFatalError([&] { set.emplace(path); })) {
    AddSetFailure(text, *failure, report.findings);
    return report;
  }
  CheckLoadedSet(text, *set, preferences, report);
  report.summary.file = path;
  report.summary.category = category;
  return report;
}

// The set files of a category, loaded or not, in library order.
struct ListedSet {
  std::string path;
  const SetLoadFailure* failure = nullptr;
};

std::vector<ListedSet> SetsOf(const QuestionCategory& category, const std::vector<SetLoadFailure>& failures) {
  std::vector<ListedSet> sets;
  for (const CMenuQuestionLoader& entry : category.entries) sets.push_back({entry.path(), nullptr});
  for (const SetLoadFailure& failure : failures) {
    if (failure.folderPath == category.folderPath) sets.push_back({failure.path, &failure});
  }
  std::stable_sort(sets.begin(), sets.end(),
                   [](const ListedSet& a, const ListedSet& b) { return CompareLibraryPaths(a.path, b.path) < 0; });
  return sets;
}

Finding NoQuestionSet() {
  const bool folder = IsDirectory(kLibraryFolder);
  return {kLibraryFolder, 0, Severity::Error, folder ? "no-question-set" : "no-data-folder",
          folder ? "no question set: no *.ini file directly in ./data or in a folder directly below it (error 0105)"
                 : "no ./data folder: the program finds no question set (error 0105)"};
}

Finding LeftOut(const LeftOutSet& set) {
  const std::string& path = set.path;
  if (set.reason == LeftOutSet::Reason::NotAFile) {
    return {path, 0, Severity::Warning, "set-left-out",
            "the name leads to no regular file (a device, a pipe, a link to nothing): the program never opens it and "
            "leaves the set out of the library"};
  }
  return {path, 0, Severity::Warning, "set-left-out",
          "the path is " + DecimalText(static_cast<std::int64_t>(path.size())) + " bytes long, more than the " +
              DecimalText(static_cast<std::int64_t>(kQuestionSetPathBytes)) +
              " the practice screens are given: the set is left out of the library (shorten the folder or file "
              "name)"};
}

// A UTF-8 name as the report can show it in CP932: each character that code
// page 932 cannot write (or writes as another, as 〜 U+301C becomes ～) is
// shown as its code, <U+301C>, and collected in `missing`.
std::string ShownName(std::string_view utf8, std::string& missing) {
  std::string shown;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::string_view character = utf8.substr(pos, length);
    pos += length;
    const std::optional<std::string> cp932 = Utf8ToCp932(character);
    if (cp932 && Cp932ToUtf8(*cp932) == character) {
      shown += *cp932;
      continue;
    }
    std::uint32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < character.size(); ++i) code = code << 6 | (static_cast<unsigned char>(character[i]) & 0x3F);
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    shown += "<" + std::string(text) + ">";
    if (missing.find(text) == std::string::npos) missing += (missing.empty() ? "" : " ") + std::string(text);
  }
  return shown;
}

// Set files (and folders) that the program never lists because code page 932
// cannot write their names; it says nothing of them, so the checker does.
void AddNamesWithoutCp932Form(std::vector<Finding>& findings) {
  const auto add = [&findings](const std::string& folder, const FolderEntry& entry) {
    if (!entry.isDirectory && !IsQuestionSetFileName(entry.name)) return;
    std::string missing;
    const std::string shown = ShownName(entry.name, missing);
    findings.push_back(
        {folder, 0, Severity::Warning, "set-left-out",
         "\"" + shown + "\": the name holds characters that Shift_JIS cannot write (" + missing + "), so the " +
             (entry.isDirectory ? "program cannot open the folder and leaves out every set in it"
                                : "program cannot open the file and leaves the set out") +
             " (use ～ U+FF5E for a wave dash, － U+FF0D for a minus sign)"});
  };
  for (const FolderEntry& entry : EntriesWithoutCp932Names(kLibraryFolder)) add(kLibraryFolder, entry);
  for (const FolderEntry& folder : ListFolder(kLibraryFolder)) {
    if (!folder.isDirectory) continue;
    const std::string path = std::string(kLibraryFolder) + "/" + folder.name;
    for (const FolderEntry& entry : EntriesWithoutCp932Names(path)) {
      if (!entry.isDirectory) add(path, entry);
    }
  }
}

// A set file that Linux reads but that Windows opens as a device.
void AddDeviceNamedSet(const std::string& path, std::vector<Finding>& findings) {
  const auto device = WindowsDeviceName(path);
  if (!device) return;
  findings.insert(findings.begin(), {path, 0, Severity::Warning, "set-left-out",
                      "on Windows the name " + *device +
                          " opens a device, not a file: the program leaves the set out of the library (rename the "
                          "file)"});
}

}  // namespace

int CheckReport::CountOf(Severity severity) const {
  auto count = std::count_if(general.begin(), general.end(), [&](const Finding& f) { return f.severity == severity; });
  for (const SetReport& set : sets) {
    count += std::count_if(set.findings.begin(), set.findings.end(),
                           [&](const Finding& f) { return f.severity == severity; });
  }
  return static_cast<int>(count);
}

CheckReport CheckWorkingFolder() {
  CheckReport report;
  const SpellingPreferences preferences = CheckSettings(report.general);
  CheckSettingsFile(report.general);
  const CollectedLibrary library = ScanQuestionLibraryCollectingErrors();
  for (const LeftOutSet& set : library.leftOut) report.general.push_back(LeftOut(set));
  AddNamesWithoutCp932Form(report.general);
  if (library.categories.empty()) report.general.push_back(NoQuestionSet());
  for (const QuestionCategory& category : library.categories) {
    for (const ListedSet& set : SetsOf(category, library.failures)) {
      report.sets.push_back(CheckSet(set.path, category.displayName, set.failure, preferences));
      AddDeviceNamedSet(set.path, report.sets.back().findings);
    }
  }
  return report;
}

}  // namespace kanaflow::check
