// MakeRomaji and MakeKatakana on any reading with any preferences: the first
// sixteen bytes pick the preferences, the rest is the reading.
//
// The romaji form is at most 253 bytes and fits the buffer the writing
// functions are documented to need; it depends only on the reading and the
// preferences (not on the preferences used before). The katakana form is as
// long as the reading up to its first zero byte, and is the reading with
// every hiragana replaced, as cp932::ToKatakana gives it. Every kana unit
// ends inside the reading.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/cp932.h"
#include "romaji/kana_tables.h"
#include "romaji/romaji_rules.h"
#include "support/fuzz_support.h"

namespace kanaflow::fuzz {
namespace {

// Written into heap buffers of exactly the documented size, so that a byte
// written past it is an AddressSanitizer finding.
void CheckWriters(std::string_view reading, const SpellingPreferences& preferences, const std::string& romaji,
                  const std::string& katakana) {
  const auto romajiBuffer = std::make_unique<char[]>(kRomajiBufferBytes);
  const char* romajiEnd = WriteRomaji(reading, preferences, romajiBuffer.get());
  FUZZ_CHECK(std::string_view(romajiBuffer.get(), static_cast<std::size_t>(romajiEnd - romajiBuffer.get())) == romaji);
  const auto katakanaBuffer = std::make_unique<char[]>(reading.size());
  const char* katakanaEnd = WriteKatakana(reading, katakanaBuffer.get());
  FUZZ_CHECK(std::string_view(katakanaBuffer.get(), static_cast<std::size_t>(katakanaEnd - katakanaBuffer.get())) ==
             katakana);
}

void CheckUnits(std::string_view reading, const SpellingPreferences& preferences) {
  for (std::size_t pos = 0; pos < reading.size(); pos = cp932::NextChar(reading, pos)) {
    std::string unit;
    const std::size_t last = AppendKanaRomaji(reading, pos, unit, preferences);
    FUZZ_CHECK(last >= pos && (last == pos || last + 2 <= reading.size()));
    FUZZ_CHECK(unit.size() <= 1 + kLongestSpelling);  // a doubled letter and one spelling
  }
}

}  // namespace
}  // namespace kanaflow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kanaflow;
  using namespace kanaflow::fuzz;
  const SpellingPreferences preferences = PreferencesFrom(data, size);
  const std::string_view reading = AfterPreferences(data, size);
  const std::string_view untilZero = reading.substr(0, reading.find('\0'));

  const std::string romaji = MakeRomaji(reading, preferences);
  FUZZ_CHECK(romaji.size() <= kMaxRomajiBytes);
  (void)MakeRomaji(reading, SpellingPreferences());
  FUZZ_CHECK(MakeRomaji(reading, preferences) == romaji);

  const std::string katakana = MakeKatakana(reading);
  FUZZ_CHECK(katakana.size() == untilZero.size());
  FUZZ_CHECK(katakana == cp932::ToKatakana(untilZero));

  CheckWriters(reading, preferences, romaji, katakana);
  CheckUnits(reading, preferences);
  return 0;
}
