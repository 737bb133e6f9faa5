// The threat-action menu of the running guard under Wine: a right click on a listed threat and
// a command, with the file really gone, renamed or moved away on disk, and a failure told in a
// message box.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drive_panel_fixture.h"
#include "probe.h"
#include "stick_folder.h"

namespace velmora::probe {
namespace {

// The items' places in MnActionVir.
enum ThreatCommand { kDelete = 0, kRename = 1, kQuarantine = 2, kIgnore = 3 };

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ThreatMenuTest : public DrivePanelTest {
 protected:
  static std::vector<std::string> Paths(HWND list) {
    std::vector<std::string> paths;
    for (const auto& row : ListViewRows(list).value_or(std::vector<std::vector<std::string>>{})) {
      paths.push_back(row.empty() ? "" : row[0]);
    }
    return paths;
  }
  static bool Listed(HWND list, const std::string& path) {
    const std::vector<std::string> paths = Paths(list);
    return std::find(paths.begin(), paths.end(), path) != paths.end();
  }
  // Right-clicks the entry, as a user does, and chooses the command on the menu that opens.
  void Choose(HWND list, const std::string& path, ThreatCommand command) {
    const std::vector<std::string> paths = Paths(list);
    const auto found = std::find(paths.begin(), paths.end(), path);
    ASSERT_NE(found, paths.end()) << path << " is not listed";
    ASSERT_TRUE(ClickListViewItem(list, static_cast<int>(found - paths.begin()), true))
        << LastError();
    HWND popup = WaitForPopupMenu(guard_.pid());
    ASSERT_NE(popup, nullptr) << LastError();
    ASSERT_TRUE(ChoosePopupMenuItem(popup, command)) << LastError();
  }
  std::string OnKey(const std::string& relative) { return key_.path() + "\\" + relative; }
};

TEST_F(ThreatMenuTest, CommandsOnTheDriveListActOnTheFilesOnDisk) {
  // Left over as worms leave it, so that a plain delete fails.
  ASSERT_TRUE(::SetFileAttributesA(OnKey("autorun.inf").c_str(), FILE_ATTRIBUTE_HIDDEN |
                                                                     FILE_ATTRIBUTE_SYSTEM |
                                                                     FILE_ATTRIBUTE_READONLY));
  key_.AddFile("keep.vbs");
  key_.AddFile("gone.vbs");
  ASSERT_TRUE(key_.ok());
  PickAndScan("KEY (K:)", "ImgDriveInfected lblDriveInfected");
  ASSERT_EQ(Paths(threats_).size(), 5u) << ::testing::PrintToString(Paths(threats_));

  Choose(threats_, "K:\\autorun.inf", kDelete);
  ASSERT_TRUE(WaitUntil([this] { return !Listed(threats_, "K:\\autorun.inf"); }));
  EXPECT_FALSE(Exists(OnKey("autorun.inf")));

  Choose(threats_, "K:\\Setup.exe", kRename);
  ASSERT_TRUE(WaitUntil([this] { return !Listed(threats_, "K:\\Setup.exe"); }));
  EXPECT_FALSE(Exists(OnKey("Setup.exe")));
  const DWORD renamed = ::GetFileAttributesA(OnKey("Setup.exe.velmora").c_str());
  ASSERT_NE(renamed, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(renamed & FILE_ATTRIBUTE_HIDDEN, 0u) << "the renamed file is to be seen";

  Choose(threats_, "K:\\tools\\run.vbs", kQuarantine);
  EXPECT_TRUE(WaitUntil([this] { return !Exists(OnKey("tools\\run.vbs")); }));
  Choose(threats_, "K:\\keep.vbs", kIgnore);

  // The file went behind the guard's back: the entry still goes, and the user is told.
  ASSERT_TRUE(::DeleteFileA(OnKey("gone.vbs").c_str()));
  Choose(threats_, "K:\\gone.vbs", kDelete);
  HWND box = WaitForTopLevelWindow(guard_.pid(), {"#32770", ""});
  ASSERT_NE(box, nullptr) << "no message box: " << LastError();
  std::string shown;
  EXPECT_TRUE(WaitUntil([&] {
    shown.clear();
    for (HWND child : DescendantWindows(box)) shown += "[" + WindowText(child).value_or("?") + "]";
    return shown.find("[Could not delete K:\\gone.vbs: ") != std::string::npos;
  })) << shown;
  EXPECT_FALSE(Listed(threats_, "K:\\gone.vbs"));
  ::Sleep(500);
  EXPECT_TRUE(SaveScreenshot(window_, "threat_action_failed").has_value()) << LastError();
  ASSERT_TRUE(Post(box, WM_COMMAND, IDOK));
  ASSERT_TRUE(WaitUntil([box] { return !::IsWindow(box); }));

  // Quarantine and Ignore took nothing out of the list.
  std::vector<std::string> left = Paths(threats_);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"K:\\keep.vbs", "K:\\tools\\run.vbs"}));
  EXPECT_TRUE(Exists(OnKey("keep.vbs")));
}

