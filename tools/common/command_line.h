// What the mains of the command-line tools share: the arguments in the
// program's own encoding, and paths and messages in the system's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kanaflow::tools {

// The arguments after the program's name as CP932, the encoding of the
// program's paths. Windows hands them over as UTF-16 (argc and argv are not
// used there); elsewhere they are UTF-8 as the terminal typed them, and an
// argument that is not passes unchanged.
std::vector<std::string> Cp932Arguments(int argc, char** argv);

// CP932 text, such as a path or a message that names a file, as the system
// takes narrow text: UTF-8 outside Windows (unchanged when it is not CP932);
// on Windows the tools hand CP932 on as it is.
std::string SystemText(std::string_view cp932);

}  // namespace kanaflow::tools
