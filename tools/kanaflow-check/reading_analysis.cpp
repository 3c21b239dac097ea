#include "kanaflow-check/reading_analysis.h"

#include <cstdint>

#include "platform/cp932.h"
#include "romaji/romaji_rules.h"

namespace kanaflow::check {
namespace {

// Appends each character of `unit` that `list` does not hold yet.
void AddCharacters(std::string_view unit, std::string& list) {
  for (std::size_t pos = 0; pos < unit.size(); pos = cp932::NextChar(unit, pos)) {
    const std::string_view character = unit.substr(pos, cp932::CharLength(unit, pos));
    bool seen = false;
    for (std::size_t at = 0; at < list.size() && !seen; at = cp932::NextChar(list, at)) {
      seen = list.compare(at, cp932::CharLength(list, at), character) == 0;
    }
    if (!seen) list.append(character);
  }
}

constexpr std::uint16_t kLongVowelMark = 0x815B;     // ー
constexpr std::uint16_t kIdeographicComma = 0x8141;  // 、
constexpr std::uint16_t kIdeographicStop = 0x8142;   // 。
constexpr std::uint16_t kIterationMark = 0x8158;     // 々

bool IsHiraganaCode(std::uint16_t code) {
  return (code >= 0x829F && code <= 0x82F1) || code == kLongVowelMark || code == kIdeographicComma ||
         code == kIdeographicStop;
}

bool IsKanjiCode(std::uint16_t code) {
  return (code >= 0x889F && code <= 0x9FFC) || (code >= 0xE040 && code <= 0xEAA4) ||
         (code >= 0xED40 && code <= 0xEEFC) || (code >= 0xFA5C && code <= 0xFC4B) || code == kIterationMark;
}

}  // namespace

ReadingAnalysis AnalyseReading(std::string_view reading, const SpellingPreferences& preferences) {
  ReadingAnalysis analysis;
  std::string spelled;
  for (std::size_t pos = 0; pos < reading.size();) {
    const auto byte = static_cast<unsigned char>(reading[pos]);
    if (byte == 0) break;  // the end of the program's reading buffer
    std::size_t next = pos + 1;
    spelled.clear();
    if (!cp932::IsLeadByte(byte)) {
      spelled.push_back(static_cast<char>(byte));  // single bytes are copied as they are
    } else if (cp932::DoubleByteCodeAt(reading, pos) != 0 && reading[pos + 1] != '\0') {
      next = cp932::NextChar(reading, AppendKanaRomaji(reading, pos, spelled, preferences));
    }
    const std::string_view unit = reading.substr(pos, next - pos);
    analysis.fullRomajiBytes += spelled.size();
    if (spelled.empty()) {
      AddCharacters(unit, analysis.silentCharacters);
    } else if (!IsTypeable(spelled)) {
      AddCharacters(unit, analysis.untypeableCharacters);
    }
    pos = next;
  }
  return analysis;
}

bool IsTypeable(std::string_view romaji) {
  for (const char c : romaji) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E) return false;
  }
  return true;
}

bool IsPlainHiragana(std::string_view reading) {
  if (reading.empty()) return false;
  for (std::size_t pos = 0; pos < reading.size(); pos = cp932::NextChar(reading, pos)) {
    if (!IsHiraganaCode(cp932::DoubleByteCodeAt(reading, pos))) return false;
  }
  return true;
}

bool HoldsKanji(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size(); pos = cp932::NextChar(text, pos)) {
    if (IsKanjiCode(cp932::DoubleByteCodeAt(text, pos))) return true;
  }
  return false;
}

int EstimatedEditBoxWidth(std::string_view text) {
  int width = 0;
  for (std::size_t pos = 0; pos < text.size(); pos = cp932::NextChar(text, pos)) {
    width += cp932::CharLength(text, pos) == 2 ? 16 : 8;
  }
  return width;
}

bool FitsEditBox(std::string_view target) {
  return target.size() <= kEditBoxTextBytes && EstimatedEditBoxWidth(target) <= kEditBoxWidth;
}

}  // namespace kanaflow::check
