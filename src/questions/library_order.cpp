#include "questions/library_order.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/cp932.h"

namespace kanaflow {
namespace {

// Primary weights: the group in the high bits, the place within it below.
enum Group : std::uint32_t {
  kAfterHyphen = 1,  // ー, ゝ or 々 after a hyphen or apostrophe
  kSymbols,
  kDigits,
  kLetters,
  kGreek,
  kCyrillic,
  kKana,
  kUserDefined,
  kKanji,
  kUnsorted,  // ー, ゝ and 々 with no kana before them
};
constexpr std::uint32_t Weight(Group group, std::uint32_t place) { return group << 24 | place; }

// Symbols in the platform's order. A full-width form of ASCII sorts as its
// ASCII character (wider), except ＼, which Japanese fonts do not pair with
// 0x5C (the yen sign there). Symbols not listed follow, by code.
constexpr std::string_view kSymbolOrder =
    " !\"#$%&()*,、.。/:;?@[＼]^_`{|}~￤¨￣´‘’“”′″〈〉《￠￡》\\￥「」『』【】〔〕〝〟〃〆"
    "+<=≠>±≪≫×÷∀∂∃∇∈∋∑√∝∟∠∥∧∨∩∪∫∮∴∵∽≒≡≦≧⊂⊃⊆⊇⊥⊿⌒■□▲△◯▼▽◆◇○◎●↑→⇒↓←⇔"
    "─━│┃┌┏┐┓└┗┘┛├┝┠┣┤┥┨┫┬┯┰┳┴┷┸┻┼┿╂╋§￢°¶・‥…∬〒〓☆★♀♂♪♭♯†‡‰※";

// Kana levels: the lower value sorts first; the large, hiragana and
// full-width forms are the defaults.
constexpr std::uint8_t kMarked = 0xC4;
constexpr std::uint8_t kLarge = 0xC6;
constexpr std::uint8_t kHiraganaType = 0xE4;
constexpr std::uint8_t kFullWidth = 0xC5;
constexpr std::uint8_t kPlainKana = 0x03, kRepeated = 0x04, kLengthened = 0x05;
// Voicing and case levels.
constexpr std::uint8_t kPlain = 0x02, kVoiced = 0x03, kHalfVoiced = 0x04;
// A separate ゛ or ゜ adds to the voicing of the character before it; at the
// start of a name it stands alone with this voicing.
constexpr std::uint8_t kVoicedMark = 0x03, kHalfVoicedMark = 0x04;
constexpr std::uint8_t kUpperCase = 0x10, kWide = 0x01, kCircled = 0x06;

// A kana's sound is its place in the table of five vowels per row: あ 0,
// か 5, ... わ 45, ゐ 46, ゑ 48, を 49, ん 50.
constexpr int kSoundN = 50;

struct Kana {
  int sound = 0;
  std::uint8_t voicing = kPlain;
  bool small = false;
  bool katakana = false;
  bool halfWidth = false;
};

// The hiragana in code order, as runs that follow one pattern.
enum class Run { Plain, SmallLarge, Voiced, HalfVoiced, SmallPlainVoiced };
struct HiraganaRun {
  std::uint16_t first;
  int count;
  int sound;
  Run pattern;
  int soundStep = 1;
};
constexpr HiraganaRun kHiragana[] = {
    {0x829F, 10, 0, Run::SmallLarge},       {0x82A9, 20, 5, Run::Voiced},  {0x82BD, 4, 15, Run::Voiced},
    {0x82C1, 3, 17, Run::SmallPlainVoiced}, {0x82C4, 4, 18, Run::Voiced},  {0x82C8, 5, 20, Run::Plain},
    {0x82CD, 15, 25, Run::HalfVoiced},      {0x82DC, 5, 30, Run::Plain},   {0x82E1, 6, 35, Run::SmallLarge, 2},
    {0x82E7, 5, 40, Run::Plain},            {0x82EC, 2, 45, Run::SmallLarge}, {0x82EE, 1, 46, Run::Plain},
    {0x82EF, 2, 48, Run::Plain},            {0x82F1, 1, kSoundN, Run::Plain},
};

std::optional<Kana> HiraganaOf(std::uint16_t code) {
  for (const HiraganaRun& run : kHiragana) {
    const int at = code - run.first;
    if (at < 0 || at >= run.count) continue;
    Kana kana;
    switch (run.pattern) {
      case Run::Plain: kana.sound = run.sound + at; break;
      case Run::SmallLarge:
        kana.sound = run.sound + at / 2 * run.soundStep;
        kana.small = at % 2 == 0;
        break;
      case Run::Voiced:
        kana.sound = run.sound + at / 2;
        kana.voicing = at % 2 ? kVoiced : kPlain;
        break;
      case Run::HalfVoiced: {
        kana.sound = run.sound + at / 3;
        constexpr std::uint8_t kVoicings[] = {kPlain, kVoiced, kHalfVoiced};
        kana.voicing = kVoicings[at % 3];
        break;
      }
      case Run::SmallPlainVoiced:
        kana.sound = run.sound;
        kana.small = at == 0;
        kana.voicing = at == 2 ? kVoiced : kPlain;
        break;
    }
    return kana;
  }
  return std::nullopt;
}

std::optional<Kana> FullWidthKanaOf(std::uint16_t code) {
  if (code >= 0x8340 && code <= 0x8393 && code != 0x837F) {
    // The way back of cp932::HiraganaToKatakana.
    const int hiragana = code < 0x837F ? code - 0x8340 + 0x829F : code - 0x8380 + 0x82DE;
    std::optional<Kana> kana = HiraganaOf(static_cast<std::uint16_t>(hiragana));
    if (kana) kana->katakana = true;
    return kana;
  }
  if (code == 0x8394) return Kana{2, kVoiced, false, true, false};  // ヴ
  if (code == 0x8395) return Kana{5, kPlain, true, true, false};    // ヵ
  if (code == 0x8396) return Kana{8, kPlain, true, true, false};    // ヶ
  return HiraganaOf(code);
}

std::optional<Kana> HalfWidthKanaOf(unsigned char byte) {
  for (std::uint16_t code = 0x8340; code <= 0x8393; ++code) {
    if (cp932::HalfWidthForm(code) != byte) continue;
    std::optional<Kana> kana = FullWidthKanaOf(code);
    if (kana) kana->halfWidth = true;
    return kana;
  }
  return std::nullopt;
}

// One character of a name, as the string reads it.
struct Character {
  std::uint16_t code;  // the byte, or the preferred two-byte code
  bool twoBytes;
};

enum class KanaMark { None, VoicedMark, HalfVoicedMark, LongVowel, Repeat, VoicedRepeat, KanjiRepeat };

KanaMark KanaMarkOf(const Character& c) {
  switch (c.code) {
    case 0x814A: case 0xDE: return KanaMark::VoicedMark;        // ゛ ﾞ
    case 0x814B: case 0xDF: return KanaMark::HalfVoicedMark;    // ゜ ﾟ
    case 0x815B: case 0xB0: return KanaMark::LongVowel;         // ー ｰ
    case 0x8154: case 0x8152: return KanaMark::Repeat;          // ゝ ヽ
    case 0x8155: case 0x8153: return KanaMark::VoicedRepeat;    // ゞ ヾ
    case 0x8158: return KanaMark::KanjiRepeat;                  // 々
    default: return KanaMark::None;
  }
}

struct SortKey {
  std::vector<std::uint32_t> primary;
  std::vector<std::uint8_t> voicing;
  std::vector<std::uint8_t> caseAndWidth;
  std::vector<std::uint8_t> small, marks, katakana, width;  // one per kana
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ignored;  // hyphens and apostrophes
  std::optional<Kana> lastKana;
  std::uint32_t lastPrimary = 0;  // what ー, ゝ and 々 repeat after a character other than kana
};

void AddWeight(SortKey& key, std::uint32_t primary, std::uint8_t caseAndWidth = kPlain) {
  key.primary.push_back(primary);
  key.voicing.push_back(kPlain);
  key.caseAndWidth.push_back(caseAndWidth);
  key.lastKana.reset();
  key.lastPrimary = primary;
}

// ー, ゝ and 々 after anything but kana repeat the character before them; at
// the start of a name they sort after everything and take no voicing mark.
void AddRepeat(SortKey& key) {
  if (key.lastPrimary != 0) {
    AddWeight(key, key.lastPrimary);
  } else {
    key.primary.push_back(Weight(kUnsorted, 0));
  }
}

void AddKana(SortKey& key, const Kana& kana, int sound, std::uint8_t voicing, std::uint8_t mark) {
  key.primary.push_back(Weight(kKana, static_cast<std::uint32_t>(sound)));
  key.voicing.push_back(voicing);
  key.caseAndWidth.push_back(kPlain);
  key.small.push_back(kana.small ? kMarked : kLarge);
  key.marks.push_back(mark);
  key.katakana.push_back(kana.katakana ? kMarked : kHiraganaType);
  key.width.push_back(kana.halfWidth ? kMarked : kFullWidth);
  key.lastKana = kana;
  key.lastPrimary = key.primary.back();
}

void AddVoicingMark(SortKey& key, std::uint8_t voicing) {
  if (key.voicing.empty()) {
    key.voicing.push_back(voicing);
    key.caseAndWidth.push_back(kPlain);
  } else {
    key.voicing.back() = static_cast<std::uint8_t>(key.voicing.back() + voicing);
  }
}

// ゛ and ゜ voice the character before them; ー, ゝ and 々 stand for the kana
// before them.
bool AddKanaMark(SortKey& key, const Character& c) {
  const KanaMark mark = KanaMarkOf(c);
  if (mark == KanaMark::None) return false;
  if (mark == KanaMark::VoicedMark || mark == KanaMark::HalfVoicedMark) {
    AddVoicingMark(key, mark == KanaMark::VoicedMark ? kVoicedMark : kHalfVoicedMark);
    return true;
  }
  const std::optional<Kana> before = key.lastKana;
  if (!before) {
    AddRepeat(key);
  } else if (mark == KanaMark::LongVowel) {
    Kana lengthened = *before;
    lengthened.halfWidth = c.code == 0xB0;
    const int vowel = before->sound == kSoundN ? kSoundN : before->sound % 5;
    AddKana(key, lengthened, vowel, kPlain, kLengthened);
  } else {
    // The repeat takes the kana's type and width; 々 counts as a marked one.
    Kana repeated = *before;
    repeated.small = false;
    const std::uint8_t voicing = mark == KanaMark::VoicedRepeat  ? kVoiced
                                 : mark == KanaMark::KanjiRepeat ? kPlain + kVoicedMark
                                                                 : kPlain;
    AddKana(key, repeated, before->sound, voicing, kRepeated);
  }
  return true;
}

std::optional<std::uint32_t> SymbolPlace(std::uint16_t code) {
  std::uint32_t place = 0;
  for (std::size_t pos = 0; pos < kSymbolOrder.size(); pos = cp932::NextChar(kSymbolOrder, pos), ++place) {
    const std::uint16_t listed = cp932::CharLength(kSymbolOrder, pos) == 2
                                     ? cp932::DoubleByteCodeAt(kSymbolOrder, pos)
                                     : static_cast<unsigned char>(kSymbolOrder[pos]);
    if (cp932::PreferredCode(listed) == code) return place;
  }
  return std::nullopt;
}

// A hyphen or apostrophe counts only on the last level, by its place (a
// later one sorts first) and its kind: - before － before ‐.
void AddIgnored(SortKey& key, std::uint32_t kind) {
  key.ignored.emplace_back(0xFFFFFF - static_cast<std::uint32_t>(key.primary.size()), kind);
  key.lastKana.reset();
  key.lastPrimary = Weight(kAfterHyphen, kind);
}

// ASCII, and the full-width forms folded onto it.
void AddAscii(SortKey& key, unsigned char c, bool wide) {
  const std::uint8_t width = wide ? kWide : 0;
  if (c == '-' || c == '\'') {
    AddIgnored(key, c * 4u + width);
  } else if (c >= '0' && c <= '9') {
    AddWeight(key, Weight(kDigits, c), kPlain + width);
  } else if (c >= 'a' && c <= 'z') {
    AddWeight(key, Weight(kLetters, c), kPlain + width);
  } else if (c >= 'A' && c <= 'Z') {
    AddWeight(key, Weight(kLetters, c - 'A' + 'a'), kPlain + kUpperCase + width);
  } else if (const auto place = SymbolPlace(c)) {
    AddWeight(key, Weight(kSymbols, *place), kPlain + width);
  }  // control characters carry no weight
}

// NEC's numerals sort with the digits: ①..⑨ as 1..9 (circled), ⑩..⑳ after
// 9, then the Roman numerals (lower case first), then ∞.
bool AddNumeral(SortKey& key, std::uint16_t code) {
  if (code >= 0x8740 && code <= 0x8748) {
    AddWeight(key, Weight(kDigits, '1' + code - 0x8740u), kCircled);
  } else if (code >= 0x8749 && code <= 0x8753) {
    AddWeight(key, Weight(kDigits, 0x40u + code - 0x8749));
  } else if (code >= 0xFA40 && code <= 0xFA49) {
    AddWeight(key, Weight(kDigits, 0x60u + code - 0xFA40));
  } else if (code >= 0x8754 && code <= 0x875D) {
    AddWeight(key, Weight(kDigits, 0x60u + code - 0x8754), kPlain + kUpperCase);
  } else if (code == 0x8187) {
    AddWeight(key, Weight(kDigits, 0x70));
  } else {
    return false;
  }
  return true;
}

void AddDoubleByte(SortKey& key, std::uint16_t code) {
  if (code == 0x815D) {  // ‐ is a hyphen
    AddIgnored(key, '-' * 4u + 2);
    return;
  }
  const std::optional<unsigned char> narrow = cp932::HalfWidthForm(code);
  if (narrow && *narrow >= 0x20 && *narrow < 0x7F && code != 0x815F) {
    AddAscii(key, *narrow, true);
  } else if (const std::optional<Kana> kana = FullWidthKanaOf(code)) {
    AddKana(key, *kana, kana->sound, kana->voicing, kPlainKana);
  } else if (AddNumeral(key, code)) {
    return;
  } else if (code >= 0x839F && code <= 0x83D6) {  // Greek: Α..Ω, then α..ω
    const bool upper = code <= 0x83B6;
    AddWeight(key, Weight(kGreek, upper ? code - 0x839F : code - 0x83BF), upper ? kPlain + kUpperCase : kPlain);
  } else if (code >= 0x8440 && code <= 0x8491 && code != 0x847F) {  // Cyrillic: А..Я, then а..я
    const bool upper = code <= 0x8460;
    const int place = upper ? code - 0x8440 : code - 0x8470 - (code > 0x847F ? 1 : 0);
    AddWeight(key, Weight(kCyrillic, static_cast<std::uint32_t>(place)), upper ? kPlain + kUpperCase : kPlain);
  } else if (code >= 0xF040 && code <= 0xF9FC) {
    AddWeight(key, Weight(kUserDefined, code));
  } else if ((code >= 0x889F && !(code >= 0xFA40 && code <= 0xFA5B)) || code == 0x8157) {  // kanji, 仝 first
    AddWeight(key, Weight(kKanji, code));
  } else {
    const std::optional<std::uint32_t> place = SymbolPlace(code);
    AddWeight(key, Weight(kSymbols, place ? *place : 0x10000 + code), narrow ? kPlain + kWide : kPlain);
  }
}

void AddSingleByte(SortKey& key, unsigned char byte) {
  if (byte < 0x80) {
    AddAscii(key, byte, false);
  } else if (const std::optional<Kana> kana = HalfWidthKanaOf(byte)) {
    AddKana(key, *kana, kana->sound, kana->voicing, kPlainKana);
  } else if (byte >= 0xA1 && byte <= 0xA5) {  // ｡｢｣､･ sort as 。「」、・
    for (std::uint16_t code = 0x8141; code <= 0x8176; ++code) {
      if (cp932::HalfWidthForm(code) == byte) {
        AddWeight(key, Weight(kSymbols, SymbolPlace(code).value_or(0)));
        return;
      }
    }
  } else {
    AddWeight(key, Weight(kUnsorted, byte));  // a byte without a character
  }
}

SortKey MakeSortKey(std::string_view text) {
  SortKey key;
  for (std::size_t pos = 0; pos < text.size(); pos = cp932::NextChar(text, pos)) {
    if (text[pos] == '\0') break;  // the end of a C string
    const std::uint16_t twoBytes = cp932::DoubleByteCodeAt(text, pos);
    const auto single = static_cast<unsigned char>(text[pos]);
    const Character c{twoBytes ? cp932::PreferredCode(twoBytes) : std::uint16_t{single}, twoBytes != 0};
    if (AddKanaMark(key, c)) continue;
    if (c.twoBytes) {
      AddDoubleByte(key, c.code);
    } else {
      AddSingleByte(key, static_cast<unsigned char>(c.code));
    }
  }
  return key;
}

// One level: trailing default weights do not count, and the end of the
// shorter sequence sorts either before or after any weight.
template <typename T>
int CompareLevel(const std::vector<T>& a, const std::vector<T>& b, T defaultWeight, bool endSortsLast) {
  auto trimmed = [defaultWeight](const std::vector<T>& v) {
    std::size_t size = v.size();
    while (size > 0 && v[size - 1] == defaultWeight) --size;
    return size;
  };
  const std::size_t sizeA = trimmed(a);
  const std::size_t sizeB = trimmed(b);
  for (std::size_t i = 0; i < sizeA && i < sizeB; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  if (sizeA == sizeB) return 0;
  return (sizeA < sizeB) == endSortsLast ? 1 : -1;
}

int CompareKeys(const SortKey& a, const SortKey& b) {
  if (const int c = CompareLevel<std::uint32_t>(a.primary, b.primary, 0, false)) return c;
  if (const int c = CompareLevel(a.voicing, b.voicing, kPlain, false)) return c;
  if (const int c = CompareLevel(a.caseAndWidth, b.caseAndWidth, kPlain, false)) return c;
  if (const int c = CompareLevel(a.small, b.small, kLarge, true)) return c;
  if (const int c = CompareLevel(a.marks, b.marks, kPlainKana, false)) return c;
  if (const int c = CompareLevel(a.katakana, b.katakana, kHiraganaType, true)) return c;
  if (const int c = CompareLevel(a.width, b.width, kFullWidth, true)) return c;
  return CompareLevel(a.ignored, b.ignored, std::pair<std::uint32_t, std::uint32_t>{}, false);
}

}  // namespace

int CompareLibraryNames(std::string_view a, std::string_view b) { return CompareKeys(MakeSortKey(a), MakeSortKey(b)); }

}  // namespace kanaflow
