#ifndef VELMORA_BENCHMARKS_BENCH_TREE_H_
#define VELMORA_BENCHMARKS_BENCH_TREE_H_

#include <filesystem>
#include <string>

namespace velmora::bench {

// A generated directory tree of a fixed number of entries: 40 directories of 50
// subdirectories each, the rest plain empty files spread over those 2,000 leaves. Any number of
// the files can be made threats by name (".inf" or ".vbs" in place of ".txt"), so one tree
// serves every threat count. A tree left by an earlier run is reused when its size matches.
class BenchTree {
 public:
  static constexpr int kTopDirectories = 40;
  static constexpr int kSubdirectoriesEach = 50;

  BenchTree(std::filesystem::path root, int entries);

  // Creates the tree unless a complete one of this size is there already.
  void Generate();
  // Renames files so that exactly `threats` of them, spread evenly, carry threat names.
  void SetThreatCount(int threats);
  void Remove();

  const std::filesystem::path& root() const { return root_; }
  int entries() const { return entries_; }
  int files() const { return entries_ - kDirectories; }
  int threats() const { return threats_; }

 private:
  static constexpr int kDirectories = kTopDirectories * (1 + kSubdirectoriesEach);

  std::filesystem::path FilePath(int index, bool threat) const;
  bool IsThreat(int index, int threats) const;
  void SaveState() const;
  std::filesystem::path StatePath() const;

  std::filesystem::path root_;
  int entries_;
  int threats_ = 0;
};

}  // namespace velmora::bench

#endif  // VELMORA_BENCHMARKS_BENCH_TREE_H_
