#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "platform/text_encoding.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#endif
#endif

namespace kanaflow {
namespace {

using testing::TempFolder;

constexpr char kDefault[] = "<default>";

std::vector<std::string> EntryNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : ListFolder(folder)) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

// Keeps a file from being read by this process while it lives: another
// program holding it open without sharing on Windows, no read permission
// elsewhere. Root reads any file whatever its mode, so the capabilities that
// let it do so are dropped from the effective set meanwhile.
class UnreadableFile {
 public:
  explicit UnreadableFile(const std::string& path) : path_(path) {
#ifdef _WIN32
    if (_wsopen_s(&fd_, Cp932ToWide(path).c_str(), _O_RDONLY | _O_BINARY, _SH_DENYRW, _S_IREAD) != 0) fd_ = -1;
#else
    chmod(NativeName().c_str(), 0);
#ifdef __linux__
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    header_.pid = 0;
    if (syscall(SYS_capget, &header_, saved_) == 0) {
      __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
      const auto mask = static_cast<decltype(reduced[0].effective)>(CAP_TO_MASK(CAP_DAC_OVERRIDE) |
                                                                     CAP_TO_MASK(CAP_DAC_READ_SEARCH));
      reduced[0].effective &= ~mask;
      capabilitiesDropped_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
#endif
#endif
  }

  ~UnreadableFile() {
#ifdef _WIN32
    if (fd_ >= 0) _close(fd_);
#else
#ifdef __linux__
    if (capabilitiesDropped_) syscall(SYS_capset, &header_, saved_);
#endif
    chmod(NativeName().c_str(), 0644);
#endif
  }

  UnreadableFile(const UnreadableFile&) = delete;
  UnreadableFile& operator=(const UnreadableFile&) = delete;

 private:
#ifdef _WIN32
  int fd_ = -1;
#else
  // Test paths are ASCII here, so the CP932 path is the file name as it is.
  std::string NativeName() const { return path_; }
#ifdef __linux__
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool capabilitiesDropped_ = false;
#endif
#endif
  std::string path_;
};

TEST(ProfileFileTest, WhatIsNotThereReadsAsDefaults) {
  TempFolder temp;
  struct Row {
    const char* name;
    std::string path;
  } rows[] = {
      {"missing file", temp.path() + "/Setting.ini"},
      {"missing folder", temp.path() + "/none/Setting.ini"},
      {"empty file", temp.Write("Empty.ini", "")},
      {"folder", temp.MakeFolder("Folder.ini")},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReadProfileValue(row.path, "Setting", "ShowKeyboard", kDefault), kDefault) << "row: " << row.name;
    EXPECT_EQ(LoadProfileText(row.path).bytes(), "") << "row: " << row.name;
  }
  EXPECT_EQ(EntryNames(temp.path()), (std::vector<std::string>{"Empty.ini", "Folder.ini"}))
      << "reading creates nothing";
}

TEST(ProfileFileTest, ValuesAreReadFromTheFileBytes) {
  TempFolder temp;
  const std::string path = temp.Write(
      "Setting.ini", "[Setting]\r\nShowKeyboard = \"0\" \r\nCharacter_si=\r\n[設定]\nキー=値\n[Long]\nA=" +
                         std::string(300, 'x'));
  struct Row {
    const char* name;
    const char* section;
    const char* key;
    std::string expected;
  } rows[] = {
      {"quoted value", "setting", "SHOWKEYBOARD", "0"},
      {"empty value", "Setting", "Character_si", ""},
      {"absent key", "Setting", "ShowKeyString", kDefault},
      {"Japanese names", "設定", "キー", "値"},
      {"long value without final line break", "Long", "A", std::string(254, 'x')},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ReadProfileValue(path, row.section, row.key, kDefault), row.expected) << "row: " << row.name;
  }
}

TEST(ProfileFileTest, WriteProfileValueCreatesOrChangesTheFile) {
  struct Row {
    const char* name;
    std::optional<std::string> before;  // nullopt: no file yet
    std::string after;
  } rows[] = {
      {"no file yet", std::nullopt, "[Setting]\r\nShowKeyboard=0\r\n"},
      {"empty file", std::string(), "[Setting]\r\nShowKeyboard=0\r\n"},
      {"value replaced, LF kept", std::string("; mine\n[Setting]\nShowKeyboard=1\nExtra=x\n\n[Other]\nA=1\n"),
       "; mine\n[Setting]\nShowKeyboard=0\nExtra=x\n\n[Other]\nA=1\n"},
      {"key added to its section", std::string("[Setting]\r\nExtra=x\r\n\r\n[Other]\r\nA=1"),
       "[Setting]\r\nExtra=x\r\nShowKeyboard=0\r\n\r\n[Other]\r\nA=1"},
      {"section added at the end", std::string("[Other]\r\nA=1"), "[Other]\r\nA=1\r\n[Setting]\r\nShowKeyboard=0\r\n"},
  };
  for (const Row& row : rows) {
    TempFolder temp;
    const std::string path = temp.path() + "/Setting.ini";
    if (row.before) temp.Write("Setting.ini", *row.before);
    EXPECT_TRUE(WriteProfileValue(path, "Setting", "ShowKeyboard", "0")) << "row: " << row.name;
    EXPECT_EQ(temp.Read("Setting.ini"), row.after) << "row: " << row.name;
    EXPECT_EQ(ReadProfileValue(path, "Setting", "ShowKeyboard", kDefault), "0") << "row: " << row.name;
  }
}

