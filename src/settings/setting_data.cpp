#include "settings/setting_data.h"

#include "platform/cp932.h"
#include "platform/fatal_error.h"
#include "platform/profile_file.h"

namespace kanaflow {
namespace {
constexpr char kErrorSentinel[] = "Error";
}  // namespace

int CSettingData::Load(const std::string& path) {
  const std::string kept(cp932::CutToFit(path, kSettingPathBytes));
  return LoadText(kept, LoadProfileText(kept).bytes());
}

int CSettingData::LoadText(const std::string& path, std::string text) {
  path_ = std::string(cp932::CutToFit(path, kSettingPathBytes));
  profile_ = ProfileText(std::move(text));
  return ReadRecord();
}

std::string CSettingData::ReadValue(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  std::string value = profile_.GetString(section, key, defaultValue);
  if (value == kErrorSentinel) {
    ReportFatalError(FatalError::SettingValueError,
                     {"設定ファイル名：" + path_, "セクション名：" + std::string(section),
                      "キー名：" + std::string(key), CurrentDirectoryLine()});
  }
  return value;
}

}  // namespace kanaflow
