#include "romaji/romaji_rules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/cp932.h"
#include "romaji/kana_tables.h"
#include "romaji/resolved_spellings.h"

namespace kanaflow {
namespace {

using namespace spellings;

// The two-byte character at `p`, or 0 for a single byte, the end, or a lead
// byte without a trail byte (at the end, or before the zero that ends the
// reading). Every table code has a non-zero trail byte, so 0 matches nothing.
inline std::uint16_t CodeAt(const char* p, const char* end) {
  if (end - p < 2) return 0;
  const auto lead = static_cast<unsigned char>(p[0]);
  const auto trail = static_cast<unsigned char>(p[1]);
  if (!cp932::IsLeadByte(lead) || trail == 0) return 0;
  return static_cast<std::uint16_t>(lead << 8 | trail);
}

bool SamePreferences(const SpellingPreferences& a, const SpellingPreferences& b) {
  return a.si == b.si && a.ti == b.ti && a.tu == b.tu && a.hu == b.hu && a.zi == b.zi && a.sya == b.sya &&
         a.syu == b.syu && a.syo == b.syo && a.jya == b.jya && a.jyu == b.jyu && a.jye == b.jye && a.jyo == b.jyo &&
         a.tya == b.tya && a.tyu == b.tyu && a.tyo == b.tyo && a.Komoji == b.Komoji;
}

// Loading converts every question with the same preferences, so the spellings
// for the last preferences seen are kept.
const ResolvedSpellings& SpellingsFor(const SpellingPreferences& preferences) {
  thread_local ResolvedSpellings resolved;
  thread_local SpellingPreferences resolvedFor;
  thread_local bool built = false;
  if (!built || !SamePreferences(resolvedFor, preferences)) {
    resolved.Build(preferences);
    resolvedFor = preferences;
    built = true;
  }
  return resolved;
}

// A unit starts at most kMaxRomajiBytes in and writes a doubled letter and
// a whole `text`, all before the limit is checked.
static_assert(kRomajiBufferBytes >= kMaxRomajiBytes + 1 + sizeof(Spelled::text), "room for a unit past the limit");

struct Spelt {
  const char* next;  // just after the last character the unit used
  char* out;
};

// The romaji of the unit that starts at `p` with the two-byte character `code`.
inline Spelt SpellUnit(const ResolvedSpellings::View& view, const char* p, const char* end, std::uint16_t code,
                       char* out) {
  if (!InRange(code)) return {p + kCodeBytes, WriteFarCharacter(code, out)};
  const Unit unit = FindUnit(view, p, end, code);
  return {unit.next, Write(*unit.spelled, unit.afterSokuon, out)};
}

// The katakana of every code with the lead byte 0x81 or 0x82, as the two
// bytes to write, indexed by (lead - 0x81) * 256 + trail. Every hiragana has
// one of these lead bytes (ぁ..ん and ゝゞ); any other code stays as it is.
constexpr unsigned kFirstKanaLead = 0x81;
using CodeBytes = std::array<char, 2>;

std::array<CodeBytes, 2 * 256> BuildKatakana() {
  std::array<CodeBytes, 2 * 256> katakana{};
  for (std::size_t i = 0; i < katakana.size(); ++i) {
    const std::uint16_t code = cp932::HiraganaToKatakana(static_cast<std::uint16_t>((kFirstKanaLead << 8) + i));
    katakana[i] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  }
  return katakana;
}

const std::array<CodeBytes, 2 * 256> kKatakana = BuildKatakana();

}  // namespace

std::string MakeKatakana(std::string_view reading) {
  std::string katakana(reading.size(), '\0');
  katakana.resize(static_cast<std::size_t>(WriteKatakana(reading, katakana.data()) - katakana.data()));
  return katakana;
}

std::string MakeRomaji(std::string_view reading, const SpellingPreferences& preferences) {
  char buffer[kRomajiBufferBytes];
  return std::string(buffer, WriteRomaji(reading, preferences, buffer));
}

char* WriteKatakana(std::string_view reading, char* out) {
  const char* p = reading.data();
  const char* const end = p + reading.size();
  while (p < end) {
    const auto byte = static_cast<unsigned char>(*p);
    const unsigned kanaLead = byte - kFirstKanaLead;
    if (kanaLead < 2 && end - p >= 2 && p[1] != '\0') {
      std::memcpy(out, kKatakana[kanaLead * 256 + static_cast<unsigned char>(p[1])].data(), 2);
      out += 2;
      p += 2;
    } else if (byte == 0) {
      break;
    } else if (CodeAt(p, end) != 0) {
      std::memcpy(out, p, 2);  // no hiragana lies under another lead byte
      out += 2;
      p += 2;
    } else {
      *out++ = *p++;  // a single byte, or a lone lead byte kept as it is
    }
  }
  return out;
}

char* WriteRomaji(std::string_view reading, const SpellingPreferences& preferences, char* out) {
  const ResolvedSpellings::View view = SpellingsFor(preferences).view();
  const char* p = reading.data();
  const char* const end = p + reading.size();
  char* const limit = out + kMaxRomajiBytes;
  while (p < end) {
    const auto byte = static_cast<unsigned char>(*p);
    char* const unitStart = out;
    if (!cp932::IsLeadByte(byte)) {
      if (byte == 0) break;
      *out++ = static_cast<char>(byte);
      ++p;
    } else if (end - p < 2 || p[1] == '\0') {
      break;  // a lone lead byte: half a character, nothing to spell
    } else {
      const auto code = static_cast<std::uint16_t>(byte << 8 | static_cast<unsigned char>(p[1]));
      const Spelt unit = SpellUnit(view, p, end, code, out);
      p = unit.next;
      out = unit.out;
    }
    if (out > limit) return unitStart;
  }
  return out;
}

std::size_t AppendKanaRomaji(std::string_view reading, std::size_t pos, std::string& romaji,
                             const SpellingPreferences& preferences) {
  const char* const end = reading.data() + reading.size();
  const std::uint16_t code = pos < reading.size() ? CodeAt(reading.data() + pos, end) : 0;
  if (code == 0) return pos;  // not a two-byte character: nothing to convert
  char buffer[16];
  const Spelt unit = SpellUnit(SpellingsFor(preferences).view(), reading.data() + pos, end, code, buffer);
  romaji.append(buffer, static_cast<std::size_t>(unit.out - buffer));
  return static_cast<std::size_t>(unit.next - reading.data()) - 2;
}

}  // namespace kanaflow
