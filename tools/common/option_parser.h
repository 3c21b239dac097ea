// The command line of the tools, read the one way every tool takes it: options
// anywhere among the operands, "--" ends them, a lone "-" is an operand
// (standard input), "--help" or "-h" asks for the usage text.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kanaflow::tools {

// One option a tool takes: "--name", or "--name VALUE" and "--name=VALUE"
// when it has a value (named in messages, as "FILE").
struct ToolOption {
  std::string_view name;
  std::string_view valueName;  // empty: a switch without a value
};

struct ParsedCommandLine {
  std::vector<std::string> operands;
  std::map<std::string, std::string, std::less<>> options;  // a switch has an empty value
  bool help = false;
  std::optional<std::string> error;  // the first thing wrong, for the usage message

  bool Has(std::string_view name) const { return options.find(name) != options.end(); }
  std::optional<std::string> Value(std::string_view name) const;
};

// Reads `arguments` (without the program's name) in order; stops at the
// first request for help or the first error.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::initializer_list<ToolOption> accepted);

}  // namespace kanaflow::tools
