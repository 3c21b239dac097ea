// A fresh folder for one test's fixture files, removed with everything in it
// when the test ends, and the fatal-error capture that core tests use.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/fatal_error.h"

namespace kanaflow::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, CP932, without a trailing separator.
  const std::string& path() const { return path_; }
  // `path()/relative`, after creating the file with `bytes` (and its folders).
  std::string Write(std::string_view relative, std::string_view bytes) const;
  std::string MakeFolder(std::string_view relative) const;
  std::string Read(std::string_view relative) const;

 private:
  std::string path_;
};

// Runs the test body with the current directory set to a folder.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& path);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::string previous_;
};

// What a fatal report throws while a FatalErrorCapture is alive.
struct FatalErrorRaised : std::runtime_error {
  explicit FatalErrorRaised(const FatalErrorReport& report)
      : std::runtime_error("fatal error " + std::to_string(report.number)), number(report.number),
        text(report.text) {}
  int number;
  std::string text;
};

class FatalErrorCapture {
 public:
  FatalErrorCapture();
  ~FatalErrorCapture();
  FatalErrorCapture(const FatalErrorCapture&) = delete;
  FatalErrorCapture& operator=(const FatalErrorCapture&) = delete;

 private:
  FatalErrorHandler previous_;
};

// Runs `body` and returns the fatal report it raised; fails the test if none.
template <typename Body>
FatalErrorRaised ExpectFatal(Body&& body) {
  FatalErrorCapture capture;
  try {
    body();
  } catch (const FatalErrorRaised& raised) {
    return raised;
  }
  throw std::logic_error("expected a fatal error report, but none came");
}

}  // namespace kanaflow::testing
