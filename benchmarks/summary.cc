#include "summary.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace velmora::bench {

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool PrintSummary(std::ostream& out, double bare_walk, const std::map<int, double>& engine) {
  char line[160];
  std::snprintf(line, sizeof line, "bare walk                %9.1f ms\n", bare_walk * 1e3);
  out << line;
  for (const auto& [threats, seconds] : engine) {
    std::snprintf(line, sizeof line, "engine, %6d threats   %9.1f ms   %.3f x bare walk\n", threats,
                  seconds * 1e3, seconds / bare_walk);
    out << line;
  }
  const double first = engine.begin()->second;
  const double last = engine.rbegin()->second;
  const double ratio = last / bare_walk;
  const double growth = last / first - 1;
  std::snprintf(line, sizeof line,
                "engine/bare walk at %d threats: %.3f (target <= %.2f) %s\n"
                "growth from %d to %d threats: %+.1f %% (target within %.0f %%) %s\n",
                engine.rbegin()->first, ratio, kMaxEngineToWalk,
                ratio <= kMaxEngineToWalk ? "met" : "MISSED", engine.begin()->first,
                engine.rbegin()->first, growth * 100, kMaxGrowth * 100,
                growth <= kMaxGrowth ? "met" : "MISSED");
  out << line;
  return ratio <= kMaxEngineToWalk && growth <= kMaxGrowth;
}

}  // namespace velmora::bench
