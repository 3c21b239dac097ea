#include "romaji/flexible_match.h"

#include <cstdint>

namespace kanaflow {
namespace {

// Room for the longest typing of a question: every unit in its longest
// spelling (xtsu + whu for っう, seven keys for one) and the preferred form
// after it.
constexpr std::size_t kTypedRoom = 2048;

// The index of the lowest spelling in a mask that is not empty.
int Lowest(SpellingMask mask) {
  const auto low = static_cast<std::uint64_t>(mask);
  return low != 0 ? __builtin_ctzll(low) : 64 + __builtin_ctzll(static_cast<std::uint64_t>(mask >> 64));
}

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
  SpellingMask fitting = 0;
  for (; mask != 0; mask &= mask - 1) {
    const int index = Lowest(mask);
    const std::string_view spelling = spellings_.Spelling(unit, static_cast<std::size_t>(index));
    if (at < spelling.size() && spelling[at] == byte) fitting |= SpellingMask{1} << index;
  }
  return fitting;
}

FlexibleMatch::Lengths FlexibleMatch::LengthsIn(SpellingMask mask) const {
  Lengths lengths;
  const SpellingMask guarded = spellings_.GuardedMask(unit_);
  for (; mask != 0; mask &= mask - 1) {
    const int index = Lowest(mask);
    const std::size_t length = spellings_.Spelling(unit_, static_cast<std::size_t>(index)).size();
    if (length == typedInUnit_) {
      bool& complete = (guarded >> index & 1) != 0 ? lengths.guarded : lengths.complete;
      complete = true;
    }
    lengths.longer = lengths.longer || length > typedInUnit_;
  }
  return lengths;
}

bool FlexibleMatch::CompleteBefore(char byte) const {
  const Lengths lengths = LengthsIn(mask_);
  if (lengths.complete) return true;
  if (!lengths.guarded) return false;
  for (SpellingMask mask = mask_ & spellings_.GuardedMask(unit_); mask != 0; mask &= mask - 1) {
    const auto index = static_cast<std::size_t>(Lowest(mask));
    if (spellings_.Spelling(unit_, index).size() == typedInUnit_ && spellings_.MayFollow(unit_, index, byte)) {
      return true;
    }
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
  if (Done()) return false;
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
  const std::string_view current = spellings_.Spelling(unit_, static_cast<std::size_t>(Lowest(mask_)));
  shown_.append(current.substr(typedInUnit_));
  shown_.append(spellings_.Preferred().substr(spellings_.PreferredEnd(unit_)));
}

}  // namespace kanaflow
