#include "kanaflow-romaji/romaji_printer.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/option_parser.h"
#include "kanaflow-romaji/line_converter.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "romaji/flexible_spellings.h"
#include "romaji/romaji_rules.h"
#include "settings/software_setting_data.h"

namespace kanaflow {
namespace {

// The program reads a reading line into a 254-byte buffer with its zero.
constexpr std::size_t kReadingBytes = 253;

constexpr char kUsage[] =
    "usage: kanaflow-romaji [--settings FILE] [--utf8] [--all] [FILE...]\n"
    "Prints reading<TAB>romaji<TAB>katakana for every reading, one per line,\n"
    "read from the FILEs (\"-\" for standard input) or from standard input.\n"
    "  --settings FILE  take the spelling preferences from this Setting.ini\n"
    "                   (the program's defaults otherwise)\n"
    "  --utf8           read and write UTF-8 instead of Shift_JIS\n"
    "  --all            print reading<TAB>units instead: every spelling that\n"
    "                   FlexibleInput accepts for each unit, the preferred\n"
    "                   first, \"/\" between spellings, a space between units\n"
    "  --help           show this text\n"
    "Exit code: 0 done, 1 some lines were skipped, 2 usage error.\n";

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The line that opens `text`, without its LF or CR LF, and the text after
// that line.
struct SplitLine {
  std::string_view line;
  std::string_view rest;
};
SplitLine SplitFirstLine(std::string_view text) {
  const void* found = std::memchr(text.data(), '\n', text.size());
  const std::size_t end =
      found == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
  std::string_view line = text.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return {line, text.substr(found == nullptr ? end : end + 1)};
}

// Calls `each(line, number)` for every line, without its LF or CR LF. A
// final line without a line break counts; an empty text has no lines.
template <typename Each>
void ForEachLine(std::string_view text, Each&& each) {
  std::size_t number = 0;
  while (!text.empty()) {
    const SplitLine split = SplitFirstLine(text);
    each(split.line, ++number);
    text = split.rest;
  }
}

// The reading as the program holds it: a zero byte ends its buffer, and a
// longer line keeps what fits, without half a character.
std::string_view AsReading(std::string_view line) {
  line = line.substr(0, std::min(line.find('\0'), line.size()));
  return line.size() <= kReadingBytes ? line : cp932::CutToFit(line, kReadingBytes);
}

// Inputs are read in pieces of this size into a buffer used again.
constexpr std::size_t kInputPieceBytes = 32 * 1024;

// The most one row takes: reading, romaji, katakana, two tabs and a LF.
constexpr std::size_t kRowBytes = kReadingBytes + kRomajiBufferBytes + kReadingBytes + 3;

// The row of one line as --all prints it, with its line break.
std::string AllRow(std::string_view cp932Line, const SpellingPreferences& preferences) {
  return AllSpellingsRow(AsReading(cp932Line), preferences) + "\n";
}

// Writes a row's three columns into `out`, which has kRowBytes of room.
char* WriteRow(std::string_view cp932Line, const SpellingPreferences& preferences, char* out) {
  const std::string_view reading = AsReading(cp932Line);
  std::memcpy(out, reading.data(), reading.size());
  out += reading.size();
  *out++ = '\t';
  out = WriteRomaji(reading, preferences, out);
  *out++ = '\t';
  out = WriteKatakana(reading, out);
  *out++ = '\n';
  return out;
}

// Lines the converter takes are the program's lines as they are.
static_assert(kMaxPlainLineBytes <= kReadingBytes, "a plain line is never cut");

// Most columns are short, and a copy of a fixed size takes neither a call
// nor a branch on the size: [from, to) goes to `out` as one block of
// kShortCopyBytes when it fits. Both sides need that much room.
constexpr std::size_t kShortCopyBytes = 32;
static_assert(kLineLookahead >= kShortCopyBytes, "a reading can be copied as a block from the input");

char* CopyColumn(const char* from, const char* to, char* out) {
  const auto size = static_cast<std::size_t>(to - from);
  if (size <= kShortCopyBytes) {
    std::memcpy(out, from, kShortCopyBytes);
  } else {
    std::memcpy(out, from, size);
  }
  return out + size;
}

// The most the rows of one batch of converted lines take.
constexpr std::size_t kBatchRowBytes = kLineBatchBytes + kLineBatchRomajiBytes + kLineBatchKatakanaBytes +
                                       3 * kLineBatchLines + kShortCopyBytes;

// Rows are made in one buffer that is reused and handed to the sink when
// full. A fresh page of memory costs more than converting what fills it,
// so a large input is not given an output buffer of its own size.
class RowWriter {
 public:
  explicit RowWriter(OutputSink sink)
      : sink_(std::move(sink)), buffer_(new char[kBufferBytes]), romaji_(new char[kRomajiBytes]),
        katakana_(new char[kKatakanaBytes]), lines_(new CLineConverter::ConvertedLine[kLineBatchLines]) {}
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;

