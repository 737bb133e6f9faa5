// Times the scan engine over the POSIX adapter against a bare walk of the same generated tree
// of 200,000 entries, with 0, 1,000 and 10,000 threats (the walk too, in case renaming files
// changes what reading the directories costs), and prints the medians' ratios.
//
//   velmora_scan_benchmark [--tree=DIR] [--keep-tree] [Google Benchmark flags]
//
// Defaults: a tree in the temporary directory, removed at the end; 5 repetitions of each
// benchmark, randomly interleaved.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "bench_tree.h"
#include "platform/clock_posix.h"
#include "platform/file_system_posix.h"
#include "scan_harness.h"
#include "summary.h"

namespace velmora::bench {
namespace {

constexpr int kEntries = 200000;
BenchTree* tree = nullptr;

std::string RootDirectory() { return tree->root().string() + "/"; }

void BM_BareWalk(benchmark::State& state) {
  tree->SetThreatCount(static_cast<int>(state.range(0)));
  platform::PosixFileSystem files;
  std::size_t entries = 0;
  for (auto _ : state) entries = BareWalk(files, RootDirectory());
  state.counters["entries"] = static_cast<double>(entries);
}

void BM_Scan(benchmark::State& state) {
  const int threats = static_cast<int>(state.range(0));
  tree->SetThreatCount(threats);
  platform::PosixFileSystem files;
  platform::PosixClock clock;
  ScanHarness harness(files, clock);
  int listed = 0;
  for (auto _ : state) listed = harness.Scan(RootDirectory());
  if (listed != threats) state.SkipWithError("the engine listed the wrong number of threats");
}

// Keeps the medians for the summary, and shows every run as the console reporter does.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name != "median") continue;
      const double seconds = run.GetAdjustedRealTime() / 1e3;  // reported in milliseconds
      const int threats = std::stoi(run.run_name.args);
      (run.run_name.function_name == "BM_BareWalk" ? bare_walk : engine)[threats] = seconds;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  std::map<int, double> bare_walk;
  std::map<int, double> engine;
};

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
  using namespace velmora::bench;
  std::filesystem::path root = std::filesystem::temp_directory_path() / "velmora-scan-bench";
  bool keep_tree = false;
  std::vector<char*> args = {argv[0], const_cast<char*>("--benchmark_repetitions=5"),
                             const_cast<char*>("--benchmark_enable_random_interleaving=true")};
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--tree=", 7) == 0) {
      root = argv[i] + 7;
    } else if (std::strcmp(argv[i], "--keep-tree") == 0) {
      keep_tree = true;
    } else {
      args.push_back(argv[i]);  // later flags win over the defaults above
    }
  }
  int benchmark_argc = static_cast<int>(args.size());
  benchmark::Initialize(&benchmark_argc, args.data());
  if (benchmark::ReportUnrecognizedArguments(benchmark_argc, args.data())) return 1;

  BenchTree bench_tree(root, kEntries);
  std::cout << "tree: " << root.string() << ", " << kEntries << " entries\n" << std::flush;
  bench_tree.Generate();
  tree = &bench_tree;
  {
    velmora::platform::PosixFileSystem files;
    BareWalk(files, RootDirectory());  // the first walk fills the caches for all that follow
  }

  for (auto* benchmark : {benchmark::RegisterBenchmark("BM_BareWalk", BM_BareWalk),
                          benchmark::RegisterBenchmark("BM_Scan", BM_Scan)}) {
    for (int threats : kThreatCounts) benchmark->Arg(threats);
    benchmark->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
  }

  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  if (!keep_tree) bench_tree.Remove();

  if (reporter.bare_walk.size() != kThreatCounts.size() ||
      reporter.engine.size() != kThreatCounts.size()) {
    return 0;  // a filter left some out: nothing to compare
  }
  std::cout << "\nmedians, scans in volume-panel mode over the POSIX adapter:\n";
  return PrintSummary(std::cout, reporter.bare_walk, reporter.engine) ? 0 : 2;
}
