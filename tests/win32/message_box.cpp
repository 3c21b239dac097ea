// message_box: waits for a message box (up to 30 s), writes its caption and
// its text to standard output in UTF-8, one after the other and separated by
// a line "--", then presses its OK button. Exit code 1 when none appears.
// The fatal-box test reads the box the played program shows with it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

// The static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  // Line ends as the program wrote them: line feeds only.
  for (std::size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at)) text.erase(at, 1);
  return text;
}

HWND WaitForBox() {
  for (int attempt = 0; attempt < 300; ++attempt) {
    const HWND box = FindWindowW(L"#32770", nullptr);
    if (box && IsWindowVisible(box) && GetDlgItem(box, kMessageTextId)) return box;
    Sleep(100);
  }
  return nullptr;
}

}  // namespace

int main() {
  const HWND box = WaitForBox();
  if (!box) {
    std::fprintf(stderr, "message_box: no message box appeared\n");
    return 1;
  }
  // Line feeds as they are, not the console's line ends.
  _setmode(_fileno(stdout), _O_BINARY);
  const std::string shown = Utf8(TextOf(box)) + "\n--\n" + Utf8(TextOf(GetDlgItem(box, kMessageTextId))) + "\n";
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fflush(stdout);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return 0;
}
