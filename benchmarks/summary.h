#ifndef VELMORA_BENCHMARKS_SUMMARY_H_
#define VELMORA_BENCHMARKS_SUMMARY_H_

#include <map>
#include <ostream>
#include <vector>

namespace velmora::bench {

// The threat counts every run measures, and the targets they are held to.
inline const std::vector<int> kThreatCounts = {0, 1000, 10000};
inline constexpr double kMaxEngineToWalk = 1.15;  // at the largest threat count
inline constexpr double kMaxGrowth = 0.10;        // from no threats to the largest count

// Median seconds of the bare walk and of the engine, per threat count (each walk of the tree as
// it stood for the scans it is compared with): prints the ratios and whether the targets are
// met. True when they are.
bool PrintSummary(std::ostream& out, const std::map<int, double>& bare_walk,
                  const std::map<int, double>& engine);

double Median(std::vector<double> values);

}  // namespace velmora::bench

#endif  // VELMORA_BENCHMARKS_SUMMARY_H_
