// The names that Windows keeps for devices in every folder. The checker runs
// on Linux, where data/COM1.ini is a file like any other; on Windows (and
// under Wine) the program opening it gets the serial port, reads nothing from
// it and leaves the set out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kanaflow::check {

// The device (as written in the path, "COM1", "con") that Windows opens for
// this CP932 path: its last part, up to the first "." or ":" and without
// trailing blanks, is CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$
// or CONOUT$ in any case ("aux.ini", "con.txt", "COM1"). nullopt otherwise.
std::optional<std::string> WindowsDeviceName(std::string_view path);

}  // namespace kanaflow::check
