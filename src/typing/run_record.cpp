#include "typing/run_record.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace kanaflow {
namespace {

constexpr std::size_t kColumnCount = 13;

// Shift_JIS trail bytes are never below 0x40, so a comma, quote or line end
// byte is always the character itself.
std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// The fields of one CSV line; nullopt when a quote is left open (a cut line).
std::optional<std::vector<std::string>> SplitCsv(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t pos = 0; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (quoted && c == '"' && pos + 1 < line.size() && line[pos + 1] == '"') {
      fields.back() += '"';
      ++pos;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (quoted) return std::nullopt;
  return fields;
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

// "K=12/1/3400;" per key; each entry's own end mark tells a cut entry.
std::string KeysField(const std::vector<KeyFigures>& keys) {
  std::string text;
  for (const KeyFigures& key : keys) {
    text += key.key;
    text += '=' + std::to_string(key.strokes) + '/' + std::to_string(key.misses) + '/' +
            std::to_string(key.milliseconds) + ';';
  }
  return text;
}

bool ReadKeys(std::string_view text, std::size_t count, std::vector<KeyFigures>& keys) {
  while (!text.empty()) {
    const std::size_t end = text.find(';', 2);
    if (text.size() < 2 || text[1] != '=' || end == std::string_view::npos) return false;
    const std::string_view figures = text.substr(2, end - 2);
    const std::size_t slash1 = figures.find('/');
    const std::size_t slash2 = figures.find('/', slash1 + 1);
    if (slash2 == std::string_view::npos) return false;
    KeyFigures key;
    key.key = text[0];
    if (!ReadNumber(figures.substr(0, slash1), key.strokes) ||
        !ReadNumber(figures.substr(slash1 + 1, slash2 - slash1 - 1), key.misses) ||
        !ReadNumber(figures.substr(slash2 + 1), key.milliseconds)) {
      return false;
    }
    keys.push_back(key);
    text.remove_prefix(end + 1);
  }
  return keys.size() == count;
}

bool IsDateTime(std::string_view text) {
  static constexpr char kPattern[] = "dddd-dd-dd dd:dd:dd";
  if (text.size() != sizeof kPattern - 1) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) return false;
  }
  return true;
}

std::string RateText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

const char kRecordsHeader[] =
    "日時,モード,問題ファイル,タイトル,問題数,打鍵数,ミス回数,ミリ秒,ポイント,一秒あたりの打数,"
    "ほかの打ち方,キーの数,キー別\r\n";

double RunRecord::KeystrokesPerSecond() const {
  return milliseconds == 0 ? 0.0 : keystrokes * 1000.0 / milliseconds;
}

double RunRecord::MissesPer100Keystrokes() const { return keystrokes == 0 ? 0.0 : misses * 100.0 / keystrokes; }

std::string FormatRecordLine(const RunRecord& record) {
  const std::string fields[kColumnCount] = {
      record.dateTime, std::to_string(record.mode), CsvField(record.setPath), CsvField(record.title),
      std::to_string(record.questions), std::to_string(record.keystrokes), std::to_string(record.misses),
      std::to_string(record.milliseconds), std::to_string(record.points), RateText(record.KeystrokesPerSecond()),
      record.flexibleInput ? "1" : "0", std::to_string(record.keys.size()), CsvField(KeysField(record.keys))};
  std::string line = fields[0];
  for (std::size_t column = 1; column < kColumnCount; ++column) line += ',' + fields[column];
  return line + "\r\n";
}

std::optional<RunRecord> ParseRecordLine(std::string_view line) {
  const auto fields = SplitCsv(line);
  if (!fields || fields->size() != kColumnCount || !IsDateTime((*fields)[0])) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  RunRecord record;
  record.dateTime = f[0];
  record.setPath = f[2];
  record.title = f[3];
  std::size_t keyCount = 0;
  double rate = 0;
  const bool numbers = ReadNumber(f[1], record.mode) && record.mode <= 2 && ReadNumber(f[4], record.questions) &&
                       ReadNumber(f[5], record.keystrokes) && ReadNumber(f[6], record.misses) &&
                       ReadNumber(f[7], record.milliseconds) && !f[8].empty() &&
                       std::sscanf(f[9].c_str(), "%lf", &rate) == 1 && (f[10] == "0" || f[10] == "1") &&
                       ReadNumber(f[11], keyCount);
  if (!numbers) return std::nullopt;
  // Points may be negative: every miss takes some away.
  const auto [end, error] = std::from_chars(f[8].data(), f[8].data() + f[8].size(), record.points);
  if (error != std::errc() || end != f[8].data() + f[8].size()) return std::nullopt;
  record.flexibleInput = f[10] == "1";
  if (!ReadKeys(f[12], keyCount, record.keys)) return std::nullopt;
  return record;
}

std::string LocalDateTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace kanaflow
