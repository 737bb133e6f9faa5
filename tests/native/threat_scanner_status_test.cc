// How a scan drives the status slot of its panel: which pair shows while each entry is
// examined, and which one the scan leaves behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "scan_fixture.h"

namespace velmora::search {
namespace {

using Strings = std::vector<std::string>;

class ScanStatusTest : public ScanTest {
 protected:
  // Before each attribute query: the slot of `mode` as the engine left it at that point.
  Strings RecordSlotAtEachQuery(ScanMode mode) {
    Strings seen;
    files_.on_query = [this, mode, &seen](const std::string& path) {
      seen.push_back(path + " " + (mode == ScanMode::kVolumePanel ? VolumeSlot() : DriveSlot()));
    };
    Scan(mode);
    files_.on_query = nullptr;
    return seen;
  }
};

TEST_F(ScanStatusTest, VolumeModeSearchesInEveryDirectoryAndIsInfectedFromTheEntryAfterAThreat) {
  files_.AddFile("E:\\a.txt");
  files_.AddFile("E:\\b.inf");
  files_.AddFile("E:\\c.txt");
  files_.AddDirectory("E:\\sub");
  files_.AddFile("E:\\sub\\d.txt");
  EXPECT_EQ(
      RecordSlotAtEachQuery(ScanMode::kVolumePanel),
      (Strings{
          std::string("E:\\a.txt ") + kSearching, std::string("E:\\b.inf ") + kSearching,
          std::string("E:\\c.txt ") + kVolumeInfected, std::string("E:\\sub ") + kVolumeInfected,
          // The subdirectory's call starts searching again until its first entry.
          std::string("E:\\sub\\. ") + kSearching, std::string("E:\\sub\\.. ") + kVolumeInfected,
          std::string("E:\\sub\\d.txt ") + kVolumeInfected}));
  EXPECT_EQ(VolumeSlot(), kVolumeInfected);
  EXPECT_EQ(DriveSlot(), kNoDrive);
}

TEST_F(ScanStatusTest, DriveModeKeepsItsSlotUntilTheEntryAfterAThreatAndLeavesTheVolumeSlot) {
  files_.AddFile("E:\\a.txt");
  files_.AddDirectory("E:\\sub");
  files_.AddFile("E:\\sub\\b.vbs");
  files_.AddFile("E:\\sub\\c.txt");
  EXPECT_EQ(RecordSlotAtEachQuery(ScanMode::kDrivePanel),
            (Strings{std::string("E:\\a.txt ") + kNoDrive, std::string("E:\\sub ") + kNoDrive,
                     std::string("E:\\sub\\. ") + kNoDrive, std::string("E:\\sub\\.. ") + kNoDrive,
                     std::string("E:\\sub\\b.vbs ") + kNoDrive,
                     std::string("E:\\sub\\c.txt ") + kDriveInfected}));
  EXPECT_EQ(DriveSlot(), kDriveInfected);
  EXPECT_EQ(VolumeSlot(), kNoDevice);
}

TEST_F(ScanStatusTest, EveryValueButOneActsAsDriveMode) {
  files_.AddFile("E:\\a.inf");
  Scan(static_cast<ScanMode>(7));
  EXPECT_EQ(DriveSlot(), kDriveInfected);
  EXPECT_EQ(VolumeSlot(), kNoDevice);
}

TEST_F(ScanStatusTest, HowEachScanEnds) {
  using Tree = std::function<void(fakes::FakeFileSystem&)>;
  const Tree clean = [](fakes::FakeFileSystem& files) {
    files.AddFile("E:\\a.txt");
    files.AddDirectory("E:\\sub");
    files.AddFile("E:\\sub\\b.exe");
  };
  const Tree empty = [](fakes::FakeFileSystem&) {};
  const Tree unreadable = [](fakes::FakeFileSystem& files) {
    files.AddFile("E:\\a.inf");
    files.MakeUnreadable("E:\\");
  };
  const Tree threat_in_subdirectory = [](fakes::FakeFileSystem& files) {
    files.AddDirectory("E:\\sub");
    files.AddFile("E:\\sub\\b.exe", 2);
  };
  const Tree threat_in_root_then_clean_subdirectories = [](fakes::FakeFileSystem& files) {
    files.AddFile("E:\\autorun.inf");
    files.AddDirectory("E:\\one");
    files.AddFile("E:\\one\\a.txt");
    files.AddDirectory("E:\\two");
    files.AddFile("E:\\two\\b.txt");
  };
  // The last subdirectory yields nothing at all, so its call only shows the searching state.
  const Tree threat_then_empty_subdirectory_without_dots = [](fakes::FakeFileSystem& files) {
    files.set_dot_entries(false);
    files.AddFile("E:\\autorun.inf");
    files.AddDirectory("E:\\empty");
  };
  const Tree threat_then_unreadable_subdirectory = [](fakes::FakeFileSystem& files) {
    files.AddFile("E:\\autorun.inf");
    files.AddDirectory("E:\\locked");
    files.MakeUnreadable("E:\\locked\\");
  };
  struct Case {
    const char* what;
    const Tree& tree;
    ScanMode mode;
    std::string volume_slot;
    std::string drive_slot;
  };
  const Case cases[] = {
      {"clean", clean, ScanMode::kVolumePanel, kVolumeClean, kNoDrive},
      {"clean", clean, ScanMode::kDrivePanel, kNoDevice, kDriveClean},
      {"empty", empty, ScanMode::kVolumePanel, kVolumeClean, kNoDrive},
      {"unreadable", unreadable, ScanMode::kDrivePanel, kNoDevice, kDriveClean},
      {"threat in a subdirectory", threat_in_subdirectory, ScanMode::kVolumePanel, kVolumeInfected,
       kNoDrive},
      {"threat in the root, clean subdirectories", threat_in_root_then_clean_subdirectories,
       ScanMode::kVolumePanel, kVolumeInfected, kNoDrive},
      {"threat, then an empty subdirectory without dot entries",
       threat_then_empty_subdirectory_without_dots, ScanMode::kVolumePanel, kVolumeInfected,
       kNoDrive},
      {"threat, then an unreadable subdirectory", threat_then_unreadable_subdirectory,
       ScanMode::kVolumePanel, kVolumeInfected, kNoDrive},
      {"threat, then an unreadable subdirectory", threat_then_unreadable_subdirectory,
       ScanMode::kDrivePanel, kNoDevice, kDriveInfected},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + (c.mode == ScanMode::kVolumePanel ? ", volume" : ", drive"));
    ResetSlots();
    fakes::FakeFileSystem files;
    c.tree(files);
    ui::ListView list("LstScan", &form_);
    ThreatScanner scanner(files, clock_, form_, VolumeStatusSlot::Of(form_),
                          DriveStatusSlot::Of(form_));
    scanner.SearchFiles("E:\\*.*", list, c.mode, kAllEntriesMask);
    EXPECT_EQ(VolumeSlot(), c.volume_slot);
    EXPECT_EQ(DriveSlot(), c.drive_slot);
    if (files.queries().empty()) {
      EXPECT_EQ(form_.text(), "Velmora");
    }
  }
}

TEST_F(ScanStatusTest, CleanStateLeavesTheInfectedPictureAsItWas) {
  files_.AddFile("E:\\a.txt");
  Scan(ScanMode::kVolumePanel);
  // The searching state hid it; nothing showed it since.
  EXPECT_FALSE(Control("ImgVolInf").visible());
  Control("ImgVolInf").SetVisible(true);
  VolumeStatusSlot::Of(form_).ShowClean();
  EXPECT_TRUE(Control("ImgVolInf").visible());
  EXPECT_FALSE(Control("RemLblVolInf").visible());
}

TEST_F(ScanStatusTest, ListedPathThatIsStillAThreatCountsAsFound) {
  struct Case {
    const char* what;
    const char* on_disk;
    const char* listed;
    std::uint32_t attributes_now;
    bool found;
  };
  const Case cases[] = {
      {"always a threat by its ending", "E:\\autorun.inf", "E:\\AUTORUN.INF", 32, true},
      {"still hidden", "E:\\Setup.exe", "E:\\Setup.exe", 34, true},
      {"no longer hidden", "E:\\Setup.exe", "E:\\setup.EXE", 32, false},
      {"never a threat", "E:\\readme.txt", "E:\\readme.txt", 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fakes::FakeFileSystem files;
    files.AddFile(c.on_disk, c.attributes_now);
    files.AddFile("E:\\other.txt", 32);
    ui::ListView list("LstScan", &form_);
    list.AddItem({c.listed, {"T : 9:00:00 D  : 05/12/2026"}, 0});
    ThreatScanner scanner(files, clock_, form_, VolumeStatusSlot::Of(form_),
                          DriveStatusSlot::Of(form_));
    scanner.set_found_threat(false);
    scanner.SearchFiles("E:\\*.*", list, ScanMode::kVolumePanel, kAllEntriesMask);
    EXPECT_EQ(scanner.found_threat(), c.found);
    EXPECT_EQ(VolumeSlot(), c.found ? kVolumeInfected : kVolumeClean);
    EXPECT_EQ(list.item_count(), 1) << "never listed twice";
    EXPECT_EQ(form_.text(), "32") << "a listed path leaves the caption alone";
  }
}

}  // namespace
}  // namespace velmora::search
