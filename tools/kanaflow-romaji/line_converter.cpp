#include "kanaflow-romaji/line_converter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/cp932.h"
#include "romaji/resolved_spellings.h"

namespace kanaflow {

using namespace spellings;

struct CLineConverter::Tables {
  ResolvedSpellings spellings;
};

namespace {

// Where the walk is. The romaji of the last unit stays open while that unit
// is a kana alone: a small kana after it that forms a combination with it
// replaces it with the combination's spelling. That is what looking ahead
// from the kana, as WriteRomaji does, would have chosen, and it spares the
// look ahead at every other character.
struct Walk {
  const char* p;
  char* romaji;
  char* katakana;
  char* kanaStart;           // where the open kana's romaji starts
  std::uint8_t kanaRow = 0;  // its combinations; 0 when none is open
};

// Writes the plain characters from `walk.p` on, nearly every character of a
// reading, and stops on the first other one or at `stop`. Works on locals so
// that they stay in registers while the output is written.
inline void WritePlainRun(const CodeSpelling* codes, const char* stop, Walk& walk) {
  const char* p = walk.p;
  char* romaji = walk.romaji;
  char* katakana = walk.katakana;
  char* kanaStart = walk.kanaStart;
  std::uint8_t kanaRow = walk.kanaRow;
  while (p < stop) {
    // One unsigned test for the range: codes below it wrap around past it.
    const auto index = static_cast<std::uint16_t>(TwoBytesAt(p) - kFirstCode);
    if (index >= kCodeCount || !codes[index].plain) break;
    const CodeSpelling& entry = codes[index];
    kanaStart = romaji;
    kanaRow = entry.combinationRow;
    std::memcpy(romaji, entry.alone.text, sizeof entry.alone.text);
    romaji += entry.alone.length;
    std::memcpy(katakana, entry.alone.katakana, kCodeBytes);
    katakana += kCodeBytes;
    p += kCodeBytes;
  }
  walk = {p, romaji, katakana, kanaStart, kanaRow};
}

// A small kana: it joins the open kana when the two form a combination, and
// stands alone otherwise.
void WriteSmallKana(const ResolvedSpellings::View& view, const CodeSpelling& entry, std::uint8_t kanaRow,
                    Walk& walk) {
  const CombinationSpelling& combination = view.combinations[kanaRow * kGridWidth + entry.smallKanaSlot];
  if (combination.present) {
    walk.romaji = Write(combination.spelled, false, walk.kanaStart);
  } else {
    walk.romaji = Write(entry.alone, false, walk.romaji);
  }
  std::memcpy(walk.katakana, entry.alone.katakana, kCodeBytes);
  walk.katakana += kCodeBytes;
  walk.p += kCodeBytes;
}

enum class Step { Written, LineBreak, NotPlain };

// The character at `walk.p` when it is no plain one: a line break, a single
// byte, a small kana, a っ with what it joins, or a character out of the
// kept range. Leaves `walk.p` on a line break.
Step WriteOther(const ResolvedSpellings::View& view, const char* textEnd, Walk& walk) {
  const std::uint16_t bytes = TwoBytesAt(walk.p);
  const auto first = static_cast<unsigned char>(bytes >> 8);
  const auto second = static_cast<unsigned char>(bytes & 0xFF);
  const std::uint8_t kanaRow = std::exchange(walk.kanaRow, std::uint8_t{0});
  if (!cp932::IsLeadByte(first)) {
    if (first == '\n' || (first == '\r' && second == '\n')) return Step::LineBreak;
    // A zero byte would end the reading inside the line.
    if (first == 0 || cp932::IsUnassignedByte(first)) return Step::NotPlain;
    *walk.romaji++ = static_cast<char>(first);
    *walk.katakana++ = static_cast<char>(first);
    ++walk.p;
    return Step::Written;
  }
  if (!cp932::IsTrailByte(second)) return Step::NotPlain;
  if (!InRange(bytes)) {
    walk.romaji = WriteFarCharacter(bytes, walk.romaji);
    std::memcpy(walk.katakana, walk.p, kCodeBytes);  // no hiragana lies out of the range
    walk.katakana += kCodeBytes;
    walk.p += kCodeBytes;
    return Step::Written;
  }
  const CodeSpelling& entry = view.Code(bytes);
  if (entry.smallKanaSlot != 0) {
    WriteSmallKana(view, entry, kanaRow, walk);
    return Step::Written;
  }
  // っ: the unit it starts is found by looking ahead and written whole.
  const Unit unit = FindUnit(view, walk.p, textEnd, bytes);
  walk.romaji = Write(*unit.spelled, unit.afterSokuon, walk.romaji);
  walk.katakana = WriteKatakanaOf(*unit.spelled, unit.afterSokuon, walk.katakana);
  walk.p = unit.next;
  return Step::Written;
}

}  // namespace

CLineConverter::CLineConverter(const SpellingPreferences& preferences) : tables_(std::make_unique<Tables>()) {
  tables_->spellings.Build(preferences);
}

CLineConverter::~CLineConverter() = default;

std::size_t CLineConverter::ConvertPlainLines(const char* text, const char* textEnd, char* romaji, char* katakana,
                                              ConvertedLine* lines) const {
  const auto left = static_cast<std::size_t>(textEnd - text);
  if (left <= kLineLookahead) return 0;
  // No character starts at or past `stop`, so nothing is read past textEnd
  // and the forms stay within their room.
  const char* const stop = text + std::min(left - kLineLookahead, kLineBatchBytes);
  const ResolvedSpellings::View view = tables_->spellings.view();
  Walk walk{text, romaji, katakana, romaji};
  const char* lineStart = text;
  const char* romajiStart = romaji;
  std::size_t count = 0;
  while (count < kLineBatchLines) {
    WritePlainRun(view.codes, stop, walk);
    if (walk.p >= stop) break;
    const char* const lineBreak = walk.p;
    const Step step = WriteOther(view, textEnd, walk);
    if (step == Step::NotPlain) break;
    if (step == Step::Written) continue;
    // Units only ever append, so a romaji form that fits is the whole form.
    if (static_cast<std::size_t>(lineBreak - lineStart) > kMaxPlainLineBytes ||
        static_cast<std::size_t>(walk.romaji - romajiStart) > kMaxRomajiBytes) {
      break;
    }
    lines[count++] = {lineBreak, walk.romaji, walk.katakana};
    walk.p = lineBreak + (*lineBreak == '\n' ? 1 : 2);
    lineStart = walk.p;
    romajiStart = walk.romaji;
  }
  return count;
}

}  // namespace kanaflow
