// Question files of any bytes. The first byte picks the set's question count
// (1 to 64), the next sixteen the spelling preferences; the rest is the
// question file, read once line by line (QuestionLineReader) and once as a
// practice screen loads it (CQuestionSet::LoadQuestions).
//
// Lines are at most 253 bytes without a line break or a zero byte, and after
// a cut line every line is empty. Every question has a text and a reading
// (the file's pair of lines, or the substitute for an empty one), a romaji
// form of at most 253 bytes and a katakana form as long as the reading; and
// drawing questions at random gives each question once.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "questions/question_file.h"
#include "questions/question_set.h"
#include "romaji/romaji_rules.h"
#include "support/fuzz_support.h"

namespace kanaflow::fuzz {
namespace {

constexpr int kMaxCount = 64;

std::vector<std::string> ReadLines(std::string_view bytes, std::size_t count) {
  QuestionLineReader reader(bytes);
  std::vector<std::string> lines;
  bool cut = false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view line = reader.NextLine();
    FUZZ_CHECK(reader.lineNumber() == i + 1);
    FUZZ_CHECK(line.size() <= QuestionLineReader::kMaxLineBytes);
    FUZZ_CHECK(line.find_first_of(std::string_view("\n\0", 2)) == std::string_view::npos);
    FUZZ_CHECK(!cut || line.empty());
    cut = cut || reader.stoppedAtLongLine();
    lines.emplace_back(line);
  }
  return lines;
}

void CheckQuestion(const Question& question, const std::string& text, const std::string& reading) {
  if (text.empty() || reading.empty()) {
    FUZZ_CHECK(question.text == kSubstituteText);
  } else {
    FUZZ_CHECK(question.text == text && question.reading == reading);
  }
  FUZZ_CHECK(question.romaji.size() <= kMaxRomajiBytes);
  FUZZ_CHECK(question.katakana.size() == question.reading.size());
}

// The set file names the question file and the count; it is written again
// only when the count changes, as writing files is most of a run's time.
std::string WriteSetFile(const ScratchFolder& scratch, int count) {
  static int written = 0;
  static std::string path;
  if (count != written) {
    path = scratch.Write("data/set.ini", "[TypingQuesitonSetup]\r\nQuestionNumber=" + std::to_string(count) +
                                             "\r\nQuestionFileName=#questions.txt\r\n");
    written = count;
  }
  return path;
}

void CheckRandomOrder(CQuestionSet& set, std::uint32_t seed) {
  std::set<int> picked;
  for (int i = 0; i < set.questionCount(); ++i) {
    const int index = set.PickRandomQuestion(seed + static_cast<std::uint32_t>(i) * 7919u);
    FUZZ_CHECK(index >= 0 && index < set.questionCount());
    FUZZ_CHECK(picked.insert(index).second);
  }
}

}  // namespace
}  // namespace kanaflow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kanaflow;
  using namespace kanaflow::fuzz;
  if (size < 1 + kPreferenceBytes) return 0;
  ThrowOnFatalReports();
  const int count = 1 + data[0] % kMaxCount;
  const SpellingPreferences preferences = PreferencesFrom(data + 1, size - 1);
  const std::string_view file(reinterpret_cast<const char*>(data) + 1 + kPreferenceBytes, size - 1 - kPreferenceBytes);

  const ScratchFolder& scratch = ScratchFolder::Get();
  scratch.Write("data/questions.txt", file);
  const std::string setPath = WriteSetFile(scratch, count);
  const std::vector<std::string> lines = ReadLines(file, 2 * static_cast<std::size_t>(count));

  CQuestionSet set(setPath);
  try {
    FUZZ_CHECK(set.LoadQuestions(preferences) == 0);
  } catch (const FatalReported&) {
    FUZZ_CHECK(!"a readable question file with a valid count is never fatal");
  }
  FUZZ_CHECK(set.questionCount() == count);
  for (int i = 0; i < count; ++i) {
    const auto line = static_cast<std::size_t>(2 * i);
    CheckQuestion(set.questionAt(i), lines[line], lines[line + 1]);
  }
  CheckRandomOrder(set, data[0]);
  return 0;
}
