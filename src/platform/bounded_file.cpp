#include "platform/bounded_file.h"

#include "platform/file_system.h"

namespace kanaflow {

BoundedFileBytes WholeLinesWithin(std::string start, std::size_t limit, std::string_view lineEnds) {
  BoundedFileBytes file;
  file.cut = start.size() > limit;
  if (file.cut) {
    const std::size_t lastEnd = limit == 0 ? std::string::npos : start.find_last_of(lineEnds, limit - 1);
    start.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
  }
  file.bytes = std::move(start);
  return file;
}

std::optional<BoundedFileBytes> ReadWholeLinesWithin(const std::string& path, std::size_t limit,
                                                     std::string_view lineEnds) {
  std::optional<std::string> start = ReadFileStart(path, limit + 1);
  if (!start) return std::nullopt;
  return WholeLinesWithin(std::move(*start), limit, lineEnds);
}

}  // namespace kanaflow
