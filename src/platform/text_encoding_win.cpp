#include "platform/text_encoding.h"

#include <windows.h>

#include <climits>

namespace kanaflow {
namespace {

constexpr UINT kCodePage932 = 932;

std::optional<std::wstring> ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return std::wstring();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), wideLength);
  return wide;
}

std::optional<std::string> FromWide(UINT codePage, std::wstring_view wide, bool strict) {
  if (wide.empty()) return std::string();
  if (wide.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  // Code page 65001 refuses the used-default flag; it cannot fail to encode.
  BOOL* usedDefaultFlag = (strict && codePage != CP_UTF8) ? &usedDefault : nullptr;
  const DWORD flags = (strict && codePage != CP_UTF8) ? WC_NO_BEST_FIT_CHARS : 0;
  const int size = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, usedDefaultFlag);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  const auto wide = ToWide(kCodePage932, cp932);
  if (!wide) return std::nullopt;
  return FromWide(CP_UTF8, *wide, true);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  const auto wide = ToWide(CP_UTF8, utf8);
  if (!wide) return std::nullopt;
  return FromWide(kCodePage932, *wide, true);
}

std::wstring Cp932ToWide(std::string_view cp932) {
  if (cp932.empty() || cp932.size() > INT_MAX) return std::wstring();
  // Lenient on purpose: a damaged byte in a question file still shows as a
  // replacement character rather than blanking the whole text.
  const int length = static_cast<int>(cp932.size());
  const int wideLength = MultiByteToWideChar(kCodePage932, 0, cp932.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(kCodePage932, 0, cp932.data(), length, wide.data(), wideLength);
  return wide;
}

std::string WideToCp932(std::wstring_view wide) {
  return FromWide(kCodePage932, wide, false).value_or(std::string());
}

std::optional<std::string> WideToCp932Exact(std::wstring_view wide) { return FromWide(kCodePage932, wide, true); }

}  // namespace kanaflow
