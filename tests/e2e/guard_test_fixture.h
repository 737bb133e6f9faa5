#ifndef VELMORA_TESTS_E2E_GUARD_TEST_FIXTURE_H_
#define VELMORA_TESTS_E2E_GUARD_TEST_FIXTURE_H_

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "probe.h"

namespace velmora::probe {

// Shows a page of the main window's pager by a click on its tab.
inline bool ShowPage(HWND window, int index) {
  constexpr int kTabWidth = 150;
  constexpr int kTabSpacing = 6;
  constexpr int kTabLeftMargin = 20;
  HWND pager = WaitForControl(window, "PGCtrl");
  const int x = kTabLeftMargin + index * (kTabWidth + kTabSpacing) + kTabWidth / 2;
  return pager != nullptr && Post(pager, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 30)) &&
         Post(pager, WM_LBUTTONUP, 0, MAKELPARAM(x, 30));
}

// Shows a tab of the registry page (which must be showing) and waits for its content.
inline bool ShowRegistryTab(HWND window, int index, const char* content_name) {
  HWND tabs = WaitForControl(window, "PageControl1");
  if (tabs == nullptr || !WaitUntil([tabs] { return IsShown(tabs); })) return false;
  // Moving the focus of a tab control selects the tab and tells its parent.
  if (!Send(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index)).has_value()) return false;
  HWND content = WaitForControl(window, content_name);
  return content != nullptr && WaitUntil([content] { return IsShown(content); });
}

// Waits until the message box shows `message`; `shown` gets the texts it showed last. The box
// exists before its texts do.
inline bool WaitForMessageBoxText(HWND box, const std::string& message, std::string& shown) {
  return WaitUntil([&] {
    shown.clear();
    for (HWND child : DescendantWindows(box)) shown += "[" + WindowText(child).value_or("?") + "]";
    return shown.find("[" + message + "]") != std::string::npos;
  });
}

// A fresh guard per test, its main window found and shown.
class GuardTest : public ::testing::Test {
 protected:
  void SetUp() override { StartGuard(); }

  // Starts the guard and waits for its main window to show.
  void StartGuard() {
    const std::string exe = GetEnv("VELMORA_EXE");
    ASSERT_FALSE(exe.empty()) << "VELMORA_EXE is not set";
    ASSERT_TRUE(guard_.Start(exe)) << LastError();
    window_ = guard_.WaitForWindow({"TFrmain", ""});
    ASSERT_NE(window_, nullptr) << LastError();
    ASSERT_TRUE(WaitUntil([this] { return IsShown(window_); })) << "main window never shown";
  }

  Process guard_;
  HWND window_ = nullptr;
};

}  // namespace velmora::probe

#endif  // VELMORA_TESTS_E2E_GUARD_TEST_FIXTURE_H_
