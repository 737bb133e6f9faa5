#ifndef VELMORA_TESTS_FAKES_FAKE_PROCESS_H_
#define VELMORA_TESTS_FAKES_FAKE_PROCESS_H_

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/process.h"

namespace velmora::fakes {

// A process whose running markers behave like the real ones within one fake: the first
// marker of a name is created, every later one of that name is refused.
class FakeProcess : public platform::Process {
 public:
  bool CreateRunningMarker(const std::string& name) override {
    marker_calls_.push_back(name);
    return !refuse_all_markers_ && taken_markers_.insert(name).second;
  }

  std::string ExecutablePath() const override { return executable_path_; }

  // Another copy of the program already holds this marker.
  void AddOtherCopy(const std::string& name) { taken_markers_.insert(name); }
  // Every marker fails, as when the platform cannot create one at all.
  void set_refuse_all_markers(bool refuse) { refuse_all_markers_ = refuse; }
  void set_executable_path(std::string path) { executable_path_ = std::move(path); }

  // Every name CreateRunningMarker was called with, in order.
  const std::vector<std::string>& marker_calls() const { return marker_calls_; }

 private:
  std::set<std::string> taken_markers_;
  bool refuse_all_markers_ = false;
  std::string executable_path_ = "C:\\Program Files\\Velmora\\Velmora.exe";
  std::vector<std::string> marker_calls_;
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_PROCESS_H_
