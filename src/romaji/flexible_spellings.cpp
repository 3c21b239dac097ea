#include "romaji/flexible_spellings.h"

#include <algorithm>
#include <array>

#include "platform/cp932.h"
#include "romaji/kana_tables.h"
#include "romaji/romaji_rules.h"

namespace kanaflow {
namespace {

constexpr std::uint16_t kSyllabicN = 0x82F1;  // ん
constexpr std::string_view kSmallTsuAlone[] = {"ltu", "xtu", "ltsu", "xtsu"};
// A single n before a unit that starts with one of these would be read as
// part of that unit.
constexpr std::string_view kNotAfterSingleN = "aiueony";

// The spellings of one table row: the preferred one first, then the others,
// each with its first letter doubled where it follows a っ.
struct Forms {
  std::array<std::array<char, 8>, 4> text{};
  std::array<std::size_t, 4> length{};
  std::size_t count = 0;

  std::string_view operator[](std::size_t i) const { return {text[i].data(), length[i]}; }
  void Push(std::string_view spelling, bool doubled) {
    std::array<char, 8> form{};
    std::size_t n = 0;
    if (doubled) form[n++] = spelling[0];
    for (char c : spelling) form[n++] = c;
    for (std::size_t i = 0; i < count; ++i) {
      if ((*this)[i] == std::string_view(form.data(), n)) return;
    }
    text[count] = form;
    length[count++] = n;
  }
};

Forms FormsOf(const KanaRow& row, const SpellingPreferences& preferences, bool afterSokuon) {
  Forms forms;
  const bool doubled = afterSokuon && row.afterSokuon == AfterSokuon::Doubled;
  const std::string_view preferred = SpellingOf(row, preferences);
  if (!preferred.empty()) forms.Push(preferred, doubled);
  for (std::string_view spelling : row.spellings) {
    if (!spelling.empty() && spelling.size() <= kLongestSpelling) forms.Push(spelling, doubled);
  }
  return forms;
}

}  // namespace

std::string_view FlexibleSpellings::Spelling(std::size_t unit, std::size_t index) const {
  const Span& span = spans_[units_[unit].first + index];
  return std::string_view(text_).substr(span.offset, span.length);
}

void FlexibleSpellings::BeginUnit() {
  Unit unit;
  unit.first = static_cast<std::uint32_t>(spans_.size());
  units_.push_back(unit);
}

void FlexibleSpellings::Add(std::string_view prefix, std::string_view body) {
  Unit& unit = units_.back();
  if (unit.count == kMaxUnitSpellings) return;
  const std::size_t length = prefix.size() + body.size();
  for (std::uint32_t i = 0; i < unit.count; ++i) {
    const Span& span = spans_[unit.first + i];
    if (span.length == length && text_.compare(span.offset, prefix.size(), prefix) == 0 &&
        text_.compare(span.offset + prefix.size(), body.size(), body) == 0) {
      return;
    }
  }
  spans_.push_back({static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(length)});
  text_.append(prefix).append(body);
  ++unit.count;
}

// The unit of two-byte characters from `pos` to `last`, whose preferred
// spelling is already in place.
void FlexibleSpellings::AddKanaUnit(std::string_view reading, std::size_t pos, std::size_t last,
                                    const SpellingPreferences& preferences) {
  const std::uint16_t code = cp932::DoubleByteCodeAt(reading, pos);
  if (code == kSmallTsu && last == pos) {
    for (std::string_view tsu : kSmallTsuAlone) Add(tsu, {});
    return;
  }
  const bool sokuon = code == kSmallTsu;
  const std::size_t kanaPos = sokuon ? pos + 2 : pos;
  const std::uint16_t kana = cp932::DoubleByteCodeAt(reading, kanaPos);
  const std::uint16_t small = last > kanaPos ? cp932::DoubleByteCodeAt(reading, last) : 0;
  const KanaRow* row = FindSpelledKana(kana, small);
  if (row == nullptr) {
    if (kana == kSyllabicN) {
      Add("n", {});  // allowed or not by what follows, see AllowSingleN
      units_.back().isN = true;
    } else if (const KanaRow* alone = FindStandaloneCharacter(kana)) {
      const Forms forms = FormsOf(*alone, preferences, false);
      for (std::size_t i = 0; i < forms.count; ++i) Add(forms[i], {});
    }
    return;
  }
  const KanaRow* first = row->IsCombination() ? FindSpelledKana(kana, 0) : nullptr;
  const KanaRow* smallRow = row->IsCombination() ? FindStandaloneCharacter(small) : nullptr;
  const auto addAll = [&](std::string_view tsu, bool afterSokuon) {
    const Forms whole = FormsOf(*row, preferences, afterSokuon);
    for (std::size_t i = 0; i < whole.count; ++i) Add(tsu, whole[i]);
    if (first == nullptr || smallRow == nullptr) return;
    // A combination typed as its two kana, such as shi + xya for しゃ.
    const Forms kanaForms = FormsOf(*first, preferences, afterSokuon);
    const Forms smallForms = FormsOf(*smallRow, preferences, false);
    for (std::size_t i = 0; i < kanaForms.count; ++i) {
      for (std::size_t j = 0; j < smallForms.count; ++j) {
        std::array<char, 16> both{};
        const std::string_view a = kanaForms[i], b = smallForms[j];
        std::copy(a.begin(), a.end(), both.begin());
        std::copy(b.begin(), b.end(), both.begin() + static_cast<std::ptrdiff_t>(a.size()));
        Add(tsu, std::string_view(both.data(), a.size() + b.size()));
      }
    }
  };
  addAll({}, sokuon);
  if (!sokuon) return;
  for (std::string_view tsu : kSmallTsuAlone) addAll(tsu, false);
}

void FlexibleSpellings::AllowSingleN() {
  for (std::size_t i = 0; i < units_.size(); ++i) {
    Unit& unit = units_[i];
    unit.initial = unit.count == kMaxUnitSpellings ? ~SpellingMask{0} : (SpellingMask{1} << unit.count) - 1;
    if (!unit.isN) continue;
    bool allowed = i + 1 < units_.size();
    for (std::size_t s = 0; allowed && s < units_[i + 1].count; ++s) {
      allowed = kNotAfterSingleN.find(Spelling(i + 1, s)[0]) == std::string_view::npos;
    }
    if (allowed) continue;
    for (std::size_t s = 0; s < unit.count; ++s) {
      if (Spelling(i, s) == "n") unit.initial &= ~(SpellingMask{1} << s);
    }
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
  AllowSingleN();
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
    }
    if (preferred_.size() > kMaxRomajiBytes) {
      preferred_.resize(before);  // the romaji form stops before this unit
      break;
    }
    BeginUnit();
    Add(std::string_view(preferred_).substr(before), {});
    if (next > pos + 1) AddKanaUnit(reading, pos, next - 2, preferences);
    units_.back().preferredEnd = static_cast<std::uint32_t>(preferred_.size());
    pos = next;
  }
  AllowSingleN();
}

}  // namespace kanaflow
