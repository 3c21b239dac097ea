#include "kanaflow-check/ini_key_lines.h"

#include "platform/cp932.h"

namespace kanaflow::check {
namespace {

constexpr bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The next line and where the one after it starts: CR LF, LF and a lone CR
// each end a line, as for the profile reader.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
  const std::size_t begin = pos;
  const std::size_t end = text.find_first_of("\r\n", pos);
  if (end == std::string_view::npos) {
    pos = text.size();
    return text.substr(begin);
  }
  pos = end + 1;
  if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  return text.substr(begin, end - begin);
}

// "[name]" up to its last "]", found by character (a trail byte can be "]").
bool SectionName(std::string_view trimmed, std::string_view& name) {
  if (trimmed.empty() || trimmed.front() != '[') return false;
  std::size_t close = std::string_view::npos;
  for (std::size_t pos = 1; pos < trimmed.size(); pos = cp932::NextChar(trimmed, pos)) {
    if (trimmed[pos] == ']') close = pos;
  }
  if (close == std::string_view::npos) return false;
  name = Trim(trimmed.substr(1, close - 1));
  return true;
}

}  // namespace

int KeyLine(std::string_view text, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  bool inSection = false;
  bool sectionSeen = false;
  int number = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::string_view trimmed = Trim(NextLine(text, pos));
    ++number;
    std::string_view name;
    if (SectionName(trimmed, name)) {
      if (sectionSeen) return 0;  // a second section of the name is never read
      inSection = cp932::EqualIgnoringAsciiCase(name, section);
      sectionSeen = inSection;
      continue;
    }
    if (!inSection || trimmed.empty()) continue;
    const std::string_view keyName = Trim(trimmed.substr(0, trimmed.find('=')));
    if (cp932::EqualIgnoringAsciiCase(keyName, key)) return number;
  }
  return 0;
}

int SectionLine(std::string_view text, std::string_view section) {
  section = Trim(section);
  int number = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::string_view trimmed = Trim(NextLine(text, pos));
    ++number;
    std::string_view name;
    if (SectionName(trimmed, name) && cp932::EqualIgnoringAsciiCase(name, section)) return number;
  }
  return 0;
}

}  // namespace kanaflow::check
