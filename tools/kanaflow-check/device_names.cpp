#include "kanaflow-check/device_names.h"

#include "platform/cp932.h"

namespace kanaflow::check {

std::optional<std::string> WindowsDeviceName(std::string_view path) {
  // The last part, found by character: a trail byte can be 0x5C ("\").
  std::size_t start = path.size() >= 2 && path[1] == ':' && cp932::CharLength(path, 0) == 1 ? 2 : 0;
  for (std::size_t pos = start; pos < path.size(); pos = cp932::NextChar(path, pos)) {
    if (cp932::CharLength(path, pos) == 1 && (path[pos] == '/' || path[pos] == '\\')) start = pos + 1;
  }
  std::string_view name = path.substr(start);
  name = name.substr(0, name.find_first_of(".:"));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  static constexpr std::string_view kNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const std::string_view device : kNames) {
    if (cp932::EqualIgnoringAsciiCase(name, device)) return std::string(name);
  }
  const bool numbered = name.size() == 4 && name[3] >= '1' && name[3] <= '9' &&
                        (cp932::EqualIgnoringAsciiCase(name.substr(0, 3), "COM") ||
                         cp932::EqualIgnoringAsciiCase(name.substr(0, 3), "LPT"));
  if (numbered) return std::string(name);
  return std::nullopt;
}

}  // namespace kanaflow::check
