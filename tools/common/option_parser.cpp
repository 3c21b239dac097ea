#include "common/option_parser.h"

#include <algorithm>

namespace kanaflow::tools {
namespace {

bool IsOption(std::string_view argument) { return argument.size() >= 2 && argument[0] == '-'; }

}  // namespace

std::optional<std::string> ParsedCommandLine::Value(std::string_view name) const {
  const auto found = options.find(name);
  if (found == options.end()) return std::nullopt;
  return found->second;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::initializer_list<ToolOption> accepted) {
  ParsedCommandLine parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || !IsOption(argument)) {
      parsed.operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument == "--help" || argument == "-h") {
      parsed.help = true;
      return parsed;
    }
    const std::string_view name = std::string_view(argument).substr(0, argument.find('='));
    const auto known = std::find_if(accepted.begin(), accepted.end(), [&](const ToolOption& o) { return o.name == name; });
    const bool inlineValue = name.size() < argument.size();
    if (known == accepted.end() || (inlineValue && known->valueName.empty())) {
      parsed.error = "unknown option '" + argument + "'";
      return parsed;
    }
    if (known->valueName.empty()) {
      parsed.options[argument] = "";
    } else if (inlineValue) {
      parsed.options[std::string(name)] = argument.substr(name.size() + 1);
    } else if (i + 1 < arguments.size()) {
      parsed.options[argument] = arguments[++i];
    } else {
      parsed.error = argument + " needs a " + std::string(known->valueName);
      return parsed;
    }
  }
  return parsed;
}

}  // namespace kanaflow::tools
