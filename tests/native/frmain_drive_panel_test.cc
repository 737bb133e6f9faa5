// The drive panel on page 2: which drives are listed and how, what selecting one shows, and
// the on-demand scan of the drive picked into LstScanDrive.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frmain_fixture.h"
#include "platform/file_attributes.h"

namespace velmora::main {
namespace {

using platform::DriveType;

constexpr char kNoDriveName[] = "Empty Selected Drive";
constexpr char kNoDriveHint[] = "No Drive Selected ! Select a drive to scan it please.";
constexpr char kSelectedHint[] = "Please Right Click on Selected Drive And Choice Scan Drive!";
constexpr char kNoDriveSystem[] =
    "No Information System Detected Please Check your volume to scan it.";
constexpr char kNoDriveSizes[] =
    "No Information Size Detected Please Check Your volume to scan it. ";

// Records each text or visibility change of a control as "name:text" or "name=0/1".
class ChangeLog : public ui::ComponentPeer {
 public:
  ChangeLog(const ui::Control& control, std::vector<std::string>& log)
      : control_(control), log_(log) {}
  void Sync(ui::Aspect aspect) override {
    if (aspect == ui::Aspect::kVisible) {
      log_.push_back(control_.name() + "=" + (control_.visible() ? "1" : "0"));
    } else if (aspect == ui::Aspect::kText) {
      log_.push_back(control_.name() + ":" + control_.text());
    }
  }

 private:
  const ui::Control& control_;
  std::vector<std::string>& log_;
};

class DrivePanelTest : public FrmainTest {
 protected:
  void AddDrive(char letter, DriveType type, const std::string& label,
                const std::string& file_system = "NTFS", std::uint32_t serial = 0x1A2B3C4D) {
    const std::string root = std::string(1, letter) + ":\\";
    volumes_.SetType(root, type);
    volumes_.Mount(root, {label, file_system, serial});
  }
  void StartAndSkipSplash() {
    Start();
    splash_->Tim.Tick();
  }

  // The drive list as "caption/image" entries.
  std::vector<std::string> Drives() {
    std::vector<std::string> drives;
    const ui::ListView& list = frmain_->LstDrive;
    for (int i = 0; i < list.item_count(); ++i) {
      drives.push_back(list.item(i).caption + "/" + std::to_string(list.item(i).image_index));
    }
    return drives;
  }
  std::vector<std::string> Captions(const ui::ListView& list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list.item_count(); ++i) captions.push_back(list.item(i).caption);
    return captions;
  }
  int IndexOf(const std::string& caption) {
    const ui::ListView& list = frmain_->LstDrive;
    for (int i = 0; i < list.item_count(); ++i) {
      if (list.item(i).caption == caption) return i;
    }
    ADD_FAILURE() << caption << " is not listed";
    return 0;
  }
  void Pick(const std::string& caption) {
    frmain_->LstDrive.UserSelectItem(IndexOf(caption), true);
  }
  void ScanPicked() { frmain_->MnScanSelectedDisk.Click(); }

