#include "search/threat_scanner.h"

#include <charconv>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "search/detection_text.h"
#include "search/threat_rules.h"

namespace velmora::search {
namespace {

using platform::DirectoryEntry;

// Attribute words are compared and shown as signed values: a failed query is -1.
std::int32_t AsSigned(std::uint32_t attributes) { return static_cast<std::int32_t>(attributes); }

// Entered are the directories that a subdirectory search (mask: directory only) yields, so not
// hidden, system or volume-label ones, and not those whose name starts with a full stop, which
// also keeps "." and ".." out.
bool IsEnterable(const DirectoryEntry& entry) {
  return (entry.attributes & platform::kAttributeDirectory) != 0 &&
         !platform::ExcludedBySearchMask(entry.attributes, platform::kAttributeDirectory) &&
         !entry.name.empty() && entry.name[0] != '.';
}

}  // namespace

bool ExistsInList(const std::string& path, const ui::ListView& list) {
  return list.HasFoldedCaption(path);
}

// What one outermost call shares with all the calls it makes for subdirectories.
class ThreatScanner::Run {
 public:
  Run(ui::Form& main_window, ui::ListView& list, ScanMode mode, std::uint32_t mask,
      std::string wildcard)
      : main_window_(main_window),
        list_(list),
        volume_mode_(mode == ScanMode::kVolumePanel),
        mask_(mask),
        wildcard_(std::move(wildcard)),
        // When the first search of a directory already yields every entry that a search with
        // the directory mask would, the subdirectories are picked from it and each directory
        // is listed once instead of twice.
        subdirectories_from_first_search_(
            !platform::ExcludedBySearchMask(platform::kAttributeHidden, mask) &&
            !platform::ExcludedBySearchMask(platform::kAttributeSystem, mask) &&
            !platform::ExcludedBySearchMask(platform::kAttributeVolumeLabel, mask) &&
            !platform::ExcludedBySearchMask(platform::kAttributeDirectory, mask)) {
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
  std::uint32_t mask() const { return mask_; }
  const std::string& wildcard() const { return wildcard_; }
  bool subdirectories_from_first_search() const { return subdirectories_from_first_search_; }
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
  const std::uint32_t mask_;
  const std::string wildcard_;
  const bool subdirectories_from_first_search_;
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

void ThreatScanner::SearchFiles(const std::string& pattern, ui::ListView& list, ScanMode mode,
                                std::uint32_t attr_mask) {
  const std::size_t split = pattern.find_last_of(files_.path_syntax().directory_ends);
  const std::size_t name_start = split == std::string::npos ? 0 : split + 1;
  Run run(main_window_, list, mode, attr_mask, pattern.substr(name_start));
  ScanDirectory(run, pattern.substr(0, name_start));
  // A last subdirectory that yielded nothing left its searching state behind; a scan that
  // found threats must not end looking as if it were still searching.
  if (found_threat_) ShowInfectedState(run);
}

void ThreatScanner::ScanDirectory(Run& run, const std::string& directory) {
  if (run.volume_mode()) {
    volume_slot_.ShowSearching();
    run.set_infected_shown(false);
  }
  const char separator = files_.path_syntax().separator;

  std::vector<std::string> subdirectories;
  if (auto search = files_.StartSearch(directory, run.wildcard(), run.mask())) {
    DirectoryEntry entry;
    while (search->Next(entry)) {
      Examine(run, directory, entry);
      if (found_threat_) ShowInfectedState(run);
      if (run.subdirectories_from_first_search() && IsEnterable(entry)) {
        subdirectories.push_back(std::move(entry.name));
      }
    }
  }

  if (run.subdirectories_from_first_search()) {
    for (const std::string& name : subdirectories) {
      ScanDirectory(run, directory + name + separator);
    }
  } else if (auto search =
                 files_.StartSearch(directory, run.wildcard(), platform::kAttributeDirectory)) {
    DirectoryEntry entry;
    while (search->Next(entry)) {
      if (IsEnterable(entry)) ScanDirectory(run, directory + entry.name + separator);
    }
  }

  if (!found_threat_) ShowCleanState(run);
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
