#ifndef VELMORA_TESTS_NATIVE_SCAN_FIXTURE_H_
#define VELMORA_TESTS_NATIVE_SCAN_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "search/threat_scanner.h"
#include "ui/form.h"
#include "ui/list_view.h"

namespace velmora::search {

// The visible pair of each slot, as "ImgScan lblSearch"; anything else shows what is visible.
inline constexpr char kNoDevice[] = "ImgNoDevice lblNoDev";
inline constexpr char kSearching[] = "ImgScan lblSearch";
inline constexpr char kVolumeClean[] = "ImgVolClean RemLblVolClean";
inline constexpr char kVolumeInfected[] = "ImgVolInf RemLblVolInf";
inline constexpr char kNoDrive[] = "ImgNoDriveSelected lblDescriptionNoDrive";
inline constexpr char kDriveClean[] = "ImgDrveClean lblDriveClean";
inline constexpr char kDriveInfected[] = "ImgDriveInfected lblDriveInfected";

// The main window's status controls in their start-up visibility, a threat list, an in-memory
// drive E: and a clock, wired to one engine.
class ScanTest : public ::testing::Test {
 protected:
  ScanTest() {
    for (const char* name : {"ImgNoDevice", "ImgScan", "ImgVolClean", "ImgVolInf",
                             "ImgNoDriveSelected", "ImgDrveClean", "ImgDriveInfected"}) {
      form_.Add<ui::Image>(name, &form_);
    }
    for (const char* name : {"lblNoDev", "lblSearch", "RemLblVolClean", "RemLblVolInf",
                             "lblDescriptionNoDrive", "lblDriveClean", "lblDriveInfected"}) {
      form_.Add<ui::Label>(name, &form_);
    }
    ResetSlots();
    scanner_ = std::make_unique<ThreatScanner>(files_, clock_, form_, VolumeStatusSlot::Of(form_),
                                               DriveStatusSlot::Of(form_));
  }

  // The slots as the program starts: no volume, no drive chosen; the caption as it was.
  void ResetSlots() {
    for (const char* name :
         {"ImgNoDevice", "lblNoDev", "ImgNoDriveSelected", "lblDescriptionNoDrive"}) {
      Control(name).SetVisible(true);
    }
    for (const char* name :
         {"ImgScan", "lblSearch", "ImgVolClean", "RemLblVolClean", "ImgVolInf", "RemLblVolInf",
          "ImgDrveClean", "lblDriveClean", "ImgDriveInfected", "lblDriveInfected"}) {
      Control(name).SetVisible(false);
    }
    form_.SetText("Velmora");
  }

  // A scan as both callers run one: FoundThreat cleared, the drive's root pattern, mask 63.
  void Scan(ScanMode mode, const std::string& pattern = "E:\\*.*") {
    scanner_->set_found_threat(false);
    scanner_->SearchFiles(pattern, list_, mode, kAllEntriesMask);
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (int i = 0; i < list_.item_count(); ++i) captions.push_back(list_.item(i).caption);
    return captions;
  }

  ui::Control& Control(const std::string& name) { return form_.Get<ui::Control>(name); }

  std::string Visible(std::initializer_list<const char*> names) {
    std::string visible;
    for (const char* name : names) {
      if (!Control(name).visible()) continue;
      if (!visible.empty()) visible += ' ';
      visible += name;
    }
    return visible;
  }
  std::string VolumeSlot() {
    return Visible({"ImgNoDevice", "lblNoDev", "ImgScan", "lblSearch", "ImgVolClean",
                    "RemLblVolClean", "ImgVolInf", "RemLblVolInf"});
  }
  std::string DriveSlot() {
    return Visible({"ImgNoDriveSelected", "lblDescriptionNoDrive", "ImgDrveClean", "lblDriveClean",
                    "ImgDriveInfected", "lblDriveInfected"});
  }

  ui::Form form_{"Frmain", "TFrmain"};
  ui::ListView list_{"LstScan", &form_};
  fakes::FakeFileSystem files_;
  fakes::FakeClock clock_;
  std::unique_ptr<ThreatScanner> scanner_;  // made once the controls exist
};

}  // namespace velmora::search

#endif  // VELMORA_TESTS_NATIVE_SCAN_FIXTURE_H_
