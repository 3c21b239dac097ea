// Typing one question in any of its usual spellings: which unit the user is
// in, what of it they have typed, and which of its spellings still fit.
// Deciding a key looks at the spellings of one unit (two when a unit may
// already be complete, as a single n for ん is) and allocates nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "romaji/flexible_spellings.h"
#include "settings/spelling_preferences.h"

namespace kanaflow {

class FlexibleMatch {
 public:
  // A new question: its units from the reading, checked against the romaji
  // form so that the preferred spellings are exactly that form.
  void Start(std::string_view reading, std::string_view romaji, const SpellingPreferences& preferences);
  // Takes the byte when some spelling of the rest of the question starts
  // with what is typed of the current unit and it; false changes nothing.
  bool Accept(char byte);
  // Every unit is complete.
  bool Done() const { return unit_ >= spellings_.unitCount(); }
  // What is typed, then the rest of the current unit in its first spelling
  // that still fits, then the later units in their preferred spellings.
  std::string_view Shown() const { return shown_; }
  std::size_t typedLength() const { return typed_.size(); }

 private:
  // The spellings in `mask` of `unit` that have `byte` at `at`.
  SpellingMask Fitting(std::size_t unit, SpellingMask mask, std::size_t at, char byte) const;
  // Against what is typed of the current unit: whether some spelling in the
  // mask is exactly that (complete), whether some guarded one is (complete
  // only with a key after it that it allows), and whether some goes on past it.
  struct Lengths {
    bool complete = false;
    bool guarded = false;
    bool longer = false;
  };
  Lengths LengthsIn(SpellingMask mask) const;
  // Whether what is typed completes the current unit when `byte` begins the next.
  bool CompleteBefore(char byte) const;
  void EnterUnit(std::size_t unit, SpellingMask mask, std::size_t typed);
  void UpdateShown();

  FlexibleSpellings spellings_;
  std::size_t unit_ = 0;
  std::size_t typedInUnit_ = 0;
  SpellingMask mask_ = 0;
  std::string typed_;
  std::string shown_;
};

}  // namespace kanaflow
