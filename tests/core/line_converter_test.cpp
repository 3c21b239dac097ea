#include "kanaflow-romaji/line_converter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/text_encoding.h"
#include "romaji/romaji_rules.h"

namespace kanaflow {
namespace {

using namespace std::string_literals;
using SP = SpellingPreferences;

// Lines are CP932; a failing one is named in UTF-8 so that it reads, or by
// its bytes when it is not CP932.
std::string Show(std::string_view cp932) {
  if (std::optional<std::string> utf8 = Cp932ToUtf8(cp932)) return *utf8;
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : cp932) {
    const auto byte = static_cast<unsigned char>(c);
    hex += {'\\', 'x', kDigits[byte >> 4], kDigits[byte & 0xF]};
  }
  return hex;
}

struct Forms {
  std::string reading;
  std::string romaji;
  std::string katakana;

  bool operator==(const Forms& other) const {
    return reading == other.reading && romaji == other.romaji && katakana == other.katakana;
  }
};

std::ostream& operator<<(std::ostream& out, const Forms& forms) {
  return out << Show(forms.reading) << " / " << forms.romaji << " / " << Show(forms.katakana);
}

// What the functions for single readings make of a line without its line
// break, the CR of a CR LF included.
Forms ExpectedForms(std::string_view line, const SpellingPreferences& preferences) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  char romaji[kRomajiBufferBytes];
  std::string katakana(line.size(), '\0');
  const char* romajiEnd = WriteRomaji(line, preferences, romaji);
  katakana.resize(static_cast<std::size_t>(WriteKatakana(line, katakana.data()) - katakana.data()));
  return {std::string(line), std::string(romaji, static_cast<std::size_t>(romajiEnd - romaji)), katakana};
}

// Converts `text` as a caller does, batch after batch, for as long as the
// converter takes lines. The text is followed by room to look ahead that
// ends no line: zero bytes.
struct Converted {
  std::vector<Forms> lines;
  std::size_t calls = 0;
};

Converted ConvertAll(const std::string& text, const CLineConverter& converter) {
  const std::string padded = text + std::string(kLineLookahead, '\0');
  const char* const textEnd = padded.data() + padded.size();
  std::vector<char> romaji(kLineBatchRomajiBytes);
  std::vector<char> katakana(kLineBatchKatakanaBytes);
  std::vector<CLineConverter::ConvertedLine> lines(kLineBatchLines);
  Converted converted;
  const char* line = padded.data();
  while (true) {
    const std::size_t count = converter.ConvertPlainLines(line, textEnd, romaji.data(), katakana.data(), lines.data());
    ++converted.calls;
    if (count == 0) break;
    const char* romajiStart = romaji.data();
    const char* katakanaStart = katakana.data();
    for (std::size_t i = 0; i < count; ++i) {
      converted.lines.push_back({std::string(line, lines[i].readingEnd), std::string(romajiStart, lines[i].romajiEnd),
                                 std::string(katakanaStart, lines[i].katakanaEnd)});
      line = lines[i].readingEnd + (*lines[i].readingEnd == '\r' ? 2 : 1);
      romajiStart = lines[i].romajiEnd;
      katakanaStart = lines[i].katakanaEnd;
    }
  }
  return converted;
}

Converted ConvertAll(const std::string& text, const SpellingPreferences& preferences = SP()) {
  return ConvertAll(text, CLineConverter(preferences));
}

