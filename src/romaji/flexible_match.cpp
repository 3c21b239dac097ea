#include "romaji/flexible_match.h"

#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace kanaflow {
namespace {

// Room for the longest typing of a question: every unit in its longest
// spelling (ltsu + shi + xya) and the preferred form after it.
constexpr std::size_t kTypedRoom = 2048;

// The index of the lowest spelling in a mask that is not empty.
int Lowest(SpellingMask mask) {
#if defined(_MSC_VER)
  unsigned long index = 0;
  _BitScanForward64(&index, mask);
  return static_cast<int>(index);
#else
  return __builtin_ctzll(mask);
#endif
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
  for (; mask != 0; mask &= mask - 1) {
    const std::size_t length = spellings_.Spelling(unit_, static_cast<std::size_t>(Lowest(mask))).size();
    lengths.complete = lengths.complete || length == typedInUnit_;
    lengths.longer = lengths.longer || length > typedInUnit_;
  }
  return lengths;
}

void FlexibleMatch::EnterUnit(std::size_t unit, SpellingMask mask, std::size_t typed) {
  unit_ = unit;
  mask_ = mask;
  typedInUnit_ = typed;
  // A unit ends as soon as nothing longer fits; one that a longer spelling
  // could still continue (n of ん) stays open, except the last.
  if (Done()) return;
  const Lengths lengths = LengthsIn(mask_);
  if (!lengths.complete || (lengths.longer && unit_ + 1 < spellings_.unitCount())) return;
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
    if (next >= spellings_.unitCount() || !LengthsIn(mask_).complete) return false;
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
