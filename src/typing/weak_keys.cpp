#include "typing/weak_keys.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace kanaflow {
namespace {

constexpr double kRecentWeight = 0.9;
constexpr std::size_t kRunsLookedAt = 50;  // older runs weigh under 0.6 %
constexpr double kMinStrokes = 5;          // weighted keystrokes before a key is judged
constexpr double kMissWeight = 5;          // a 20 % miss rate doubles a key's score

struct Totals {
  double strokes = 0, misses = 0, milliseconds = 0;
};

}  // namespace

std::vector<char> WeakKeys(const std::vector<RunRecord>& records, std::size_t count) {
  std::map<char, Totals> keys;
  Totals all;
  double weight = 1;
  std::size_t runs = 0;
  for (auto record = records.rbegin(); record != records.rend() && runs < kRunsLookedAt; ++record) {
    if (record->mode != 0 || record->keys.empty()) continue;
    for (const KeyFigures& figures : record->keys) {
      Totals& key = keys[figures.key];
      key.strokes += weight * figures.strokes;
      key.misses += weight * figures.misses;
      key.milliseconds += weight * figures.milliseconds;
      all.strokes += weight * figures.strokes;
      all.milliseconds += weight * figures.milliseconds;
    }
    weight *= kRecentWeight;
    ++runs;
  }
  if (all.strokes <= 0) return {};
  const double averageTime = std::max(all.milliseconds / all.strokes, 1.0);
  std::vector<std::pair<double, char>> scored;
  for (const auto& [key, totals] : keys) {
    if (totals.strokes < kMinStrokes) continue;
    const double missRate = totals.misses / totals.strokes;
    const double relativeTime = totals.milliseconds / totals.strokes / averageTime;
    scored.push_back({(1 + kMissWeight * missRate) * relativeTime, key});
  }
  // Worst first; equal scores in the keys' own order.
  std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<char> weak;
  for (std::size_t i = 0; i < scored.size() && i < count; ++i) weak.push_back(scored[i].second);
  return weak;
}

char KeyOfRomaji(char romajiChar) {
  return romajiChar >= 'a' && romajiChar <= 'z' ? static_cast<char>(romajiChar - 'a' + 'A') : romajiChar;
}

std::vector<Question> ChooseDrillQuestions(const std::vector<Question>& library, const std::vector<char>& keys,
                                           std::size_t count) {
  std::set<std::pair<std::string, std::string>> seen;
  std::vector<std::pair<int, const Question*>> scored;
  for (const Question& question : library) {
    if (!seen.insert({question.text, question.reading}).second) continue;
    int uses = 0;
    for (const char c : question.romaji) {
      if (std::find(keys.begin(), keys.end(), KeyOfRomaji(c)) != keys.end()) ++uses;
    }
    if (uses > 0) scored.push_back({uses, &question});
  }
  std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<Question> chosen;
  for (std::size_t i = 0; i < scored.size() && i < count; ++i) chosen.push_back(*scored[i].second);
  return chosen;
}

std::string KeysText(const std::vector<char>& keys) {
  std::string text;
  for (const char key : keys) {
    if (!text.empty()) text += ' ';
    text += key;
  }
  return text;
}

}  // namespace kanaflow
