// The main window's answer to the device-change broadcast: a plugged-in volume is shown,
// scanned into the volume threat list and brings the window back; a removal resets the panel.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frmain_fixture.h"
#include "platform/file_attributes.h"
#include "ui/containers.h"

namespace velmora::main {
namespace {

using platform::kAttributeArchive;
using platform::kAttributeHidden;

constexpr char kNoVolumeName[] = "No Volume Detected";
constexpr char kNoVolumeSizes[] = "No Information Detected Please Check Your volume to scan it. ";
constexpr char kNoVolumeSystem[] =
    "No Information System Detected Please Check your volume to scan it.";
constexpr char kDetection[] = "T : 9:03:22 D  : 06/12/2026";  // the fake clock's reading

ui::DeviceChangeMessage VolumeRecord(std::uint32_t event, std::uint32_t unit_mask) {
  return {event, ui::kDeviceTypeVolume, unit_mask};
}
ui::DeviceChangeMessage Arrival(char letter) {
  return VolumeRecord(ui::kDeviceArrival, std::uint32_t{1} << (letter - 'A'));
}
ui::DeviceChangeMessage Removal(char letter) {
  return VolumeRecord(ui::kDeviceRemoveComplete, std::uint32_t{1} << (letter - 'A'));
}

class VolumeArrivalTest : public FrmainTest {
 protected:
  void SetUp() override {
    Start();
    splash_->Tim.Tick();
  }

  // A stick holding an autorun file, a hidden installer, a script in a subfolder and a clean
  // subfolder.
  void PlugInfectedStick(const std::string& root, const std::string& label) {
    volumes_.Mount(root, {label, "FAT32", 0x1A2B3C4D});
    files_.AddFile(root + "autorun.inf");
    files_.AddFile(root + "Setup.exe", kAttributeHidden | kAttributeArchive);
    files_.AddDirectory(root + "tools");
    files_.AddFile(root + "tools\\run.vbs");
    files_.AddDirectory(root + "photos");
    files_.AddFile(root + "photos\\beach.jpg");
  }
  void PlugCleanStick(const std::string& root, const std::string& label) {
    volumes_.Mount(root, {label, "FAT32", 0x0000BEEF});
    files_.AddFile(root + "notes.txt");
    files_.AddFile(root + "Setup.exe");  // an installer in plain sight is no threat
  }

  void Send(const ui::DeviceChangeMessage& message) {
    ASSERT_TRUE(frmain_->form().DeviceChanged(message)) << "the main window has no handler";
  }

