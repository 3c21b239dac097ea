#include "platform/fatal_error.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kanaflow {
namespace {

using testing::ExpectFatal;

std::string Closing() {
  return "これ以降処理を続行するとシステムが不安定になる可能性がありますので、このプログラムは終了します。\n";
}

TEST(FatalErrorTest, HeadersAreTheFixedTextsOfEachNumber) {
  const std::string start = "Kanaflow Version 0.511\nエラー番号：";
  const std::string settingLines =
      "エラー内容\n設定の読み込みに失敗しました。\n\n以下の理由によって設定が読み込めない可能性があります。\n"
      "・指定されたファイルが存在しない。\n・指定されたセクション名、キー名が見つからない。\n・キーの値がおかしい。\n\n" +
      Closing();
  struct Row {
    FatalError number;
    std::string expected;
  } rows[] = {
      {FatalError::PictureNotLoaded,
       start + "0100\n\nエラー内容\n画像ファイルの読み込みに失敗しました。\n\n"
               "以下の理由によってファイルが読み込めない可能性があります。\n・指定されたファイルが存在しない。\n"
               "・指定されたファイルが破損している。\n・メモリの確保に失敗した。\n\n"
               "画像をロードせずにプログラムを実行します。\n"},
      {FatalError::QuestionFileNotOpened,
       start + "0101\n\nエラー内容\nファイルオープンに失敗しました。\n\n考えられる原因\n"
               "指定されたファイルが存在していないか、\nファイルオープン中に何らかのエラーが発生した可能性があります。\n\n" +
           Closing()},
      {FatalError::VersionOutOfRange,
       start + "0102\n\nエラー内容\n指定されたファイルは読み込むことができません。\n\n考えられる原因\n"
               "読み込み対象のファイルのバージョンと、\nこのプログラムが扱うことのできるバージョンが一致しません。\n\n" +
           Closing()},
      {FatalError::VersionUnreadable, start + "0103\n\n" + settingLines},
      {FatalError::SettingValueError, start + "0104\n\n" + settingLines},
      {FatalError::NoQuestionSet,
       start + "0105\n\n問題設定ファイルの取得に失敗しました。\n\n以下の理由によって設定が読み込めない可能性があります。\n"
               "・カレントディレクトリに、dataフォルダが存在しない。\n・dataフォルダ内に問題ファイルが存在しない。\n\n" +
           Closing()},
      {FatalError::QuestionCountOutOfRange,
       start + "0106\n\n問題設定ファイルの設定の値が範囲を超えています。\n\n"
               "以下の理由によって設定が読み込めない可能性があります。\n"
               "・設定の値が規定されている値の範囲内に収まっていない。\n\n" +
           Closing()},
  };
  for (const Row& row : rows) EXPECT_EQ(FatalErrorHeader(row.number), row.expected) << static_cast<int>(row.number);
}

TEST(FatalErrorTest, TextAddsInformationLinesWithoutAFinalLineFeed) {
  const std::string text = FatalErrorText(FatalError::NoQuestionSet, {"a：1", "b：2"});
  EXPECT_EQ(text, FatalErrorHeader(FatalError::NoQuestionSet) + "\n情報\na：1\nb：2");
  // The box of 0105 has no "エラー内容" line: its fourth line is the message.
  std::size_t lineStart = 0;
  for (int line = 1; line < 4; ++line) lineStart = text.find('\n', lineStart) + 1;
  EXPECT_EQ(text.substr(lineStart, text.find('\n', lineStart) - lineStart), "問題設定ファイルの取得に失敗しました。");
}

TEST(FatalErrorTest, LongTextIsCutAtACharacterBoundaryWithinTheBuffer) {
  const std::string header = FatalErrorText(FatalError::SettingValueError, {});
  for (std::size_t extra = 0; extra < 4; ++extra) {
    // Odd and even offsets put the 1019-byte limit inside or after a kana.
    std::string kana;
    while (kana.size() < 2000) kana += "あ";
    const std::string text = FatalErrorText(FatalError::SettingValueError, {std::string(extra, 'x') + kana});
    EXPECT_LE(text.size(), 1019u) << extra;
    EXPECT_GE(text.size(), 1018u) << extra;
    const std::size_t kanaStart = header.size() + extra;
    EXPECT_EQ((text.size() - kanaStart) % 2, 0u) << "half a kana at the end, offset " << extra;
  }
}

TEST(FatalErrorTest, ReportGoesThroughTheInstalledHandler) {
  const auto raised = ExpectFatal([] { ReportFatalError(FatalError::QuestionFileNotOpened, {"ファイル名：q.txt"}); });
  EXPECT_EQ(raised.number, 101);
  EXPECT_EQ(raised.text, FatalErrorHeader(FatalError::QuestionFileNotOpened) + "\n情報\nファイル名：q.txt");
}

TEST(FatalErrorTest, CurrentDirectoryLineNamesTheDirectory) {
  testing::TempFolder folder;
  testing::ScopedCurrentDirectory inside(folder.path());
  EXPECT_EQ(CurrentDirectoryLine(), "カレントディレクトリ：" + CurrentDirectory());
}

using FatalErrorDeathTest = ::testing::Test;

TEST_F(FatalErrorDeathTest, TheDefaultHandlerEndsTheProcessWithCodeOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ReportFatalError(FatalError::NoQuestionSet, {"x"}), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace kanaflow
