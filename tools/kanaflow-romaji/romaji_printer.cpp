#include "kanaflow-romaji/romaji_printer.h"

#include <algorithm>
#include <cstring>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "romaji/romaji_rules.h"
#include "settings/software_setting_data.h"

namespace kanaflow {
namespace {

// The program reads a reading line into a 254-byte buffer with its zero.
constexpr std::size_t kReadingBytes = 253;

constexpr char kUsage[] =
    "usage: kanaflow-romaji [--settings FILE] [--utf8] [FILE...]\n"
    "Prints reading<TAB>romaji<TAB>katakana for every reading, one per line,\n"
    "read from the FILEs (\"-\" for standard input) or from standard input.\n"
    "  --settings FILE  take the spelling preferences from this Setting.ini\n"
    "                   (the program's defaults otherwise)\n"
    "  --utf8           read and write UTF-8 instead of Shift_JIS\n"
    "  --help           show this text\n"
    "Exit code: 0 done, 1 some lines were skipped, 2 usage error.\n";

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Calls `each(line, number)` for every line, without its LF or CR LF. A
// final line without a line break counts; an empty text has no lines.
template <typename Each>
void ForEachLine(std::string_view text, Each&& each) {
  std::size_t number = 0;
  while (!text.empty()) {
    const void* found = std::memchr(text.data(), '\n', text.size());
    const std::size_t end =
        found == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    each(line, ++number);
    text.remove_prefix(found == nullptr ? end : end + 1);
  }
}

bool HoldsZero(std::string_view text) { return std::memchr(text.data(), '\0', text.size()) != nullptr; }

// The reading as the program holds it: a zero byte ends its buffer, and a
// longer line keeps what fits, without half a character. `mayHoldZero` is
// false when the whole input was found to have none.
std::string_view AsReading(std::string_view line, bool mayHoldZero) {
  if (mayHoldZero) line = line.substr(0, std::min(line.find('\0'), line.size()));
  return line.size() <= kReadingBytes ? line : cp932::CutToFit(line, kReadingBytes);
}

// The most one row takes: reading, romaji, katakana, two tabs and a LF.
constexpr std::size_t kRowBytes = kReadingBytes + kRomajiBufferBytes + kReadingBytes + 3;

// Writes a row's three columns into `out`, which has kRowBytes of room.
char* WriteRow(std::string_view cp932Line, bool mayHoldZero, const SpellingPreferences& preferences, char* out) {
  const std::string_view reading = AsReading(cp932Line, mayHoldZero);
  std::memcpy(out, reading.data(), reading.size());
  out += reading.size();
  *out++ = '\t';
  out = WriteRomaji(reading, preferences, out);
  *out++ = '\t';
  out = WriteKatakana(reading, out);
  *out++ = '\n';
  return out;
}

// Rows are made in one buffer that is reused and handed to the sink when
// full. A fresh page of memory costs more than converting what fills it,
// so a large input is not given an output buffer of its own size.
class RowWriter {
 public:
  explicit RowWriter(OutputSink sink) : sink_(std::move(sink)), buffer_(kChunkBytes + kRowBytes, '\0') {}
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;

  void AddRow(std::string_view cp932Line, bool mayHoldZero, const SpellingPreferences& preferences) {
    if (used_ > kChunkBytes) Flush();
    char* const end = WriteRow(cp932Line, mayHoldZero, preferences, buffer_.data() + used_);
    used_ = static_cast<std::size_t>(end - buffer_.data());
  }

  void AddBytes(std::string_view bytes) {
    if (used_ + bytes.size() > buffer_.size()) Flush();
    if (bytes.size() > buffer_.size()) {
      sink_(bytes);
      return;
    }
    std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }

