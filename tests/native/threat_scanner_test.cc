// What the engine lists and what it leaves: endings and attribute values over a whole tree,
// duplicates, the caption, and which subdirectories it enters.
#include "search/threat_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "scan_fixture.h"
#include "ui/list_view.h"

namespace velmora::search {
namespace {

using Strings = std::vector<std::string>;

TEST_F(ScanTest, ListsSuspiciousEntriesOfTheWholeTreeInTheOrderFound) {
  files_.AddFile("E:\\readme.txt");
  files_.AddFile("E:\\AUTORUN.INF", 0);
  files_.AddDirectory("E:\\photos");
  files_.AddFile("E:\\photos\\Setup.exe", 34);
  files_.AddFile("E:\\photos\\visible.exe", 32);
  files_.AddFile("E:\\photos\\system.exe", 38);
  files_.AddDirectory("E:\\setup.inf");  // a directory is examined like a file, then entered
  files_.AddFile("E:\\setup.inf\\news", 2);
  files_.AddFile("E:\\x.vb");
  // Only the fresh query counts, not the word the search delivered.
  files_.AddFile("E:\\stale.exe", 32);
  files_.SetQueriedAttributes("E:\\stale.exe", 2);
  files_.AddFile("E:\\gone.exe", 2);
  files_.SetQueriedAttributes("E:\\gone.exe", platform::kInvalidAttributes);
  files_.AddFile("E:\\gone.inf", 2);
  files_.SetQueriedAttributes("E:\\gone.inf", platform::kInvalidAttributes);

  Scan(ScanMode::kDrivePanel);

  EXPECT_EQ(Captions(), (Strings{"E:\\AUTORUN.INF", "E:\\setup.inf", "E:\\x.vb", "E:\\stale.exe",
                                 "E:\\gone.inf", "E:\\photos\\Setup.exe", "E:\\setup.inf\\news"}));
  EXPECT_TRUE(scanner_->found_threat());
}

TEST_F(ScanTest, AnEntryHoldsPathDetectionTextAndTheFirstImage) {
  files_.AddFile("E:\\autorun.inf");
  clock_.QueueReadings({{2026, 12, 6, 0, 23, 59, 59}, {2026, 12, 7, 1, 0, 0, 0}});
  Scan(ScanMode::kVolumePanel);
  ASSERT_EQ(list_.item_count(), 1);
  EXPECT_EQ(list_.item(0).caption, "E:\\autorun.inf");
  // The default formats: 24-hour clock without leading zero, dd/MM/yyyy.
  EXPECT_EQ(list_.item(0).sub_items, Strings{"T : 23:59:59 D  : 07/12/2026"});
  EXPECT_EQ(list_.item(0).image_index, 0);
}

TEST_F(ScanTest, DetectionTextFollowsTheLocaleReadOncePerScan) {
  platform::DateTimeFormats formats;
  formats.twelve_hour_clock = true;
  formats.hour_leading_zero = true;
  formats.short_date_pattern = "M/d/yyyy";
  clock_.set_formats(formats);
  clock_.set_now({2026, 12, 6, 0, 21, 3, 22});
  for (const char* name : {"E:\\a.inf", "E:\\b.inf", "E:\\c.inf"}) files_.AddFile(name);
  Scan(ScanMode::kDrivePanel);
  ASSERT_EQ(list_.item_count(), 3);
  EXPECT_EQ(list_.item(2).sub_items, Strings{"T : 09:03:22 PM D  : 12/6/2026"});
  EXPECT_EQ(clock_.format_reads(), 1);
  EXPECT_EQ(clock_.readings(), 6);  // time and date read separately for each entry
}

TEST_F(ScanTest, ListedPathsAreSkippedBeforeQueryAndCaptionFoldingOnlyAToZ) {
  files_.AddFile("E:\\caf\xC9.inf", 32);
  files_.AddFile("E:\\autorun.inf", 0);
  files_.AddFile("E:\\readme.txt", 33);
  list_.AddItem({"e:\\AUTORUN.INF", {"earlier"}, 0});
  list_.AddItem({"E:\\README.TXT", {"put there by hand"}, 0});
  list_.AddItem({"E:\\caf\xE9.inf", {"accented letters do not fold"}, 0});

  Scan(ScanMode::kDrivePanel);

  EXPECT_EQ(Captions(),
            (Strings{"e:\\AUTORUN.INF", "E:\\README.TXT", "E:\\caf\xE9.inf", "E:\\caf\xC9.inf"}));
  EXPECT_EQ(files_.queries(), Strings{"E:\\caf\xC9.inf"});
  EXPECT_EQ(form_.text(), "32");
}

TEST_F(ScanTest, ScanningTwiceAddsOnlyNewPathsUnlessAnEntryWasRenamedOrRemoved) {
  files_.AddFile("E:\\a.inf");
  files_.AddFile("E:\\b.inf");
  files_.AddFile("E:\\c.inf");
  Scan(ScanMode::kVolumePanel);
  ASSERT_EQ(list_.item_count(), 3);

  files_.AddFile("E:\\d.inf");
  list_.UserEditCaption(0, "E:\\a.inf.renamed-by-user");
  list_.DeleteItem(1);  // b.inf
  Scan(ScanMode::kVolumePanel);

  EXPECT_EQ(Captions(), (Strings{"E:\\a.inf.renamed-by-user", "E:\\c.inf", "E:\\a.inf", "E:\\b.inf",
                                 "E:\\d.inf"}));
}

TEST_F(ScanTest, CaptionHoldsTheSignedValueOfTheLastEntryThatWasNotListed) {
  struct Case {
    const char* what;
    std::uint32_t last_queried;
    bool last_listed_before;
    std::string caption;
  };
  const Case cases[] = {
      {"hidden archive", 34, false, "34"},
      {"failed query", platform::kInvalidAttributes, false, "-1"},
      {"last entry already listed", 2, true, "33"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fakes::FakeFileSystem files;
    files.AddFile("E:\\first.txt", 33);
    files.AddFile("E:\\last.js", 2);
    files.SetQueriedAttributes("E:\\last.js", c.last_queried);
    ui::ListView list("LstScanDrive", &form_);
    if (c.last_listed_before) list.AddItem({"E:\\LAST.JS"});
    ThreatScanner scanner(files, clock_, form_, VolumeStatusSlot::Of(form_),
                          DriveStatusSlot::Of(form_));
    scanner.SearchFiles("E:\\*.*", list, ScanMode::kDrivePanel, kAllEntriesMask);
    EXPECT_EQ(form_.text(), c.caption);
  }
}

TEST_F(ScanTest, DotEntriesAreExaminedLikeOthersButNeverListedOrEntered) {
  files_.AddDirectory("E:\\sub");
  files_.AddFile("E:\\sub\\a.txt");
  Scan(ScanMode::kVolumePanel);
  EXPECT_EQ(files_.queries(), (Strings{"E:\\sub", "E:\\sub\\.", "E:\\sub\\..", "E:\\sub\\a.txt"}));
  EXPECT_EQ(list_.item_count(), 0);
}

TEST_F(ScanTest, HiddenSystemAndDotNamedSubdirectoriesAreExaminedButNotEntered) {
  struct Case {
    const char* name;
    std::uint32_t attributes;
    bool entered;
  };
  const Case cases[] = {
      {"plain", 16, true},   {"readonly", 17, true}, {"archived", 48, true},
      {"hidden", 18, false}, {"system", 20, false},  {"hidden.inf", 22, false},
      {".git", 16, false},   {"label", 24, false},   {"linked", 16 | 0x400, true},
  };
  for (const Case& c : cases) {
    files_.AddDirectory(std::string("E:\\") + c.name, c.attributes);
    files_.AddFile(std::string("E:\\") + c.name + "\\autorun.inf");
  }
  Scan(ScanMode::kDrivePanel);
  for (const Case& c : cases) {
    const std::string inside = std::string("E:\\") + c.name + "\\autorun.inf";
    const Strings captions = Captions();
    EXPECT_EQ(std::count(captions.begin(), captions.end(), inside), c.entered ? 1 : 0) << c.name;
  }
  // A hidden system directory is still examined as an entry of its parent.
  EXPECT_EQ(Captions()[0], "E:\\hidden.inf");
}

TEST_F(ScanTest, EachDirectoryIsListedOnceWhenTheMaskYieldsEverything) {
  files_.AddDirectory("E:\\sub");
  files_.AddFile("E:\\sub\\x.txt");
  Scan(ScanMode::kVolumePanel);
  EXPECT_EQ(files_.searches(), (Strings{"E:\\*.* 63", "E:\\sub\\*.* 63"}));
  EXPECT_EQ(files_.open_searches(), 0);
}

TEST_F(ScanTest, NarrowerMaskExcludesEntriesAndSearchesSubdirectoriesSeparately) {
  files_.AddFile("E:\\hidden.inf", 34);
  files_.AddFile("E:\\shown.inf", 32);
  files_.AddDirectory("E:\\sub");
  files_.AddFile("E:\\sub\\deep.inf", 32);
  scanner_->SearchFiles("E:\\*.*", list_, ScanMode::kDrivePanel, 1 | 16 | 32);
  EXPECT_EQ(Captions(), (Strings{"E:\\shown.inf", "E:\\sub\\deep.inf"}));
  EXPECT_EQ(files_.searches(),
            (Strings{"E:\\*.* 49", "E:\\*.* 16", "E:\\sub\\*.* 49", "E:\\sub\\*.* 16"}));
  EXPECT_EQ(files_.open_searches(), 0);
}

TEST_F(ScanTest, WildcardOfThePatternAppliesAtEveryLevel) {
  files_.AddFile("E:\\a.inf");
  files_.AddFile("E:\\b.vbs");
  files_.AddDirectory("E:\\x.inf");
  files_.AddFile("E:\\x.inf\\c.inf");
  files_.AddDirectory("E:\\data");
  files_.AddFile("E:\\data\\d.inf");
  Scan(ScanMode::kDrivePanel, "E:\\*.inf");
  EXPECT_EQ(Captions(), (Strings{"E:\\a.inf", "E:\\x.inf", "E:\\x.inf\\c.inf"}));
}

TEST_F(ScanTest, PosixPathsUseTheirOwnSeparator) {
  fakes::FakeFileSystem files(platform::kPosixPathSyntax);
  files.AddDirectory("/media/stick/My:Files");
  files.AddFile("/media/stick/My:Files/autorun.inf");
  ThreatScanner scanner(files, clock_, form_, VolumeStatusSlot::Of(form_),
                        DriveStatusSlot::Of(form_));
  scanner.SearchFiles("/media/stick/*.*", list_, ScanMode::kDrivePanel, kAllEntriesMask);
  EXPECT_EQ(Captions(), Strings{"/media/stick/My:Files/autorun.inf"});
}

// Records what the list's platform mirror would be asked to do.
class RecordingListPeer : public ui::ComponentPeer, public ui::ListViewPeer {
 public:
  explicit RecordingListPeer(const ui::ListView& list) : list_(list) {}
  void Sync(ui::Aspect) override {}
  void ItemInserted(int) override { inserts_while_painting += list_.updating() ? 0 : 1; }
  void ItemChanged(int) override {}
  void ItemRemoved(int) override {}
  void ItemsCleared() override {}
  void UpdatingChanged(bool updating) override { changes.push_back(updating); }
  void Repaint() override {}

  int inserts_while_painting = 0;
  std::vector<bool> changes;

 private:
  const ui::ListView& list_;
};

// The list repaints once after it grew, and the main window shows its controls as the scan
// left them, also when an error ends the scan.
TEST_F(ScanTest, PaintingResumesOnceAfterTheScanEvenWhenItFails) {
  auto peer = std::make_unique<RecordingListPeer>(list_);
  RecordingListPeer& recorded = *peer;
  list_.AttachPeer(std::move(peer));
  std::vector<bool> window_updating;
  files_.on_query = [&](const std::string& path) {
    window_updating.push_back(form_.updating());
    if (path == "E:\\z.inf") throw std::runtime_error("device gone");
  };
  files_.AddFile("E:\\clean.txt");
  Scan(ScanMode::kVolumePanel);
  EXPECT_TRUE(recorded.changes.empty()) << "nothing added, nothing to repaint";
  EXPECT_EQ(window_updating, std::vector<bool>{true});
  EXPECT_FALSE(form_.updating());

  for (int i = 0; i < 5; ++i) files_.AddFile("E:\\" + std::to_string(i) + ".inf");
  Scan(ScanMode::kVolumePanel);
  EXPECT_EQ(recorded.changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(recorded.inserts_while_painting, 0);

  files_.AddFile("E:\\z.inf");
  list_.DeleteItem(0);  // so that 0.inf is added again before the failure
  recorded.changes.clear();
  EXPECT_THROW(Scan(ScanMode::kVolumePanel), std::runtime_error);
  EXPECT_EQ(recorded.changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(list_.item_count(), 5);
  EXPECT_FALSE(form_.updating());
}

}  // namespace
}  // namespace velmora::search
