#include "bench_tree.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace velmora::bench {

namespace fs = std::filesystem;

BenchTree::BenchTree(fs::path root, int entries) : root_(std::move(root)), entries_(entries) {
  if (entries_ <= kDirectories) throw std::invalid_argument("tree too small");
}

fs::path BenchTree::StatePath() const {
  fs::path state = root_;
  state += ".state";  // beside the tree, not in it
  return state;
}

void BenchTree::SaveState() const {
  std::ofstream(StatePath()) << entries_ << ' ' << threats_ << '\n';
}

// File i lives in leaf i % 2000, so every leaf gets its share and threats spread over all.
fs::path BenchTree::FilePath(int index, bool threat) const {
  const int leaf = index % (kTopDirectories * kSubdirectoriesEach);
  char name[32];
  std::snprintf(name, sizeof name, "f%06d.%s", index, !threat ? "txt" : index % 2 ? "vbs" : "inf");
  char top[16];
  char sub[16];
  std::snprintf(top, sizeof top, "d%02d", leaf / kSubdirectoriesEach);
  std::snprintf(sub, sizeof sub, "s%02d", leaf % kSubdirectoriesEach);
  return root_ / top / sub / name;
}

bool BenchTree::IsThreat(int index, int threats) const {
  // Files floor(k * files / threats) for k below threats: evenly spread, exactly `threats`.
  if (threats <= 0) return false;
  const long long n = files();
  const long long k = (static_cast<long long>(index) * threats + threats - 1) / n;
  return k * n / threats == index;
}

void BenchTree::Generate() {
  {
    std::ifstream state(StatePath());
    int entries = 0;
    int threats = 0;
    if (state >> entries >> threats && entries == entries_ && fs::is_directory(root_)) {
      threats_ = threats;
      return;
    }
  }
  Remove();
  for (int top = 0; top < kTopDirectories; ++top) {
    for (int sub = 0; sub < kSubdirectoriesEach; ++sub) {
      fs::create_directories(FilePath(top * kSubdirectoriesEach + sub, false).parent_path());
    }
  }
  for (int i = 0; i < files(); ++i) std::ofstream(FilePath(i, false));
  threats_ = 0;
  SaveState();
}

void BenchTree::SetThreatCount(int threats) {
  if (threats == threats_) return;
  for (int i = 0; i < files(); ++i) {
    const bool was = IsThreat(i, threats_);
    const bool is = IsThreat(i, threats);
    if (was != is) fs::rename(FilePath(i, was), FilePath(i, is));
  }
  threats_ = threats;
  SaveState();
}

void BenchTree::Remove() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
  fs::remove(StatePath(), ignored);
}

}  // namespace velmora::bench
