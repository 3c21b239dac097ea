#include "kanaflow-check/report_output.h"

#include <cstdio>

#include "platform/cp932.h"
#include "platform/number_text.h"
#include "platform/text_encoding.h"

namespace kanaflow::check {
namespace {

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::vector<const char*> Modes(const SetSummary& summary) {
  std::vector<const char*> modes;
  if (summary.suitsBasic) modes.push_back("basic");
  if (summary.suitsHiragana) modes.push_back("hiragana");
  if (summary.suitsKanjiKana) modes.push_back("kanji-kana");
  return modes;
}

std::string Plural(std::int64_t count, const char* noun) {
  return DecimalText(count) + " " + noun + (count == 1 ? "" : "s");
}

void AppendFinding(std::string& out, const Finding& finding, std::string_view folder) {
  out += DisplayPath(finding.file, folder);
  if (finding.line > 0) out += ":" + DecimalText(finding.line);
  out += std::string(": ") + SeverityName(finding.severity) + ": " + finding.message + "\n";
}

void AppendSummary(std::string& out, const SetSummary& summary, std::string_view folder) {
  out += DisplayPath(summary.file, folder) + ": summary: \"" + summary.title + "\", " +
         Plural(summary.questions, "question") + ", " + Plural(summary.keystrokes, "romaji keystroke") + ", suits ";
  const std::vector<const char*> modes = Modes(summary);
  if (modes.empty()) out += "no mode";
  for (std::size_t i = 0; i < modes.size(); ++i) out += std::string(i > 0 ? ", " : "") + modes[i];
  out += "\n";
}

std::string JsonString(std::string_view cp932) {
  std::string out = "\"";
  for (const char c : ToUtf8(cp932)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonFinding(const Finding& finding, std::string_view folder) {
  return "{\"file\": " + JsonString(DisplayPath(finding.file, folder)) +
         ", \"line\": " + (finding.line > 0 ? DecimalText(finding.line) : std::string("null")) + ", \"severity\": \"" +
         SeverityName(finding.severity) + "\", \"code\": \"" + finding.code +
         "\", \"message\": " + JsonString(finding.message) + "}";
}

std::string JsonSet(const SetSummary& summary, std::string_view folder) {
  std::string modes;
  for (const char* mode : Modes(summary)) modes += std::string(modes.empty() ? "" : ", ") + "\"" + mode + "\"";
  return "{\"file\": " + JsonString(DisplayPath(summary.file, folder)) +
         ", \"category\": " + JsonString(summary.category) + ", \"title\": " + JsonString(summary.title) +
         ", \"questions\": " + DecimalText(summary.questions) + ", \"keystrokes\": " + DecimalText(summary.keystrokes) +
         ", \"suits\": [" + modes + "]}";
}

// Elements one per line inside the brackets.
std::string JsonArray(const std::vector<std::string>& elements) {
  if (elements.empty()) return "[]";
  std::string out = "[\n";
  for (std::size_t i = 0; i < elements.size(); ++i)
    out += "    " + elements[i] + (i + 1 < elements.size() ? ",\n" : "\n");
  return out + "  ]";
}

}  // namespace

std::string DisplayPath(std::string_view programPath, std::string_view folder) {
  std::string_view path = programPath;
  const bool relative = path.substr(0, 2) == "./" || path.substr(0, 2) == ".\\";
  if (relative) path.remove_prefix(2);
  if (path.empty()) path = ".";
  const bool absolute =
      !relative && (path.front() == '/' || path.front() == '\\' || (path.size() >= 2 && path[1] == ':'));
  if (absolute || folder.empty() || folder == "." || folder == "./") return std::string(path);
  std::string prefix(folder);
  if (prefix.back() != '/' && prefix.back() != '\\') prefix += '/';
  return prefix + std::string(path);
}

std::string ToUtf8(std::string_view cp932) {
  if (auto whole = Cp932ToUtf8(cp932)) return std::move(*whole);
  std::string out;
  for (std::size_t pos = 0; pos < cp932.size(); pos = cp932::NextChar(cp932, pos)) {
    const auto character = Cp932ToUtf8(cp932.substr(pos, cp932::CharLength(cp932, pos)));
    out += character ? *character : "\xEF\xBF\xBD";
  }
  return out;
}

std::string FormatText(const CheckReport& report, std::string_view folder, bool utf8) {
  std::string out;
  for (const Finding& finding : report.general) AppendFinding(out, finding, folder);
  for (const SetReport& set : report.sets) {
    for (const Finding& finding : set.findings) AppendFinding(out, finding, folder);
    if (set.loaded) AppendSummary(out, set.summary, folder);
  }
  out += "kanaflow-check: " + Plural(static_cast<std::int64_t>(report.sets.size()), "set") + ", " +
         Plural(report.CountOf(Severity::Error), "error") + ", " +
         Plural(report.CountOf(Severity::Warning), "warning") + "\n";
  return utf8 ? ToUtf8(out) : out;
}

std::string FormatJson(const CheckReport& report, std::string_view folder) {
  std::vector<std::string> findings;
  std::vector<std::string> sets;
  for (const Finding& finding : report.general) findings.push_back(JsonFinding(finding, folder));
  for (const SetReport& set : report.sets) {
    for (const Finding& finding : set.findings) findings.push_back(JsonFinding(finding, folder));
    if (set.loaded) sets.push_back(JsonSet(set.summary, folder));
  }
  return "{\n  \"folder\": " + JsonString(folder) + ",\n  \"errors\": " + DecimalText(report.CountOf(Severity::Error)) +
         ",\n  \"warnings\": " + DecimalText(report.CountOf(Severity::Warning)) +
         ",\n  \"findings\": " + JsonArray(findings) + ",\n  \"sets\": " + JsonArray(sets) + "\n}\n";
}

}  // namespace kanaflow::check
