// Sticks plugged into the running guard under Wine: a Unix folder becomes a removable drive
// through Wine's mount manager and its arrival is broadcast as Windows would. Screenshots of
// the clean and the infected volume panel go into the build tree.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "guard_test_fixture.h"
#include "probe.h"
#include "stick_folder.h"

namespace velmora::probe {
namespace {

constexpr char kDetection[] = R"(T : \d{1,2}:\d{2}:\d{2}( \S+)? D  : \S+)";

class VolumeArrivalTest : public GuardTest {
 protected:
  void SetUp() override {
    GuardTest::SetUp();
    if (HasFatalFailure()) return;
    list_ = Control("LstScan");
  }

  HWND Control(const char* name) {
    HWND found = WaitForControl(window_, name);
    EXPECT_NE(found, nullptr) << name << ": " << LastError();
    return found;
  }
  std::string Text(const char* name) { return WindowText(Control(name)).value_or("?"); }

  // The volume slot's controls that show, in slot order.
  std::string VolumeSlot() {
    std::string shown;
    for (const char* name : {"ImgNoDevice", "lblNoDev", "ImgScan", "lblSearch", "ImgVolClean",
                             "RemLblVolClean", "ImgVolInf", "RemLblVolInf"}) {
      if (!HasVisibleStyle(Control(name))) continue;
      if (!shown.empty()) shown += ' ';
      shown += name;
    }
    return shown;
  }
  bool WaitForSlot(const std::string& expected) {
    return WaitUntil([&] { return VolumeSlot() == expected; });
  }