  void AddRow(std::string_view cp932Line, const SpellingPreferences& preferences) {
    if (used_ > kChunkBytes) Flush();
    char* const end = WriteRow(cp932Line, preferences, buffer_.get() + used_);
    used_ = static_cast<std::size_t>(end - buffer_.get());
  }

  // The rows of the lines that `converter` takes from the start of `text`,
  // counted in `number`; returns where those lines end, which is `text`
  // itself when the converter took none.
  const char* AddConvertedLines(const char* text, const char* textEnd, const CLineConverter& converter,
                                std::size_t& number) {
    if (used_ > kChunkBytes) Flush();
    const std::size_t count = converter.ConvertPlainLines(text, textEnd, romaji_.get(), katakana_.get(), lines_.get());
    const char* reading = text;
    const char* romaji = romaji_.get();
    const char* katakana = katakana_.get();
    char* out = buffer_.get() + used_;
    for (std::size_t i = 0; i < count; ++i) {
      const CLineConverter::ConvertedLine& line = lines_[i];
      out = CopyColumn(reading, line.readingEnd, out);
      *out++ = '\t';
      out = CopyColumn(romaji, line.romajiEnd, out);
      *out++ = '\t';
      out = CopyColumn(katakana, line.katakanaEnd, out);
      *out++ = '\n';
      reading = line.readingEnd + (*line.readingEnd == '\r' ? 2 : 1);
      romaji = line.romajiEnd;
      katakana = line.katakanaEnd;
    }
    used_ = static_cast<std::size_t>(out - buffer_.get());
    number += count;
    return reading;
  }

  void AddBytes(std::string_view bytes) {
    if (used_ + bytes.size() > kBufferBytes) Flush();
    if (bytes.size() > kBufferBytes) {
      sink_(bytes);
      return;
    }
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }

