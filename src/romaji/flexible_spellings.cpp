#include "romaji/flexible_spellings.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "platform/cp932.h"
#include "romaji/input_method_spellings.h"
#include "romaji/kana_tables.h"
#include "romaji/romaji_rules.h"

namespace kanaflow {
namespace {

constexpr std::uint16_t kSyllabicN = 0x82F1;  // ん
constexpr std::string_view kSmallTsuAlone[] = {"ltu", "xtu", "ltsu", "xtsu"};

// ん typed with one letter, as input methods read it: decided by the key
// typed after it, since a single n before a vowel, n or y would spell な, に
// or にゃ instead, and m stands for ん only before b and p.
struct GuardedN {
  std::string_view spelling;
  std::string_view keys;
  bool onlyThese;  // the keys allowed after it, or else the keys refused
};
constexpr GuardedN kGuardedN[] = {{"n", "aiueony", false}, {"m", "bp", true}};

const GuardedN* FindGuarded(std::string_view spelling) {
  for (const GuardedN& guarded : kGuardedN) {
    if (guarded.spelling == spelling) return &guarded;
  }
  return nullptr;
}

bool IsVowel(char c) { return std::string_view("aiueo").find(c) != std::string_view::npos; }

bool Doubles(const KanaRow& row) { return row.afterSokuon == AfterSokuon::Doubled; }

// The first eight bytes of a spelling, as one number.
std::uint64_t HeadOf(std::string_view spelling) {
  std::uint64_t head = 0;
  for (std::size_t i = 0; i < spelling.size() && i < sizeof head; ++i) {
    head |= std::uint64_t{static_cast<unsigned char>(spelling[i])} << (8 * i);
  }
  return head;
}

}  // namespace

// The spellings of one table row and of the input methods for the same kana,
// the preferred first, each as typed where the unit stands: after a っ with
// its first letter doubled (ch also after t, as in tchi), and as it is where
// the row's っ is typed with nothing (before a vowel).
struct FlexibleSpellings::Forms {
  static constexpr std::size_t kCapacity = 16;
  static_assert(1 + kLongestInputMethodSpelling <= 8 && 1 + kLongestSpelling <= 8, "a form fits its array");
  // Only the first `count` are written, and only they are read.
  std::array<std::array<char, 8>, kCapacity> text;
  std::array<std::size_t, kCapacity> length;
  std::size_t count = 0;

  std::string_view operator[](std::size_t i) const { return {text[i].data(), length[i]}; }

  void Push(std::string_view prefix, std::string_view spelling) {
    std::array<char, 8> form{};
    std::copy(prefix.begin(), prefix.end(), form.begin());
    std::copy(spelling.begin(), spelling.end(), form.begin() + static_cast<std::ptrdiff_t>(prefix.size()));
    const std::string_view added(form.data(), prefix.size() + spelling.size());
    for (std::size_t i = 0; i < count; ++i) {
      if ((*this)[i] == added) return;
    }
    if (count == kCapacity) return;
    text[count] = form;
    length[count++] = added.size();
  }

  void PushTyped(std::string_view spelling, bool afterSokuon, bool doubledRow) {
    if (spelling.empty()) return;
    if (!afterSokuon || !doubledRow) Push({}, spelling);
    if (!afterSokuon || IsVowel(spelling[0])) return;
    Push(spelling.substr(0, 1), spelling);
    if (spelling.substr(0, 2) == "ch") Push("t", spelling);
  }

