// The setup dialog: the settings of ./Setting.ini as check boxes and radio
// buttons, saved when the user presses OK.
#pragma once

#include <windows.h>

#include "app/dialog_window.h"

namespace kanaflow {

// Constructing it shows the dialog modally over `owner`; the constructor
// returns when the user has closed it:
//
//   CSettingDialog dialog(handle());
//
// The template "SETUP_DIALOG" (src/resources/setup_dialog.rc) must be linked
// into the exe whose instance the owner window belongs to.
class CSettingDialog final : public CDialogWindow {
 public:
  explicit CSettingDialog(HWND owner);

  INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnInitDialog(HWND dialog);
  void OnCommand(HWND dialog, int id);
  void OnOk(HWND dialog);
};

}  // namespace kanaflow