// The context-menu key (or Shift+F10) on a selected entry asks for the same menu without a mouse.
TEST_F(ThreatMenuTest, TheKeyboardOpensTheMenuOnTheSelectedEntry) {
  PickAndScan("KEY (K:)", "ImgDriveInfected lblDriveInfected");
  const std::vector<std::string> paths = Paths(threats_);
  const auto at = std::find(paths.begin(), paths.end(), "K:\\Setup.exe");
  ASSERT_NE(at, paths.end()) << ::testing::PrintToString(paths);
  ASSERT_TRUE(ClickListViewItem(threats_, static_cast<int>(at - paths.begin()))) << LastError();
  // What the platform sends the focused list for that key: no mouse position.
  ASSERT_TRUE(Post(threats_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(threats_), -1));
  HWND popup = WaitForPopupMenu(guard_.pid());
  ASSERT_NE(popup, nullptr) << LastError();
  RECT menu{};
  ASSERT_TRUE(::GetWindowRect(popup, &menu));
  RECT list{};
  ASSERT_TRUE(::GetWindowRect(threats_, &list));
  EXPECT_TRUE(menu.left >= list.left && menu.left < list.right && menu.top > list.top &&
              menu.top < list.bottom)
      << "the menu opens over the list, at its selected entry";
  ASSERT_TRUE(ChoosePopupMenuItem(popup, kRename)) << LastError();
  ASSERT_TRUE(WaitUntil([this] { return !Listed(threats_, "K:\\Setup.exe"); }));
  EXPECT_TRUE(Exists(OnKey("Setup.exe.velmora")));
}

// An entry stays selected in the volume list while one of the drive list is selected later;
// the menu opened on the first acts on the first.
TEST_F(ThreatMenuTest, TheMenuActsOnTheListItWasOpenedOn) {
  StickFolder stick("velmora-drive-stick");
  stick.AddFile("autorun.inf");
  ASSERT_TRUE(stick.ok());
  PluggedVolume plugged;
  ASSERT_TRUE(plugged.Plug('F', stick.unix_path(), "STICK")) << LastError();
  HWND volume_threats = Control("LstScan");
  ASSERT_TRUE(WaitUntil([&] { return Listed(volume_threats, "F:\\autorun.inf"); }));
  PickAndScan("KEY (K:)", "ImgDriveInfected lblDriveInfected");

  ASSERT_TRUE(ShowPage(window_, 0));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(volume_threats); }));
  ASSERT_TRUE(ClickListViewItem(volume_threats, 0)) << LastError();
  ASSERT_TRUE(ShowPage(window_, 1));
  ASSERT_TRUE(WaitUntil([this] { return IsShown(threats_); }));
  const std::vector<std::string> drive_paths = Paths(threats_);
  const auto at = std::find(drive_paths.begin(), drive_paths.end(), "K:\\autorun.inf");
  ASSERT_NE(at, drive_paths.end());
  ASSERT_TRUE(ClickListViewItem(threats_, static_cast<int>(at - drive_paths.begin())))
      << LastError();
  ASSERT_TRUE(ShowPage(window_, 0));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(volume_threats); }));
  ASSERT_EQ(ListViewSelectedItem(volume_threats), 0);

  Choose(volume_threats, "F:\\autorun.inf", kDelete);
  ASSERT_TRUE(WaitUntil([&] { return !Listed(volume_threats, "F:\\autorun.inf"); }));
  EXPECT_FALSE(Exists(stick.path() + "\\autorun.inf"));
  EXPECT_TRUE(Listed(threats_, "K:\\autorun.inf"));
  EXPECT_TRUE(Exists(OnKey("autorun.inf")));
}

}  // namespace
}  // namespace velmora::probe