  // `doubled`: the kana's row doubles a letter after っ (all but vowels).
  Forms(const KanaRow* row, const InputMethodRow* extra, const SpellingPreferences& preferences, bool afterSokuon,
        bool doubled) {
    if (row != nullptr) {
      PushTyped(SpellingOf(*row, preferences), afterSokuon, doubled);
      for (std::string_view spelling : row->spellings) PushTyped(spelling, afterSokuon, doubled);
    }
    if (extra == nullptr) return;
    for (std::string_view spelling : extra->spellings) PushTyped(spelling, afterSokuon, doubled);
  }
};

std::string_view FlexibleSpellings::Spelling(std::size_t unit, std::size_t index) const {
  const Span& span = spans_[units_[unit].first + index];
  return std::string_view(text_.data() + span.offset, span.length);
}

SpellingMask FlexibleSpellings::WithKeyAt(std::size_t unit, SpellingMask mask, std::size_t at, char byte) const {
  const Span* const spans = spans_.data() + units_[unit].first;
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  // Half a mask at a time, in 64-bit steps; the head holds zeros past the
  // end, so the first eight keys, and the end among them, are read from it.
  for (unsigned half = 0; half < 2; ++half) {
    std::uint64_t bits = mask.Word(half);
    std::uint64_t found = 0;
    for (; bits != 0; bits &= bits - 1) {
      const int index = LowestBit(bits);
      const Span& span = spans[64 * half + static_cast<unsigned>(index)];
      const char key = at < sizeof span.head ? static_cast<char>(span.head >> (8 * at))
                       : at < span.length    ? text_[span.offset + at]
                                             : '\0';
      found |= std::uint64_t{key == byte} << index;
    }
    (half == 0 ? low : high) = found;
  }
  return SpellingMask::FromWords(low, high);
}

bool FlexibleSpellings::MayFollow(std::size_t unit, std::size_t index, char byte) const {
  const GuardedN* guarded = FindGuarded(Spelling(unit, index));
  return guarded == nullptr || (guarded->keys.find(byte) != std::string_view::npos) == guarded->onlyThese;
}

void FlexibleSpellings::BeginUnit() {
  Unit unit;
  unit.first = static_cast<std::uint32_t>(spans_.size());
  units_.push_back(unit);
}

void FlexibleSpellings::Add(std::string_view prefix, std::string_view body, std::uint32_t from) {
  Unit& unit = units_.back();
  if (unit.count == kMaxUnitSpellings) return;
  // Put together here first, so that a spelling already there costs no
  // append; a whole romaji form (one unit standing in for a question) goes
  // straight in.
  std::array<char, 32> joined{};
  std::string_view spelling = body.empty() ? prefix : body;
  if (!prefix.empty() && !body.empty()) {
    std::copy(prefix.begin(), prefix.end(), joined.begin());
    std::copy(body.begin(), body.end(), joined.begin() + static_cast<std::ptrdiff_t>(prefix.size()));
    spelling = std::string_view(joined.data(), prefix.size() + body.size());
  }
  const std::uint64_t head = HeadOf(spelling);
  const auto length = static_cast<std::uint32_t>(spelling.size());
  for (std::uint32_t i = from; i < unit.count; ++i) {
    const Span& span = spans_[unit.first + i];
    if (span.head == head && span.length == length &&
        (length <= sizeof head || text_.compare(span.offset, length, spelling) == 0)) {
      return;
    }
  }
  spans_.push_back({static_cast<std::uint32_t>(text_.size()), length, head});
  text_.append(spelling);
  ++unit.count;
}

void FlexibleSpellings::AddWithPrefix(std::string_view prefix, std::uint32_t from, std::uint32_t to,
                                      std::size_t replaced) {
  Unit& unit = units_.back();
  for (std::uint32_t i = from; i < to && unit.count < kMaxUnitSpellings; ++i) {
    const Span span = spans_[unit.first + i];
    const auto offset = static_cast<std::uint32_t>(text_.size());
    text_.append(prefix).append(text_, span.offset + replaced, span.length - replaced);
    const auto length = static_cast<std::uint32_t>(text_.size() - offset);
    spans_.push_back({offset, length, HeadOf(std::string_view(text_).substr(offset))});
    ++unit.count;
  }
}

void FlexibleSpellings::AddForms(std::string_view prefix, const Forms& forms, std::uint32_t from) {
  for (std::size_t i = 0; i < forms.count; ++i) Add(prefix, forms[i], from);
}

// A character that no kana before it took: a small kana, ん, a symbol.
void FlexibleSpellings::AddStandalone(std::uint16_t code, const SpellingPreferences& preferences) {
  const KanaRow* alone = FindStandaloneCharacter(code);
  if (alone == nullptr) return;
  AddForms({}, Forms(alone, FindInputMethodRow(code, 0), preferences, false, false));
  if (code != kSyllabicN) return;
  for (const GuardedN& guarded : kGuardedN) Add(guarded.spelling, {});
  Unit& unit = units_.back();
  for (std::size_t s = 0; s < unit.count; ++s) {
    if (FindGuarded(Spelling(units_.size() - 1, s)) != nullptr) unit.guarded |= SpellingMask::Only(s);
  }
}

// The unit of two-byte characters from `pos` to `last`, and the small kana
// `joined` after them when input methods spell the two as one sound (しぇ);
// its preferred spelling is already in place.
void FlexibleSpellings::AddKanaUnit(std::string_view reading, std::size_t pos, std::size_t last, std::uint16_t joined,
                                    const SpellingPreferences& preferences) {
  const std::uint16_t code = cp932::DoubleByteCodeAt(reading, pos);
  if (code == kSmallTsu && last == pos) {
    for (std::string_view tsu : kSmallTsuAlone) Add(tsu, {});
    return;
  }
  const bool sokuon = code == kSmallTsu;
  const std::size_t kanaPos = sokuon ? pos + 2 : pos;
  const std::uint16_t kana = cp932::DoubleByteCodeAt(reading, kanaPos);
  const std::uint16_t small = last > kanaPos ? cp932::DoubleByteCodeAt(reading, last) : joined;
  const KanaRow* row = FindSpelledKana(kana, small);
  if (row == nullptr) return AddStandalone(kana, preferences);
  // The kana tables' row of the whole sound, none for a sound of the input
  // methods only; then the sound typed as its two kana.
  const KanaRow* whole = row->IsCombination() || small == 0 ? row : nullptr;
  const KanaRow* first = small != 0 ? FindSpelledKana(kana, 0) : nullptr;
  const KanaRow* smallRow = small != 0 ? FindStandaloneCharacter(small) : nullptr;
  const InputMethodRow* const soundExtra = FindInputMethodRow(kana, small);
  const InputMethodRow* const kanaExtra = first != nullptr ? FindInputMethodRow(kana, 0) : nullptr;
  const Forms smallForms(smallRow, smallRow != nullptr ? FindInputMethodRow(small, 0) : nullptr, preferences, false,
                         false);
  // The sound typed whole, then as its two kana (shi + xe for しぇ).
  const auto addAll = [&](std::string_view tsu, const Forms& sound, const Forms& kanaForms, std::uint32_t from) {
    AddForms(tsu, sound, from);
    for (std::size_t i = 0; i < kanaForms.count; ++i) {
      for (std::size_t j = 0; j < smallForms.count; ++j) {
        std::array<char, 16> both{};
        const std::string_view a = kanaForms[i], b = smallForms[j];
        std::copy(a.begin(), a.end(), both.begin());
        std::copy(b.begin(), b.end(), both.begin() + static_cast<std::ptrdiff_t>(a.size()));
        Add(tsu, std::string_view(both.data(), a.size() + b.size()), from);
      }
    }
  };
  const auto formsOf = [&](bool afterSokuon) {
    return std::make_pair(Forms(whole, soundExtra, preferences, afterSokuon, Doubles(*row)),
                          Forms(first, kanaExtra, preferences, afterSokuon, first != nullptr && Doubles(*first)));
  };
  const auto typed = formsOf(sokuon);
  addAll({}, typed.first, typed.second, 0);
  if (!sokuon) return;
  // っ typed on its own, then the rest as without it. No such spelling can
  // equal one with a doubled letter, nor one with another way to type っ.
  const auto plain = formsOf(false);
  const std::uint32_t from = units_.back().count;
  addAll(kSmallTsuAlone[0], plain.first, plain.second, from);
  const std::uint32_t to = units_.back().count;
  for (std::size_t i = 1; i < std::size(kSmallTsuAlone); ++i) {
    AddWithPrefix(kSmallTsuAlone[i], from, to, kSmallTsuAlone[0].size());
  }
}

void FlexibleSpellings::SetInitialMasks() {
  for (std::size_t i = 0; i < units_.size(); ++i) {
    Unit& unit = units_[i];
    unit.initial = SpellingMask::First(unit.count);
    if (i + 1 == units_.size()) unit.initial &= ~unit.guarded;  // no key comes after the last unit
  }
}

void FlexibleSpellings::BuildSingle(std::string_view romaji) {
  units_.clear();
  spans_.clear();
  text_.clear();
  preferred_.assign(romaji);
  if (romaji.empty()) return;
  BeginUnit();
  Add(romaji, {});
  units_.back().preferredEnd = static_cast<std::uint32_t>(romaji.size());
  SetInitialMasks();
}

void FlexibleSpellings::Build(std::string_view reading, const SpellingPreferences& preferences) {
  units_.clear();
  spans_.clear();
  text_.clear();
  preferred_.clear();
  std::size_t pos = 0;
  while (pos < reading.size() && reading[pos] != '\0') {
    const std::size_t before = preferred_.size();
    std::size_t next = pos + 1;
    std::uint16_t joined = 0;
    if (!cp932::IsLeadByte(static_cast<unsigned char>(reading[pos]))) {
      preferred_ += reading[pos];
    } else if (cp932::DoubleByteCodeAt(reading, pos) == 0 || reading[pos + 1] == '\0') {
      break;  // half a character: nothing to spell, as in the romaji form
    } else {
      const std::size_t last = AppendKanaRomaji(reading, pos, preferred_, preferences);
      next = last + 2;
      if (preferred_.size() == before) {
        pos = next;
        continue;  // spells nothing, so nothing is typed for it
      }
      next = JoinSound(reading, last, preferences, joined);
    }
    if (preferred_.size() > kMaxRomajiBytes) {
      preferred_.resize(before);  // the romaji form stops before this unit
      break;
    }
    BeginUnit();
    Add(std::string_view(preferred_).substr(before), {});
    if (next > pos + 1) AddKanaUnit(reading, pos, joined != 0 ? next - 4 : next - 2, joined, preferences);
    units_.back().preferredEnd = static_cast<std::uint32_t>(preferred_.size());
    pos = next;
  }
  SetInitialMasks();
}

// Where the unit that ends with the kana at `last` ends: after the small
// kana that follows, when input methods spell the two as one sound that the
// kana tables do not know (しぇ, which the romaji form spells as し and ぇ),
// and the romaji form holds that small kana too. Sets `joined` to it then.
std::size_t FlexibleSpellings::JoinSound(std::string_view reading, std::size_t last,
                                         const SpellingPreferences& preferences, std::uint16_t& joined) {
  const std::size_t next = last + 2;
  const std::uint16_t small = cp932::DoubleByteCodeAt(reading, next);
  if (small == 0 || FindInputMethodRow(cp932::DoubleByteCodeAt(reading, last), small) == nullptr) return next;
  const std::size_t kanaEnd = preferred_.size();
  if (AppendKanaRomaji(reading, next, preferred_, preferences) != next || preferred_.size() > kMaxRomajiBytes) {
    preferred_.resize(kanaEnd);
    return next;
  }
  joined = small;
  return next + 2;
}

}  // namespace kanaflow