  void Flush() {
    if (used_ > 0) sink_(std::string_view(buffer_.get(), used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kChunkBytes = 64 * 1024;
  static constexpr std::size_t kBufferBytes = kChunkBytes + std::max(kRowBytes, kBatchRowBytes);
  static constexpr std::size_t kRomajiBytes = kLineBatchRomajiBytes + kShortCopyBytes;
  static constexpr std::size_t kKatakanaBytes = kLineBatchKatakanaBytes + kShortCopyBytes;

  OutputSink sink_;
  // Left uninitialised: a page of memory is only paid for once it is used.
  std::unique_ptr<char[]> buffer_;
  // The forms of a batch of converted lines before they go into their rows.
  std::unique_ptr<char[]> romaji_;
  std::unique_ptr<char[]> katakana_;
  std::unique_ptr<CLineConverter::ConvertedLine[]> lines_;
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

// Converts the lines of `text`, which ends after a line break or at the end
// of its input; the bytes up to `dataEnd` may follow it. Runs of plain lines
// go through the line converter; any other line is checked and converted on
// its own, as the program reads it. `number` counts the lines.
void PrintCp932Lines(std::string_view text, const char* dataEnd, const CLineConverter& converter,
                     std::string_view inputName, const PrinterOptions& options, RowWriter& writer,
                     std::size_t& number, PrinterResult& result) {
  const char* const end = text.data() + text.size();
  for (const char* line = text.data(); line < end;) {
    const char* const converted =
        options.all ? line : writer.AddConvertedLines(line, dataEnd, converter, number);
    if (converted != line) {
      line = converted;
      continue;
    }
    const SplitLine split = SplitFirstLine(std::string_view(line, static_cast<std::size_t>(end - line)));
    ++number;
    if (cp932::IsWellFormed(split.line) && options.all) {
      writer.AddBytes(AllRow(split.line, options.preferences));
    } else if (cp932::IsWellFormed(split.line)) {
      writer.AddRow(split.line, options.preferences);
    } else {
      ReportSkipped(inputName, number, "not valid Shift_JIS", result);
    }
    line = split.rest.data();
  }
}

// An input read a piece at a time into one buffer. Each piece's whole lines
// are converted at once; the line that the piece cuts moves to the front of
// the buffer to be completed by the next. The buffer grows only for a line
// longer than itself. False when reading failed.
bool PrintCp932Input(const InputReader& read, std::string_view inputName, const PrinterOptions& options,
                     RowWriter& writer, PrinterResult& result) {
  const CLineConverter converter(options.preferences);
  std::size_t capacity = kInputPieceBytes;
  std::unique_ptr<char[]> buffer(new char[capacity]);
  std::size_t held = 0;
  std::size_t number = 0;
  while (true) {
    if (held == capacity) {
      std::unique_ptr<char[]> larger(new char[2 * capacity]);
      std::memcpy(larger.get(), buffer.get(), held);
      buffer = std::move(larger);
      capacity *= 2;
    }
    const std::optional<std::size_t> got = read(buffer.get() + held, capacity - held);
    if (!got) return false;
    const std::string_view data(buffer.get(), held + *got);
    // At the end the last line counts without a line break.
    const std::size_t lastBreak = data.rfind('\n');
    const std::size_t whole = *got == 0 ? data.size() : lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
    PrintCp932Lines(data.substr(0, whole), data.data() + data.size(), converter, inputName, options, writer, number,
                    result);
    if (*got == 0) return true;
    held = data.size() - whole;
    std::memmove(buffer.get(), data.data() + whole, held);
  }
}

void PrintUtf8(std::string_view input, std::string_view inputName, const PrinterOptions& options, RowWriter& writer,
               PrinterResult& result) {
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
    const char* end = options.all ? nullptr : WriteRow(*cp932Line, options.preferences, row.data());
    const std::optional<std::string> utf8Row =
        options.all ? Cp932ToUtf8(AllRow(*cp932Line, options.preferences))
                    : Cp932ToUtf8(std::string_view(row.data(), static_cast<std::size_t>(end - row.data())));
    if (!utf8Row) {
      ReportSkipped(inputName, number, "cannot be written back as UTF-8", result);
      return;
    }
    writer.AddBytes(*utf8Row);
  });
}

// The whole of an input, for the UTF-8 way, which converts line by line.
std::optional<std::string> ReadAll(const InputReader& read) {
  std::string bytes;
  while (true) {
    const std::size_t held = bytes.size();
    bytes.resize(held + kInputPieceBytes);
    const std::optional<std::size_t> got = read(bytes.data() + held, kInputPieceBytes);
    if (!got) return std::nullopt;
    bytes.resize(held + *got);
    if (*got == 0) return bytes;
  }
}

// False when reading failed.
bool PrintInput(const InputReader& read, std::string_view inputName, const PrinterOptions& options, RowWriter& writer,
                PrinterResult& result) {
  if (!options.utf8) return PrintCp932Input(read, inputName, options, writer, result);
  const std::optional<std::string> bytes = ReadAll(read);
  if (!bytes) return false;
  PrintUtf8(*bytes, inputName, options, writer, result);
  return true;
}

// A spelling that the key after it decides (a single n for ん) is listed
// where some spelling of the next unit may follow it.
bool AllowedWhereItStands(const FlexibleSpellings& spellings, std::size_t unit, std::size_t index) {
  if (!spellings.InitialMask(unit).Has(index)) return false;
  if (!spellings.GuardedMask(unit).Has(index)) return true;
  for (std::size_t next = 0; next < spellings.spellingCount(unit + 1); ++next) {
    if (spellings.MayFollow(unit, index, spellings.Spelling(unit + 1, next)[0])) return true;
  }
  return false;
}

}  // namespace

std::string AllSpellingsRow(std::string_view reading, const SpellingPreferences& preferences) {
  FlexibleSpellings spellings;
  spellings.Build(reading, preferences);
  std::string row(reading);
  row += '\t';
  for (std::size_t unit = 0; unit < spellings.unitCount(); ++unit) {
    if (unit > 0) row += ' ';
    bool first = true;
    for (std::size_t index = 0; index < spellings.spellingCount(unit); ++index) {
      if (!AllowedWhereItStands(spellings, unit, index)) continue;
      if (!first) row += '/';
      row += spellings.Spelling(unit, index);
      first = false;
    }
  }
  return row;
}

void PrintReadings(std::string_view input, std::string_view inputName, const PrinterOptions& options,
                   PrinterResult& result) {
  RowWriter writer([&result](std::string_view bytes) { result.output.append(bytes.data(), bytes.size()); });
  if (options.utf8) {
    PrintUtf8(input, inputName, options, writer, result);
  } else {
    std::size_t number = 0;
    PrintCp932Lines(input, input.data() + input.size(), CLineConverter(options.preferences), inputName, options,
                    writer, number, result);
  }
  writer.Flush();
}

InputReader ReaderFromString(std::string bytes) {
  auto source = std::make_shared<const std::string>(std::move(bytes));
  auto position = std::make_shared<std::size_t>(0);
  return [source, position](char* buffer, std::size_t size) -> std::optional<std::size_t> {
    const std::size_t count = source->copy(buffer, size, *position);
    *position += count;
    return count;
  };
}

std::optional<SpellingPreferences> LoadSpellingPreferences(const std::string& path) {
  if (!ReadFileStart(path, 0)) return std::nullopt;
  CSoftwareSettingData settings;
  settings.Load(path);
  return settings.GetSpellingPreferences();
}

PrinterResult RunRomajiPrinter(const std::vector<std::string>& arguments, const PrinterEnvironment& environment) {
  const tools::ParsedCommandLine line =
      tools::ParseCommandLine(arguments, {{"--utf8", ""}, {"--all", ""}, {"--settings", "FILE"}});
  if (line.help) {
    PrinterResult help;
    help.output = kUsage;
    return help;
  }
  if (line.error) return UsageError(*line.error);
  PrinterOptions options;
  options.utf8 = line.Has("--utf8");
  options.all = line.Has("--all");
  const std::optional<std::string> settingsPath = line.Value("--settings");
  std::vector<std::string> inputs = line.operands;

  if (settingsPath) {
    const std::optional<SpellingPreferences> preferences = environment.loadSettings(*settingsPath);
    if (!preferences) return UsageError("cannot read settings file '" + *settingsPath + "'");
    options.preferences = *preferences;
  }

  // Every input is opened before any is converted, so an unreadable file
  // name stops the run before half of the output has been written.
  if (inputs.empty()) inputs.push_back("-");
  std::vector<InputReader> readers;
  readers.reserve(inputs.size());
  for (const std::string& input : inputs) {
    if (input == "-") {
      readers.push_back(environment.standardInput());
      continue;
    }
    std::optional<InputReader> reader = environment.openFile(input);
    if (!reader) return UsageError("cannot read input file '" + input + "'");
    readers.push_back(std::move(*reader));
  }

  PrinterResult result;
  OutputSink sink = environment.writeOutput;
  if (!sink) sink = [&result](std::string_view bytes) { result.output.append(bytes.data(), bytes.size()); };
  RowWriter writer(std::move(sink));
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::string_view name = inputs[i] == "-" ? std::string_view(kStandardInputName) : inputs[i];
    if (!PrintInput(readers[i], name, options, writer, result)) {
      // What came before stays written; the message says where it stopped.
      writer.Flush();
      const PrinterResult failed = UsageError(inputs[i] == "-" ? std::string("cannot read standard input")
                                                               : "cannot read input file '" + inputs[i] + "'");
      result.errors += failed.errors;
      result.exitCode = failed.exitCode;
      return result;
    }
  }
  writer.Flush();
  return result;
}

}  // namespace kanaflow
