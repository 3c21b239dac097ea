// The base of every record read from a private-profile (ini) file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/profile_text.h"

namespace kanaflow {

// The longest file path a record holds; a longer one is cut, and the cut
// path names another file or none.
inline constexpr std::size_t kSettingPathBytes = 254;

class CSettingData {
 public:
  virtual ~CSettingData() = default;

  // Reads the record from the ini file at `path`; returns 0. A fatal error
  // in the file ends the program and never returns here. A file that cannot
  // be read reads as an empty one.
  int Load(const std::string& path);
  // The same, from `text`, the bytes of the file that `path` names: the
  // path names the file in error boxes and places the files named beside it.
  int LoadText(const std::string& path, std::string text);

  // The value of `key` in `section`, or `defaultValue` when the key (or the
  // section, or the file) is absent; at most 254 bytes. The value "Error" is
  // fatal (0104) whatever the default: it is how a required key is written.
  std::string ReadValue(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  const std::string& path() const { return path_; }

 private:
  // Reads the record's keys from the text that Load or LoadText stored.
  virtual int ReadRecord() = 0;

  std::string path_;  // at most 254 bytes, as the record keeps it
  ProfileText profile_;  // read once, so the keys come from one copy of the file
};

}  // namespace kanaflow
