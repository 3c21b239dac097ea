#include "platform/box_text.h"

#include <vector>

#include "platform/cp932.h"

namespace kanaflow {
namespace {

constexpr std::string_view kEllipsis = "…";  // 0x81 0x63 in code page 932
constexpr std::size_t kEllipsisColumns = 2;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (;;) {
    const std::size_t feed = text.find('\n');
    if (feed == std::string_view::npos) break;
    lines.push_back(text.substr(0, feed));
    text.remove_prefix(feed + 1);
  }
  lines.push_back(text);
  return lines;
}

// The longest start of the line whose width is at most `columns`.
std::size_t HeadBytes(std::string_view line, std::size_t columns) {
  std::size_t pos = 0;
  while (pos < line.size() && cp932::NextChar(line, pos) <= columns) pos = cp932::NextChar(line, pos);
  return pos;
}

// Where the shortest end of the line whose width is at most `columns`
// begins. Character starts are found from the front: a trail byte can look
// like a lead byte, so CP932 is never read backwards.
std::size_t TailStart(std::string_view line, std::size_t columns) {
  std::size_t pos = 0;
  while (pos < line.size() && line.size() - pos > columns) pos = cp932::NextChar(line, pos);
  return pos;
}

}  // namespace

std::string ShortenInMiddle(std::string_view line, std::size_t columns) {
  if (line.size() <= columns) return std::string(line);
  const std::size_t room = columns > kEllipsisColumns ? columns - kEllipsisColumns : 0;
  const std::size_t head = HeadBytes(line, room - room / 2);
  const std::size_t tail = TailStart(line, room - head);
  return std::string(line.substr(0, head)) + std::string(kEllipsis) + std::string(line.substr(tail));
}

std::string FitLines(std::string_view text, std::size_t columns, std::size_t maxLines) {
  std::vector<std::string_view> lines = SplitLines(text);
  if (maxLines > 0 && lines.size() > maxLines) {
    const std::size_t kept = maxLines - 1;  // one line becomes "…"
    const std::size_t front = kept - kept / 2;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(front),
                lines.end() - static_cast<std::ptrdiff_t>(kept / 2));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(front), kEllipsis);
  }
  std::string fitted;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) fitted += '\n';
    fitted += ShortenInMiddle(lines[i], columns);
  }
  return fitted;
}

}  // namespace kanaflow
