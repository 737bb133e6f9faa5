// Page 2 of the running guard under Wine, over folders made drives of each kind through Wine's
// mount manager before the guard starts: a stick K (infected), a fixed disk L (clean), a disc
// in M (infected) and an optical drive N without a disc.

#ifndef VELMORA_TESTS_E2E_DRIVE_PANEL_FIXTURE_H_
#define VELMORA_TESTS_E2E_DRIVE_PANEL_FIXTURE_H_

#include <windows.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "guard_test_fixture.h"
#include "probe.h"
#include "stick_folder.h"

namespace velmora::probe {

inline constexpr char kSelectedHint[] =
    "Please Right Click on Selected Drive And Choice Scan Drive!";
inline constexpr int kScanSelectedDisk = 1;  // the item's place in MnDriveAct

// A drive letter standing for a Unix folder as a drive of a given kind; gone with the object.
// The guard is not told: it lists drives when it starts and when asked to refresh.
class FolderDrive {
 public:
  FolderDrive(char letter, const std::string& unix_folder, UINT type) : letter_(letter) {
    defined_ = DefineUnixDrive(letter, unix_folder, type);
  }
  // A drive of the kind with no medium in it.
  FolderDrive(char letter, UINT type) : letter_(letter) {
    defined_ = DefineDriveWithoutMedium(letter, type);
  }
  ~FolderDrive() {
    if (defined_) UndefineDrive(letter_);
  }
  FolderDrive(const FolderDrive&) = delete;
  FolderDrive& operator=(const FolderDrive&) = delete;

  bool defined() const { return defined_; }

 private:
  char letter_;
  bool defined_ = false;
};

// Wine reads a folder drive's label from this file in its root.
inline bool WriteLabel(const StickFolder& folder, const std::string& label) {
  UniqueHandle file(::CreateFileA((folder.path() + "\\.windows-label").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.get(), label.data(), static_cast<DWORD>(label.size()), &written,
                             nullptr) != FALSE;
}

class DrivePanelTest : public GuardTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(key_.ok() && data_.ok() && disc_.ok());
    key_.FillInfected();
    data_.AddFile("report.doc");
    data_.AddFile("Setup.exe");  // an installer in plain sight
    disc_.AddFile("AUTORUN.INF");
    ASSERT_TRUE(key_.ok() && data_.ok() && disc_.ok());
    ASSERT_TRUE(WriteLabel(key_, "KEY") && WriteLabel(data_, "DATA") && WriteLabel(disc_, "DISC"));
    drives_.emplace_back('K', key_.unix_path(), DRIVE_REMOVABLE);
    drives_.emplace_back('L', data_.unix_path(), DRIVE_FIXED);
    drives_.emplace_back('M', disc_.unix_path(), DRIVE_CDROM);
    drives_.emplace_back('N', DRIVE_CDROM);  // no disc in it
    for (const FolderDrive& drive : drives_) ASSERT_TRUE(drive.defined()) << LastError();
    ASSERT_EQ(::GetDriveTypeA("N:\\"), static_cast<UINT>(DRIVE_CDROM));

    StartGuard();
    if (HasFatalFailure()) return;
    drive_list_ = Control("LstDrive");
    threats_ = Control("LstScanDrive");
    PutSplashAway();
    ASSERT_TRUE(ShowPage(window_, 1));
    ASSERT_TRUE(WaitUntil([this] { return IsShown(drive_list_); })) << "page 2 never shown";
  }

  HWND Control(const char* name) {
    HWND found = WaitForControl(window_, name);
    EXPECT_NE(found, nullptr) << name << ": " << LastError();
    return found;
  }
  std::string Text(const char* name) { return WindowText(Control(name)).value_or("?"); }

  // The drive list as "caption/image".
  std::vector<std::string> Drives() {
    std::vector<std::string> drives;
    const int count = ListViewItemCount(drive_list_).value_or(0);
    for (int i = 0; i < count; ++i) {
      drives.push_back(ListViewItemText(drive_list_, i).value_or("?") + "/" +
                       std::to_string(ListViewItemImage(drive_list_, i).value_or(-9)));
    }
    return drives;
  }
  int DriveIndex(const std::string& caption) {
    const std::vector<std::string> drives = Drives();
    for (std::size_t i = 0; i < drives.size(); ++i) {
      if (drives[i].rfind(caption + "/", 0) == 0) return static_cast<int>(i);
    }
    ADD_FAILURE() << caption << " is not listed";
    return -1;
  }
  std::vector<std::string> ThreatPaths() {
    std::vector<std::string> paths;
    for (const auto& row : ListViewRows(threats_).value_or(std::vector<std::vector<std::string>>{}))
      paths.push_back(row.empty() ? "" : row[0]);
    return paths;
  }
  // The drive slot's controls that show, in slot order.
  std::string DriveSlot() {
    std::string shown;
    for (const char* name : {"ImgNoDriveSelected", "lblDescriptionNoDrive", "ImgDrveClean",
                             "lblDriveClean", "ImgDriveInfected", "lblDriveInfected"}) {
      if (!HasVisibleStyle(Control(name))) continue;
      if (!shown.empty()) shown += ' ';
      shown += name;
    }
    return shown;
  }

  // Picks the drive with a click, then chooses "Scan Selected Disk" on its menu.
  void PickAndScan(const std::string& caption, const std::string& verdict) {
    const int index = DriveIndex(caption);
    ASSERT_GE(index, 0);
    ASSERT_TRUE(ClickListViewItem(drive_list_, index)) << LastError();
    ASSERT_TRUE(WaitForWindowText(Control("lblDriveName"), caption)) << LastError();
    EXPECT_EQ(Text("lblDescriptionNoDrive"), kSelectedHint);
    ASSERT_TRUE(ClickListViewItem(drive_list_, index, true)) << LastError();
    HWND popup = WaitForPopupMenu(guard_.pid());
    ASSERT_NE(popup, nullptr) << LastError();
    ASSERT_TRUE(ChoosePopupMenuItem(popup, kScanSelectedDisk)) << LastError();
    ASSERT_TRUE(WaitUntil([&] { return DriveSlot() == verdict; })) << DriveSlot();
  }

  void PutSplashAway() {
    if (HWND splash = WaitForTopLevelWindow(guard_.pid(), {"TFrmSplashScreen", ""})) {
      ::ShowWindow(splash, SW_HIDE);
    }
  }
  void Shoot(const std::string& name) {
    PutSplashAway();  // it may have come up since
    ::Sleep(1500);    // let the window repaint what changed
    EXPECT_TRUE(SaveScreenshot(window_, name).has_value()) << LastError();
  }

  StickFolder key_{"velmora-drive-key"}, data_{"velmora-drive-data"}, disc_{"velmora-drive-disc"};
  std::deque<FolderDrive> drives_;  // undefined before the folders go
  HWND drive_list_ = nullptr;
  HWND threats_ = nullptr;
};

}  // namespace velmora::probe

#endif  // VELMORA_TESTS_E2E_DRIVE_PANEL_FIXTURE_H_
