#ifndef VELMORA_SEARCH_THREAT_SCANNER_H_
#define VELMORA_SEARCH_THREAT_SCANNER_H_

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "search/status_slots.h"
#include "search/tree_walk.h"
#include "ui/form.h"
#include "ui/list_view.h"

namespace velmora::search {

// Which panel a scan drives. Only kVolumePanel is tested for: any other value acts as
// kDrivePanel.
enum class ScanMode : std::uint8_t { kDrivePanel = 0, kVolumePanel = 1 };

// Whether some entry of `list` has `path` as its caption, folding only A to Z. Captions count
// as they stand now: an entry the user renamed no longer matches its old path.
bool ExistsInList(const std::string& path, const ui::ListView& list);

// The suspicious-file scan: walks a directory tree depth first, lists every entry whose name
// ending and attribute value mark it as a threat, and drives the status slot of its panel.
class ThreatScanner {
 public:
  // `main_window` holds the slots' controls, and its text is the caption.
  ThreatScanner(platform::FileSystem& files, platform::Clock& clock, ui::Form& main_window,
                VolumeStatusSlot volume_slot, DriveStatusSlot drive_slot);
  ThreatScanner(const ThreatScanner&) = delete;
  ThreatScanner& operator=(const ThreatScanner&) = delete;

  // FoundThreat: something was found since the caller last cleared it. Callers clear it
  // right before SearchFiles; the engine only sets it.
  bool found_threat() const { return found_threat_; }
  void set_found_threat(bool found) { found_threat_ = found; }

  // Scans the directory part of `pattern` (up to the last separator or ":") and every
  // subdirectory that is neither hidden, system nor dot-named, with the pattern's file-name part
  // as the wildcard at every level. Appends one entry per new threat path to `list` (caption the
  // path, one sub-item the detection text, image 0) and never removes any; sets FoundThreat for
  // new threats and for listed paths that are still threats; shows the searching, infected and
  // clean states of `mode`'s slot; leaves the caption of the main window at the signed attribute
  // value of the last entry examined that was not already listed. Repainting of `list` is
  // suspended while it grows, and the main window shows its controls' visibility only as the
  // scan leaves it. Reports no errors: what cannot be read is not scanned.
  void SearchFiles(const std::string& pattern, ui::ListView& list, ScanMode mode,
                   std::uint32_t attr_mask);

 private:
  class Run;
  class Visitor;

  void Examine(Run& run, const std::string& directory, const platform::DirectoryEntry& entry);
  void AddThreatEntry(Run& run, std::string path);
  void ShowInfectedState(Run& run) const;
  void ShowCleanState(const Run& run) const;

  platform::FileSystem& files_;
  platform::Clock& clock_;
  ui::Form& main_window_;
  VolumeStatusSlot volume_slot_;
  DriveStatusSlot drive_slot_;
  bool found_threat_ = false;
};

}  // namespace velmora::search

#endif  // VELMORA_SEARCH_THREAT_SCANNER_H_