  void Flush() {
    if (used_ > 0) sink_(std::string_view(buffer_.data(), used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kChunkBytes = 64 * 1024;
  OutputSink sink_;
  std::string buffer_;
  std::size_t used_ = 0;
};

void ReportSkipped(std::string_view inputName, std::size_t number, const char* reason, PrinterResult& result) {
  result.errors.append(inputName.data(), inputName.size());
  result.errors += ':' + std::to_string(number) + ": " + reason + "; line skipped\n";
  result.exitCode = 1;
}

PrinterResult UsageError(const std::string& message) {
  PrinterResult result;
  result.errors = "kanaflow-romaji: " + message + "\n" + kUsage;
  result.exitCode = 2;
  return result;
}

void PrintInput(std::string_view input, std::string_view inputName, const PrinterOptions& options, RowWriter& writer,
                PrinterResult& result) {
  if (!options.utf8) {
    const bool mayHoldZero = HoldsZero(input);
    ForEachLine(input, [&](std::string_view line, std::size_t number) {
      if (!cp932::IsWellFormed(line)) {
        ReportSkipped(inputName, number, "not valid Shift_JIS", result);
        return;
      }
      writer.AddRow(line, mayHoldZero, options.preferences);
    });
    return;
  }

  if (input.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    input.remove_prefix(kUtf8ByteOrderMark.size());
  }
  std::string row(kRowBytes, '\0');
  ForEachLine(input, [&](std::string_view line, std::size_t number) {
    const std::optional<std::string> cp932Line = Utf8ToCp932(line);
    if (!cp932Line) {
      ReportSkipped(inputName, number, "not valid UTF-8, or not writable in Shift_JIS", result);
      return;
    }
    const char* end = WriteRow(*cp932Line, HoldsZero(*cp932Line), options.preferences, row.data());
    const std::optional<std::string> utf8Row =
        Cp932ToUtf8(std::string_view(row.data(), static_cast<std::size_t>(end - row.data())));
    if (!utf8Row) {
      ReportSkipped(inputName, number, "cannot be written back as UTF-8", result);
      return;
    }
    writer.AddBytes(*utf8Row);
  });
}

}  // namespace

void PrintReadings(std::string_view input, std::string_view inputName, const PrinterOptions& options,
                   PrinterResult& result) {
  RowWriter writer([&result](std::string_view bytes) { result.output.append(bytes.data(), bytes.size()); });
  PrintInput(input, inputName, options, writer, result);
  writer.Flush();
}

InputBytes InputFromString(std::string bytes) {
  auto owner = std::make_shared<const std::string>(std::move(bytes));
  return {std::string_view(*owner), owner};
}

std::optional<SpellingPreferences> LoadSpellingPreferences(const std::string& path) {
  if (!ReadWholeFile(path)) return std::nullopt;
  CSoftwareSettingData settings;
  settings.Load(path);
  return settings.GetSpellingPreferences();
}

PrinterResult RunRomajiPrinter(const std::vector<std::string>& arguments, const PrinterEnvironment& environment) {
  PrinterOptions options;
  std::optional<std::string> settingsPath;
  std::vector<std::string> inputs;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      inputs.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      PrinterResult help;
      help.output = kUsage;
      return help;
    } else if (argument == "--utf8") {
      options.utf8 = true;
    } else if (argument == "--settings") {
      if (i + 1 >= arguments.size()) return UsageError("--settings needs a FILE");
      settingsPath = arguments[++i];
    } else if (argument.rfind("--settings=", 0) == 0) {
      settingsPath = argument.substr(std::strlen("--settings="));
    } else {
      return UsageError("unknown option '" + argument + "'");
    }
  }

  if (settingsPath) {
    const std::optional<SpellingPreferences> preferences = environment.loadSettings(*settingsPath);
    if (!preferences) return UsageError("cannot read settings file '" + *settingsPath + "'");
    options.preferences = *preferences;
  }

  // Every input is read before any is converted, so an unreadable file name
  // stops the run before half of the output has been written.
  if (inputs.empty()) inputs.push_back("-");
  std::vector<InputBytes> contents;
  contents.reserve(inputs.size());
  for (const std::string& input : inputs) {
    std::optional<InputBytes> bytes = input == "-" ? environment.readStandardInput() : environment.readFile(input);
    if (!bytes) {
      return UsageError(input == "-" ? std::string("cannot read standard input")
                                     : "cannot read input file '" + input + "'");
    }
    contents.push_back(std::move(*bytes));
  }

  PrinterResult result;
  OutputSink sink = environment.writeOutput;
  if (!sink) sink = [&result](std::string_view bytes) { result.output.append(bytes.data(), bytes.size()); };
  RowWriter writer(std::move(sink));
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    PrintInput(contents[i].bytes, inputs[i] == "-" ? std::string_view(kStandardInputName) : inputs[i], options, writer,
               result);
  }
  writer.Flush();
  return result;
}

}  // namespace kanaflow
