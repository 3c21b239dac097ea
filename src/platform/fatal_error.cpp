#include "platform/fatal_error.h"

#include <cstdio>
#include <cstdlib>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

constexpr std::size_t kBoxTextBytes = 1019;      // a 1020-byte buffer with its terminating zero
constexpr std::size_t kCurrentDirectoryBytes = 253;

constexpr char kClosing[] =
    "これ以降処理を続行するとシステムが不安定になる可能性がありますので、このプログラムは終了します。";

void WriteToStandardError(const FatalErrorReport& report) {
  // Standard error is a terminal or a log, both UTF-8 on the systems the tools
  // run on natively; on Windows the console shows the bytes as they are.
#ifdef _WIN32
  const std::string& text = report.text;
#else
  const std::string text = Cp932ToUtf8(report.text).value_or(report.text);
#endif
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

FatalErrorHandler& CurrentHandler() {
  static FatalErrorHandler handler = WriteToStandardError;
  return handler;
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

std::string HeaderBody(FatalError number) {
  switch (number) {
    case FatalError::PictureNotLoaded:
      return Lines({"エラー内容", "画像ファイルの読み込みに失敗しました。", "",
                    "以下の理由によってファイルが読み込めない可能性があります。", "・指定されたファイルが存在しない。",
                    "・指定されたファイルが破損している。", "・メモリの確保に失敗した。", "",
                    "画像をロードせずにプログラムを実行します。"});
    case FatalError::QuestionFileNotOpened:
      return Lines({"エラー内容", "ファイルオープンに失敗しました。", "", "考えられる原因",
                    "指定されたファイルが存在していないか、",
                    "ファイルオープン中に何らかのエラーが発生した可能性があります。", "", kClosing});
    case FatalError::VersionOutOfRange:
      return Lines({"エラー内容", "指定されたファイルは読み込むことができません。", "", "考えられる原因",
                    "読み込み対象のファイルのバージョンと、",
                    "このプログラムが扱うことのできるバージョンが一致しません。", "", kClosing});
    case FatalError::VersionUnreadable:
    case FatalError::SettingValueError:
      return Lines({"エラー内容", "設定の読み込みに失敗しました。", "",
                    "以下の理由によって設定が読み込めない可能性があります。", "・指定されたファイルが存在しない。",
                    "・指定されたセクション名、キー名が見つからない。", "・キーの値がおかしい。", "", kClosing});
    case FatalError::NoQuestionSet:
      return Lines({"問題設定ファイルの取得に失敗しました。", "",
                    "以下の理由によって設定が読み込めない可能性があります。",
                    "・カレントディレクトリに、dataフォルダが存在しない。",
                    "・dataフォルダ内に問題ファイルが存在しない。", "", kClosing});
    case FatalError::QuestionCountOutOfRange:
      return Lines({"問題設定ファイルの設定の値が範囲を超えています。", "",
                    "以下の理由によって設定が読み込めない可能性があります。",
                    "・設定の値が規定されている値の範囲内に収まっていない。", "", kClosing});
  }
  return std::string();
}

[[noreturn]] void Raise(const FatalErrorReport& report) {
  CurrentHandler()(report);
  std::exit(1);
}

}  // namespace

FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler) {
  const FatalErrorHandler previous = CurrentHandler();
  CurrentHandler() = handler ? handler : WriteToStandardError;
  return previous;
}

std::string FatalErrorHeader(FatalError number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(number));
  return std::string(kProgramTitle) + "\nエラー番号：" + digits + "\n\n" + HeaderBody(number);
}

std::string FatalErrorText(FatalError number, const std::vector<std::string>& informationLines) {
  std::string text = FatalErrorHeader(number) + "\n情報\n";
  for (std::size_t i = 0; i < informationLines.size(); ++i) {
    if (i > 0) text += '\n';
    text += informationLines[i];
  }
  return std::string(cp932::CutToFit(text, kBoxTextBytes));
}

void ReportFatalError(FatalError number, const std::vector<std::string>& informationLines) {
  Raise({static_cast<int>(number), FatalErrorText(number, informationLines)});
}

void ReportFatalText(const std::string& text) { Raise({0, std::string(cp932::CutToFit(text, kBoxTextBytes))}); }

std::string CurrentDirectoryLine() {
  return "カレントディレクトリ：" + std::string(cp932::CutToFit(CurrentDirectory(), kCurrentDirectoryBytes));
}

}  // namespace kanaflow