TEST(ProfileFileTest, KeysWrittenOneByOneMakeOneSection) {
  TempFolder temp;
  const std::string path = temp.path() + "/Setting.ini";
  for (const char* key : {"ShowKeyboard", "ShowFingerPosition", "Character_jya"}) {
    ASSERT_TRUE(WriteProfileValue(path, "Setting", key, "1")) << key;
  }
  ASSERT_TRUE(WriteProfileValue(path, "Setting", "Character_jya", "2"));
  EXPECT_EQ(temp.Read("Setting.ini"), "[Setting]\r\nShowKeyboard=1\r\nShowFingerPosition=1\r\nCharacter_jya=2\r\n");
}

TEST(ProfileFileTest, AFolderIsNeverWrittenOver) {
  TempFolder temp;
  const std::string path = temp.MakeFolder("Setting.ini");
  temp.Write("Setting.ini/inside.txt", "kept");

  EXPECT_FALSE(LoadProfileTextForUpdate(path).has_value()) << "a folder cannot be read as a profile";
  EXPECT_FALSE(WriteProfileValue(path, "Setting", "ShowKeyboard", "0"));
  EXPECT_FALSE(SaveProfileText(path, ProfileText("[Setting]\r\nShowKeyboard=0\r\n")));

  EXPECT_TRUE(IsDirectory(path));
  EXPECT_EQ(temp.Read("Setting.ini/inside.txt"), "kept");
  EXPECT_EQ(EntryNames(temp.path()), std::vector<std::string>{"Setting.ini"}) << "no temporary file left";
  EXPECT_EQ(EntryNames(path), std::vector<std::string>{"inside.txt"});
}

TEST(ProfileFileTest, AFileThatCannotBeReadIsNeverWrittenOver) {
  TempFolder temp;
  const std::string before = "[Setting]\r\nShowKeyboard=1\r\n[Mine]\r\nA=1\r\n";
  const std::string path = temp.Write("Setting.ini", before);
  {
    UnreadableFile unreadable(path);
    if (ReadWholeFile(path)) GTEST_SKIP() << "this process reads files whatever their permissions";
    EXPECT_FALSE(LoadProfileTextForUpdate(path).has_value());
    EXPECT_FALSE(WriteProfileValue(path, "Setting", "ShowKeyboard", "0"));
    EXPECT_EQ(ReadProfileValue(path, "Setting", "ShowKeyboard", kDefault), kDefault)
        << "an unreadable file reads as absent";
  }
  EXPECT_EQ(temp.Read("Setting.ini"), before);
  EXPECT_EQ(EntryNames(temp.path()), std::vector<std::string>{"Setting.ini"}) << "no temporary file left";
}

namespace fs = std::filesystem;

TEST(ProfileFileTest, AReadOnlyFileIsNeverWrittenOver) {
  TempFolder temp;
  const std::string before = "[Setting]\r\nShowKeyboard=1\r\n";
  const std::string path = temp.Write("Setting.ini", before);
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(path, readOnly);
  const fs::perms marked = fs::status(path).permissions();

  EXPECT_FALSE(WriteProfileValue(path, "Setting", "ShowKeyboard", "0"));
  EXPECT_FALSE(SaveProfileText(path, ProfileText("[Setting]\r\nShowKeyboard=0\r\n")));

  EXPECT_EQ(temp.Read("Setting.ini"), before);
  EXPECT_EQ(fs::status(path).permissions(), marked) << "the read-only mark stays";
  EXPECT_EQ(EntryNames(temp.path()), std::vector<std::string>{"Setting.ini"}) << "no temporary file left";
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);  // so the folder can be removed
}

