// Answers the message boxes that a test provokes: each box that opens on
// this thread is read (its text) and closed with OK, so the modal loop that
// showed it returns and the test goes on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kanaflow::testing {

class MessageBoxWatcher {
 public:
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // The texts of the boxes closed so far, as UTF-16, and their captions.
  const std::vector<std::wstring>& texts() const;
  const std::vector<std::wstring>& captions() const;
  // Where each box was on the screen.
  const std::vector<RECT>& rects() const;

 private:
  UINT_PTR timer_;
};

}  // namespace kanaflow::testing
