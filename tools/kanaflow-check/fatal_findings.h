// Findings made from the fatal reports that the program's own loaders raise
// while the checker loads a set or the settings: the program would end there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "kanaflow-check/finding.h"
#include "kanaflow-check/set_file_text.h"
#include "platform/fatal_error.h"

namespace kanaflow::check {

// The value of the information line that starts with `label` ("キー名："),
// or "" when the report has no such line.
std::string InformationValue(const std::string& reportText, std::string_view label);

// The finding of a fatal report raised by loading `set` or its questions,
// and then every other "Error" value and missing required key that would end
// the program later, so that one run shows them all.
void AddSetFailure(const SetFileText& set, const FatalErrorReport& report, std::vector<Finding>& findings);

// The finding of a fatal report raised by reading Setting.ini.
Finding SettingsFailure(const std::string& path, const std::string& fileText, const FatalErrorReport& report);

}  // namespace kanaflow::check
