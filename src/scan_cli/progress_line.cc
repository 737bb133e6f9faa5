#include "scan_cli/progress_line.h"

#include <cstdio>
#include <utility>

#include "scan_cli/text_escape.h"

namespace velmora::scan_cli {

ProgressLine::ProgressLine(std::ostream& out, bool enabled, std::function<double()> now)
    : out_(out), enabled_(enabled), now_(std::move(now)), started_(enabled_ ? now_() : 0) {}

void ProgressLine::EnterFolder(const std::string& folder) {
  if (!enabled_) return;
  folder_ = folder;
  MaybeDraw();
}

void ProgressLine::CountEntry() {
  ++entries_;
  // Reading the clock for every entry would cost more than the entry.
  if (enabled_ && entries_ % 256 == 0) MaybeDraw();
}

void ProgressLine::Clear() {
  if (!shown_) return;
  out_ << '\r' << std::string(kWidth, ' ') << '\r' << std::flush;
  shown_ = false;
  last_drawn_ = -1;
}

void ProgressLine::MaybeDraw() {
  const double now = now_();
  if (last_drawn_ >= 0 && now - last_drawn_ < kRedrawSeconds) return;
  last_drawn_ = now;
  const double elapsed = now - started_;
  char head[96];
  std::snprintf(head, sizeof head, "%.0f entries/s, %lld findings, in ",
                elapsed > 0 ? static_cast<double>(entries_) / elapsed : 0.0, findings_);
  std::string line = head;
  // The end of a long folder says more than its start.
  const std::string folder = EscapeForTerminal(folder_);
  const std::size_t room = kWidth - line.size();
  if (folder.size() > room) {
    line += "..." + folder.substr(folder.size() - (room - 3));
  } else {
    line += folder;
  }
  line.resize(kWidth, ' ');
  out_ << '\r' << line << std::flush;
  shown_ = true;
}

}  // namespace velmora::scan_cli
