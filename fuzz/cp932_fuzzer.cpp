// The CP932 helpers on any bytes. The first two bytes pick a byte limit for
// CutToFit; the rest is the text.
//
// NextChar steps one or two bytes (two only from a lead byte with a byte
// after it) and lands exactly on the end; PrevChar walks the same
// boundaries backwards; CutToFit gives the longest prefix within the limit
// that ends on a boundary; text the system's converter accepts is
// well-formed, and well-formed text stays so when cut or joined; comparing
// without regard to ASCII case folds the letters that are characters of
// their own and never a trail byte.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "platform/text_encoding.h"
#include "support/fuzz_support.h"

namespace kanaflow::fuzz {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char FlipCase(char c) { return static_cast<char>(c ^ 0x20); }

std::vector<std::size_t> Boundaries(std::string_view text) {
  std::vector<std::size_t> boundaries{0};
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t next = cp932::NextChar(text, pos);
    const bool twoBytes = cp932::IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size();
    FUZZ_CHECK(next == pos + (twoBytes ? 2 : 1));
    FUZZ_CHECK(cp932::CharLength(text, pos) == next - pos);
    if (twoBytes) FUZZ_CHECK(cp932::PrevChar(text, pos + 1) == pos);
    boundaries.push_back(next);
    pos = next;
  }
  FUZZ_CHECK(boundaries.back() == text.size());
  FUZZ_CHECK(cp932::NextChar(text, text.size()) == text.size());
  FUZZ_CHECK(cp932::NextChar(text, text.size() + 3) == text.size());
  return boundaries;
}

void CheckPrevChar(std::string_view text, const std::vector<std::size_t>& boundaries) {
  FUZZ_CHECK(cp932::PrevChar(text, 0) == 0);
  for (std::size_t i = 1; i < boundaries.size(); ++i) FUZZ_CHECK(cp932::PrevChar(text, boundaries[i]) == boundaries[i - 1]);
}

void CheckCutToFit(std::string_view text, const std::vector<std::size_t>& boundaries, std::size_t limit) {
  const std::string_view cut = cp932::CutToFit(text, limit);
  FUZZ_CHECK(cut.data() == text.data() && cut.size() <= limit);
  std::size_t longest = 0;
  for (const std::size_t boundary : boundaries) {
    if (boundary <= limit) longest = boundary;
  }
  FUZZ_CHECK(cut.size() == longest);
  if (cp932::IsWellFormed(text)) FUZZ_CHECK(cp932::IsWellFormed(cut));
}

void CheckWellFormed(std::string_view text, std::size_t split) {
  const bool wellFormed = cp932::IsWellFormed(text);
  if (Cp932ToUtf8(text)) FUZZ_CHECK(wellFormed);
  const std::string_view head = cp932::CutToFit(text, split);
  const std::string_view tail = text.substr(head.size());
  if (cp932::IsWellFormed(head) && cp932::IsWellFormed(tail)) FUZZ_CHECK(wellFormed);
}

void CheckCaseFolding(std::string_view text, const std::vector<std::size_t>& boundaries) {
  FUZZ_CHECK(cp932::EqualIgnoringAsciiCase(text, text));
  std::string flipped(text);
  std::string trailFlipped(text);
  bool hasLetterTrail = false;
  for (std::size_t i = 0; i + 1 < boundaries.size(); ++i) {
    const std::size_t pos = boundaries[i];
    if (boundaries[i + 1] - pos == 1 && IsAsciiLetter(text[pos])) flipped[pos] = FlipCase(text[pos]);
    if (boundaries[i + 1] - pos == 2 && IsAsciiLetter(text[pos + 1]) && !hasLetterTrail) {
      trailFlipped[pos + 1] = FlipCase(text[pos + 1]);
      hasLetterTrail = true;
    }
  }
  FUZZ_CHECK(cp932::EqualIgnoringAsciiCase(text, flipped) && cp932::EqualIgnoringAsciiCase(flipped, text));
  if (hasLetterTrail) FUZZ_CHECK(!cp932::EqualIgnoringAsciiCase(text, trailFlipped));
  if (!text.empty()) FUZZ_CHECK(!cp932::EqualIgnoringAsciiCase(text, text.substr(1)));
}

}  // namespace
}  // namespace kanaflow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kanaflow;
  using namespace kanaflow::fuzz;
  if (size < 2) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t limit = (data[0] << 8 | data[1]) % (text.size() + 2);

  const std::vector<std::size_t> boundaries = Boundaries(text);
  CheckPrevChar(text, boundaries);
  CheckCutToFit(text, boundaries, limit);
  CheckWellFormed(text, limit);
  CheckCaseFolding(text, boundaries);
  const std::string katakana = cp932::ToKatakana(text);
  FUZZ_CHECK(katakana.size() == text.size() && Boundaries(katakana) == boundaries);
  return 0;
}
