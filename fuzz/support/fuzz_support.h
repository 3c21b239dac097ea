// What the fuzz targets share: a failed invariant that libFuzzer reports as
// a finding, the fatal error reports turned into an exception the target
// catches, a scratch folder for the targets that read files, and spelling
// preferences taken from the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/spelling_preferences.h"

namespace kanaflow::fuzz {

// Prints what failed and aborts: libFuzzer keeps the input as a finding.
[[noreturn]] void Fail(const char* file, int line, const char* condition);

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::kanaflow::fuzz::Fail(__FILE__, __LINE__, #condition))

// A fatal error report: the program's answer to a file it cannot use, so an
// expected outcome for a fuzzed file. Deliberately not a std::exception, so
// that no handler of the code under test can take it for one of its own.
struct FatalReported {
  int number;
};

// Makes every fatal report throw FatalReported (once per process), after
// checking that the report's text fits the box's buffer.
void ThrowOnFatalReports();

// A folder of this process, removed when it exits normally, and made the
// current directory: the program opens its files by paths relative to its
// working folder ("./data/..."), and so do the targets. (Give libFuzzer an
// absolute -artifact_prefix.) Files written into it with Write() replace
// the ones of the previous input.
class ScratchFolder {
 public:
  static const ScratchFolder& Get();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }
  // "./relative" after writing `bytes` to it (its folders made first).
  std::string Write(std::string_view relative, std::string_view bytes) const;

 private:
  ScratchFolder();
  std::string path_;
};

// Sixteen preferences from the first bytes of the input, one byte each read
// as a signed value: 0, 1 and 2 are the values the setup dialog writes, the
// rest are values of a hand-edited Setting.ini. Missing bytes give 0.
SpellingPreferences PreferencesFrom(const std::uint8_t* data, std::size_t size);
inline constexpr std::size_t kPreferenceBytes = 16;
// The bytes of the input after its preference bytes (none when it is shorter).
inline std::string_view AfterPreferences(const std::uint8_t* data, std::size_t size) {
  const std::size_t skipped = size < kPreferenceBytes ? size : kPreferenceBytes;
  return {reinterpret_cast<const char*>(data) + skipped, size - skipped};
}

}  // namespace kanaflow::fuzz
