// Saving the settings cut off at every step. Each system call of the save
// fails in turn (creating the temporary file, each write, the flush, the
// close, the second name that keeps the old file, the replacement, and the
// kept file's rewriting and return), while every write is kept short, so
// that a file is half-written when a write fails. Each time Setting.ini is
// the old file or the new one, byte for byte, the save says whether it
// worked, and no temporary file is left beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_step_gate.h"
#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "settings/software_setting_data.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace kanaflow {
namespace {

using internal::FileStep;
using testing::TempFolder;

// Every write is cut to this many bytes, so a save takes many writes.
constexpr std::size_t kShortWrite = 16;

// Counts the steps of a save and fails the one numbered `failAt`.
class Interruption {
 public:
  explicit Interruption(int failAt) : previous_(internal::CurrentFileStepGate()) {
    failAt_ = failAt;
    steps_ = 0;
    internal::CurrentFileStepGate() = Gate;
  }
  ~Interruption() { internal::CurrentFileStepGate() = previous_; }
  Interruption(const Interruption&) = delete;
  Interruption& operator=(const Interruption&) = delete;

  int steps() const { return steps_; }

 private:
  static bool Gate(FileStep step, std::size_t& bytes) {
    if (step == FileStep::Write) bytes = std::min(bytes, kShortWrite);
    return steps_++ != failAt_;
  }