  ui::Control& Control(const std::string& name) { return frmain_->form().Get<ui::Control>(name); }
  // The names among the volume slot's controls that show, in slot order.
  std::string VolumeSlot() {
    std::string shown;
    for (const char* name : {"ImgNoDevice", "lblNoDev", "ImgScan", "lblSearch", "ImgVolClean",
                             "RemLblVolClean", "ImgVolInf", "RemLblVolInf"}) {
      if (!Control(name).visible()) continue;
      if (!shown.empty()) shown += ' ';
      shown += name;
    }
    return shown;
  }
  std::vector<std::vector<std::string>> Rows() {
    std::vector<std::vector<std::string>> rows;
    const ui::ListView& list = frmain_->LstScan;
    for (int i = 0; i < list.item_count(); ++i) {
      std::vector<std::string> row{list.item(i).caption};
      row.insert(row.end(), list.item(i).sub_items.begin(), list.item(i).sub_items.end());
      rows.push_back(row);
    }
    return rows;
  }
  void HideInTray() {
    app_.CloseForm(frmain_->form());
    ASSERT_FALSE(frmain_->form().visible());
    ASSERT_TRUE(frmain_->Ticon.AppHidden());
  }
  // The volume panel's three texts, as "name|sizes|system".
  std::string PanelTexts() {
    return frmain_->lblNameVoule.text() + "|" + frmain_->lblinfo.text() + "|" +
           frmain_->LblSysVol.text();
  }
};

TEST_F(VolumeArrivalTest, InfectedStickIsShownScannedAndBringsTheWindowBackMaximized) {
  PlugInfectedStick("F:\\", "KEY");
  volumes_.SetSizes(6, 16005464064, 7516192768);
  HideInTray();
  frmain_->form().SetWindowState(ui::WindowState::kNormal);
  auto& pager = frmain_->form().Get<ui::Pager>("PGCtrl");
  pager.SetActiveIndex(2);
  Send(Arrival('F'));

  EXPECT_EQ(volumes_.calls(), (std::vector<std::string>{"query F:\\", "total 6", "free 6"}));
  EXPECT_EQ(files_.searches().front(), "F:\\*.* 63");
  EXPECT_EQ(frmain_->lblNameVoule.text(), "KEY (F:\\)");
  EXPECT_EQ(frmain_->lblinfo.text(),
            " Size Total : 15,630,336 Kilo-octets  Size Available : 7,340,032 Kilo-octets");
  EXPECT_EQ(frmain_->LblSysVol.text(), "System File : FAT32 Serial Number : 1A2B-3C4D");
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{
                        {"F:\\autorun.inf", kDetection},
                        {"F:\\Setup.exe", kDetection},
                        {"F:\\tools\\run.vbs", kDetection},
                    }));
  for (int i = 0; i < frmain_->LstScan.item_count(); ++i) {
    EXPECT_EQ(frmain_->LstScan.item(i).image_index, 0);
  }
  EXPECT_TRUE(frmain_->scanner().found_threat());
  EXPECT_EQ(VolumeSlot(), "ImgVolInf RemLblVolInf");
  EXPECT_EQ(frmain_->form().text(), "32");  // the scan's own caption: beach.jpg's attributes
  EXPECT_TRUE(frmain_->form().visible());
  EXPECT_FALSE(frmain_->Ticon.AppHidden());
  EXPECT_FALSE(frmain_->Ticon.Active());  // the tray icon is taken away
  EXPECT_EQ(frmain_->form().window_state(), ui::WindowState::kMaximized);
  EXPECT_EQ(pager.active_index(), 2);  // seen when the user turns to page 1
  EXPECT_TRUE(backend_.shown_errors().empty());
}

TEST_F(VolumeArrivalTest, CaptionChangesBeforeTheVolumeIsQueriedAndAnEmptyVolumeKeepsIt) {
  volumes_.Mount("F:\\", {"KEY", "FAT32", 1});
  std::string caption_at_query;
  volumes_.on_query = [&] { caption_at_query = frmain_->form().text(); };
  Send(Arrival('F'));
  EXPECT_EQ(caption_at_query, "Volume Detected");
  // An empty volume gives the scan no entry to write into the caption.
  EXPECT_EQ(frmain_->form().text(), "Volume Detected");
  EXPECT_EQ(VolumeSlot(), "ImgVolClean RemLblVolClean");
}

TEST_F(VolumeArrivalTest, CleanStickClearsAnEarlierFindingAndShowsTheCleanVerdict) {
  PlugInfectedStick("E:\\", "DIRTY");
  Send(Arrival('E'));
  ASSERT_TRUE(frmain_->scanner().found_threat());

  PlugCleanStick("G:\\", "CLEAN");
  Send(Arrival('G'));
  EXPECT_FALSE(frmain_->scanner().found_threat());
  EXPECT_EQ(VolumeSlot(), "ImgVolClean RemLblVolClean");
  EXPECT_EQ(frmain_->lblNameVoule.text(), "CLEAN (G:\\)");
  EXPECT_EQ(frmain_->LblSysVol.text(), "System File : FAT32 Serial Number : 0000-BEEF");
  // The first stick's entries stay, in the order they were found.
  EXPECT_EQ(frmain_->LstScan.item_count(), 3);
  EXPECT_EQ(frmain_->LstScan.item(0).caption, "E:\\autorun.inf");
}

