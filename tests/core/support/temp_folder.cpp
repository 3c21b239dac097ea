#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace kanaflow::testing {
namespace fs = std::filesystem;
namespace {

// Test paths are CP932 like every path of the program; std::filesystem takes
// them as the platform's native names.
fs::path NativePath(const std::string& cp932) {
#ifdef _WIN32
  return fs::path(Cp932ToWide(cp932));
#else
  return fs::path(Cp932ToUtf8(cp932).value_or(cp932));
#endif
}

std::string Cp932Path(const fs::path& path) {
#ifdef _WIN32
  return WideToCp932(path.wstring());
#else
  return Utf8ToCp932(path.string()).value_or(path.string());
#endif
}

void OnFatalError(const FatalErrorReport& report) { throw FatalErrorRaised(report); }

}  // namespace

TempFolder::TempFolder() {
  std::random_device random;
  const fs::path base = fs::temp_directory_path() / ("kanaflow-test-" + std::to_string(random()));
  fs::create_directories(base);
  path_ = Cp932Path(base);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(NativePath(path_), ignored);
}

std::string TempFolder::Write(std::string_view relative, std::string_view bytes) const {
  const std::string path = path_ + "/" + std::string(relative);
  const fs::path native = NativePath(path);
  fs::create_directories(native.parent_path());
  std::ofstream(native, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string TempFolder::MakeFolder(std::string_view relative) const {
  const std::string path = path_ + "/" + std::string(relative);
  fs::create_directories(NativePath(path));
  return path;
}

std::string TempFolder::Read(std::string_view relative) const {
  return ReadWholeFile(path_ + "/" + std::string(relative)).value_or("<missing>");
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& path) : previous_(CurrentDirectory()) {
  if (!SetCurrentDirectoryTo(path)) throw std::runtime_error("cannot enter " + path);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() { (void)SetCurrentDirectoryTo(previous_); }

FatalErrorCapture::FatalErrorCapture() : previous_(SetFatalErrorHandler(OnFatalError)) {}

FatalErrorCapture::~FatalErrorCapture() { SetFatalErrorHandler(previous_); }

}  // namespace kanaflow::testing
