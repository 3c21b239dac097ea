#include "support/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/fatal_error.h"

namespace kanaflow::fuzz {
namespace {

// The box's text buffer holds 1019 bytes and its terminating zero.
constexpr std::size_t kBoxTextBytes = 1019;

void ThrowReport(const FatalErrorReport& report) {
  FUZZ_CHECK(report.text.size() <= kBoxTextBytes);
  throw FatalReported{report.number};
}

}  // namespace

void Fail(const char* file, int line, const char* condition) {
  std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, condition);
  std::abort();
}

void ThrowOnFatalReports() {
  static const bool installed = (SetFatalErrorHandler(ThrowReport), true);
  (void)installed;
}

const ScratchFolder& ScratchFolder::Get() {
  static const ScratchFolder folder;
  return folder;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kanaflow-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) Fail(__FILE__, __LINE__, "mkdtemp");
  path_ = pattern;
  if (chdir(path_.c_str()) != 0) Fail(__FILE__, __LINE__, "chdir");
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(std::string_view relative, std::string_view bytes) const {
  const std::filesystem::path file = std::filesystem::path(path_) / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(out.flush());
  return "./" + std::string(relative);
}

SpellingPreferences PreferencesFrom(const std::uint8_t* data, std::size_t size) {
  std::int32_t values[kPreferenceBytes] = {};
  for (std::size_t i = 0; i < kPreferenceBytes && i < size; ++i) values[i] = static_cast<std::int8_t>(data[i]);
  SpellingPreferences p;
  std::int32_t* const fields[kPreferenceBytes] = {&p.si,  &p.ti,  &p.tu,  &p.hu,  &p.zi,  &p.sya,
                                                  &p.syu, &p.syo, &p.jya, &p.jyu, &p.jye, &p.jyo,
                                                  &p.tya, &p.tyu, &p.tyo, &p.Komoji};
  for (std::size_t i = 0; i < kPreferenceBytes; ++i) *fields[i] = values[i];
  return p;
}

}  // namespace kanaflow::fuzz
