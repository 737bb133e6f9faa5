// The registry page's protection-level panel on the real window: every way of moving the
// slider shows the chosen level's description in the memo.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "guard_test_fixture.h"
#include "probe.h"

namespace velmora::probe {
namespace {

constexpr char kInitialText[] =
    "High Security Level can Protect the \r\nregistry 100 % and delete any new \r\nPrograms";
const char* const kDescriptions[] = {
    "\nHigh Security Level can Protect the registry 100 % and delete any new Programs",
    "\nA Medium Security ! Registry Protection anti Virus and malware The program will ask the "
    "user's permission to accept the new program or Delete it",
    "\nLow Security Registry Protection Anti Virus This option will alert user's when new "
    "software install in regedit  ",
};

class ProtectionLevelTest : public GuardTest {
 protected:
  void SetUp() override {
    GuardTest::SetUp();
    // The splash covers the window for its first seconds.
    HWND splash = guard_.WaitForWindow({"TFrmSplashScreen", ""});
    ASSERT_NE(splash, nullptr) << LastError();
    ASSERT_TRUE(WaitUntil([splash] { return IsShown(splash); }));
    ASSERT_TRUE(WaitUntil([splash] { return !IsShown(splash); }, Duration{12000}));
    ASSERT_TRUE(ShowPage(window_, 2)) << LastError();
    ASSERT_TRUE(ShowRegistryTab(window_, 3, "LevelSecure")) << LastError();
    slider_ = WaitForControl(window_, "LevelSecure");
    memo_ = WaitForControl(window_, "MemDescription");
    ASSERT_NE(slider_, nullptr) << LastError();
    ASSERT_NE(memo_, nullptr) << LastError();
  }

  // A key press as the keyboard driver queues it for the focused slider.
  bool PressKey(UINT vk) {
    const LPARAM lparam = 1 | static_cast<LPARAM>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    return Post(slider_, WM_KEYDOWN, vk, lparam) &&
           Post(slider_, WM_KEYUP, vk, lparam | (1LL << 30) | (1LL << 31));
  }
  int Position() { return static_cast<int>(Send(slider_, TBM_GETPOS).value_or(-1)); }

  HWND slider_ = nullptr;
  HWND memo_ = nullptr;
};

TEST_F(ProtectionLevelTest, EveryKeyThatMovesTheSliderShowsThatLevelsDescription) {
  EXPECT_EQ(WindowText(memo_), kInitialText) << "the start changed the memo";
  struct Step {
    const char* key_name;
    UINT key;
    int position;
  };
  const Step steps[] = {
      {"Down", VK_DOWN, 1},   {"Down", VK_DOWN, 2},      {"Home", VK_HOME, 0},
      {"End", VK_END, 2},     {"Up", VK_UP, 1},          {"Page Up", VK_PRIOR, 0},
      {"Right", VK_RIGHT, 1}, {"Page Down", VK_NEXT, 2}, {"Left", VK_LEFT, 1},
      {"Up", VK_UP, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.key_name);
    ASSERT_TRUE(PressKey(step.key));
    EXPECT_TRUE(WaitForWindowText(memo_, kDescriptions[step.position])) << LastError();
    EXPECT_EQ(Position(), step.position);
  }
}

TEST_F(ProtectionLevelTest, AClickOnTheChannelAndADragOfTheThumbShowTheirLevels) {
  const auto top_thumb = TrackBarThumbRect(slider_);
  ASSERT_TRUE(top_thumb.has_value()) << LastError();
  RECT client{};
  ASSERT_TRUE(::GetClientRect(slider_, &client));
  // On the channel, two thirds of the way down, in line with the thumb: the slider pages down.
  const LPARAM below = MAKELPARAM((top_thumb->left + top_thumb->right) / 2,
                                  top_thumb->bottom + (client.bottom - top_thumb->bottom) * 2 / 3);
  ASSERT_TRUE(Post(slider_, WM_LBUTTONDOWN, MK_LBUTTON, below));
  ASSERT_TRUE(Post(slider_, WM_LBUTTONUP, 0, below));
  ASSERT_TRUE(WaitUntil([this] { return Position() > 0; })) << "the click did not move it";
  EXPECT_TRUE(WaitForWindowText(memo_, kDescriptions[Position()])) << LastError();

  ASSERT_TRUE(PressKey(VK_END));
  ASSERT_TRUE(WaitForWindowText(memo_, kDescriptions[2])) << LastError();
  const auto bottom_thumb = TrackBarThumbRect(slider_);
  ASSERT_TRUE(bottom_thumb.has_value()) << LastError();
  const int x = (bottom_thumb->left + bottom_thumb->right) / 2;
  const int top = (top_thumb->top + top_thumb->bottom) / 2;
  const int bottom = (bottom_thumb->top + bottom_thumb->bottom) / 2;
  // Grabbed at the bottom and pulled up: each level passed on the way shows while the button
  // is still down.
  ASSERT_TRUE(Post(slider_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, bottom)));
  ASSERT_TRUE(Post(slider_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, (top + bottom) / 2)));
  EXPECT_TRUE(WaitForWindowText(memo_, kDescriptions[1])) << LastError();
  ASSERT_TRUE(Post(slider_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, top)));
  EXPECT_TRUE(WaitForWindowText(memo_, kDescriptions[0])) << LastError();
  ASSERT_TRUE(Post(slider_, WM_LBUTTONUP, 0, MAKELPARAM(x, top)));
  EXPECT_TRUE(WaitUntil([this] { return Position() == 0; }));
}

TEST_F(ProtectionLevelTest, TheTabAfterAMoveShowsTheMediumLevel) {
  ASSERT_TRUE(PressKey(VK_DOWN));
  ASSERT_TRUE(WaitForWindowText(memo_, kDescriptions[1])) << LastError();
  // Wine waits two seconds for a window manager before it repaints what the splash uncovered.
  ::Sleep(2500);
  EXPECT_TRUE(SaveScreenshot(window_, "protection_registry_medium").has_value()) << LastError();
}

}  // namespace
}  // namespace velmora::probe
