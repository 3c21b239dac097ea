// The batch converter of the romaji printer against MakeRomaji and
// MakeKatakana: the first sixteen bytes pick the preferences, the rest is a
// text of readings, one per line.
//
// Every line the converter takes is a plain line (well-formed, no zero byte,
// at most 253 bytes, ended by LF or CR LF) and its two forms are exactly
// those of the single-reading functions. It reads nothing past the text and
// writes nothing past the documented room: each is a heap block of exactly
// that size, so a stray byte is an AddressSanitizer finding.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "kanaflow-romaji/line_converter.h"
#include "platform/cp932.h"
#include "romaji/romaji_rules.h"
#include "support/fuzz_support.h"

namespace kanaflow::fuzz {
namespace {

struct Batch {
  std::unique_ptr<char[]> romaji = std::make_unique<char[]>(kLineBatchRomajiBytes);
  std::unique_ptr<char[]> katakana = std::make_unique<char[]>(kLineBatchKatakanaBytes);
  std::unique_ptr<CLineConverter::ConvertedLine[]> lines =
      std::make_unique<CLineConverter::ConvertedLine[]>(kLineBatchLines);
};

const char* AfterLineBreak(const char* lineBreak) { return lineBreak + (*lineBreak == '\r' ? 2 : 1); }

// Checks the `count` lines of one batch that starts at `line`; returns where
// the next batch starts.
const char* CheckBatch(const Batch& batch, std::size_t count, const char* line,
                       const SpellingPreferences& preferences) {
  const char* romaji = batch.romaji.get();
  const char* katakana = batch.katakana.get();
  for (std::size_t i = 0; i < count; ++i) {
    const CLineConverter::ConvertedLine& converted = batch.lines[i];
    const std::string_view reading(line, static_cast<std::size_t>(converted.readingEnd - line));
    FUZZ_CHECK(*converted.readingEnd == '\n' || (converted.readingEnd[0] == '\r' && converted.readingEnd[1] == '\n'));
    FUZZ_CHECK(reading.size() <= kMaxPlainLineBytes);
    FUZZ_CHECK(reading.find('\0') == std::string_view::npos && reading.find('\n') == std::string_view::npos);
    FUZZ_CHECK(cp932::IsWellFormed(reading));
    const std::string_view romajiForm(romaji, static_cast<std::size_t>(converted.romajiEnd - romaji));
    const std::string_view katakanaForm(katakana, static_cast<std::size_t>(converted.katakanaEnd - katakana));
    FUZZ_CHECK(romajiForm == MakeRomaji(reading, preferences));
    FUZZ_CHECK(katakanaForm == MakeKatakana(reading));
    romaji = converted.romajiEnd;
    katakana = converted.katakanaEnd;
    line = AfterLineBreak(converted.readingEnd);
  }
  return line;
}

}  // namespace
}  // namespace kanaflow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kanaflow;
  using namespace kanaflow::fuzz;
  const SpellingPreferences preferences = PreferencesFrom(data, size);
  // A heap block of exactly the text's size: a read past it is a finding.
  const std::string_view input = AfterPreferences(data, size);
  const auto text = std::make_unique<char[]>(input.size());
  if (!input.empty()) std::memcpy(text.get(), input.data(), input.size());
  const char* const end = text.get() + input.size();

  const CLineConverter converter(preferences);
  const Batch batch;
  const char* line = text.get();
  while (line < end) {
    const std::size_t count =
        converter.ConvertPlainLines(line, end, batch.romaji.get(), batch.katakana.get(), batch.lines.get());
    FUZZ_CHECK(count <= kLineBatchLines);
    if (count > 0) {
      line = CheckBatch(batch, count, line, preferences);
      continue;
    }
    // Not a plain line: the printer converts it alone and goes on after it.
    const void* lineFeed = std::memchr(line, '\n', static_cast<std::size_t>(end - line));
    if (lineFeed == nullptr) break;
    line = static_cast<const char*>(lineFeed) + 1;
  }
  return 0;
}