TEST_F(VolumeArrivalTest, EmptyLabelAndUnknownSizesStillShowTheVolume) {
  volumes_.Mount("F:\\", {"", "NTFS", 0xDEADBEEF});
  number_format_.set_separator(".");
  Send(Arrival('F'));
  EXPECT_EQ(frmain_->lblNameVoule.text(), " (F:\\)");
  EXPECT_EQ(frmain_->lblinfo.text(), " Size Total : 0 Kilo-octets  Size Available : 0 Kilo-octets");
  EXPECT_EQ(frmain_->LblSysVol.text(), "System File : NTFS Serial Number : DEAD-BEEF");
}

TEST_F(VolumeArrivalTest, LocaleSeparatorIsReadAtEachArrival) {
  volumes_.Mount("F:\\", {"KEY", "FAT32", 1});
  volumes_.SetSizes(6, 1234567 * 1024LL, 1024);
  number_format_.set_separator(".");
  Send(Arrival('F'));
  EXPECT_EQ(frmain_->lblinfo.text(),
            " Size Total : 1.234.567 Kilo-octets  Size Available : 1 Kilo-octets");
  number_format_.set_separator("\xA0");
  Send(Arrival('F'));
  EXPECT_EQ(frmain_->lblinfo.text(),
            " Size Total : 1\xA0"
            "234\xA0"
            "567 Kilo-octets  Size Available : 1 Kilo-octets");
}

TEST_F(VolumeArrivalTest, FailedVolumeQueryChangesOnlyTheCaption) {
  PlugInfectedStick("E:\\", "DIRTY");
  Send(Arrival('E'));
  HideInTray();
  frmain_->form().SetText("before");
  const std::string texts = PanelTexts();
  const std::string slot = VolumeSlot();
  const int entries = frmain_->LstScan.item_count();
  const auto searches = files_.searches().size();

  Send(Arrival('Q'));  // a card reader without a card

  EXPECT_EQ(frmain_->form().text(), "Volume Detected");
  EXPECT_EQ(PanelTexts(), texts);
  EXPECT_EQ(VolumeSlot(), slot);
  EXPECT_EQ(frmain_->LstScan.item_count(), entries);
  EXPECT_EQ(files_.searches().size(), searches);     // no scan
  EXPECT_TRUE(frmain_->scanner().found_threat());    // not cleared
  EXPECT_FALSE(frmain_->form().visible());           // still in the tray
  EXPECT_EQ(volumes_.calls().back(), "query Q:\\");  // and no size query
}

TEST_F(VolumeArrivalTest, MessagesThatNameNoVolumeChangeNothing) {
  volumes_.Mount("A:\\", {"FLOPPY", "FAT", 1});
  const std::string caption = frmain_->form().text();
  const std::string texts = PanelTexts();
  struct Case {
    const char* what;
    ui::DeviceChangeMessage message;
  };
  for (const Case& c : {
           Case{"port arrival", {ui::kDeviceArrival, 3, std::nullopt}},
           Case{"interface arrival", {ui::kDeviceArrival, 5, std::nullopt}},
           Case{"arrival without a record", {ui::kDeviceArrival, std::nullopt, std::nullopt}},
           Case{"unit mask of zero", VolumeRecord(ui::kDeviceArrival, 0)},
           Case{"mask beyond Z", VolumeRecord(ui::kDeviceArrival, 0xFC000000)},
           Case{"query remove", VolumeRecord(0x8001, 1)},
           Case{"remove pending", VolumeRecord(0x8003, 1)},
           Case{"device nodes changed", {0x0007, std::nullopt, std::nullopt}},
       }) {
    Send(c.message);
    EXPECT_EQ(frmain_->form().text(), caption) << c.what;
    EXPECT_EQ(PanelTexts(), texts) << c.what;
    EXPECT_TRUE(volumes_.calls().empty()) << c.what;
    EXPECT_TRUE(files_.searches().empty()) << c.what;
    EXPECT_EQ(VolumeSlot(), "ImgNoDevice lblNoDev") << c.what;
  }
}

