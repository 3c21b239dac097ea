// How the screen benchmarks print a figure: its value, its goal and how the
// two compare.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kanaflow::bench {

// The middle value (the mean of the two middle ones for an even count).
double Median(std::vector<double> values);

// One line: "name: value unit; goal: ... ; ratio ... (met | missed by n%)".
// Without a goal the line says so.
void PrintFigure(const std::string& name, double value, const std::string& unit, std::optional<double> goal,
                 const std::string& detail = "");

}  // namespace kanaflow::bench
