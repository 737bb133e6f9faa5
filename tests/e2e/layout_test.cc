// The main window's pages, status pictures, lists, outline, splash and menus as a user first
// sees them. Screenshots of each go into the build tree.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "guard_test_fixture.h"
#include "probe.h"

namespace velmora::probe {
namespace {

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string exe = GetEnv("VELMORA_EXE");
    ASSERT_FALSE(exe.empty()) << "VELMORA_EXE is not set";
    started_ = ::GetTickCount();
    ASSERT_TRUE(guard_.Start(exe)) << LastError();
    window_ = guard_.WaitForWindow({"TFrmain", ""});
    ASSERT_NE(window_, nullptr) << LastError();
    ASSERT_TRUE(WaitUntil([this] { return IsShown(window_); }));
    splash_ = guard_.WaitForWindow({"TFrmSplashScreen", ""});
    ASSERT_NE(splash_, nullptr) << LastError();
  }

  HWND Control(const char* name) {
    HWND found = WaitForControl(window_, name);
    EXPECT_NE(found, nullptr) << name << ": " << LastError();
    return found;
  }

  // The splash shows at the first display and goes by itself; screenshots of the window wait
  // for that.
  void WaitForSplashToGo() {
    ASSERT_TRUE(WaitUntil([this] { return IsShown(splash_); }));
    ASSERT_TRUE(WaitUntil([this] { return !IsShown(splash_); }, Duration{12000}));
    gone_after_ = ::GetTickCount() - started_;
    // Wine waits two seconds for a window manager before it repaints what the splash uncovered.
    ::Sleep(3000);
  }

  void ChoosePagerTab(int index) { ASSERT_TRUE(ShowPage(window_, index)) << LastError(); }

  void Shoot(const std::string& name) {
    ::Sleep(300);  // let the last paint land
    EXPECT_TRUE(SaveScreenshot(window_, name).has_value()) << LastError();
  }

  Process guard_;
  HWND window_ = nullptr;
  HWND splash_ = nullptr;
  DWORD started_ = 0;
  DWORD gone_after_ = 0;
};

TEST_F(LayoutTest, SplashShowsOnceOnTopAndHidesItselfAfterAboutEightSeconds) {
  EXPECT_TRUE(WaitUntil([this] { return IsShown(splash_); }));
  EXPECT_NE(::GetWindowLongA(splash_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_TRUE(SaveScreenshot(splash_, "splash").has_value()) << LastError();
  WaitForSplashToGo();
  EXPECT_GE(gone_after_, 6000u);
  EXPECT_LE(gone_after_, 11000u);

  // A round trip through the tray does not bring it back.
  ASSERT_TRUE(Post(window_, WM_CLOSE));
  ASSERT_TRUE(WaitUntil([this] { return !IsShown(window_); }));
  HWND tray = guard_.WaitForWindow({"TTrayIconWindow", ""});
  ASSERT_TRUE(Post(tray, ::RegisterWindowMessageA("WM_TOOLTRAYICON"), 0, WM_LBUTTONDBLCLK));
  ASSERT_TRUE(WaitUntil([this] { return IsShown(window_); }));
  EXPECT_FALSE(WaitUntil([this] { return IsShown(splash_); }, Duration{1000}));
}

TEST_F(LayoutTest, EachPageStartsWithOnlyItsNoDevicePictureShowing) {
  WaitForSplashToGo();
  struct Slot {
    int page;
    const char* shown;
    std::vector<const char*> hidden;
  };
  const Slot slots[] = {
      {0, "ImgNoDevice", {"ImgScan", "ImgVolClean", "ImgVolInf"}},
      {1, "ImgNoDriveSelected", {"ImgDrveClean", "ImgDriveInfected"}},
  };
  for (const Slot& slot : slots) {
    ChoosePagerTab(slot.page);
    HWND shown = Control(slot.shown);
    EXPECT_TRUE(WaitUntil([shown] { return IsShown(shown); })) << slot.shown;
    for (const char* name : slot.hidden) EXPECT_FALSE(HasVisibleStyle(Control(name))) << name;
    Shoot("page" + std::to_string(slot.page + 1));
  }
  ChoosePagerTab(2);
  const char* const sheets[] = {"LstPrgsStart", "TreeActiveX", "LstDeniedSoft",
                                "GrpLevelProtection"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(ShowRegistryTab(window_, i, sheets[i])) << sheets[i];
    Shoot("page3_tab" + std::to_string(i + 1));
  }
}

TEST_F(LayoutTest, OnlyTheEditableListsLetCaptionsBeEditedInPlace) {
  struct Case {
    const char* name;
    DWORD edit_style;
    bool editable;
  };
  for (const Case& c :
       {Case{"LstScan", LVS_EDITLABELS, true}, Case{"LstPrgsStart", LVS_EDITLABELS, true},
        Case{"LstDeniedSoft", LVS_EDITLABELS, true}, Case{"TreeActiveX", TVS_EDITLABELS, true},
        Case{"LstDrive", LVS_EDITLABELS, false}, Case{"LstScanDrive", LVS_EDITLABELS, false}}) {
    const LONG style = ::GetWindowLongA(Control(c.name), GWL_STYLE);
    EXPECT_EQ((style & c.edit_style) != 0, c.editable) << c.name;
  }
}

TEST_F(LayoutTest, OutlineCutsTheCornersAndTheEdges) {
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(window_, region), ERROR);
  struct Point {
    int x;
    int y;
    bool inside;
  };
  // Right and bottom bounds are exclusive; the platforms differ on the last pixel before them.
  for (const Point& p :
       {Point{0, 0, false}, Point{0, 260, false}, Point{300, 0, false}, Point{1, 260, true},
        Point{300, 1, true}, Point{676, 260, true}, Point{678, 260, false}, Point{300, 518, true},
        Point{300, 520, false}, Point{2, 2, false}, Point{676, 518, false}}) {
    EXPECT_EQ(::PtInRegion(region, p.x, p.y) != FALSE, p.inside) << p.x << "," << p.y;
  }
  ::DeleteObject(region);
}

TEST_F(LayoutTest, PopupMenusShowTheirPictures) {
  WaitForSplashToGo();
  struct Menu {
    const char* name;
    std::function<bool()> open;
  };
  HWND tray = guard_.WaitForWindow({"TTrayIconWindow", ""});
  const Menu menus[] = {
      {"menu_tray",
       [tray] { return Post(tray, ::RegisterWindowMessageA("WM_TOOLTRAYICON"), 0, WM_RBUTTONUP); }},
      {"menu_drive",
       [this] {
         ChoosePagerTab(1);
         HWND list = Control("LstDrive");
         return WaitUntil([list] { return IsShown(list); }) &&
                Post(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50)) &&
                Post(list, WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
       }},
      {"menu_registry",
       [this] {
         ChoosePagerTab(2);
         HWND list = Control("LstPrgsStart");
         return WaitUntil([list] { return IsShown(list); }) &&
                Post(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50)) &&
                Post(list, WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
       }},
  };
  for (const Menu& menu : menus) {
    SCOPED_TRACE(menu.name);
    ASSERT_TRUE(menu.open());
    HWND popup = WaitForPopupMenu(guard_.pid());
    ASSERT_NE(popup, nullptr) << LastError();
    ::Sleep(300);
    EXPECT_TRUE(SaveScreenshot(popup, menu.name).has_value()) << LastError();
    Post(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([popup] { return !::IsWindowVisible(popup); }));
  }
}

}  // namespace
}  // namespace velmora::probe
