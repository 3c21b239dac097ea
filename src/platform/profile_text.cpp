#include "platform/profile_text.h"

#include "platform/cp932.h"

namespace kanaflow {
namespace {

// DOS end-of-file (Ctrl+Z) counts as white space, as on old setup disks.
constexpr bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// One line of the file: where it starts, where its content ends (before the
// line break) and where the next line starts.
struct Line {
  std::size_t begin = 0;
  std::size_t contentEnd = 0;
  std::size_t next = 0;
  int number = 0;  // counted from 1
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Where the file's text begins: after a UTF-8 byte order mark, which some
// editors put before the first section and which is no part of its name.
// It stays in the file when the file is rewritten.
std::size_t TextStart(std::string_view text) { return Utf8MarkLength(text); }

class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text), pos_(TextStart(text)) {}

  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    line.begin = pos_;
    line.number = ++number_;
    // CR LF, LF and a lone CR (old Macintosh files) each end a line.
    const std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
      line.contentEnd = line.next = text_.size();
    } else {
      line.contentEnd = end;
      line.next = end + 1;
      if (text_[end] == '\r' && line.next < text_.size() && text_[line.next] == '\n') ++line.next;
    }
    pos_ = line.next;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_;
  int number_ = 0;
};

// A trimmed line that is "[name]": the name between "[" and the last "]",
// without blanks. The "]" is found by character: a trail byte can be 0x5D.
std::optional<std::string_view> SectionName(std::string_view trimmed) {
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  std::size_t close = std::string_view::npos;
  for (std::size_t pos = 1; pos < trimmed.size(); pos = cp932::NextChar(trimmed, pos)) {
    if (trimmed[pos] == ']') close = pos;
  }
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(trimmed.substr(1, close - 1));
}

struct KeyLine {
  std::string_view name;
  std::optional<std::string_view> value;  // absent for a line without "="
};

KeyLine ParseKeyLine(std::string_view trimmed) {
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return {trimmed, std::nullopt};
  return {Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

std::string_view Content(std::string_view text, const Line& line) {
  return text.substr(line.begin, line.contentEnd - line.begin);
}

// Where a section's lines are in the file, and the key line found in it.
struct Location {
  bool sectionFound = false;
  int sectionLineNumber = 0;      // the line of its header
  std::size_t afterLastLine = 0;  // just after the section's last non-blank line
  std::optional<Line> keyLine;
  std::optional<std::string_view> value;
  std::string_view keyName;
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  Location location;
  bool inSection = false;
  LineCursor cursor(text);
  Line line;
  while (cursor.Next(line)) {
    const std::string_view trimmed = Trim(Content(text, line));
    if (const auto name = SectionName(trimmed)) {
      // Only the first section of a name counts; a later one ends the search.
      if (location.sectionFound) break;
      inSection = cp932::EqualIgnoringAsciiCase(*name, section);
      if (inSection) {
        location.sectionFound = true;
        location.sectionLineNumber = line.number;
        location.afterLastLine = line.next;
      }
      continue;
    }
    if (!inSection || trimmed.empty()) continue;
    location.afterLastLine = line.next;
    const KeyLine keyLine = ParseKeyLine(trimmed);
    if (!location.keyLine && cp932::EqualIgnoringAsciiCase(keyLine.name, key)) {
      location.keyLine = line;
      location.value = keyLine.value;
      location.keyName = keyLine.name;
    }
  }
  return location;
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// New lines end as the file's first line does: CR LF (also in a file of
// one line without a line break), LF, or a lone CR (old Macintosh files).
std::string_view LineBreakOf(std::string_view text) {
  const std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) return "\r\n";
  if (text[end] == '\n') return "\n";
  return end + 1 < text.size() && text[end + 1] == '\n' ? "\r\n" : "\r";
}

constexpr bool EndsLine(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::size_t Utf8MarkLength(std::string_view text) {
  return text.substr(0, kUtf8Mark.size()) == kUtf8Mark ? kUtf8Mark.size() : 0;
}

bool ProfileText::IsUtf16(std::string_view bytes) {
  const std::string_view mark = bytes.substr(0, 2);
  return mark == "\xFF\xFE" || mark == "\xFE\xFF";
}

std::optional<std::string> ProfileText::Find(std::string_view section, std::string_view key) const {
  const Location location = Locate(bytes_, section, key);
  if (!location.value) return std::nullopt;
  return std::string(cp932::CutToFit(StripQuotes(*location.value), kMaxValueBytes));
}

int ProfileText::KeyLineNumber(std::string_view section, std::string_view key) const {
  const Location location = Locate(bytes_, section, key);
  return location.keyLine ? location.keyLine->number : 0;
}

int ProfileText::SectionLineNumber(std::string_view section) const {
  return Locate(bytes_, section, std::string_view()).sectionLineNumber;
}

std::string ProfileText::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
  if (auto value = Find(section, key)) return std::move(*value);
  while (!defaultValue.empty() && IsBlank(defaultValue.back())) defaultValue.remove_suffix(1);
  return std::string(cp932::CutToFit(defaultValue, kMaxValueBytes));
}

void ProfileText::SetString(std::string_view section, std::string_view key, std::string_view value) {
  const Location location = Locate(bytes_, section, key);
  const std::string_view lineBreak = LineBreakOf(bytes_);
  if (location.keyLine) {
    const Line& line = *location.keyLine;
    const std::string replacement = std::string(location.keyName) + "=" + std::string(value);
    bytes_.replace(line.begin, line.contentEnd - line.begin, replacement);
    return;
  }
  std::string newLine = std::string(Trim(key)) + "=" + std::string(value) + std::string(lineBreak);
  if (location.sectionFound) {
    std::size_t at = location.afterLastLine;
    // The section's last line may be the file's last, without a line break.
    if (at == bytes_.size() && !bytes_.empty() && !EndsLine(bytes_.back())) {
      bytes_ += lineBreak;
      at = bytes_.size();
    }
    bytes_.insert(at, newLine);
    return;
  }
  if (bytes_.size() > TextStart(bytes_) && !EndsLine(bytes_.back())) bytes_ += lineBreak;
  bytes_ += "[" + std::string(Trim(section)) + "]" + std::string(lineBreak) + newLine;
}

}  // namespace kanaflow