TEST_F(VolumeArrivalTest, MaskWithSeveralDrivesServesEachFromAToZ) {
  PlugInfectedStick("F:\\", "SECOND");
  PlugCleanStick("D:\\", "FIRST");
  Send(VolumeRecord(ui::kDeviceArrival, (1u << 5) | (1u << 3)));
  EXPECT_EQ(volumes_.calls(), (std::vector<std::string>{"query D:\\", "total 4", "free 4",
                                                        "query F:\\", "total 6", "free 6"}));
  EXPECT_EQ(frmain_->lblNameVoule.text(), "SECOND (F:\\)");
  ASSERT_EQ(frmain_->LstScan.item_count(), 3);
  EXPECT_EQ(frmain_->LstScan.item(0).caption, "F:\\autorun.inf");
  EXPECT_EQ(VolumeSlot(), "ImgVolInf RemLblVolInf");
}

TEST_F(VolumeArrivalTest, SameStickTwiceKeepsTheInfectedVerdictWithoutNewEntries) {
  PlugInfectedStick("F:\\", "KEY");
  Send(Arrival('F'));
  Send(Removal('F'));
  Send(Arrival('F'));
  EXPECT_EQ(frmain_->LstScan.item_count(), 3);
  EXPECT_TRUE(frmain_->scanner().found_threat());
  EXPECT_EQ(VolumeSlot(), "ImgVolInf RemLblVolInf");
}

TEST_F(VolumeArrivalTest, RemovalOfAnyDeviceResetsThePanelAndKeepsTheFindings) {
  struct Case {
    const char* what;
    ui::DeviceChangeMessage message;
  };
  for (const Case& c : {
           Case{"the volume shown", Removal('F')},
           Case{"another volume", Removal('K')},
           Case{"a port", {ui::kDeviceRemoveComplete, 3, std::nullopt}},
           Case{"no record", {ui::kDeviceRemoveComplete, std::nullopt, std::nullopt}},
       }) {
    PlugInfectedStick("F:\\", "KEY");
    Send(Arrival('F'));
    HideInTray();
    frmain_->form().SetText("caption");
    const std::string sizes = frmain_->lblinfo.text();

    Send(c.message);

    EXPECT_EQ(frmain_->lblNameVoule.text(), kNoVolumeName) << c.what;
    EXPECT_EQ(VolumeSlot(), "ImgNoDevice lblNoDev") << c.what;
    EXPECT_EQ(frmain_->LstScan.item_count(), 3) << c.what;
    EXPECT_EQ(frmain_->lblinfo.text(), sizes) << c.what;
    EXPECT_EQ(frmain_->LblSysVol.text(), "System File : FAT32 Serial Number : 1A2B-3C4D") << c.what;
    EXPECT_EQ(frmain_->form().text(), "caption") << c.what;
    EXPECT_FALSE(frmain_->form().visible()) << c.what;
    EXPECT_TRUE(frmain_->scanner().found_threat()) << c.what;
    frmain_->Ticon.RestoreFromTray();
  }
}

TEST_F(VolumeArrivalTest, RemovalBeforeAnyArrivalKeepsTheStartUpTexts) {
  Send(Removal('E'));
  EXPECT_EQ(frmain_->lblNameVoule.text(), kNoVolumeName);
  EXPECT_EQ(frmain_->lblinfo.text(), kNoVolumeSizes);
  EXPECT_EQ(frmain_->LblSysVol.text(), kNoVolumeSystem);
  EXPECT_EQ(VolumeSlot(), "ImgNoDevice lblNoDev");
}

}  // namespace
}  // namespace velmora::main
