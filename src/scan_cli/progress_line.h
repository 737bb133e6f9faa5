#ifndef VELMORA_SCAN_CLI_PROGRESS_LINE_H_
#define VELMORA_SCAN_CLI_PROGRESS_LINE_H_

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

namespace velmora::scan_cli {

// One line on a terminal, redrawn in place a few times a second: entries per second, findings
// so far and the folder being searched. Draws nothing when it is not enabled (standard error
// is no terminal), so logs and pipes get none of it.
class ProgressLine {
 public:
  static constexpr std::size_t kWidth = 79;
  static constexpr double kRedrawSeconds = 0.25;

  // `now` gives seconds on a steady clock.
  ProgressLine(std::ostream& out, bool enabled, std::function<double()> now);
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void EnterFolder(const std::string& folder);
  void CountEntry();
  void CountFinding() { ++findings_; }
  // Removes the line, so that what is written next starts on a clean line; the next count
  // draws it again.
  void Clear();

 private:
  void MaybeDraw();

  std::ostream& out_;
  const bool enabled_;
  const std::function<double()> now_;
  const double started_;
  double last_drawn_ = -1;
  long long entries_ = 0;
  long long findings_ = 0;
  std::string folder_;
  bool shown_ = false;
};

}  // namespace velmora::scan_cli

#endif  // VELMORA_SCAN_CLI_PROGRESS_LINE_H_