  std::vector<std::vector<std::string>> Rows() {
    return ListViewRows(list_).value_or(std::vector<std::vector<std::string>>{{"?"}});
  }
  std::vector<std::string> SortedPaths() {
    std::vector<std::string> paths;
    for (const auto& row : Rows()) paths.push_back(row.empty() ? "" : row[0]);
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  // The splash goes by itself after eight seconds; screenshots need not wait for that.
  void PutSplashAway() {
    if (HWND splash = FindTopLevelWindow(guard_.pid(), {"TFrmSplashScreen", ""})) {
      ::ShowWindow(splash, SW_HIDE);
    }
  }
  void Shoot(const std::string& name) {
    PutSplashAway();
    ::Sleep(3000);  // let the uncovered window repaint
    EXPECT_TRUE(SaveScreenshot(window_, name).has_value()) << LastError();
  }

  HWND list_ = nullptr;
};

TEST_F(VolumeArrivalTest, InfectedStickIsListedWithTheInfectedVerdictAndTheWindowComesBack) {
  StickFolder folder("velmora-key");
  folder.FillInfected();
  ASSERT_TRUE(folder.ok());
  // Closed to the tray, as it mostly is.
  ASSERT_TRUE(Post(window_, WM_CLOSE));
  ASSERT_TRUE(WaitUntil([this] { return !IsShown(window_); }));
  HWND tray = guard_.WaitForWindow({"TTrayIconWindow", ""});
  ASSERT_NE(tray, nullptr) << LastError();
  ASSERT_TRUE(WaitUntil([tray] { return NotifyIconShown(tray); }));

  PluggedVolume stick;
  ASSERT_TRUE(stick.Plug('F', folder.unix_path(), "KEY")) << LastError();

  ASSERT_TRUE(WaitForSlot("ImgVolInf RemLblVolInf")) << VolumeSlot();
  EXPECT_EQ(SortedPaths(),
            (std::vector<std::string>{"F:\\Setup.exe", "F:\\autorun.inf", "F:\\tools\\run.vbs"}));
  for (const auto& row : Rows()) {
    ASSERT_EQ(row.size(), 2u);
    EXPECT_TRUE(std::regex_match(row[1], std::regex(kDetection))) << row[1];
  }
  EXPECT_EQ(Text("lblNameVoule"), "KEY (F:\\)");
  // "Volume Detected" came first; the scan then left the attribute value of the last entry
  // it examined in the caption.
  const std::string caption = WindowText(window_).value_or("?");
  EXPECT_TRUE(std::regex_match(caption, std::regex(R"(\d+)"))) << caption;

  char file_system[MAX_PATH + 1] = {};
  DWORD serial = 0;
  ASSERT_TRUE(::GetVolumeInformationA("F:\\", nullptr, 0, &serial, nullptr, nullptr, file_system,
                                      MAX_PATH));
  char serial_text[10];
  std::snprintf(serial_text, sizeof serial_text, "%04lX-%04lX", serial >> 16, serial & 0xFFFF);
  EXPECT_EQ(Text("LblSysVol"),
            std::string("System File : ") + file_system + " Serial Number : " + serial_text);
  EXPECT_TRUE(std::regex_match(
      Text("lblinfo"),
      std::regex(" Size Total : [1-9][0-9,]* Kilo-octets  Size Available : [0-9][0-9,]* "
                 "Kilo-octets")))
      << Text("lblinfo");

  EXPECT_TRUE(WaitUntil([this] { return IsShown(window_); })) << "not back from the tray";
  EXPECT_TRUE(WaitUntil([tray] { return !NotifyIconShown(tray); })) << "tray icon left behind";
  EXPECT_TRUE(::IsZoomed(window_));
  Shoot("volume_infected");
}

TEST_F(VolumeArrivalTest, CleanStickWithoutLabelShowsTheCleanVerdict) {
  StickFolder folder("velmora-clean");
  folder.AddFile("notes.txt");
  folder.AddFile("Setup.exe");  // an installer in plain sight
  folder.AddDirectory("music");
  folder.AddFile("music\\song.mp3", FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(folder.ok());

  PluggedVolume stick;
  ASSERT_TRUE(stick.Plug('G', folder.unix_path(), "")) << LastError();

  ASSERT_TRUE(WaitForSlot("ImgVolClean RemLblVolClean")) << VolumeSlot();
  EXPECT_EQ(Text("lblNameVoule"), " (G:\\)");
  EXPECT_EQ(ListViewItemCount(list_), 0);
  EXPECT_TRUE(::IsZoomed(window_));
  Shoot("volume_clean");
}

TEST_F(VolumeArrivalTest, DiscInAnOpticalDriveIsScannedLikeAStick) {
  StickFolder folder("velmora-disc");
  folder.AddFile("AUTORUN.INF");
  folder.AddFile("setup.exe");
  ASSERT_TRUE(folder.ok());
  PluggedVolume disc;
  ASSERT_TRUE(disc.Plug('R', folder.unix_path(), "DISC", DRIVE_CDROM)) << LastError();
  ASSERT_EQ(::GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_CDROM));

  EXPECT_TRUE(WaitForSlot("ImgVolInf RemLblVolInf")) << VolumeSlot();
  EXPECT_EQ(SortedPaths(), std::vector<std::string>{"R:\\AUTORUN.INF"});
  EXPECT_EQ(Text("lblNameVoule"), "DISC (R:\\)");
}

TEST_F(VolumeArrivalTest, SecondStickIsListedBelowTheFirst) {
  StickFolder first("velmora-first"), second("velmora-second");
  first.FillInfected();
  second.AddFile("AUTORUN.INF");
  second.AddFile("start.cmd", FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(first.ok() && second.ok());

  PluggedVolume first_stick, second_stick;
  ASSERT_TRUE(first_stick.Plug('F', first.unix_path(), "FIRST")) << LastError();
  ASSERT_TRUE(WaitUntil([this] { return ListViewItemCount(list_) == 3; }));
  ASSERT_TRUE(second_stick.Plug('H', second.unix_path(), "SECOND")) << LastError();
  ASSERT_TRUE(WaitUntil([this] { return ListViewItemCount(list_) == 5; })) << Rows().size();

  const auto rows = Rows();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(rows[i][0].substr(0, 3), i < 3 ? "F:\\" : "H:\\") << rows[i][0];
  }
  EXPECT_EQ(Text("lblNameVoule"), "SECOND (H:\\)");
  EXPECT_EQ(VolumeSlot(), "ImgVolInf RemLblVolInf");
}

TEST_F(VolumeArrivalTest, RemovalResetsThePanelAndThePluggedAgainStickIsNotListedTwice) {
  StickFolder folder("velmora-again");
  folder.FillInfected();
  ASSERT_TRUE(folder.ok());
  PluggedVolume stick;
  ASSERT_TRUE(stick.Plug('F', folder.unix_path(), "KEY")) << LastError();
  ASSERT_TRUE(WaitForSlot("ImgVolInf RemLblVolInf"));
  const std::string system_text = Text("LblSysVol");

  ASSERT_TRUE(stick.Unplug()) << LastError();
  ASSERT_TRUE(WaitForWindowText(Control("lblNameVoule"), "No Volume Detected")) << LastError();
  EXPECT_EQ(VolumeSlot(), "ImgNoDevice lblNoDev");
  EXPECT_EQ(ListViewItemCount(list_), 3);
  EXPECT_EQ(Text("LblSysVol"), system_text);

  ASSERT_TRUE(stick.Plug('F', folder.unix_path(), "KEY")) << LastError();
  ASSERT_TRUE(WaitForSlot("ImgVolInf RemLblVolInf")) << VolumeSlot();
  EXPECT_EQ(ListViewItemCount(list_), 3);
  EXPECT_EQ(Text("lblNameVoule"), "KEY (F:\\)");
}

TEST_F(VolumeArrivalTest, ArrivalForALetterWithoutVolumeChangesOnlyTheCaption) {
  ASSERT_EQ(::GetDriveTypeA("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  const std::string name = Text("lblNameVoule"), sizes = Text("lblinfo");
  ASSERT_TRUE(BroadcastVolumeChange('Q', true)) << LastError();
  ASSERT_TRUE(WaitForWindowText(window_, "Volume Detected")) << LastError();
  EXPECT_EQ(Text("lblNameVoule"), name);
  EXPECT_EQ(Text("lblinfo"), sizes);
  EXPECT_EQ(VolumeSlot(), "ImgNoDevice lblNoDev");
  EXPECT_EQ(ListViewItemCount(list_), 0);
}

}  // namespace
}  // namespace velmora::probe
