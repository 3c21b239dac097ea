// The base of modal dialogs made from a dialog template resource.
#pragma once

#include <windows.h>

#include <string>

namespace kanaflow {

class CDialogWindow {
 public:
  CDialogWindow(HWND owner, std::wstring templateName) : owner_(owner), templateName_(std::move(templateName)) {}
  virtual ~CDialogWindow() = default;
  CDialogWindow(const CDialogWindow&) = delete;
  CDialogWindow& operator=(const CDialogWindow&) = delete;

  // Every message from WM_INITDIALOG on arrives here.
  virtual INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // Shows the dialog modally over the owner; returns when it has ended, with
  // the value given to EndDialog.
  INT_PTR RunModal();

  HWND handle() const { return handle_; }
  HWND owner() const { return owner_; }

 private:
  friend INT_PTR CALLBACK InitialDialogProc(HWND, UINT, WPARAM, LPARAM);

  HWND handle_ = nullptr;
  HWND owner_;
  std::wstring templateName_;
};

INT_PTR CALLBACK InitialDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RoutingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kanaflow
