#ifndef VELMORA_BENCHMARKS_SCAN_HARNESS_H_
#define VELMORA_BENCHMARKS_SCAN_HARNESS_H_

#include <cstddef>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "search/threat_scanner.h"
#include "ui/form.h"
#include "ui/list_view.h"

namespace velmora::bench {

// What a scan costs at the least: every directory searched once (with the attribute word of
// each entry) and one attribute query per entry, entering the same directories as the engine.
// Returns the number of entries seen.
std::size_t BareWalk(platform::FileSystem& files, const std::string& directory);

// The engine with the controls of the main window's volume panel, as in the program: a form
// whose text is the caption, the status pictures and labels, and the threat list.
class ScanHarness {
 public:
  ScanHarness(platform::FileSystem& files, platform::Clock& clock);

  ui::Form& form() { return form_; }
  ui::ListView& list() { return list_; }

  // One scan in volume-panel mode into the emptied list, as a volume arrival runs it; returns
  // the number of entries listed.
  int Scan(const std::string& root_directory);

 private:
  ui::Form form_{"Frmain", "VelmoraBenchForm"};
  ui::ListView& list_;
  search::ThreatScanner scanner_;
};

}  // namespace velmora::bench

#endif  // VELMORA_BENCHMARKS_SCAN_HARNESS_H_
