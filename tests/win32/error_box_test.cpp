// The error box as the user sees it: however long the path it names, the
// whole box lies on the screen, with its caption and error number.
#include "app/error_box.h"

#include <gtest/gtest.h>

#include <string>

#include "app/fatal_error.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

struct SeenBox {
  bool found = false;
  RECT rect{};
  std::wstring caption;
  std::wstring text;
};
SeenBox* g_box = nullptr;

constexpr int kMessageTextId = 0xFFFF;  // the static control that holds a box's text

BOOL CALLBACK MeasureAndClose(HWND window, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  g_box->found = true;
  GetWindowRect(window, &g_box->rect);
  std::wstring buffer(4096, L'\0');
  buffer.resize(static_cast<std::size_t>(GetWindowTextW(GetDlgItem(window, kMessageTextId), buffer.data(), 4096)));
  g_box->text = buffer;
  buffer.assign(256, L'\0');
  buffer.resize(static_cast<std::size_t>(GetWindowTextW(window, buffer.data(), 256)));
  g_box->caption = buffer;
  SendMessageW(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_box) EnumThreadWindows(GetCurrentThreadId(), MeasureAndClose, 0);
}

TEST(ErrorBoxTest, ABoxNamingAVeryLongPathFitsTheScreen) {
  const std::string path = "./data/" + std::string(300, 'a') + "/" + std::string(100, 'b') + "表示ソフト.txt";
  const std::string text =
      FatalErrorText(FatalError::QuestionFileNotOpened, {"ファイル名：" + path, CurrentDirectoryLine()});
  SeenBox box;
  g_box = &box;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, OnTimer);
  ShowErrorBox(nullptr, text, MB_OK | MB_ICONERROR);
  KillTimer(nullptr, timer);
  g_box = nullptr;

  ASSERT_TRUE(box.found);
  RECT area{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_GE(box.rect.left, area.left);
  EXPECT_GE(box.rect.top, area.top);
  EXPECT_LE(box.rect.right, area.right) << "box " << box.rect.right - box.rect.left << " wide";
  EXPECT_LE(box.rect.bottom, area.bottom) << "box " << box.rect.bottom - box.rect.top << " high";
  EXPECT_EQ(box.caption, Cp932ToWide("エラー"));
  EXPECT_EQ(box.text.rfind(Cp932ToWide("Kanaflow Version 0.511\nエラー番号：0101\n"), 0), 0u);
  EXPECT_NE(box.text.find(Cp932ToWide("ファイル名：./data/aaa")), std::wstring::npos) << "the path's start is shown";
  EXPECT_NE(box.text.find(Cp932ToWide("bb表示ソフト.txt")), std::wstring::npos) << "and its end";
}

}  // namespace
}  // namespace kanaflow
