// The error box as the user sees it: however long the path it names, the
// whole box lies on the screen, with its caption and error number.
#include "app/error_box.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fatal_error.h"
#include "platform/text_encoding.h"
#include "support/message_box_watcher.h"

namespace kanaflow {
namespace {

TEST(ErrorBoxTest, ABoxNamingAVeryLongPathFitsTheScreen) {
  const std::string path = "./data/" + std::string(300, 'a') + "/" + std::string(100, 'b') + "表示ソフト.txt";
  const std::string text =
      FatalErrorText(FatalError::QuestionFileNotOpened, {"ファイル名：" + path, CurrentDirectoryLine()});
  const testing::MessageBoxWatcher watcher;
  ShowErrorBox(nullptr, text, MB_OK | MB_ICONERROR);

  ASSERT_EQ(watcher.rects().size(), 1u);
  const RECT box = watcher.rects()[0];
  RECT area{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_GE(box.left, area.left);
  EXPECT_GE(box.top, area.top);
  EXPECT_LE(box.right, area.right) << "box " << box.right - box.left << " wide";
  EXPECT_LE(box.bottom, area.bottom) << "box " << box.bottom - box.top << " high";
  EXPECT_EQ(watcher.captions()[0], Cp932ToWide("エラー"));
  const std::wstring& shown = watcher.texts()[0];
  EXPECT_EQ(shown.rfind(Cp932ToWide("Kanaflow Version 0.511\nエラー番号：0101\n"), 0), 0u);
  EXPECT_NE(shown.find(Cp932ToWide("ファイル名：./data/aaa")), std::wstring::npos) << "the path's start is shown";
  EXPECT_NE(shown.find(Cp932ToWide("bb表示ソフト.txt")), std::wstring::npos) << "and its end";
}

}  // namespace
}  // namespace kanaflow
