#include "literals/literal_rewriter.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace kanaflow::literals {
namespace {

bool IsIdentifierStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || IsDigit(c); }
bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

bool IsEncodingPrefix(std::string_view word) {
  for (const std::string_view prefix : {"R", "L", "u", "U", "u8", "LR", "uR", "UR", "u8R"}) {
    if (word == prefix) return true;
  }
  return false;
}

void AppendOctal(std::string& out, unsigned char byte) {
  char escape[5];
  std::snprintf(escape, sizeof escape, "\\%03o", byte);
  out += escape;
}

class Rewriter {
 public:
  Rewriter(std::string_view source, const CharsetConverter& toCharset) : s_(source), toCharset_(toCharset) {}

  RewriteResult Run() {
    out_.reserve(s_.size() + s_.size() / 4);
    while (pos_ < s_.size() && error_.empty()) Step();
    if (!error_.empty()) return {std::string(), error_};
    return {std::move(out_), std::string()};
  }

 private:
  // One token, or one byte of what needs no rewriting.
  void Step() {
    const char c = s_[pos_];
    if (c == '\n') {
      lineStart_ = true;
      Copy(1);
    } else if (IsBlank(c)) {
      Copy(1);
    } else if (lineStart_ && c == '#') {
      Directive();
    } else {
      lineStart_ = false;
      if (StartsWith("//")) {
        CopyUntil(s_.find('\n', pos_));
      } else if (StartsWith("/*")) {
        const std::size_t close = s_.find("*/", pos_ + 2);
        CopyUntil(close == std::string_view::npos ? close : close + 2);
      } else if (IsIdentifierStart(c)) {
        Identifier();
      } else if (IsDigit(c) || (c == '.' && pos_ + 1 < s_.size() && IsDigit(s_[pos_ + 1]))) {
        Number();
      } else if (c == '"' || c == '\'') {
        Literal(std::string_view());
      } else {
        Copy(1);
      }
    }
  }

  // A header name is no string literal: #include lines are copied as they are.
  void Directive() {
    std::size_t at = pos_ + 1;
    while (at < s_.size() && IsBlank(s_[at])) ++at;
    if (s_.compare(at, 7, "include") == 0) {
      CopyUntil(s_.find('\n', pos_));
    } else {
      lineStart_ = false;
      Copy(at - pos_);
    }
  }

  void Identifier() {
    std::size_t end = pos_;
    while (end < s_.size() && IsIdentifierChar(s_[end])) ++end;
    const std::string_view word = s_.substr(pos_, end - pos_);
    if (end < s_.size() && (s_[end] == '"' || s_[end] == '\'') && IsEncodingPrefix(word)) {
      pos_ = end;
      Literal(word);
    } else {
      Copy(end - pos_);
    }
  }

  // A preprocessing number, so that the digit separator of 1'000 is not
  // taken for the start of a character literal.
  void Number() {
    std::size_t end = pos_ + 1;
    while (end < s_.size()) {
      const char c = s_[end];
      if ((c == '+' || c == '-') && std::string_view("eEpP").find(s_[end - 1]) != std::string_view::npos) {
        ++end;
      } else if (c == '\'' && end + 1 < s_.size() && IsIdentifierChar(s_[end + 1])) {
        end += 2;
      } else if (IsIdentifierChar(c) || c == '.') {
        ++end;
      } else {
        break;
      }
    }
    Copy(end - pos_);
  }

  // The literal whose opening quote is at pos_, after `prefix`.
  void Literal(std::string_view prefix) {
    const bool raw = !prefix.empty() && prefix.back() == 'R';
    const bool narrow = prefix.empty() || prefix == "R";
    const std::size_t start = pos_ - prefix.size();
    std::size_t contentBegin = pos_ + 1;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
    if (raw ? !FindRawEnd(contentBegin, contentEnd, end) : !FindQuotedEnd(contentEnd, end)) return;
    const std::string_view whole = s_.substr(start, end - start);
    const std::string_view content = s_.substr(contentBegin, contentEnd - contentBegin);
    pos_ = end;
    if (!narrow || IsAsciiText(content)) {
      out_ += whole;
      return;
    }
    const char quote = raw ? '"' : s_[contentBegin - 1];
    // GCC makes a multi-character constant of such a literal, whose value
    // the two compilers need not agree on.
    if (quote == '\'' && HasTwoByteCharacter(content)) {
      Fail(start, "a character literal whose character takes two bytes in CP932");
      return;
    }
    std::string rewritten;
    if (!(raw ? RewriteRaw(content, rewritten) : RewriteQuoted(content, rewritten))) return;
    out_ += quote;
    out_ += rewritten;
    out_ += quote;
  }

