#include "app/window.h"

#include "app/scene.h"
#include "draw/screen_scale.h"
#include "platform/fatal_error.h"
#include "platform/text_encoding.h"

namespace kanaflow {
namespace {

constexpr wchar_t kWindowProperty[] = L"CWindow";
constexpr wchar_t kSceneProperty[] = L"CScene";

// Where the next screen window opens; written on every move of a screen.
WindowPosition g_windowPosition;

}  // namespace

CWindow::~CWindow() {
  if (handle_ && ScreenOf(handle_) == this) RemovePropW(handle_, kWindowProperty);
}

WindowPosition SharedWindowPosition() { return g_windowPosition; }
void ResetSharedWindowPosition() { g_windowPosition = WindowPosition(); }

WNDCLASSEXW CWindow::MakeWindowClass(WNDPROC procedure, const wchar_t* className) const {
  WNDCLASSEXW record{};
  record.cbSize = sizeof record;
  record.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  record.lpfnWndProc = procedure;
  record.hInstance = scene_ ? scene_->GetInstance() : GetModuleHandleW(nullptr);
  record.hIcon = static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
  record.hIconSm = record.hIcon;
  record.hCursor = static_cast<HCURSOR>(LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
  record.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  record.lpszClassName = className;
  return record;
}

HWND CWindow::CreateScreenWindow(const wchar_t* className, const std::string& title, DWORD style, int width,
                                 int height) {
  const WindowPosition position = g_windowPosition;
  return CreateWindowExW(0, className, Cp932ToWide(title).c_str(), style, position.left, position.top, width, height,
                         nullptr, nullptr, scene_ ? scene_->GetInstance() : GetModuleHandleW(nullptr), this);
}

HWND CWindow::CreateScreen(int width, int height) {
  const WNDCLASSEXW record = MakeWindowClass(InitialWindowProc, kScreenClassName);
  RegisterClassExW(&record);  // fails harmlessly once the class exists
  if (Scaling()) {
    // The picture, not the frame, grows with the scale: the client area is
    // the scaled size, and the frame is what the system makes around it.
    RECT outer{0, 0, Scaled(width), Scaled(height)};
    // An overlapped window always has a caption, whether its style says so.
    AdjustWindowRectEx(&outer, kScreenStyle | WS_CAPTION, FALSE, 0);
    width = outer.right - outer.left;
    height = outer.bottom - outer.top;
  }
  return CreateScreenWindow(kScreenClassName, kProgramTitle, kScreenStyle, width, height);
}

LRESULT CALLBACK InitialWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CREATE) return DefWindowProcW(window, message, wParam, lParam);
  auto* screen = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
  screen->handle_ = window;
  SetPropW(window, kWindowProperty, screen);
  SetPropW(window, kSceneProperty, screen->scene());
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RoutingWindowProc));
  return screen->WindowProc(window, message, wParam, lParam);
}

LRESULT CALLBACK RoutingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOVE) {
    RECT rect{};
    GetWindowRect(window, &rect);
    g_windowPosition = {rect.left, rect.top};
  }
  CWindow* screen = ScreenOf(window);
  const LRESULT result = screen ? screen->WindowProc(window, message, wParam, lParam)
                                : DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window is gone: its properties go with it, so no stale pointer
    // outlives the object that the hand-over is about to delete.
    RemovePropW(window, kWindowProperty);
    RemovePropW(window, kSceneProperty);
  }
  return result;
}

CWindow* ScreenOf(HWND window) { return static_cast<CWindow*>(GetPropW(window, kWindowProperty)); }

CScene* SceneOf(HWND window) { return static_cast<CScene*>(GetPropW(window, kSceneProperty)); }

}  // namespace kanaflow
