// Warnings about a question-set file that loads: keys its version does not
// read, media files that are missing, music without its device type.
#pragma once

#include <string>
#include <vector>

#include "kanaflow-check/finding.h"
#include "kanaflow-check/set_file_text.h"
#include "questions/question_setting_data.h"

namespace kanaflow::check {

void AddSetWarnings(const SetFileText& set, const CQuestionSettingData& record, std::vector<Finding>& findings);

// Whether the file exists as the program on Windows would find it: "\" and
// "/" both separate folders, and names match without regard to ASCII case.
bool MediaFileExists(const std::string& path);

}  // namespace kanaflow::check
