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

#ifdef _WIN32
#include <windows.h>

#include "platform/text_encoding.h"
#else
#include <sys/stat.h>
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

// What makes a file itself, beyond its bytes: which file of the disk it is
// (the owner and the permissions, which Wine keeps in the Unix file, go
// with it) and how many names it has.
struct FileItself {
  unsigned long long volume = 0, index = 0;
  unsigned long links = 0;
  unsigned mode = 0, owner = 0, group = 0;  // Unix only
  bool operator==(const FileItself& other) const {
    return volume == other.volume && index == other.index && links == other.links && mode == other.mode &&
           owner == other.owner && group == other.group;
  }
};

FileItself ItselfOf(const std::string& path) {
  FileItself itself;
#ifdef _WIN32
  const HANDLE file = CreateFileW(Cp932ToWide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  BY_HANDLE_FILE_INFORMATION information{};
  if (file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &information)) {
    itself.volume = information.dwVolumeSerialNumber;
    itself.index = (static_cast<unsigned long long>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    itself.links = information.nNumberOfLinks;
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
#else
  struct stat information {};
  if (stat(path.c_str(), &information) == 0) {
    itself = {information.st_dev, information.st_ino, static_cast<unsigned long>(information.st_nlink),
              information.st_mode & 07777u, information.st_uid, information.st_gid};
  }
#endif
  return itself;
}

bool MakeHardLink(const std::string& existing, const std::string& name) {
#ifdef _WIN32
  return CreateHardLinkW(Cp932ToWide(name).c_str(), Cp932ToWide(existing).c_str(), nullptr) != 0;
#else
  return link(existing.c_str(), name.c_str()) == 0;
#endif
}

// A save writes into the file itself: a Setting.ini of mode 600, owned by
// another user (where this process may give it one), with a second name and
// lone CR line ends, is the same file after the save, with the same mode,
// owner and names, and its line ends are still lone CRs.
TEST(AtomicSaveTest, ASaveKeepsTheFileItselfAndItsLineEnds) {
  TempFolder folder;
  const std::string path = folder.Write("Setting.ini", "; mine\r[Setting]\rShowKeyboard=1\r");
  const std::string other = folder.path() + "/other-name.ini";
  ASSERT_TRUE(MakeHardLink(path, other));
#ifndef _WIN32
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  (void)!chown(path.c_str(), 4321, 4321);  // only root may; otherwise the owner is this process's
#endif
  const FileItself before = ItselfOf(path);
  ASSERT_EQ(before.links, 2u);

  CSoftwareSettingData settings;
  settings.Load(path);
  settings.values().showKeyboard = false;
  ASSERT_TRUE(settings.Save(path));

  EXPECT_EQ(ItselfOf(path), before);
  const std::string saved = ReadWholeFile(path).value_or("");
  const std::string start = "; mine\r[Setting]\rShowKeyboard=0\rShowFingerPosition=1\r";
  EXPECT_EQ(saved.substr(0, start.size()), start);
  EXPECT_EQ(saved.find('\n'), std::string::npos) << "no line gets a line feed";
  EXPECT_EQ(saved.back(), '\r');
  EXPECT_EQ(ReadWholeFile(other), saved) << "the other name is the same file";
  std::vector<std::string> names;
  for (const FolderEntry& entry : ListFolder(folder.path())) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Setting.ini", "other-name.ini"})) << "no temporary file left";
}

std::vector<std::string> SortedNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : ListFolder(folder)) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

unsigned long long ThisProcess() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long long>(getpid());
#endif
}

// What a save cut short left behind, its temporary copy or the second name
// of the old file, goes at the next save; a file that the program did not
// make stays, whatever its name is like.
TEST(AtomicSaveTest, TheNextSaveRemovesLeftoversOfSavesCutShortAndNothingElse) {
  TempFolder folder;
  const std::string path = folder.Write("Setting.ini", "[Setting]\r\nShowKeyboard=1\r\n");
  const std::string ended = "4294967290";  // no process has this number
  for (const std::string& name : {"Setting.ini.new" + ended, "Setting.ini.keep" + ended,
                                  "Setting.ini.new" + std::to_string(ThisProcess())}) {
    folder.Write(name, std::string(100000, 'x'));
  }
  std::vector<std::string> others = {"Setting.ini.new",    "Setting.ini.newer",    "Setting.ini.new12.bak",
                                     "Setting.ini.new012", "Setting.ini.keep",     "Setting.ini.old" + ended,
                                     "Setting.ini.new1x",  "Other.ini.new" + ended, "Setting.ini.new" + ended + "0"};
#ifndef _WIN32
  others.push_back("Setting.ini.new" + std::to_string(getppid()));  // a process that runs
#endif
  for (const std::string& name : others) folder.Write(name, "mine");
  folder.MakeFolder("Setting.ini.new77");
#ifndef _WIN32
  ASSERT_EQ(symlink("Setting.ini.newer", (folder.path() + "/Setting.ini.new78").c_str()), 0);
#endif

  ASSERT_TRUE(WriteProfileValue(path, "Setting", "ShowKeyboard", "0"));

  for (const std::string& name : others) EXPECT_EQ(folder.Read(name), "mine") << name;
  others.push_back("Setting.ini");
  others.push_back("Setting.ini.new77");
#ifndef _WIN32
  others.push_back("Setting.ini.new78");
#endif
  std::sort(others.begin(), others.end());
  EXPECT_EQ(SortedNames(folder.path()), others);
}

}  // namespace
}  // namespace kanaflow
