// The guard's life cycle as a user meets it: one copy at a time, autostart at logon, closing
// to the notification area, and ending only from the tray menu.
#include <windows.h>
#include <gtest/gtest.h>
#include <sddl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "guard_test_fixture.h"
#include "probe.h"

namespace velmora::probe {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Velmora Protection";

std::optional<std::string> RunValue() {
  char data[1024] = {};
  DWORD size = sizeof data;
  if (::RegGetValueA(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(data);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The guard started and showing its main window, with its tray's utility window found.
class Guard {
 public:
  bool Start(const std::string& exe) {
    if (!process_.Start(exe)) return false;
    window_ = process_.WaitForWindow({"TFrmain", ""});
    tray_ = process_.WaitForWindow({"TTrayIconWindow", ""});
    return window_ != nullptr && tray_ != nullptr && WaitUntil([this] { return IsShown(window_); });
  }
  // Whether the shell holds an icon of the guard's tray window.
  bool IconShown() const { return NotifyIconShown(tray_); }
  // What a restarted shell has lost: the icon.
  bool ForgetIcon() const { return RemoveNotifyIcon(tray_); }
  HWND tray() const { return tray_; }
  bool TrayMouse(UINT mouse_message) const {
    return Post(tray_, ::RegisterWindowMessageA("WM_TOOLTRAYICON"), 0, mouse_message);
  }

  Process& process() { return process_; }
  HWND window() const { return window_; }

 private:
  Process process_;
  HWND window_ = nullptr;
  HWND tray_ = nullptr;
};

class LifeCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = GetEnv("VELMORA_EXE");
    ASSERT_FALSE(exe_.empty()) << "VELMORA_EXE is not set";
    ASSERT_TRUE(guard_.Start(exe_)) << LastError();
  }

  std::string exe_;
  Guard guard_;
};

TEST_F(LifeCycleTest, SecondCopyEndsSilentlyAndTheFirstRunsOn) {
  Process second;
  ASSERT_TRUE(second.Start(exe_)) << LastError();
  const auto exit_code = second.WaitForExit();
  ASSERT_TRUE(exit_code.has_value()) << "the second copy kept running";
  EXPECT_EQ(*exit_code, 0u);
  EXPECT_EQ(FindTopLevelWindow(second.pid(), {"TFrmain", ""}), nullptr);
  EXPECT_TRUE(guard_.process().running());
  EXPECT_TRUE(IsShown(guard_.window()));
}

TEST_F(LifeCycleTest, ClosingHidesInTheTrayAndDoubleClickBringsItBack) {
  ASSERT_TRUE(WaitUntil([this] { return guard_.IconShown(); })) << "no tray icon at start";
  ASSERT_TRUE(guard_.TrayMouse(WM_LBUTTONDBLCLK));  // first restore: the icon goes away
  ASSERT_TRUE(WaitUntil([this] { return !guard_.IconShown(); }));

  ASSERT_TRUE(Post(guard_.window(), WM_CLOSE));  // what Alt+F4 and the taskbar send
  EXPECT_TRUE(WaitUntil([this] { return !IsShown(guard_.window()); }));
  EXPECT_TRUE(WaitUntil([this] { return guard_.IconShown(); }));
  EXPECT_TRUE(guard_.process().running());

  ASSERT_TRUE(guard_.TrayMouse(WM_LBUTTONDBLCLK));
  EXPECT_TRUE(WaitUntil([this] { return IsShown(guard_.window()); }));
  EXPECT_TRUE(WaitUntil([this] { return !guard_.IconShown(); }));
  EXPECT_TRUE(guard_.process().running());
}

TEST_F(LifeCycleTest, IconComesBackWhenTheShellRestarts) {
  ASSERT_TRUE(WaitUntil([this] { return guard_.IconShown(); }));
  // Wine's shell finishes the icon's start-up work (its tip reset) within about two seconds;
  // only after that is a lost icon lost for good.
  ::Sleep(2500);
  ASSERT_TRUE(guard_.ForgetIcon());
  EXPECT_FALSE(WaitUntil([this] { return guard_.IconShown(); }, Duration{1000}));
  // A new shell announces itself to every top-level window.
  ASSERT_TRUE(Post(guard_.tray(), ::RegisterWindowMessageA("TaskbarCreated")));
  EXPECT_TRUE(WaitUntil([this] { return guard_.IconShown(); }));
}

TEST_F(LifeCycleTest, CloseInTheTrayMenuEndsTheProgramAndTakesTheIconAway) {
  ASSERT_TRUE(guard_.TrayMouse(WM_RBUTTONUP));
  HWND menu = WaitForPopupMenu(guard_.process().pid());
  ASSERT_NE(menu, nullptr) << LastError();
  ASSERT_TRUE(ChoosePopupMenuItem(menu, 2)) << LastError();  // "Close "
  const auto exit_code = guard_.process().WaitForExit();
  ASSERT_TRUE(exit_code.has_value()) << "the guard kept running";
  EXPECT_EQ(*exit_code, 0u);
  EXPECT_FALSE(guard_.IconShown());
}

TEST_F(LifeCycleTest, RestoreApplicationInTheTrayMenuShowsTheWindow) {
  ASSERT_TRUE(Post(guard_.window(), WM_CLOSE));
  ASSERT_TRUE(WaitUntil([this] { return !IsShown(guard_.window()); }));
  ASSERT_TRUE(guard_.TrayMouse(WM_RBUTTONUP));
  HWND menu = WaitForPopupMenu(guard_.process().pid());
  ASSERT_NE(menu, nullptr) << LastError();
  ASSERT_TRUE(ChoosePopupMenuItem(menu, 1)) << LastError();  // "Restore Application"
  EXPECT_TRUE(WaitUntil([this] { return IsShown(guard_.window()); }));
}

TEST_F(LifeCycleTest, AutostartValueFollowsTheExecutable) {
  const auto value = RunValue();
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(Lower(*value), Lower(ToWindowsPath(exe_)));

  // Moved into a folder with a blank in its name: the next start records the new path, quoted.
  char temp[MAX_PATH] = {};
  ASSERT_NE(::GetTempPathA(sizeof temp, temp), 0u);
  const std::string folder = std::string(temp) + "Velmora Moved";
  const std::string moved = folder + "\\velmora.exe";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileA(ToWindowsPath(exe_).c_str(), moved.c_str(), FALSE));
  guard_.process().Stop();
  Guard moved_guard;
  ASSERT_TRUE(moved_guard.Start(moved)) << LastError();
  EXPECT_EQ(Lower(RunValue().value_or("")), Lower("\"" + moved + "\""));
  moved_guard.process().Stop();
  ::DeleteFileA(moved.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

// Denies setting values on the Run key for as long as it lives, then puts the key's own
// security back.
class DeniedRunKey {
 public:
  DeniedRunKey() {
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, READ_CONTROL | WRITE_DAC, &key_) !=
        ERROR_SUCCESS) {
      return;
    }
    DWORD size = 0;
    ::RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
    original_.resize(size);
    if (::RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data(), &size) !=
        ERROR_SUCCESS) {
      return;
    }
    PSECURITY_DESCRIPTOR denied = nullptr;
    // Everyone: setting values denied, all else allowed.
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &denied, nullptr)) {
      return;
    }
    applied_ = ::RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, denied) == ERROR_SUCCESS;
    ::LocalFree(denied);
  }
  ~DeniedRunKey() {
    if (applied_) ::RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data());
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  DeniedRunKey(const DeniedRunKey&) = delete;
  DeniedRunKey& operator=(const DeniedRunKey&) = delete;

  bool applied() const { return applied_; }
  // Whether the platform enforces it: a full-access open must now fail.
  static bool Enforced() {
    HKEY probe_key = nullptr;
    const LONG result = ::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &probe_key);
    if (probe_key != nullptr) ::RegCloseKey(probe_key);
    return result == ERROR_ACCESS_DENIED;
  }

 private:
  HKEY key_ = nullptr;
  std::vector<BYTE> original_;
  bool applied_ = false;
};

TEST(LifeCycleFailureTest, UnwritableAutostartShowsItsErrorAndTheWindowStillComesUp) {
  const std::string exe = GetEnv("VELMORA_EXE");
  ASSERT_FALSE(exe.empty());
  DeniedRunKey denied;
  ASSERT_TRUE(denied.applied());
  if (!DeniedRunKey::Enforced()) GTEST_SKIP() << "this Wine does not enforce registry security";
  Process guard;
  ASSERT_TRUE(guard.Start(exe)) << LastError();
  HWND box = guard.WaitForWindow({"#32770", ""});
  ASSERT_NE(box, nullptr) << LastError();
  std::string texts;
  EXPECT_TRUE(WaitForMessageBoxText(box, "Failed to set data for 'Velmora Protection'", texts))
      << "the message box says " << texts;
  ASSERT_TRUE(Post(box, WM_COMMAND, IDOK));
  HWND window = guard.WaitForWindow({"TFrmain", ""});
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(WaitUntil([window] { return IsShown(window); }));
}

}  // namespace
}  // namespace velmora::probe
