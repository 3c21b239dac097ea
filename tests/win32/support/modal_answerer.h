// Answers the modal windows that a screen opens, from a thread timer that
// their modal loops run: the setup dialog is closed with キャンセル, so
// Setting.ini stays as it is (its owner is recorded); any other box (the 0100
// box of a preview picture that is not linked) is read and closed with OK.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kanaflow::testing {

class ModalAnswerer {
 public:
  struct SetupDialog {
    HWND owner;
    bool ownerVisible;
  };

  ModalAnswerer();
  ~ModalAnswerer();
  ModalAnswerer(const ModalAnswerer&) = delete;
  ModalAnswerer& operator=(const ModalAnswerer&) = delete;

  std::vector<SetupDialog> setupDialogs;
  std::vector<std::string> boxTexts;  // CP932

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK Answer(HWND window, LPARAM);

  static ModalAnswerer* active_;
  UINT_PTR timer_ = 0;
};

// Takes the quit request that PostQuitMessage leaves, so it reaches no later
// test; true when there was one.
bool TakeQuitRequest();

}  // namespace kanaflow::testing