  bool FindQuotedEnd(std::size_t& contentEnd, std::size_t& end) {
    const char quote = s_[pos_];
    for (std::size_t at = pos_ + 1; at < s_.size(); ++at) {
      if (s_[at] == '\\') {
        ++at;
      } else if (s_[at] == quote) {
        contentEnd = at;
        end = at + 1;
        return true;
      } else if (s_[at] == '\n') {
        break;
      }
    }
    Fail(pos_, "an unterminated literal");
    return false;
  }

  // R"delimiter( ... )delimiter"
  bool FindRawEnd(std::size_t& contentBegin, std::size_t& contentEnd, std::size_t& end) {
    const std::size_t open = s_.find('(', pos_ + 1);
    if (s_[pos_] != '"' || open == std::string_view::npos || open - pos_ - 1 > 16) {
      Fail(pos_, "a raw literal without its opening delimiter");
      return false;
    }
    const std::string closing = ")" + std::string(s_.substr(pos_ + 1, open - pos_ - 1)) + "\"";
    const std::size_t close = s_.find(closing, open + 1);
    if (close == std::string_view::npos) {
      Fail(pos_, "an unterminated raw literal");
      return false;
    }
    contentBegin = open + 1;
    contentEnd = close;
    end = close + closing.size();
    return true;
  }

  // Escapes stay as written; each run of non-ASCII text becomes its bytes.
  bool RewriteQuoted(std::string_view content, std::string& out) {
    for (std::size_t at = 0; at < content.size();) {
      if (content[at] == '\\') {
        out += content.substr(at, 2);
        at += 2;
      } else if (IsAscii(content[at])) {
        out += content[at++];
      } else if (!AppendConverted(content, at, out)) {
        return false;
      }
    }
    return true;
  }

  // Everything a raw literal holds, written as an ordinary literal's text.
  // A line break closes the literal and opens the next on the next line, so
  // the lines after it keep their numbers.
  bool RewriteRaw(std::string_view content, std::string& out) {
    for (std::size_t at = 0; at < content.size();) {
      const char c = content[at];
      if (!IsAscii(c)) {
        if (!AppendConverted(content, at, out)) return false;
        continue;
      }
      if (c == '\n') {
        out += "\\n\"\n\"";
      } else if (c == '\\' || c == '"') {
        out += '\\';
        out += c;
      } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
        AppendOctal(out, static_cast<unsigned char>(c));
      } else {
        out += c;
      }
      ++at;
    }
    return true;
  }

  bool AppendConverted(std::string_view content, std::size_t& at, std::string& out) {
    std::size_t end = at;
    while (end < content.size() && !IsAscii(content[end])) ++end;
    const std::optional<std::string> bytes = toCharset_(content.substr(at, end - at));
    if (!bytes) {
      Fail(static_cast<std::size_t>(content.data() - s_.data()) + at, "text that CP932 cannot write");
      return false;
    }
    for (const char byte : *bytes) AppendOctal(out, static_cast<unsigned char>(byte));
    at = end;
    return true;
  }

  bool HasTwoByteCharacter(std::string_view content) const {
    const std::optional<std::string> bytes = toCharset_(content);
    std::size_t nonAscii = 0;
    if (bytes) {
      for (const char byte : *bytes) nonAscii += IsAscii(byte) ? 0 : 1;
    }
    return nonAscii > 1;
  }

  static bool IsAsciiText(std::string_view text) {
    for (const char c : text) {
      if (!IsAscii(c)) return false;
    }
    return true;
  }

  bool StartsWith(std::string_view prefix) const { return s_.compare(pos_, prefix.size(), prefix) == 0; }

  void Copy(std::size_t count) {
    out_ += s_.substr(pos_, count);
    pos_ += count;
  }

  void CopyUntil(std::size_t end) { Copy(end == std::string_view::npos ? s_.size() - pos_ : end - pos_); }

  void Fail(std::size_t at, std::string_view what) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < at && i < s_.size(); ++i) line += s_[i] == '\n' ? 1 : 0;
    error_ = std::to_string(line) + ": " + std::string(what);
  }

  std::string_view s_;
  const CharsetConverter& toCharset_;
  std::size_t pos_ = 0;
  bool lineStart_ = true;
  std::string out_;
  std::string error_;
};

}  // namespace

RewriteResult RewriteNarrowLiterals(std::string_view source, const CharsetConverter& toCharset) {
  return Rewriter(source, toCharset).Run();
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  const iconv_t descriptor = iconv_open("CP932", "UTF-8");
  if (descriptor == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string output(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(descriptor, &in, &inLeft, &out, &outLeft);
  iconv_close(descriptor);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  output.resize(output.size() - outLeft);
  return output;
}

}  // namespace kanaflow::literals
