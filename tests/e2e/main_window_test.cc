// The real guard, started under Wine: its main window and chrome as a user first sees them.
#include <gtest/gtest.h>

#include <string>

#include "guard_test_fixture.h"
#include "probe.h"

namespace velmora::probe {
namespace {

using MainWindowTest = GuardTest;

TEST_F(MainWindowTest, ShowsItsCaptionPictureAndChromeLabels) {
  EXPECT_EQ(WindowText(window_).value_or("?"), "VELMORA");
  HWND picture = FindControl(window_, "ImgArrPln");
  ASSERT_NE(picture, nullptr) << LastError();
  EXPECT_TRUE(IsShown(picture));
  struct Expected {
    const char* name;
    const char* text;
  };
  for (const Expected& e : {Expected{"lblClseApp", "X"}, Expected{"lblMinimize", "_"},
                            Expected{"lblSupport", "Technical Support"}}) {
    HWND label = FindControl(window_, e.name);
    ASSERT_NE(label, nullptr) << e.name << ": " << LastError();
    EXPECT_EQ(WindowText(label).value_or("?"), e.text) << e.name;
    EXPECT_TRUE(IsShown(label)) << e.name;
    EXPECT_EQ(WindowClassName(label), "Static") << e.name;
  }
  const auto shot = SaveScreenshot(window_, "main_window");
  EXPECT_TRUE(shot.has_value()) << LastError();
}

TEST_F(MainWindowTest, FirstDisplayIsMaximisedOverTheWorkArea) {
  EXPECT_TRUE(::IsZoomed(window_));
  RECT work{};
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  RECT frame{};
  ASSERT_TRUE(::GetWindowRect(window_, &frame));
  EXPECT_EQ(frame.left, work.left);
  EXPECT_EQ(frame.top, work.top);
  EXPECT_EQ(frame.right, work.right);
  EXPECT_EQ(frame.bottom, work.bottom);
}

// The screen shows the maximised window where Windows put it, so a real click on a tab's place
// lands on that tab and the screen there shows the tab, not the desktop.
TEST_F(MainWindowTest, RealClickOnATabSelectsIt) {
  HWND pager = FindControl(window_, "PGCtrl");
  ASSERT_NE(pager, nullptr) << LastError();
  RECT pager_rect{};
  ASSERT_TRUE(::GetWindowRect(pager, &pager_rect));
  // Inside the second tab, left of its picture and above its caption: 20 pixels of margin,
  // tabs 150 wide and 6 apart.
  const POINT tab{pager_rect.left + 20 + 156 + 12, pager_rect.top + 30};
  ASSERT_EQ(::WindowFromPoint(tab), pager);
  RECT frame{};
  ASSERT_TRUE(::GetWindowRect(window_, &frame));
  uint32_t pixel = 0;
  EXPECT_TRUE(WaitUntil([&] {
    const std::optional<Image> shot = CaptureWindow(window_);
    pixel = shot ? shot->At(tab.x - frame.left, tab.y - frame.top) : 0;
    return ((pixel >> 16) & 0xFF) > 0xC0 && ((pixel >> 8) & 0xFF) > 0xC0;
  })) << "the screen shows 0x"
      << std::hex << pixel << " where the tab is";
  HWND drive_picture = FindControl(window_, "ImgNoDriveSelected");
  ASSERT_NE(drive_picture, nullptr) << LastError();
  ASSERT_FALSE(IsShown(drive_picture));
  ASSERT_TRUE(ClickScreen(tab)) << LastError();
  EXPECT_TRUE(WaitUntil([&] { return IsShown(drive_picture); })) << "the second page never showed";
}

TEST_F(MainWindowTest, BackdropPictureIsDecodedAndDrawn) {
  // The title strip of the backdrop is pale blue, not the grey of an empty window.
  RECT frame{};
  ASSERT_TRUE(::GetWindowRect(window_, &frame));
  std::optional<Image> image;
  ASSERT_TRUE(WaitUntil([&] {
    image = CaptureWindow(window_);
    if (!image) return false;
    const uint32_t pixel = image->At(300, 20);
    const int red = (pixel >> 16) & 0xFF, blue = pixel & 0xFF;
    return blue > red + 10;
  })) << "backdrop not drawn; pixel 0x"
      << std::hex << (image ? image->At(300, 20) : 0u);
}

}  // namespace
}  // namespace velmora::probe
