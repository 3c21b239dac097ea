// The profile reader and writer on any bytes. The input is a section name, a
// key name and a value (FuzzedDataProvider strings, each ended by a
// backslash and another character), then the file's text.
//
// Reading never fails and gives at most 254 bytes, the default only for an
// absent key. After SetString the key reads back the value as a reader gives
// it (blanks and one pair of quotes dropped, cut to 254 bytes at a character
// boundary), and every other key of the file reads as before.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "platform/profile_text.h"
#include "support/fuzz_support.h"

namespace kanaflow::fuzz {
namespace {

constexpr std::size_t kMaxNames = 10;  // per kind: every pair is read twice per input

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string AsRead(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(cp932::CutToFit(value, ProfileText::kMaxValueBytes));
}

bool SameName(std::string_view a, std::string_view b) { return cp932::EqualIgnoringAsciiCase(Trim(a), Trim(b)); }

void AddName(std::vector<std::string>& names, std::string_view name) {
  if (names.size() < kMaxNames) names.emplace_back(name);
}

// Names that lines of the file could give, found roughly: only candidates
// for reading, so a wrong guess costs nothing.
struct Names {
  std::vector<std::string> sections;
  std::vector<std::string> keys;
};

Names NamesIn(std::string_view text) {
  Names names;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(begin, end - begin));
    const std::size_t close = line.rfind(']');
    if (!line.empty() && line.front() == '[' && close != std::string_view::npos) {
      AddName(names.sections, line.substr(1, close - 1));
    } else if (!line.empty()) {
      AddName(names.keys, line.substr(0, line.find('=')));
    }
    begin = end + 1;
  }
  return names;
}

// Whether a key line can hold the pair at all: a line break would end the
// line, "=" in the key would end the key, a key line starting with "[" reads
// as a section, and a section name ending in half a character would swallow
// the "]" after it.
bool Storable(std::string_view section, std::string_view key, std::string_view value) {
  const auto hasLineBreak = [](std::string_view text) { return text.find_first_of("\r\n") != text.npos; };
  if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) return false;
  const std::string_view trimmedKey = Trim(key);
  if (trimmedKey.find('=') != std::string_view::npos || (!trimmedKey.empty() && trimmedKey.front() == '[')) {
    return false;
  }
  const std::string_view trimmedSection = Trim(section);
  if (trimmedSection.empty()) return true;
  const std::size_t last = cp932::PrevChar(trimmedSection, trimmedSection.size());
  return !(last + 1 == trimmedSection.size() && cp932::IsLeadByte(static_cast<unsigned char>(trimmedSection[last])));
}

struct Pair {
  std::string section;
  std::string key;
  std::optional<std::string> value;
};

std::vector<Pair> ReadAll(const ProfileText& profile, const Names& names) {
  std::vector<Pair> pairs;
  for (const std::string& section : names.sections) {
    for (const std::string& key : names.keys) {
      std::optional<std::string> value = profile.Find(section, key);
      FUZZ_CHECK(!value || value->size() <= ProfileText::kMaxValueBytes);
      const std::string got = profile.GetString(section, key, "default \t");
      FUZZ_CHECK(got == (value ? *value : std::string("default")));
      pairs.push_back({section, key, std::move(value)});
    }
  }
  return pairs;
}

}  // namespace
}  // namespace kanaflow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kanaflow;
  using namespace kanaflow::fuzz;
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(40);
  const std::string key = input.ConsumeRandomLengthString(40);
  const std::string value = input.ConsumeRandomLengthString(300);
  const std::string file = input.ConsumeRemainingBytesAsString();

  Names names = NamesIn(file);
  names.sections.push_back(section);
  names.keys.push_back(key);
  ProfileText profile(file);
  const std::vector<Pair> before = ReadAll(profile, names);

  profile.SetString(section, key, value);
  if (!Storable(section, key, value)) return 0;
  const std::optional<std::string> written = profile.Find(section, key);
  FUZZ_CHECK(written && *written == AsRead(value));
  for (const Pair& pair : before) {
    if (SameName(pair.section, section) && SameName(pair.key, key)) continue;
    FUZZ_CHECK(profile.Find(pair.section, pair.key) == pair.value);
  }
  return 0;
}