TEST(LineConverterTest, ConvertsEachLineByTheRomajiRules) {
  const Forms rows[] = {
      {"しんぶん", "shinnbunn", "シンブン"},
      {"ちょっと", "chotto", "チョット"},
      {"まっちゃ", "maccha", "マッチャ"},
      {"じゃま", "jyama", "ジャマ"},
      {"ふぁいる", "fairu", "ファイル"},
      {"しぇ", "shixe", "シェ"},
      {"きゃきゅきょ", "kyakyukyo", "キャキュキョ"},
      {"ゃあ", "xyaa", "ャア"},
      {"あっ", "axtu", "アッ"},
      {"っあ", "a", "ッア"},
      {"っ！", "xtu!", "ッ！"},
      {"らーめん", "ra-menn", "ラーメン"},
      {"Ａ１ア漢", "A1\xB1", "Ａ１ア漢"},
      {"a B\x7F\xB1\r1", "a B\x7F\xB1\r1", "a B\x7F\xB1\r1"},
      {"", "", ""},
  };
  std::string text;
  for (const Forms& row : rows) text += row.reading + "\n";
  const Converted converted = ConvertAll(text);
  ASSERT_EQ(converted.lines.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(converted.lines[i], rows[i]) << "line " << i + 1;
}

TEST(LineConverterTest, ALineEndsBeforeItsLfOrCrLf) {
  const Converted converted = ConvertAll("あ\r\nい\n\r\n\nう\r\r\n");
  const Forms expected[] = {
      {"あ", "a", "ア"}, {"い", "i", "イ"}, {"", "", ""}, {"", "", ""}, {"う\r", "u\r", "ウ\r"},
  };
  ASSERT_EQ(converted.lines.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(converted.lines[i], expected[i]) << "line " << i + 1;
}

TEST(LineConverterTest, NoUnitReachesAcrossALineBreak) {
  const Converted converted = ConvertAll("き\nゃ\nっ\nか\nっ\r\nき\n");
  const Forms expected[] = {{"き", "ki", "キ"}, {"ゃ", "xya", "ャ"}, {"っ", "xtu", "ッ"},
                            {"か", "ka", "カ"}, {"っ", "xtu", "ッ"},  {"き", "ki", "キ"}};
  ASSERT_EQ(converted.lines.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(converted.lines[i], expected[i]) << "line " << i + 1;
}

std::string Repeat(std::string_view text, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

TEST(LineConverterTest, LeavesEveryOtherLineToTheCaller) {
  struct Row {
    std::string text;
    std::size_t linesTaken;
    const char* why;
  } rows[] = {
      {"あ\nい\0う\nえ\n"s, 1, "a zero byte would end the reading inside the line"},
      {"あ\n\x82\nい\n", 1, "a lead byte without its trail byte"},
      {"あ\n\x81\x7F\n", 1, "a trail byte that is none"},
      {"あ\n\x80\n", 1, "a byte that code page 932 leaves unassigned"},
      {"あ\nい", 1, "a last line without a line break"},
      {Repeat("a", 253) + "\n" + Repeat("a", 254) + "\n", 1, "a line longer than the program reads"},
      {Repeat("あ", 126) + "a\n" + Repeat("あ", 126) + "ab\n", 1, "253 bytes, and 254"},
      {"a" + Repeat("ゃ", 84) + "\n" + Repeat("ゃ", 85) + "\n", 1, "a romaji form of 253 bytes, and of 255"},
  };
  for (const Row& row : rows) {
    const Converted converted = ConvertAll(row.text);
    EXPECT_EQ(converted.lines.size(), row.linesTaken) << row.why;
  }
}

TEST(LineConverterTest, TakesNoLineWhoseBreakIsCloseToTheEndOfTheText) {
  const std::string text = "あ\nい\n";
  const CLineConverter converter{SP()};
  char romaji[kLineBatchRomajiBytes];
  char katakana[kLineBatchKatakanaBytes];
  CLineConverter::ConvertedLine lines[kLineBatchLines];
  for (std::size_t padding = 0; padding <= kLineLookahead + 4; ++padding) {
    const std::string padded = text + std::string(padding, '\0');
    const std::size_t count =
        converter.ConvertPlainLines(padded.data(), padded.data() + padded.size(), romaji, katakana, lines);
    // From い's line break to the end of the text are padding + 1 bytes,
    // from あ's padding + 4.
    const std::size_t expected = (padding + 1 > kLineLookahead ? 1 : 0) + (padding + 4 > kLineLookahead ? 1 : 0);
    EXPECT_EQ(count, expected) << padding << " bytes after the text";
  }
}

TEST(LineConverterTest, TakesAtMostOneBatchOfLinesAndBytes) {
  const Converted shortLines = ConvertAll(Repeat("あ\n", 3 * kLineBatchLines));
  EXPECT_EQ(shortLines.lines.size(), 3 * kLineBatchLines);
  EXPECT_EQ(shortLines.calls, 4u) << "three full batches of lines, then the padding";

  // Lines of 20 bytes: the first batch takes the 102 lines whose line break
  // lies within the first kLineBatchBytes (2048) bytes.
  static_assert(kLineBatchBytes == 2048, "the figures below");
  const std::string text = Repeat(Repeat("あ", 9) + "a\n", 200) + std::string(kLineLookahead, '\0');
  char romaji[kLineBatchRomajiBytes];
  char katakana[kLineBatchKatakanaBytes];
  CLineConverter::ConvertedLine lines[kLineBatchLines];
  const std::size_t count =
      CLineConverter(SP()).ConvertPlainLines(text.data(), text.data() + text.size(), romaji, katakana, lines);
  EXPECT_EQ(count, 102u);
  EXPECT_EQ(lines[count - 1].readingEnd - text.data(), 101 * 20 + 19);
  EXPECT_EQ(ConvertAll(Repeat(Repeat("あ", 9) + "a\n", 200)).lines.size(), 200u) << "and the rest in the next";
}

// Characters that exercise every path of the walk: kana with and without
// combinations, every small kana, っ, ん, the long vowel mark, symbols with
// and without a spelling, full-width letters, katakana with and without a
// half-width form, kanji, and single bytes.
std::vector<std::string> Alphabet() {
  std::vector<std::string> characters;
  for (int trail = 0x9F; trail <= 0xF1; ++trail) characters.push_back({'\x82', static_cast<char>(trail)});
  for (const char* other : {"ー", "！", "　", "＄", "※", "Ａ", "１", "ア", "ガ", "ヵ", "漢", "\xFA\x57"}) {
    characters.push_back(other);
  }
  for (const char* single : {"a", "\xB1", "\r", "\x7F"}) characters.push_back(single);
  return characters;
}

std::vector<SpellingPreferences> SomePreferences() {
  SP allZero;
  SP allTwo;
  SP unlisted;
  for (std::int32_t SP::*field : {&SP::si, &SP::ti, &SP::tu, &SP::hu, &SP::zi, &SP::sya, &SP::syu, &SP::syo, &SP::jya,
                                  &SP::jyu, &SP::jye, &SP::jyo, &SP::tya, &SP::tyu, &SP::tyo, &SP::Komoji}) {
    allZero.*field = 0;
    allTwo.*field = 2;
    unlisted.*field = -1;
  }
  SP mixed;
  mixed.si = 0;
  mixed.sya = 1;
  mixed.zi = 0;
  mixed.jya = 0;
  mixed.ti = 0;
  mixed.tya = 1;
  mixed.Komoji = 0;
  return {SP(), allZero, allTwo, unlisted, mixed};
}

void ExpectSameAsSingleReadings(const std::vector<std::string>& lines, const SpellingPreferences& preferences,
                                const char* what) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  const Converted converted = ConvertAll(text, preferences);
  ASSERT_EQ(converted.lines.size(), lines.size()) << what;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(converted.lines[i], ExpectedForms(lines[i], preferences)) << what << ", line " << i + 1;
  }
}

TEST(LineConverterTest, AgreesWithTheSingleReadingFunctionsOnEveryPairAndUnit) {
  const std::vector<std::string> alphabet = Alphabet();
  std::vector<std::string> lines;
  for (const std::string& first : alphabet) {
    for (const std::string& second : alphabet) {
      lines.push_back(first + second);
      lines.push_back("っ" + first + second);  // a sokuon unit, whole or not
      lines.push_back(first + "っ" + second);
    }
  }
  for (const SpellingPreferences& preferences : SomePreferences()) {
    ExpectSameAsSingleReadings(lines, preferences, "pairs");
  }
}

TEST(LineConverterTest, AgreesWithTheSingleReadingFunctionsOnRandomLines) {
  const std::vector<std::string> alphabet = Alphabet();
  std::mt19937 random(20240531);
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i) {
    std::string line;
    const std::size_t length = random() % 40;
    // っ and ゃ often, so that units and combinations meet.
    for (std::size_t j = 0; j < length; ++j) {
      if (random() % 4 == 0) {
        line += random() % 2 == 0 ? "っ" : "ゃ";
      } else {
        line += alphabet[random() % alphabet.size()];
      }
    }
    if (line.size() <= kMaxPlainLineBytes) lines.push_back(line);
  }
  for (const SpellingPreferences& preferences : SomePreferences()) {
    ExpectSameAsSingleReadings(lines, preferences, "random lines");
  }
}

// The documented rules of code page 932, written out here on their own so
// that the converter's checks are held against something independent.
bool IsDocumentedLeadByte(int byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
bool IsDocumentedTrailByte(int byte) { return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC); }
bool IsDocumentedSingleByte(int byte) { return byte != 0x80 && byte != 0xA0 && byte < 0xFD; }

TEST(LineConverterTest, TakesALineOfTwoBytesExactlyWhenItIsWellFormedAndHasNoZero) {
  const CLineConverter converter{SP()};
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const std::string pair = {static_cast<char>(first), static_cast<char>(second)};
      const std::string line = pair.substr(0, std::min(pair.find('\n'), pair.size()));
      // A CR at the end of the line is that of a CR LF.
      const std::string reading = !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
      bool wellFormed = true;
      for (std::size_t at = 0; at < reading.size(); ++at) {
        const auto byte = static_cast<unsigned char>(reading[at]);
        if (IsDocumentedLeadByte(byte)) {
          wellFormed = at + 1 < reading.size() && IsDocumentedTrailByte(static_cast<unsigned char>(reading[at + 1]));
          ++at;
        } else {
          wellFormed = wellFormed && IsDocumentedSingleByte(byte);
        }
        if (!wellFormed) break;
      }
      const bool takes = wellFormed && reading.find('\0') == std::string::npos;
      const Converted converted = ConvertAll(pair + "\n", converter);
      ASSERT_EQ(!converted.lines.empty(), takes) << "bytes " << first << " " << second;
      if (takes) {
        EXPECT_EQ(converted.lines[0], ExpectedForms(line, SP())) << "bytes " << first << " " << second;
      }
    }
  }
}

}  // namespace
}  // namespace kanaflow