  ui::Control& Control(const std::string& name) { return frmain_->form().Get<ui::Control>(name); }
  // The drive slot's controls that show, in slot order.
  std::string DriveSlot() {
    std::string shown;
    for (const char* name : {"ImgNoDriveSelected", "lblDescriptionNoDrive", "ImgDrveClean",
                             "lblDriveClean", "ImgDriveInfected", "lblDriveInfected"}) {
      if (!Control(name).visible()) continue;
      if (!shown.empty()) shown += ' ';
      shown += name;
    }
    return shown;
  }
  std::string VolumeSlot() {
    std::string shown;
    for (const char* name : {"ImgNoDevice", "lblNoDev", "ImgScan", "lblSearch", "ImgVolClean",
                             "RemLblVolClean", "ImgVolInf", "RemLblVolInf"}) {
      if (Control(name).visible()) shown += std::string(shown.empty() ? "" : " ") + name;
    }
    return shown;
  }
  // "name|description|system|sizes" of the panel.
  std::string PanelTexts() {
    return frmain_->lblDriveName.text() + "|" + frmain_->lblDescriptionNoDrive.text() + "|" +
           frmain_->lblInfoDrive.text() + "|" + frmain_->lblsizeDrive.text();
  }
  bool ScanOffered() {
    EXPECT_EQ(frmain_->MnScanSelectedDisk.enabled, frmain_->MnLockSelectedDisk.enabled);
    return frmain_->MnScanSelectedDisk.enabled;
  }
};

TEST_F(DrivePanelTest, ListsFixedOpticalAndRemovableDrivesWithAMediumInLetterOrder) {
  AddDrive('C', DriveType::kFixed, "SYSTEM");
  volumes_.SetType("D:\\", DriveType::kOptical);  // no disc in it
  AddDrive('E', DriveType::kRemovable, "KEY", "FAT32");
  StartAndSkipSplash();
  EXPECT_EQ(Drives(), (std::vector<std::string>{"SYSTEM (C:)/0", "KEY (E:)/2"}));

  AddDrive('D', DriveType::kOptical, "DISC", "CDFS");
  frmain_->MnRefrechListDrive.Click();
  EXPECT_EQ(Drives(), (std::vector<std::string>{"SYSTEM (C:)/0", "DISC (D:)/1", "KEY (E:)/2"}));

  volumes_.Eject("E:\\");
  frmain_->MnRefrechListDrive.Click();
  EXPECT_EQ(Drives(), (std::vector<std::string>{"SYSTEM (C:)/0", "DISC (D:)/1"}));
}

TEST_F(DrivePanelTest, NetworkRamAndUnknownDrivesAreNeverListedWhateverTheirVolume) {
  StartAndSkipSplash();
  struct Case {
    DriveType type;
    std::vector<std::string> listed;
  };
  for (const Case& c :
       {Case{DriveType::kUnknown, {}}, Case{DriveType::kNoRootDirectory, {}},
        Case{DriveType::kRemote, {}}, Case{DriveType::kRamDisk, {}},
        Case{DriveType::kRemovable, {"VOL (Z:)/2"}}, Case{DriveType::kFixed, {"VOL (Z:)/0"}},
        Case{DriveType::kOptical, {"VOL (Z:)/1"}}}) {
    AddDrive('Z', c.type, "VOL");
    frmain_->MnRefrechListDrive.Click();
    EXPECT_EQ(Drives(), c.listed) << "drive type " << static_cast<int>(c.type);
  }
}

TEST_F(DrivePanelTest, DriveWithAnEmptyLabelIsListedWithTheBlankAndScannedByItsLetter) {
  AddDrive('F', DriveType::kRemovable, "", "FAT32");
  files_.AddFile("F:\\autorun.inf");
  StartAndSkipSplash();
  ASSERT_EQ(Drives(), (std::vector<std::string>{" (F:)/2"}));
  Pick(" (F:)");
  ScanPicked();
  EXPECT_EQ(files_.searches().front(), "F:\\*.* 63");
  EXPECT_EQ(Captions(frmain_->LstScanDrive), (std::vector<std::string>{"F:\\autorun.inf"}));
}

TEST_F(DrivePanelTest, SelectingAndDeselectingADriveSetThePanelInTheirOrder) {
  AddDrive('C', DriveType::kFixed, "SYSTEM");
  AddDrive('E', DriveType::kRemovable, "KEY", "FAT32");
  files_.AddFile("E:\\autorun.inf");
  StartAndSkipSplash();
  EXPECT_FALSE(ScanOffered());  // nothing picked yet
  const std::string placeholders =
      std::string(kNoDriveName) + "|" + kNoDriveHint + "|" + kNoDriveSystem + "|" + kNoDriveSizes;
  EXPECT_EQ(PanelTexts(), placeholders);
  Pick("KEY (E:)");
  ScanPicked();
  ASSERT_EQ(DriveSlot(), "ImgDriveInfected lblDriveInfected");
  frmain_->LstDrive.UserSelectItem(IndexOf("KEY (E:)"), false);
  ASSERT_EQ(DriveSlot(), "ImgNoDriveSelected lblDescriptionNoDrive");
  Pick("KEY (E:)");
  ScanPicked();
  const std::string scanned_system = frmain_->lblInfoDrive.text();
  const std::string scanned_sizes = frmain_->lblsizeDrive.text();
  frmain_->LstScanDrive.UserSelectItem(0, true);

  std::vector<std::string> log;
  for (const char* name : {"lblDriveName", "lblDescriptionNoDrive", "lblInfoDrive", "lblsizeDrive",
                           "ImgNoDriveSelected", "ImgDrveClean", "ImgDriveInfected",
                           "lblDriveClean", "lblDriveInfected"}) {
    Control(name).AttachPeer(std::make_unique<ChangeLog>(Control(name), log));
  }
  // Picked again over the infected verdict: every visibility set is a change the log sees.
  Pick("KEY (E:)");
  EXPECT_EQ(log, (std::vector<std::string>{"lblDriveName:KEY (E:)",
                                           std::string("lblDescriptionNoDrive:") + kSelectedHint,
                                           "ImgNoDriveSelected=1", "ImgDriveInfected=0",
                                           "lblDescriptionNoDrive=1", "lblDriveInfected=0"}));
  EXPECT_TRUE(ScanOffered());
  EXPECT_EQ(PanelTexts(),
            std::string("KEY (E:)|") + kSelectedHint + "|" + scanned_system + "|" + scanned_sizes);

  Pick("SYSTEM (C:)");
  ScanPicked();
  ASSERT_EQ(DriveSlot(), "ImgDrveClean lblDriveClean");
  log.clear();
  frmain_->LstDrive.UserSelectItem(IndexOf("SYSTEM (C:)"), false);
  EXPECT_EQ(log, (std::vector<std::string>{"ImgNoDriveSelected=1", "ImgDrveClean=0",
                                           "lblDescriptionNoDrive=1", "lblDriveClean=0",
                                           std::string("lblDriveName:") + kNoDriveName,
                                           std::string("lblDescriptionNoDrive:") + kNoDriveHint,
                                           std::string("lblInfoDrive:") + kNoDriveSystem,
                                           std::string("lblsizeDrive:") + kNoDriveSizes}));
  EXPECT_FALSE(ScanOffered());
  EXPECT_EQ(PanelTexts(), placeholders);
  // Neither branch touches the drive's threats.
  EXPECT_EQ(Captions(frmain_->LstScanDrive), (std::vector<std::string>{"E:\\autorun.inf"}));
  EXPECT_EQ(frmain_->LstScanDrive.selected_index(), 0);
}

TEST_F(DrivePanelTest, ScanShowsTheDrivesTextsAndListsItsThreatsBelowThoseOfEarlierScans) {
  AddDrive('C', DriveType::kFixed, "SYSTEM", "NTFS", 0x0000BEEF);
  volumes_.SetSizes(3, 16005464064, 7516192768);
  files_.AddFile("C:\\pagefile.sys");
  AddDrive('E', DriveType::kRemovable, "KEY", "FAT32", 0x1A2B3C4D);
  files_.AddFile("E:\\autorun.inf");
  files_.AddFile("E:\\Setup.exe", platform::kAttributeHidden | platform::kAttributeArchive);
  files_.AddDirectory("E:\\tools");
  files_.AddFile("E:\\tools\\run.vbs");
  AddDrive('G', DriveType::kRemovable, "CARD", "FAT");
  files_.AddFile("G:\\x.vb");
  StartAndSkipSplash();

  const std::size_t listing_calls = volumes_.calls().size();
  Pick("SYSTEM (C:)");
  ScanPicked();
  EXPECT_EQ(frmain_->lblInfoDrive.text(), "System File : NTFS Serial Number : 0000-BEEF");
  EXPECT_EQ(frmain_->lblsizeDrive.text(),
            " Size Total : 15,630,336 Kilo-octets  Size Available : 7,340,032 Kilo-octets");
  EXPECT_EQ(std::vector<std::string>(volumes_.calls().begin() + listing_calls,
                                     volumes_.calls().end()),
            (std::vector<std::string>{"query C:\\", "total 3", "free 3"}));
  EXPECT_EQ(DriveSlot(), "ImgDrveClean lblDriveClean");
  EXPECT_EQ(frmain_->LstScanDrive.item_count(), 0);

  Pick("KEY (E:)");
  ScanPicked();
  EXPECT_EQ(frmain_->lblInfoDrive.text(), "System File : FAT32 Serial Number : 1A2B-3C4D");
  EXPECT_EQ(DriveSlot(), "ImgDriveInfected lblDriveInfected");
  const std::vector<std::string> key = {"E:\\autorun.inf", "E:\\Setup.exe", "E:\\tools\\run.vbs"};
  EXPECT_EQ(Captions(frmain_->LstScanDrive), key);
  EXPECT_EQ(frmain_->LstScanDrive.item(0).sub_items,
            (std::vector<std::string>{"T : 9:03:22 D  : 06/12/2026"}));
  EXPECT_EQ(frmain_->LstScan.item_count(), 0);  // the volume panel is another list
  EXPECT_EQ(VolumeSlot(), "ImgNoDevice lblNoDev");

  // Again: nothing new is listed, and the threats still there keep the verdict.
  ScanPicked();
  EXPECT_EQ(Captions(frmain_->LstScanDrive), key);
  EXPECT_EQ(DriveSlot(), "ImgDriveInfected lblDriveInfected");

  Pick("CARD (G:)");
  ScanPicked();
  std::vector<std::string> both = key;
  both.push_back("G:\\x.vb");
  EXPECT_EQ(Captions(frmain_->LstScanDrive), both);
  EXPECT_EQ(files_.searches().back().substr(0, 3), "G:\\");
}

TEST_F(DrivePanelTest, DriveWhoseQueriesFailIsScannedWithAnEmptySystemTextAndZeroSizes) {
  AddDrive('E', DriveType::kRemovable, "KEY", "FAT32");
  files_.AddFile("E:\\autorun.inf");
  StartAndSkipSplash();
  Pick("KEY (E:)");
  volumes_.Eject("E:\\");  // the stick went between the listing and the scan
  frmain_->scanner().set_found_threat(true);
  files_.on_query = [this](const std::string&) {
    EXPECT_FALSE(frmain_->scanner().found_threat()) << "cleared before the scan";
    files_.on_query = nullptr;
  };
  ScanPicked();
  EXPECT_EQ(frmain_->lblInfoDrive.text(), "");
  EXPECT_EQ(frmain_->lblsizeDrive.text(),
            " Size Total : 0 Kilo-octets  Size Available : 0 Kilo-octets");
  EXPECT_EQ(files_.searches().front(), "E:\\*.* 63");
  EXPECT_EQ(Captions(frmain_->LstScanDrive), (std::vector<std::string>{"E:\\autorun.inf"}));
}

// Refilling the list drops its entries with their selection, and no deselection tells the
// panel: the scan must not act on an entry that is gone.
TEST_F(DrivePanelTest, RefilledListOffersNoScanUntilADriveIsPickedAgain) {
  AddDrive('E', DriveType::kRemovable, "KEY", "FAT32");
  files_.AddFile("E:\\autorun.inf");
  StartAndSkipSplash();
  Pick("KEY (E:)");
  ASSERT_TRUE(ScanOffered());
  frmain_->MnRefrechListDrive.Click();
  EXPECT_FALSE(ScanOffered());
  const std::size_t listing_calls = volumes_.calls().size();
  ScanPicked();  // chosen all the same, as by a stale menu
  EXPECT_TRUE(files_.searches().empty());
  EXPECT_EQ(volumes_.calls().size(), listing_calls);
  Pick("KEY (E:)");
  EXPECT_TRUE(ScanOffered());
}

}  // namespace
}  // namespace velmora::main
