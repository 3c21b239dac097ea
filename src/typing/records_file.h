// The records file: one line per finished run, added at its end and never
// rewritten, read back from its end only as far as the views need.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "typing/run_record.h"

namespace kanaflow {

inline constexpr char kRecordsFilePath[] = "./Records.csv";

// How much of the file's end is read back: some thousands of runs, however
// many years of them the file holds.
inline constexpr std::size_t kRecordsReadBytes = 1 << 20;

// Adds the record at the end of the file; a new file gets the header line
// first. A last line left without its end (a write cut short) is ended
// first, so the cut record stays a line of its own that reading passes over.
// False when the file could not be written.
[[nodiscard]] bool AppendRecord(const std::string& path, const RunRecord& record);

// The whole records among `bytes`, oldest first. With `fromMiddle` the bytes
// start somewhere inside the file, so their first line may be a piece of one
// and is not read. A last line without its end is a record being written or
// cut short: passed over.
std::vector<RunRecord> ParseRecords(std::string_view bytes, bool fromMiddle);

// The records of the file's last `maxBytes` bytes, oldest first; none when
// the file is missing or cannot be read.
std::vector<RunRecord> ReadRecentRecords(const std::string& path, std::size_t maxBytes = kRecordsReadBytes);

}  // namespace kanaflow