TEST(ProfileFileTest, ALinkedFileIsWrittenWhereTheLinkPoints) {
  TempFolder temp;
  const std::string target = temp.Write("real/Setting.ini", "[Setting]\r\nShowKeyboard=1\r\n");
  const std::string link = temp.path() + "/Setting.ini";
  std::error_code error;
  fs::create_symlink("real/Setting.ini", link, error);
  if (error) GTEST_SKIP() << "symbolic links cannot be made here (Wine does not implement them): " << error.message();
#ifndef _WIN32
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
  const fs::perms before = fs::status(target).permissions();

  ASSERT_TRUE(WriteProfileValue(link, "Setting", "ShowKeyboard", "0"));

  EXPECT_TRUE(fs::is_symlink(link)) << "the link is still a link";
  EXPECT_EQ(fs::read_symlink(link), fs::path("real/Setting.ini"));
  EXPECT_EQ(temp.Read("real/Setting.ini"), "[Setting]\r\nShowKeyboard=0\r\n");
  EXPECT_EQ(fs::status(target).permissions(), before) << "the target keeps its permissions";
  EXPECT_EQ(EntryNames(temp.path() + "/real"), std::vector<std::string>{"Setting.ini"}) << "no temporary file left";
}

TEST(ProfileFileTest, SavingLeavesNoTemporaryFiles) {
  TempFolder temp;
  const std::string path = temp.path() + "/Setting.ini";
  ASSERT_TRUE(WriteProfileValue(path, "Setting", "ShowKeyboard", "1"));
  ASSERT_TRUE(WriteProfileValue(path, "Setting", "ShowKeyboard", "0"));
  ASSERT_TRUE(WriteProfileValue(path, "Other", "A", std::string(1000, 'a')));
  ASSERT_TRUE(SaveProfileText(path, ProfileText("[Setting]\r\nShowKeyboard=1\r\n")));
  EXPECT_FALSE(WriteProfileValue(temp.path() + "/none/Setting.ini", "Setting", "ShowKeyboard", "1"))
      << "a missing folder is not made";
  EXPECT_EQ(EntryNames(temp.path()), std::vector<std::string>{"Setting.ini"});
  EXPECT_EQ(temp.Read("Setting.ini"), "[Setting]\r\nShowKeyboard=1\r\n");
}

// An ini file is read to its first MiB and no further, whatever its size:
// keys past the limit, and the key whose line the limit cuts, are absent. A
// file of a gigabyte (sparse: its middle is a hole) loads at once, and a
// Setting.ini longer than the limit is never saved into, which would cut it.
TEST(ProfileFileTest, IniFilesAreReadToTheirFirstMebibyteAndNoFurther) {
  TempFolder temp;
  const std::string head = "[Setting]\r\nFirst=1\r\n;" + std::string(kMaxProfileBytes - 30, 'x');  // 10 short
  const struct Row {
    std::string tail;                 // after the head
    bool gigabyte;                    // then a hole to 1 GiB and "Last=6"
    std::optional<std::string> last;  // the value of Last as read
  } rows[] = {{"\nLast=3\r\n", false, "3"},
              {"\rLast=3\r", false, "3"},  // lone CR line ends
              {"\r\nLast=4567", false, std::nullopt},
              {"\r\n", true, std::nullopt}};
  for (const Row& row : rows) {
    const std::string path = temp.Write("Setting.ini", head + row.tail);
    if (row.gigabyte) {
      std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
      std::ofstream(path, std::ios::binary | std::ios::app) << "Last=6\r\n";
    }
    const auto start = std::chrono::steady_clock::now();
    const ProfileText text = LoadProfileText(path);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500)) << row.tail;
    EXPECT_EQ(text.Find("Setting", "First"), "1") << row.tail;
    EXPECT_EQ(text.Find("Setting", "Last"), row.last) << row.tail;
    EXPECT_EQ(WriteProfileValue(path, "Setting", "First", "0"), row.last.has_value()) << row.tail;
  }
}

TEST(ProfileFileTest, JapaneseFolderNamesWork) {
  // 表 and ソ end in 0x5C, the byte of a backslash; ｶﾅ are one-byte kana.
  for (const char* folder : {"設定", "表示ソフト", "ｶﾅ", "データ/問題集"}) {
    TempFolder temp;
    const std::string relative = std::string(folder) + "/Setting.ini";
    const std::string path = temp.Write(relative, "[Setting]\r\nShowKeyboard=1\r\n");
    const std::string folderPath = temp.path() + "/" + folder;

    EXPECT_EQ(ReadProfileValue(path, "Setting", "ShowKeyboard", kDefault), "1") << "folder: " << folder;
    EXPECT_TRUE(WriteProfileValue(path, "Setting", "ShowKeyboard", "0")) << "folder: " << folder;
    EXPECT_EQ(temp.Read(relative), "[Setting]\r\nShowKeyboard=0\r\n") << "folder: " << folder;
    EXPECT_TRUE(WriteProfileValue(folderPath + "/新規.ini", "設定", "キー", "値")) << "folder: " << folder;
    EXPECT_EQ(temp.Read(std::string(folder) + "/新規.ini"), "[設定]\r\nキー=値\r\n") << "folder: " << folder;
    EXPECT_EQ(EntryNames(folderPath), (std::vector<std::string>{"Setting.ini", "新規.ini"})) << "folder: " << folder;
  }
}

}  // namespace
}  // namespace kanaflow
