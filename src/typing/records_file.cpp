#include "typing/records_file.h"

#include "platform/file_system.h"

namespace kanaflow {

bool AppendRecord(const std::string& path, const RunRecord& record) {
  std::string bytes;
  const std::optional<FileTail> last = ReadFileTail(path, 1);
  if (!last || last->size == 0) {
    bytes = kRecordsHeader;
  } else if (last->bytes != "\n") {
    bytes = "\r\n";
  }
  return AppendToFile(path, bytes + FormatRecordLine(record));
}

std::vector<RunRecord> ParseRecords(std::string_view bytes, bool fromMiddle) {
  std::vector<RunRecord> records;
  std::size_t start = 0;
  if (fromMiddle) {
    const std::size_t firstEnd = bytes.find('\n');
    start = firstEnd == std::string_view::npos ? bytes.size() : firstEnd + 1;
  }
  while (start < bytes.size()) {
    const std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) break;
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::optional<RunRecord> record = ParseRecordLine(line)) records.push_back(std::move(*record));
    start = end + 1;
  }
  return records;
}

std::vector<RunRecord> ReadRecentRecords(const std::string& path, std::size_t maxBytes) {
  const std::optional<FileTail> tail = ReadFileTail(path, maxBytes);
  if (!tail) return {};
  return ParseRecords(tail->bytes, tail->size > tail->bytes.size());
}

}  // namespace kanaflow