  static inline int failAt_ = -1;
  static inline int steps_ = 0;
  internal::FileStepGate previous_;
};

constexpr char kOldFile[] =
    "; Kanaflow の設定\r\n[Window]\r\nLeft=10\r\n\r\n[Setting]\r\nShowKeyboard=1\r\nDisablePlayMusic=1\r\n"
    "Character_si=1\r\n";

// The old file with the two changed values replaced in place and the keys it
// lacked added at the end of its section, in the order the record has them.
constexpr char kNewFile[] =
    "; Kanaflow の設定\r\n[Window]\r\nLeft=10\r\n\r\n[Setting]\r\nShowKeyboard=0\r\nDisablePlayMusic=1\r\n"
    "Character_si=0\r\n"
    "ShowFingerPosition=1\r\nShowNextTypeKey=1\r\nShowKeyString=1\r\nDisableImeControl=0\r\n"
    "DisableWindowVibration=0\r\n"
    "Character_sya=1\r\nCharacter_syu=1\r\nCharacter_syo=1\r\nCharacter_jya=2\r\nCharacter_jyu=2\r\n"
    "Character_jye=2\r\nCharacter_jyo=2\r\nCharacter_ti=1\r\nCharacter_tu=1\r\nCharacter_tya=1\r\n"
    "Character_tyu=1\r\nCharacter_tyo=1\r\nCharacter_hu=1\r\nCharacter_zi=1\r\nCharacter_Komoji=1\r\n";

// A first save makes the file with the section and every key.
constexpr char kFirstFile[] =
    "[Setting]\r\nShowKeyboard=0\r\nShowFingerPosition=1\r\nShowNextTypeKey=1\r\nShowKeyString=1\r\n"
    "DisableImeControl=0\r\nDisablePlayMusic=0\r\nDisableWindowVibration=0\r\n"
    "Character_si=0\r\nCharacter_sya=1\r\nCharacter_syu=1\r\nCharacter_syo=1\r\nCharacter_jya=2\r\n"
    "Character_jyu=2\r\nCharacter_jye=2\r\nCharacter_jyo=2\r\nCharacter_ti=1\r\nCharacter_tu=1\r\n"
    "Character_tya=1\r\nCharacter_tyu=1\r\nCharacter_tyo=1\r\nCharacter_hu=1\r\nCharacter_zi=1\r\n"
    "Character_Komoji=1\r\n";

struct Row {
  const char* name;
  std::optional<std::string> oldFile;  // nullopt: no Setting.ini yet
  std::string newFile;
};

struct Outcome {
  bool saved = false;
  int steps = 0;
  std::optional<std::string> file;
  std::vector<std::string> names;  // every entry of the folder
};

// One save in a fresh folder holding `oldFile`, with step `failAt` failing.
Outcome SaveInterruptedAt(const Row& row, int failAt) {
  TempFolder folder;
  const std::string path = folder.path() + "/Setting.ini";
  if (row.oldFile) folder.Write("Setting.ini", *row.oldFile);
  CSoftwareSettingData settings;
  settings.Load(path);
  settings.values().showKeyboard = false;
  settings.values().spelling.si = 0;

  Outcome outcome;
  {
    const Interruption interruption(failAt);
    outcome.saved = settings.Save(path);
    outcome.steps = interruption.steps();
  }
  outcome.file = ReadWholeFile(path);
  for (const FolderEntry& entry : ListFolder(folder.path())) outcome.names.push_back(entry.name);
  return outcome;
}

TEST(AtomicSaveTest, ASaveCutOffAtAnyStepLeavesTheOldFileOrTheNewOneWhole) {
  const Row rows[] = {
      {"an existing Setting.ini", std::string(kOldFile), kNewFile},
      {"no Setting.ini yet", std::nullopt, kFirstFile},
  };
  for (const Row& row : rows) {
    const std::vector<std::string> oldNames = row.oldFile ? std::vector<std::string>{"Setting.ini"}
                                                          : std::vector<std::string>{};
    int failAt = 0;
    for (;; ++failAt) {
      const Outcome outcome = SaveInterruptedAt(row, failAt);
      const std::string where = std::string(row.name) + ", step " + std::to_string(failAt) + " failing";
      if (outcome.saved) {
        EXPECT_EQ(outcome.file, row.newFile) << where;
        EXPECT_EQ(outcome.names, std::vector<std::string>{"Setting.ini"}) << where;
      } else {
        ASSERT_LT(failAt, outcome.steps) << where << ": failed with no step failing";
        EXPECT_EQ(outcome.file, row.oldFile) << where;
        EXPECT_EQ(outcome.names, oldNames) << where << ": a temporary file is left";
      }
      if (outcome.steps <= failAt) break;  // no step failed
    }
    // Create, a write per 16 bytes, flush, close and replace; for a file
    // that exists, the second name before the replacement and the kept file
    // reopened, written, flushed, closed and put back after it.
    const int writes = static_cast<int>((row.newFile.size() + kShortWrite - 1) / kShortWrite);
    EXPECT_EQ(failAt, row.oldFile ? 2 * writes + 9 : writes + 4) << row.name;
  }
}

// What a save cut short left behind, its temporary copy or the second name
// of the old file, goes at the next save; a file that the program did not
// make stays, whatever its name is like.
TEST(AtomicSaveTest, TheNextSaveRemovesLeftoversOfSavesCutShortAndNothingElse) {
  TempFolder folder;
  const std::string path = folder.Write("Setting.ini", "[Setting]\r\nShowKeyboard=1\r\n");
  const std::string ended = "4294967290";  // no process has this number
  for (const char* kind : {".new", ".keep"}) folder.Write("Setting.ini" + (kind + ended), "half a save");
  std::vector<std::string> names = {"Setting.ini.new",    "Setting.ini.newer",       "Setting.ini.new1.bak",
                                    "Setting.ini.new012", "Setting.ini.old" + ended, "Other.ini.new" + ended};
#ifndef _WIN32
  names.push_back("Setting.ini.new" + std::to_string(getppid()));  // a process that runs
#endif
  for (const std::string& name : names) folder.Write(name, "mine");

  ASSERT_TRUE(WriteProfileValue(path, "Setting", "ShowKeyboard", "0"));

  for (const std::string& name : names) EXPECT_EQ(folder.Read(name), "mine") << name;
  names.push_back("Setting.ini");
  std::vector<std::string> found;
  for (const FolderEntry& entry : ListFolder(folder.path())) found.push_back(entry.name);
  std::sort(found.begin(), found.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(found, names);
}

}  // namespace
}  // namespace kanaflow
