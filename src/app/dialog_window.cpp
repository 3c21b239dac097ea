#include "app/dialog_window.h"

namespace kanaflow {
namespace {
constexpr wchar_t kDialogProperty[] = L"CDialog";
}  // namespace

INT_PTR CDialogWindow::RunModal() {
  SetPropW(owner_, kDialogProperty, this);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE));
  const INT_PTR result = DialogBoxParamW(instance, templateName_.c_str(), owner_, InitialDialogProc, 0);
  RemovePropW(owner_, kDialogProperty);
  return result;
}

INT_PTR CALLBACK InitialDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return 0;
  auto* object = static_cast<CDialogWindow*>(GetPropW(GetWindow(dialog, GW_OWNER), kDialogProperty));
  if (!object) return 0;
  object->handle_ = dialog;
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(RoutingDialogProc));
  SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  return object->DialogProc(dialog, message, wParam, lParam);
}

INT_PTR CALLBACK RoutingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* object = reinterpret_cast<CDialogWindow*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
  return object ? object->DialogProc(dialog, message, wParam, lParam) : 0;
}

}  // namespace kanaflow
