#include "figure_report.h"

#include <algorithm>
#include <cstdio>

namespace kanaflow::bench {

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintFigure(const std::string& name, double value, const std::string& unit, std::optional<double> goal,
                 const std::string& detail) {
  std::printf("%-60s %10.3f %-3s", name.c_str(), value, unit.c_str());
  if (goal) {
    const double ratio = value / *goal;
    std::printf("  goal %g %s  ratio %.2f  %s", *goal, unit.c_str(), ratio, ratio <= 1 ? "met" : "MISSED");
    if (ratio > 1) std::printf(" by %.0f%%", (ratio - 1) * 100);
  } else {
    std::printf("  (no goal set)");
  }
  if (!detail.empty()) std::printf("  [%s]", detail.c_str());
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace kanaflow::bench
