#include "typing/char_message_bytes.h"

#include <string>

#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

CharMessageBytes::Codes CharMessageBytes::Take(WPARAM character) {
  const auto unit = static_cast<wchar_t>(character & 0xFFFF);
  Codes codes;
  if (pendingHigh_ != 0) {
    // A character beyond the basic plane has no code page 932 form; a first
    // half left alone is no character at all. Either way: one miss.
    codes.items[codes.count++] = kNoCp932Form;
    pendingHigh_ = 0;
    if (IsLowSurrogate(unit)) return codes;
  }
  if (IsHighSurrogate(unit)) {
    pendingHigh_ = unit;
    return codes;
  }
  Append(codes, unit);
  return codes;
}

void CharMessageBytes::Append(Codes& codes, wchar_t character) {
  const auto bytes = WideToCp932Exact(std::wstring_view(&character, 1));
  if (!bytes || bytes->empty() || IsLowSurrogate(character)) {
    codes.items[codes.count++] = kNoCp932Form;
    return;
  }
  for (const char byte : *bytes) codes.items[codes.count++] = static_cast<unsigned char>(byte);
}

}  // namespace kanaflow
