// One scan of a tree by the guard's engine over the POSIX adapter, as a volume arrival runs it,
// for timing as a whole process beside other walks (benchmarks/compare-walks). Prints the
// number of entries listed.
//
//   velmora_engine_scan [--every-word] DIR
//
// --every-word: the search reads every entry's attribute word, as it did before it learnt to
// spare plain files, so that both can be timed on the same tree.
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "platform/clock_posix.h"
#include "platform/file_system_posix.h"
#include "scan_harness.h"

namespace {

// The POSIX adapter without its sparing search: every search reads every word.
class EveryWordFileSystem : public velmora::platform::FileSystem {
 public:
  const velmora::platform::PathSyntax& path_syntax() const override { return files_.path_syntax(); }
  std::unique_ptr<velmora::platform::DirectorySearch> StartSearch(const std::string& directory,
                                                                  const std::string& wildcard,
                                                                  std::uint32_t mask) override {
    return files_.StartSearch(directory, wildcard, mask);
  }
  std::uint32_t QueryAttributes(const std::string& path) override {
    return files_.QueryAttributes(path);
  }

 private:
  velmora::platform::PosixFileSystem files_;
};

}  // namespace

int main(int argc, char** argv) {
  const bool every_word = argc == 3 && std::strcmp(argv[1], "--every-word") == 0;
  if (argc != (every_word ? 3 : 2)) {
    std::cerr << "usage: velmora_engine_scan [--every-word] DIR\n";
    return 2;
  }
  std::string root = argv[argc - 1];
  if (root.empty() || root.back() != '/') root += '/';
  std::unique_ptr<velmora::platform::FileSystem> files;
  if (every_word) {
    files = std::make_unique<EveryWordFileSystem>();
  } else {
    files = std::make_unique<velmora::platform::PosixFileSystem>();
  }
  velmora::platform::PosixClock clock;
  velmora::bench::ScanHarness harness(*files, clock);
  std::cout << harness.Scan(root) << " listed\n";
  return 0;
}
