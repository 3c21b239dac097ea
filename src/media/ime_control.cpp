#include "media/ime_control.h"

namespace kanaflow {
namespace {

// A window's input context for the length of one call.
class InputContext {
 public:
  explicit InputContext(HWND window) : window_(window), context_(ImmGetContext(window)) {}
  ~InputContext() {
    if (context_) ImmReleaseContext(window_, context_);
  }
  InputContext(const InputContext&) = delete;
  InputContext& operator=(const InputContext&) = delete;
  HIMC get() const { return context_; }

 private:
  HWND window_;
  HIMC context_;
};

}  // namespace

void ImeModeKeeper::SetImeMode(HWND window, bool open, DWORD conversion, DWORD sentence) {
  const InputContext context(window);
  if (!context.get()) return;
  ImmSetOpenStatus(context.get(), open ? TRUE : FALSE);
  DWORD currentConversion = 0;
  DWORD currentSentence = 0;
  // Only modes that were really read are worth putting back later.
  if (ImmGetConversionStatus(context.get(), &currentConversion, &currentSentence)) {
    savedConversion_ = currentConversion;
    savedSentence_ = currentSentence;
    saved_ = true;
  }
  ImmSetConversionStatus(context.get(), conversion, sentence);
}

void ImeModeKeeper::RestoreImeMode(HWND window) const {
  if (!saved_) return;
  const InputContext context(window);
  if (context.get()) ImmSetConversionStatus(context.get(), savedConversion_, savedSentence_);
}

}  // namespace kanaflow
