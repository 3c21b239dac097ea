// Every usual spelling of each unit of a reading, for the basic screen when
// the user asks it to accept more than the one spelling the preferences pick.
// A unit is what one kana conversion spells (a っ, a kana and its small
// kana, or one other character), or a kana and the small kana after it that
// input methods spell as one sound (しぇ she); its spellings are those of
// every preference value and of the input methods' romaji tables, the
// after-っ forms (a doubled letter, t before ch), a two-kana sound typed as
// its two kana, っ typed on its own (ltu, xtu, ltsu, xtsu), and ん typed as
// a single n, or m before b and p, where the key after it cannot be misread.
// The preferred spelling of every unit comes first, so the preferred
// spellings put together are the question's romaji form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "romaji/spelling_mask.h"
#include "settings/spelling_preferences.h"

namespace kanaflow {

// No unit has more spellings than this, so a set of them fits one mask (っ
// and a two-kana sound such as っうぃ, with every way to type either, has 80).
inline constexpr std::size_t kMaxUnitSpellings = 128;

class FlexibleSpellings {
 public:
  // Replaces the units with those of `reading`, as many as its romaji form
  // holds (kMaxRomajiBytes). Keeps the storage, so that building question
  // after question allocates only while it still grows.
  void Build(std::string_view reading, const SpellingPreferences& preferences);

  // One unit with `romaji` as its only spelling: for a romaji form that is
  // not the reading's own (a question that stands in for a missing one).
  void BuildSingle(std::string_view romaji);

  std::size_t unitCount() const { return units_.size(); }
  std::size_t spellingCount(std::size_t unit) const { return units_[unit].count; }
  std::string_view Spelling(std::size_t unit, std::size_t index) const;
  // The spellings allowed when the unit begins: all but the guarded ones in
  // the last unit, where no key comes after them.
  SpellingMask InitialMask(std::size_t unit) const { return units_[unit].initial; }
  // Spellings that complete the unit only together with the key after them
  // (n and m for ん), which MayFollow decides.
  SpellingMask GuardedMask(std::size_t unit) const { return units_[unit].guarded; }
  // Whether `byte`, the first key of the next unit, may come right after the
  // guarded spelling `index`: not a vowel, n or y after a single n, so that
  // んあ is never read as な; only b or p after m.
  bool MayFollow(std::size_t unit, std::size_t index, char byte) const;
  // The spellings in `mask` of `unit` that have `byte` at `at`, or that end
  // at `at` when `byte` is zero; none of them may end before `at`.
  SpellingMask WithKeyAt(std::size_t unit, SpellingMask mask, std::size_t at, char byte) const;
  // The preferred spellings of all units, one after another.
  std::string_view Preferred() const { return preferred_; }
  // Where the unit's preferred spelling ends in Preferred().
  std::size_t PreferredEnd(std::size_t unit) const { return units_[unit].preferredEnd; }

 private:
  struct Unit {
    std::uint32_t first = 0;  // index of its first spelling in spans_
    std::uint32_t count = 0;
    std::uint32_t preferredEnd = 0;
    SpellingMask initial = 0;
    SpellingMask guarded = 0;
  };
  struct Span {
    std::uint32_t offset;
    std::uint32_t length;
    std::uint64_t head;  // its first eight bytes, to tell spellings apart at once
  };

  void BeginUnit();
  // Adds `prefix` + `body` to the current unit unless one of its spellings
  // from `from` on is the same (or the unit is full).
  void Add(std::string_view prefix, std::string_view body, std::uint32_t from = 0);
  // Adds the unit's spellings [from, to) again with `prefix` in place of
  // their first `replaced` bytes: none of them can be there yet.
  void AddWithPrefix(std::string_view prefix, std::uint32_t from, std::uint32_t to, std::size_t replaced);
  struct Forms;  // the spellings of one table row, as typed where the unit stands
  void AddForms(std::string_view prefix, const Forms& forms, std::uint32_t from = 0);
  void AddKanaUnit(std::string_view reading, std::size_t pos, std::size_t last, std::uint16_t joined,
                   const SpellingPreferences& preferences);
  void AddStandalone(std::uint16_t code, const SpellingPreferences& preferences);
  void SetInitialMasks();
  std::size_t JoinSound(std::string_view reading, std::size_t last, const SpellingPreferences& preferences,
                        std::uint16_t& joined);

  std::vector<Unit> units_;
  std::vector<Span> spans_;
  std::string text_;
  std::string preferred_;
};

}  // namespace kanaflow
