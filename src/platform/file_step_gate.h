// The system calls through which ReplaceFileContents writes a file, each
// passed through a gate first. The program installs no gate, and every call
// goes through. A test installs one to make any single call fail, or a write
// short, and then looks at what is left on disk: that is how a save cut off
// at any point is checked without pulling a plug. Internal to the core and
// its tests.
#pragma once

#include <cstddef>

namespace kanaflow::internal {

enum class FileStep {
  CreateTemporary,  // the temporary file beside the target
  Write,            // one write call
  Flush,            // the written bytes to the disk
  Close,            // the file written (it is closed even when this fails)
  Link,             // a second name for the existing file, to keep it
  Replace,          // the temporary file takes the target's place
  Reopen,           // the kept file, to be written over with the new bytes
  Restore,          // the kept file, rewritten, takes the target's place again
};

// False makes the call fail as the system call would (a full disk, a device
// gone). For a write, `bytes` holds how many bytes the call is about to
// write; lowering it (to 1 or more) makes the write short, as the system may.
using FileStepGate = bool (*)(FileStep step, std::size_t& bytes);

// The gate in force; nullptr lets every call through.
inline FileStepGate& CurrentFileStepGate() {
  static FileStepGate gate = nullptr;
  return gate;
}

inline bool PassFileStep(FileStep step, std::size_t& bytes) {
  const FileStepGate gate = CurrentFileStepGate();
  return gate == nullptr || gate(step, bytes);
}

inline bool PassFileStep(FileStep step) {
  std::size_t noBytes = 0;
  return PassFileStep(step, noBytes);
}

}  // namespace kanaflow::internal
