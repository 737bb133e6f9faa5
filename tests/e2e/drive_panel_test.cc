// The drive panel of the running guard under Wine: the user picks a drive in the drive list
// and scans it through the list's menu. Screenshots of page 2 go into the build tree.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "drive_panel_fixture.h"
#include "probe.h"
#include "stick_folder.h"

namespace velmora::probe {
namespace {

std::string SystemTextOf(const char* root) {
  char file_system[MAX_PATH + 1] = {};
  DWORD serial = 0;
  if (!::GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, file_system,
                               MAX_PATH)) {
    return "?";
  }
  char serial_text[10];
  std::snprintf(serial_text, sizeof serial_text, "%04lX-%04lX", serial >> 16, serial & 0xFFFF);
  return std::string("System File : ") + file_system + " Serial Number : " + serial_text;
}

TEST_F(DrivePanelTest, ListsDrivesOfEachKindAndScansThePickedOneThroughItsMenu) {
  const std::vector<std::string> drives = Drives();
  // Wine's own C: and Z: are fixed disks too; the empty optical drive is left out.
  std::vector<std::string> ours;
  for (const std::string& drive : drives) {
    if (drive.find("(K:)") != std::string::npos || drive.find("(L:)") != std::string::npos ||
        drive.find("(M:)") != std::string::npos || drive.find("(N:)") != std::string::npos) {
      ours.push_back(drive);
    }
  }
  // Windows fails the volume query of an optical drive without a disc, and the list leaves
  // it out; Wine answers it, with an empty label, and the list shows what it answers.
  std::vector<std::string> expected = {"KEY (K:)/2", "DATA (L:)/0", "DISC (M:)/1"};
  char empty_label[MAX_PATH + 1] = {};
  const bool empty_drive_answers =
      ::GetVolumeInformationA("N:\\", empty_label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0);
  const std::string empty_drive = std::string(empty_label) + " (N:)";
  if (empty_drive_answers) expected.push_back(empty_drive + "/1");
  EXPECT_EQ(ours, expected);
  EXPECT_EQ(FindTopLevelWindow(guard_.pid(), {"#32770", ""}), nullptr) << "a message box came up";
  std::vector<std::string> letters;
  for (const std::string& drive : drives) letters.push_back(drive.substr(drive.size() - 5, 3));
  EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end())) << ::testing::PrintToString(drives);
  EXPECT_EQ(DriveSlot(), "ImgNoDriveSelected lblDescriptionNoDrive");

  PickAndScan("KEY (K:)", "ImgDriveInfected lblDriveInfected");
  std::vector<std::string> key = ThreatPaths();
  std::sort(key.begin(), key.end());
  EXPECT_EQ(key,
            (std::vector<std::string>{"K:\\Setup.exe", "K:\\autorun.inf", "K:\\tools\\run.vbs"}));
  EXPECT_EQ(Text("lblInfoDrive"), SystemTextOf("K:\\"));
  EXPECT_TRUE(std::regex_match(
      Text("lblsizeDrive"),
      std::regex(" Size Total : [1-9][0-9,]* Kilo-octets  Size Available : [0-9][0-9,]* "
                 "Kilo-octets")))
      << Text("lblsizeDrive");
  Shoot("drive_panel_infected");

  PickAndScan("DATA (L:)", "ImgDrveClean lblDriveClean");
  EXPECT_EQ(ThreatPaths().size(), 3u);
  EXPECT_EQ(Text("lblInfoDrive"), SystemTextOf("L:\\"));

  // The disc's threat goes below those of the stick.
  PickAndScan("DISC (M:)", "ImgDriveInfected lblDriveInfected");
  const std::vector<std::string> all = ThreatPaths();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[3], "M:\\AUTORUN.INF");
  // The volume panel's list is another one.
  EXPECT_EQ(ListViewItemCount(Control("LstScan")), 0);

  if (empty_drive_answers) {  // nothing on it: clean, nothing listed, no box asking for a disc
    PickAndScan(empty_drive, "ImgDrveClean lblDriveClean");
    EXPECT_EQ(ThreatPaths().size(), 4u);
    EXPECT_EQ(FindTopLevelWindow(guard_.pid(), {"#32770", ""}), nullptr);
  }
}

TEST_F(DrivePanelTest, RefreshedListShowsADiscInsertedMeanwhile) {
  ASSERT_TRUE(ClickListViewItem(drive_list_, DriveIndex("KEY (K:)"))) << LastError();
  ASSERT_TRUE(WaitForWindowText(Control("lblDriveName"), "KEY (K:)")) << LastError();
  Shoot("drive_panel_drives");

  // A disc goes into the empty drive N.
  StickFolder inserted("velmora-drive-inserted");
  ASSERT_TRUE(inserted.ok() && WriteLabel(inserted, "FILMS"));
  drives_.pop_back();
  drives_.emplace_back('N', inserted.unix_path(), DRIVE_CDROM);
  ASSERT_TRUE(drives_.back().defined()) << LastError();

  ASSERT_TRUE(ClickListViewItem(drive_list_, DriveIndex("KEY (K:)"), true)) << LastError();
  HWND popup = WaitForPopupMenu(guard_.pid());
  ASSERT_NE(popup, nullptr) << LastError();
  ASSERT_TRUE(ChoosePopupMenuItem(popup, 0)) << LastError();  // "Refrech List Drive"
  ASSERT_TRUE(WaitUntil([this] {
    const std::vector<std::string> drives = Drives();
    return std::find(drives.begin(), drives.end(), "FILMS (N:)/1") != drives.end();
  })) << ::testing::PrintToString(Drives());
  EXPECT_EQ(DriveIndex("FILMS (N:)"), DriveIndex("DISC (M:)") + 1);
}

}  // namespace
}  // namespace velmora::probe
