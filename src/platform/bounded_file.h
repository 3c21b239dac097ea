// Text files read to a limit: a huge or endless file (gigabytes, a device)
// costs no more than its limit, and a line that the limit cuts is dropped
// rather than read as half of what it holds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kanaflow {

struct BoundedFileBytes {
  std::string bytes;
  bool cut = false;  // the file goes on past the limit
};

// `start` is the beginning of a file, read up to `limit` + 1 bytes. When the
// file is longer than the limit, only the lines that end within it are kept,
// a line ending at any byte of `lineEnds`.
BoundedFileBytes WholeLinesWithin(std::string start, std::size_t limit, std::string_view lineEnds);

// The first `limit` bytes of the file at `path`, as above; nullopt when it
// cannot be opened.
std::optional<BoundedFileBytes> ReadWholeLinesWithin(const std::string& path, std::size_t limit,
                                                     std::string_view lineEnds);

}  // namespace kanaflow
