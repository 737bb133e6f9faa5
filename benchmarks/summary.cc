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

bool PrintSummary(std::ostream& out, const std::map<int, double>& bare_walk,
                  const std::map<int, double>& engine) {
  char line[200];
  for (const auto& [threats, seconds] : engine) {
    const double walk = bare_walk.at(threats);
    std::snprintf(line, sizeof line,
                  "%6d threats: engine %9.1f ms, bare walk %9.1f ms, engine/bare walk %.3f\n",
                  threats, seconds * 1e3, walk * 1e3, seconds / walk);
    out << line;
  }
  const int most = engine.rbegin()->first;
  const double ratio = engine.rbegin()->second / bare_walk.at(most);
  const double growth = engine.rbegin()->second / engine.begin()->second - 1;
  std::snprintf(line, sizeof line,
                "engine/bare walk at %d threats: %.3f (target <= %.2f) %s\n"
                "engine growth from %d to %d threats: %+.1f %% (target within %.0f %%) %s\n",
                most, ratio, kMaxEngineToWalk, ratio <= kMaxEngineToWalk ? "met" : "MISSED",
                engine.begin()->first, most, growth * 100, kMaxGrowth * 100,
                growth <= kMaxGrowth ? "met" : "MISSED");
  out << line;
  return ratio <= kMaxEngineToWalk && growth <= kMaxGrowth;
}

}  // namespace velmora::bench
