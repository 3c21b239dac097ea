// The text of a private-profile (ini) file, read and changed the way the
// platform's GetPrivateProfileStringA and WritePrivateProfileStringA do it:
//
// - section and key names match without regard to (ASCII) case, and white
//   space around names and values is dropped;
// - only the first of two sections with the same name is read, and the first
//   of two equal keys in it;
// - a value loses one pair of surrounding quotes (" or ') and is cut to 254
//   bytes, at a character boundary;
// - the default is given only when the key is absent (a key line without "="
//   counts as absent), with its trailing blanks dropped;
// - writing replaces the key's line in place, appends a new key after the
//   last line of its section and a new section at the end of the file, and
//   keeps every other byte of the file as it was;
// - a UTF-8 byte order mark at the start of the file is passed over and kept.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kanaflow {

// The length of a UTF-8 byte order mark at the start of `text` (3), or 0.
// Editors that save "UTF-8 with BOM" put one before the first line of a
// Shift_JIS file; the ini and question readers pass over it.
std::size_t Utf8MarkLength(std::string_view text);

class ProfileText {
 public:
  static constexpr std::size_t kMaxValueBytes = 254;

  ProfileText() = default;
  explicit ProfileText(std::string bytes) : bytes_(std::move(bytes)) {}

  // The value of the key, or nullopt when the section or the key is absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // Where the key's value is read from, so that a message can point an
  // editor at it: the line (counted from 1) of the key line found as Find
  // finds it, even one without "=", or 0 when there is none.
  int KeyLineNumber(std::string_view section, std::string_view key) const;
  // The line of the first "[section]" header, or 0 when there is none.
  int SectionLineNumber(std::string_view section) const;

  // The value of the key, or the default when it is absent.
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  // Sets the key to `value`, creating the key and the section when absent.
  void SetString(std::string_view section, std::string_view key, std::string_view value);

  const std::string& bytes() const { return bytes_; }

  // Whether the bytes begin with a UTF-16 byte order mark. Such a file is
  // no Shift_JIS text: its keys read as absent, and it must not be written
  // into, or it would hold two encodings.
  static bool IsUtf16(std::string_view bytes);

 private:
  std::string bytes_;
};

}  // namespace kanaflow
