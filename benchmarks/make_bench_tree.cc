// Generates (or keeps, when one of this size is there) the benchmark tree with a number of
// threats, for timing walks as whole processes (benchmarks/compare-walks).
//
//   velmora_bench_tree DIR ENTRIES [THREATS]
#include <cstdlib>
#include <exception>
#include <iostream>

#include "bench_tree.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: velmora_bench_tree DIR ENTRIES [THREATS]\n";
    return 2;
  }
  try {
    velmora::bench::BenchTree tree(argv[1], std::atoi(argv[2]));
    tree.Generate();
    tree.SetThreatCount(argc == 4 ? std::atoi(argv[3]) : 0);
    std::cout << tree.entries() << " entries, " << tree.threats() << " threats\n";
  } catch (const std::exception& error) {
    std::cerr << "velmora_bench_tree: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
