// The base of every screen: one object that owns one top-level window of the
// class "Typing" and receives that window's messages through WindowProc.
#pragma once

#include <windows.h>

#include <string>

namespace kanaflow {

class CScene;

inline constexpr wchar_t kScreenClassName[] = L"Typing";
inline constexpr DWORD kScreenStyle = WS_SYSMENU;  // fixed frame, close box only

// The left and top screen corner at which the next screen window opens: each
// screen opens where the user left the previous one.
struct WindowPosition {
  int left = CW_USEDEFAULT;
  int top = CW_USEDEFAULT;
};
WindowPosition SharedWindowPosition();
void ResetSharedWindowPosition();

class CWindow {
 public:
  explicit CWindow(CScene* scene) : scene_(scene) {}
  // Leaves the window itself alone (it may outlive the object at the end of
  // the program) but unbinds it, so no message can reach a deleted object.
  virtual ~CWindow();
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;

  // Every message of the window, WM_CREATE included, arrives here.
  virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  CScene* scene() const { return scene_; }
  // The window, from WM_CREATE on; null before.
  HWND handle() const { return handle_; }

 protected:
  // The class record of the screen class, with `procedure`.
  WNDCLASSEXW MakeWindowClass(WNDPROC procedure, const wchar_t* className) const;
  // Creates the window at the shared position, with this object as its
  // creation parameter; `title` is CP932.
  HWND CreateScreenWindow(const wchar_t* className, const std::string& title, DWORD style, int width, int height);
  // The steps every screen constructor shares: register the class "Typing"
  // (a second registration fails harmlessly) and create the window.
  HWND CreateScreen(int width, int height);

 private:
  friend LRESULT CALLBACK InitialWindowProc(HWND, UINT, WPARAM, LPARAM);

  CScene* scene_;
  HWND handle_ = nullptr;
};

// The class procedure: binds the object to its window at WM_CREATE.
LRESULT CALLBACK InitialWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Every later message: to the object found in the window's property "CWindow".
LRESULT CALLBACK RoutingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The screen object of a window, from its property "CWindow".
CWindow* ScreenOf(HWND window);
// The scene of a window, from its property "CScene".
CScene* SceneOf(HWND window);

}  // namespace kanaflow
