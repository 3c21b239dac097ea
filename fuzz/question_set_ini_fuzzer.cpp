// Question-set files of any bytes, read as a practice screen reads them
// (CQuestionSettingData) and as the selection screen lists them
// (CMenuQuestionLoader). A fatal report is the expected answer to a file
// that cannot be used; anything else must give a record whose texts fit
// their 254-byte fields, and the two readers must agree on what both read.
#include <cstdint>
#include <string>

#include "questions/question_setting_data.h"
#include "support/fuzz_support.h"

namespace kanaflow::fuzz {
namespace {

constexpr std::size_t kFieldBytes = 254;

void CheckFields(const QuestionSetValues& v) {
  for (const std::string* field :
       {&v.questionFileName, &v.typeSoundFileName, &v.missTypeSoundFileName, &v.bgmFileName, &v.bgmFileType,
        &v.endSoundFileName, &v.endSoundFileType, &v.backGroundPictureFileName, &v.message, &v.title,
        &v.endBgmFileName, &v.endBgmFileType}) {
    FUZZ_CHECK(field->size() <= kFieldBytes);
  }
}

// The record, or no record when the file's answer is a fatal report.
template <typename Reader>
bool Read(Reader& reader, const std::string& path) {
  try {
    FUZZ_CHECK(reader.Load(path) == 0);
    return true;
  } catch (const FatalReported&) {
    return false;
  }
}

}  // namespace
}  // namespace kanaflow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kanaflow;
  using namespace kanaflow::fuzz;
  ThrowOnFatalReports();
  const std::string path =
      ScratchFolder::Get().Write("data/set.ini", std::string_view(reinterpret_cast<const char*>(data), size));

  CQuestionSettingData full;
  const bool fullRead = Read(full, path);
  CMenuQuestionLoader menu;
  const bool menuRead = Read(menu, path);
  if (fullRead) {
    FUZZ_CHECK(full.version() >= 1 && full.version() <= kNewestQuestionSetVersion);
    CheckFields(full.values());
  }
  if (menuRead) CheckFields(menu.values());
  // The list reads a subset of the keys: what stops it stops the practice.
  FUZZ_CHECK(menuRead || !fullRead);
  if (fullRead && menuRead) {
    FUZZ_CHECK(full.values().questionNumber == menu.values().questionNumber);
    FUZZ_CHECK(full.values().message == menu.values().message);
    FUZZ_CHECK(full.values().title == menu.values().title);
    if (full.version() >= 4) FUZZ_CHECK(full.values().questionFileName == menu.values().questionFileName);
  }
  return 0;
}
