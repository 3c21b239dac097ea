// The three modes of practice, one name for the main menu's entries, the
// scene's selected mode, the screens they open and the matcher's judgement.
#pragma once

namespace kanaflow {

enum class PracticeMode : int {
  Basic = 0,      // key by key against the romaji, on the virtual keyboard
  Hiragana = 1,   // the reading written into an edit box, no conversion
  KanjiKana = 2,  // the text itself written into an edit box, converting
};

inline constexpr PracticeMode kPracticeModes[] = {PracticeMode::Basic, PracticeMode::Hiragana,
                                                  PracticeMode::KanjiKana};

}  // namespace kanaflow
