#include "romaji/flexible_match.h"

namespace kanaflow {
namespace {

// Room for the longest typing of a question: every unit in its longest
// spelling (xtsu + whu for っう, seven keys for one) and the preferred form
// after it.
constexpr std::size_t kTypedRoom = 2048;

}  // namespace

void FlexibleMatch::Start(std::string_view reading, std::string_view romaji, const SpellingPreferences& preferences) {
  // Once, at the first question, so that no key ever has to make room.
  typed_.reserve(kTypedRoom);
  shown_.reserve(2 * kTypedRoom);
  spellings_.Build(reading, preferences);
  if (spellings_.Preferred() != romaji) spellings_.BuildSingle(romaji);
  typed_.clear();
  EnterUnit(0, spellings_.unitCount() > 0 ? spellings_.InitialMask(0) : 0, 0);
  UpdateShown();
}

SpellingMask FlexibleMatch::Fitting(std::size_t unit, SpellingMask mask, std::size_t at, char byte) const {
  return spellings_.WithKeyAt(unit, mask, at, byte);
}

// Every spelling in a mask has what is typed of the unit as its start; none
// is empty, so none ends before a key is typed.
FlexibleMatch::Lengths FlexibleMatch::LengthsIn(SpellingMask mask) const {
  const SpellingMask ends = typedInUnit_ == 0 ? 0 : Fitting(unit_, mask, typedInUnit_, '\0');
  const SpellingMask guarded = ends & spellings_.GuardedMask(unit_);
  return {ends != guarded, guarded != 0, (mask & ~ends) != 0};
}

bool FlexibleMatch::CompleteBefore(char byte) const {
  const SpellingMask ends = Fitting(unit_, mask_, typedInUnit_, '\0');
  const SpellingMask guarded = ends & spellings_.GuardedMask(unit_);
  if (ends != guarded) return true;
  for (SpellingMask each = guarded; !each.empty(); each.DropLowest()) {
    if (spellings_.MayFollow(unit_, static_cast<std::size_t>(each.Lowest()), byte)) return true;
  }
  return false;
}

void FlexibleMatch::EnterUnit(std::size_t unit, SpellingMask mask, std::size_t typed) {
  unit_ = unit;
  mask_ = mask;
  typedInUnit_ = typed;
  // A unit ends as soon as nothing longer fits; one that a longer spelling
  // could still continue stays open, except the last, and so does one that
  // the next key decides (n or m for ん), which is never the last.
  if (Done()) return;
  const Lengths lengths = LengthsIn(mask_);
  if (!lengths.complete || ((lengths.longer || lengths.guarded) && unit_ + 1 < spellings_.unitCount())) return;
  const std::size_t next = unit_ + 1;
  EnterUnit(next, next < spellings_.unitCount() ? spellings_.InitialMask(next) : 0, 0);
}

bool FlexibleMatch::Accept(char byte) {
  if (Done() || byte == '\0') return false;  // a zero byte stands for the end of a spelling
  const SpellingMask here = Fitting(unit_, mask_, typedInUnit_, byte);
  if (here != 0) {
    EnterUnit(unit_, here, typedInUnit_ + 1);
  } else {
    // The byte may begin the next unit when what is typed already completes
    // this one (a single n for ん before a consonant).
    const std::size_t next = unit_ + 1;
    if (next >= spellings_.unitCount() || !CompleteBefore(byte)) return false;
    const SpellingMask there = Fitting(next, spellings_.InitialMask(next), 0, byte);
    if (there == 0) return false;
    EnterUnit(next, there, 1);
  }
  typed_ += byte;
  UpdateShown();
  return true;
}

void FlexibleMatch::UpdateShown() {
  shown_.assign(typed_);
  if (Done()) return;
  const std::string_view current = spellings_.Spelling(unit_, static_cast<std::size_t>(mask_.Lowest()));
  shown_.append(current.substr(typedInUnit_));
  shown_.append(spellings_.Preferred().substr(spellings_.PreferredEnd(unit_)));
}

}  // namespace kanaflow
