// One question-set file as the checker reads it beside the program's own
// loader: its text, to find the line of a key and the value as written, and
// the keys the program reads from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kanaflow-check/finding.h"
#include "platform/profile_text.h"

namespace kanaflow::check {

// A key that the practice screen reads, and the first version that reads it.
struct SetKey {
  const char* name;
  int sinceVersion;
};

// Every key of the set file, in the order the program reads them.
const std::vector<SetKey>& SetKeys();

class SetFileText {
 public:
  // Reads the file at `path` as the program does (an empty text when it
  // cannot be read, its first kMaxProfileBytes when it is longer).
  explicit SetFileText(std::string path);

  const std::string& path() const { return path_; }
  // Whether the file goes on past what the program reads of it.
  bool cut() const { return cut_; }
  bool HasSection() const;
  // The value as the program reads it; nullopt when the key is absent.
  std::optional<std::string> Find(std::string_view key) const;
  int LineOf(std::string_view key) const;
  // The version the file declares, or nullopt when it is not 1 to 5.
  std::optional<int> Version() const;

  // A finding on the key's line.
  Finding At(std::string_view key, Severity severity, std::string code, std::string message) const;

 private:
  std::string path_;
  ProfileText profile_;
  bool cut_ = false;
};

// The warning for an ini file longer than the program reads; nullopt for
// one that it reads whole.
std::optional<Finding> TooLargeIni(const std::string& path, bool cut, std::string_view more = {});

}  // namespace kanaflow::check
