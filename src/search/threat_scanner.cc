#include "search/threat_scanner.h"

#include <charconv>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "search/detection_text.h"
#include "search/threat_rules.h"
#include "search/tree_walk.h"

namespace velmora::search {
namespace {

using platform::DirectoryEntry;

// Attribute words are compared and shown as signed values: a failed query is -1.
std::int32_t AsSigned(std::uint32_t attributes) { return static_cast<std::int32_t>(attributes); }

}  // namespace

bool ExistsInList(const std::string& path, const ui::ListView& list) {
  return list.HasFoldedCaption(path);
}

// What one outermost call shares with all the calls it makes for subdirectories.
class ThreatScanner::Run {
 public:
  Run(ui::Form& main_window, ui::ListView& list, ScanMode mode)
      : main_window_(main_window), list_(list), volume_mode_(mode == ScanMode::kVolumePanel) {
    // The volume slot switches to searching and back in every directory; the screen needs
    // only where it ends.
    main_window_.BeginUpdate();
  }
  ~Run() {
    if (repainting_suspended_) list_.EndUpdate();
    main_window_.EndUpdate();
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  ui::ListView& list() const { return list_; }
  bool volume_mode() const { return volume_mode_; }
  std::string& path_buffer() { return path_buffer_; }
  // Whether the slot shows the infected state since the engine last switched it; nothing else
  // switches it during a scan, so showing it again each entry would change nothing.
  bool infected_shown() const { return infected_shown_; }
  void set_infected_shown(bool shown) { infected_shown_ = shown; }

  // Painting each new entry costs far more than the scan itself, so the list is repainted
  // once, when the scan ends.
  void SuspendRepainting() {
    if (repainting_suspended_) return;
    list_.BeginUpdate();
    repainting_suspended_ = true;
  }

  // The locale is read once per scan, when the first entry is added.
  const platform::DateTimeFormats& Formats(platform::Clock& clock) {
    if (!formats_) formats_ = clock.Formats();
    return *formats_;
  }

 private:
  ui::Form& main_window_;
  ui::ListView& list_;
  const bool volume_mode_;
  bool repainting_suspended_ = false;
  bool infected_shown_ = false;
  std::optional<platform::DateTimeFormats> formats_;
  std::string path_buffer_;
};

ThreatScanner::ThreatScanner(platform::FileSystem& files, platform::Clock& clock,
                             ui::Form& main_window, VolumeStatusSlot volume_slot,
                             DriveStatusSlot drive_slot)
    : files_(files),
      clock_(clock),
      main_window_(main_window),
      volume_slot_(volume_slot),
      drive_slot_(drive_slot) {}

// The engine's side of the walk: the slot states around each directory, the tests of each entry.
class ThreatScanner::Visitor : public WalkVisitor {
 public:
  Visitor(ThreatScanner& scanner, Run& run) : scanner_(scanner), run_(run) {}

  void EnterDirectory(const std::string&) override {
    if (!run_.volume_mode()) return;
    scanner_.volume_slot_.ShowSearching();
    run_.set_infected_shown(false);
  }
  void Examine(const std::string& directory, const DirectoryEntry& entry) override {
    scanner_.Examine(run_, directory, entry);
    if (scanner_.found_threat_) scanner_.ShowInfectedState(run_);
  }
  void LeaveDirectory(const std::string&) override {
    if (!scanner_.found_threat_) scanner_.ShowCleanState(run_);
  }

 private:
  ThreatScanner& scanner_;
  Run& run_;
};

void ThreatScanner::SearchFiles(const std::string& pattern, ui::ListView& list, ScanMode mode,
                                std::uint32_t attr_mask) {
  const SearchPattern split = SplitPattern(pattern, files_.path_syntax());
  Run run(main_window_, list, mode);
  Visitor visitor(*this, run);
  // Every entry gets a fresh attribute query, so the search itself reads only the words the
  // descent needs.
  TreeWalk(files_, split.wildcard, attr_mask, nullptr).Walk(split.directory, visitor);
  // A last subdirectory that yielded nothing left its searching state behind; a scan that
  // found threats must not end looking as if it were still searching.
  if (found_threat_) ShowInfectedState(run);
}

void ThreatScanner::Examine(Run& run, const std::string& directory, const DirectoryEntry& entry) {
  std::string& path = run.path_buffer();
  path.assign(directory).append(entry.name);

  if (ExistsInList(path, run.list())) {
    // Already listed: no new entry and no caption change. If it is still a threat, the scan
    // has found it all the same; a re-plugged infected stick must not be declared clean.
    if (HasAlwaysThreatEnding(entry.name) ||
        (HasHiddenThreatEnding(entry.name) &&
         IsHiddenThreatAttribute(AsSigned(files_.QueryAttributes(path))))) {
      found_threat_ = true;
    }
    return;
  }

  // A fresh query: the word delivered with the search entry is not used here.
  const std::int32_t attributes = AsSigned(files_.QueryAttributes(path));
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, attributes);
  const std::string_view caption(digits, static_cast<std::size_t>(written.ptr - digits));
  // Writing the same caption again would change nothing but cost a platform call.
  if (main_window_.text() != caption) main_window_.SetText(std::string(caption));

  if (IsThreat(entry.name, attributes)) AddThreatEntry(run, path);
}

void ThreatScanner::AddThreatEntry(Run& run, std::string path) {
  found_threat_ = true;
  // Two readings, time first: a threat found at midnight gets the date of its second reading.
  const platform::LocalTime time = clock_.Now();
  const platform::LocalTime date = clock_.Now();
  std::string detection = DetectionText(time, date, run.Formats(clock_));
  run.SuspendRepainting();
  run.list().AddItem({std::move(path), {std::move(detection)}, 0});
}

void ThreatScanner::ShowInfectedState(Run& run) const {
  if (run.infected_shown()) return;
  run.set_infected_shown(true);
  if (run.volume_mode()) {
    volume_slot_.ShowInfected();
  } else {
    drive_slot_.ShowInfected();
  }
}

void ThreatScanner::ShowCleanState(const Run& run) const {
  if (run.volume_mode()) {
    volume_slot_.ShowClean();
  } else {
    drive_slot_.ShowClean();
  }
}

}  // namespace velmora::search
