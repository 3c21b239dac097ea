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
  // in the file ends the program and never returns here.
  virtual int Load(const std::string& path) = 0;

  // The value of `key` in `section`, or `defaultValue` when the key (or the
  // section, or the file) is absent; at most 254 bytes. The value "Error" is
  // fatal (0104) whatever the default: it is how a required key is written.
  std::string ReadValue(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  const std::string& path() const { return path_; }

 protected:
  // Stores the path (at most 254 bytes) and reads the file once, so the
  // record's keys come from one consistent copy of it.
  void OpenFile(const std::string& path);

 private:
  std::string path_;
  ProfileText profile_;
};

}  // namespace kanaflow
