// The probe library against the mini app: each helper does what the guard's end-to-end tests
// will rely on, across processes, under the session's display.

#include "probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menu_items.h"

namespace velmora::probe {
namespace {

constexpr char kMainClass[] = "VelmoraMiniApp";
constexpr char kMainCaption[] = "Velmora mini app";
constexpr char kMessageClass[] = "VelmoraMiniAppMessages";
// The mini app's tray-style callback; lParam says which mouse message happened.
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr uint32_t kBackground = 0x2080C0;

std::string MiniAppPath() { return GetEnv("VELMORA_MINI_APP"); }

// One running mini app with its main window and status label, stopped after each test.
class MiniAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(MiniAppPath().empty()) << "VELMORA_MINI_APP is not set";
    ASSERT_TRUE(app_.Start(MiniAppPath())) << LastError();
    main_ = app_.WaitForWindow({kMainClass, ""});
    ASSERT_NE(main_, nullptr) << LastError();
    // The main window is listed as soon as it exists, before its WM_CREATE made the controls.
    status_ = WaitForControl(main_, "status");
    ASSERT_NE(status_, nullptr) << LastError();
    ASSERT_TRUE(WaitForWindowText(status_, "idle")) << LastError();
  }

  Process app_;
  HWND main_ = nullptr;
  HWND status_ = nullptr;
};

TEST(PathTest, UnixPathsMapToTheirDrive) {
  EXPECT_EQ(ToWindowsPath("/tmp/some dir/x.exe"), "Z:\\tmp\\some dir\\x.exe");
  EXPECT_EQ(ToWindowsPath("C:\\windows\\notepad.exe"), "C:\\windows\\notepad.exe");
  EXPECT_EQ(ToUnixPath("Z:\\tmp\\x"), "/tmp/x");
}

TEST(ProcessTest, StartFailsForAMissingProgram) {
  Process process;
  EXPECT_FALSE(process.Start("/nonexistent/velmora-missing.exe"));
  EXPECT_NE(LastError().find("CreateProcess"), std::string::npos) << LastError();
  EXPECT_FALSE(process.running());
}

TEST(ProcessTest, DestructorEndsTheProgram) {
  DWORD pid = 0;
  {
    Process process;
    ASSERT_TRUE(process.Start(MiniAppPath())) << LastError();
    ASSERT_NE(process.WaitForWindow({kMainClass, ""}), nullptr) << LastError();
    pid = process.pid();
  }
  UniqueHandle gone(OpenProcess(SYNCHRONIZE, FALSE, pid));
  // Either the pid is already unknown or it names a process that has ended.
  if (gone) {
    EXPECT_EQ(WaitForSingleObject(gone.get(), 0), WAIT_OBJECT_0);
  }
  EXPECT_TRUE(TopLevelWindows(pid).empty());
}

TEST_F(MiniAppTest, FindsMainWindowByClassCaptionOrBoth) {
  const WindowMatch matches[] = {{kMainClass, ""}, {"", kMainCaption}, {kMainClass, kMainCaption}};
  for (const WindowMatch& match : matches) {
    EXPECT_EQ(FindTopLevelWindow(app_.pid(), match), main_)
        << "class='" << match.class_name << "' caption='" << match.caption << "'";
  }
  EXPECT_EQ(FindTopLevelWindow(app_.pid(), {kMainClass, "Another caption"}), nullptr);
}

TEST_F(MiniAppTest, WaitForWindowGivesUpAtItsDeadline) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(app_.WaitForWindow({"NoSuchClass", ""}, Duration{300}), nullptr);
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_NE(LastError().find("NoSuchClass"), std::string::npos) << LastError();
}

TEST_F(MiniAppTest, TopLevelWindowsIncludeHiddenOnes) {
  HWND hidden = FindTopLevelWindow(app_.pid(), {kMessageClass, ""});
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsShown(hidden));
  const std::vector<HWND> all = TopLevelWindows(app_.pid());
  EXPECT_NE(std::find(all.begin(), all.end(), hidden), all.end());
  EXPECT_NE(std::find(all.begin(), all.end(), main_), all.end());
}

TEST_F(MiniAppTest, StopEndsTheProgramAndItsWindows) {
  app_.Stop();
  EXPECT_FALSE(app_.running());
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(main_); }));
}

TEST_F(MiniAppTest, FindsControlsByTheirName) {
  const struct {
    const char* name;
    const char* class_name;
  } cases[] = {{"status", "Static"}, {"hidden_note", "Static"}, {"volumes", "SysListView32"}};
  for (const auto& c : cases) {
    HWND control = FindControl(main_, c.name);
    ASSERT_NE(control, nullptr) << c.name << ": " << LastError();
    EXPECT_EQ(ControlName(control), c.name);
    // Window class names compare without regard to case.
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, WindowClassName(control).c_str(),
                             -1, c.class_name, -1),
              CSTR_EQUAL)
        << c.name << " is a " << WindowClassName(control);
  }
  EXPECT_EQ(FindControl(main_, "no_such_control"), nullptr);
  EXPECT_EQ(ControlName(main_), "");
}

TEST_F(MiniAppTest, ReadsTextsAndBothVisibilities) {
  HWND note = FindControl(main_, "hidden_note");
  ASSERT_NE(note, nullptr) << LastError();
  EXPECT_EQ(WindowText(note), "secret");
  EXPECT_FALSE(IsShown(note));
  EXPECT_FALSE(HasVisibleStyle(note));
  EXPECT_TRUE(IsShown(status_));
  EXPECT_TRUE(HasVisibleStyle(status_));

  // A hidden parent hides the label without touching the label's own style.
  ShowWindowAsync(main_, SW_HIDE);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(main_); }));
  EXPECT_FALSE(IsShown(status_));
  EXPECT_TRUE(HasVisibleStyle(status_));
}

TEST_F(MiniAppTest, SendAndPostReachTheProgram) {
  const char text[] = "sent text";
  // WM_SETTEXT's string is copied across by the system.
  EXPECT_EQ(Send(status_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)), TRUE);
  EXPECT_EQ(WindowText(status_), "sent text");

  ASSERT_TRUE(Post(main_, WM_COMMAND, 103));
  EXPECT_TRUE(WaitForWindowText(status_, "command third")) << LastError();
}

TEST_F(MiniAppTest, MessagesToAMissingWindowFail) {
  HWND gone = main_;
  app_.Stop();
  EXPECT_FALSE(Send(gone, WM_NULL).has_value());
  EXPECT_FALSE(Post(gone, WM_NULL));
  EXPECT_FALSE(WindowText(gone).has_value());
}

TEST_F(MiniAppTest, ReadsListViewItemsAndCheckBoxes) {
  HWND list = FindControl(main_, "volumes");
  ASSERT_NE(list, nullptr) << LastError();
  EXPECT_EQ(ListViewItemCount(list), 3);
  EXPECT_EQ(ListViewColumnCount(list), 2);
  const std::vector<std::vector<std::string>> expected = {
      {"alpha", "first kind"}, {"beta", "second kind"}, {"gamma", "third kind"}};
  EXPECT_EQ(ListViewRows(list), expected) << LastError();
  const bool checked[] = {true, false, true};
  for (int item = 0; item < 3; ++item) {
    EXPECT_EQ(ListViewItemChecked(list, item), checked[item]) << "item " << item;
  }
}

TEST_F(MiniAppTest, ChoosesPopupMenuItemsByPosition) {
  // The menu is First, a separator, Second, Third.
  const struct {
    int index;
    const char* status;
  } cases[] = {{0, "command first"}, {1, "command second"}, {2, "command third"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(Post(main_, kTrayCallback, 0, WM_RBUTTONUP));
    HWND popup = WaitForPopupMenu(app_.pid());
    ASSERT_NE(popup, nullptr) << LastError();
    ASSERT_TRUE(ChoosePopupMenuItem(popup, c.index)) << LastError();
    EXPECT_TRUE(WaitForWindowText(status_, c.status)) << "index " << c.index << ": " << LastError();
  }
}

TEST_F(MiniAppTest, ChoosesPopupMenuItemsByMnemonic) {
  ASSERT_TRUE(Post(main_, kTrayCallback, 0, WM_RBUTTONUP));
  HWND popup = WaitForPopupMenu(app_.pid());
  ASSERT_NE(popup, nullptr) << LastError();
  ASSERT_TRUE(ChoosePopupMenuItemByKey(popup, 's')) << LastError();
  EXPECT_TRUE(WaitForWindowText(status_, "command second")) << LastError();
}

TEST_F(MiniAppTest, ReadsPopupMenuItemsOfTheOpenMenu) {
  ASSERT_TRUE(Post(main_, kTrayCallback, 0, WM_RBUTTONUP));
  HWND popup = WaitForPopupMenu(app_.pid());
  ASSERT_NE(popup, nullptr) << LastError();
  const char* const captions[] = {"&First", "", "&Second", "&Third"};  // a separator second
  for (int index = 0; index < 4; ++index) {
    const auto item = ReadPopupMenuItem(popup, index);
    ASSERT_TRUE(item.has_value()) << index << ": " << LastError();
    EXPECT_EQ(item->caption, captions[index]) << index;
    EXPECT_EQ(item->bitmap, nullptr) << index;
  }
  EXPECT_FALSE(ReadPopupMenuItem(popup, 4).has_value());
  EXPECT_NE(LastError().find("no item 4"), std::string::npos) << LastError();
  ASSERT_TRUE(ChoosePopupMenuItemByKey(popup, 't')) << LastError();
  EXPECT_TRUE(WaitForWindowText(status_, "command third")) << LastError();
}

// A folder of our own, plugged in as a removable drive while the test runs.
class VolumeTest : public MiniAppTest {
 protected:
  void SetUp() override {
    MiniAppTest::SetUp();
    char temp[MAX_PATH] = "";
    ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
    folder_ = std::string(temp) + "velmora-volume-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    unix_folder_ = ToUnixPath(folder_);
    ASSERT_FALSE(unix_folder_.empty()) << LastError();
  }
  void TearDown() override {
    volume_.Unplug();
    DeleteFileA((folder_ + "\\.windows-label").c_str());
    DeleteFileA((folder_ + "\\inside.txt").c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  std::string folder_;
  std::string unix_folder_;
  PluggedVolume volume_;
};

TEST_F(VolumeTest, PlugAndUnplugReachTheProgram) {
  ASSERT_TRUE(volume_.Plug('R', unix_folder_, "VELSTICK")) << LastError();
  EXPECT_TRUE(WaitForWindowText(status_, "arrived R:\\ label=VELSTICK type=removable"))
      << LastError();
  EXPECT_EQ(GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
  // The drive shows the folder's files.
  UniqueHandle file(CreateFileA((folder_ + "\\inside.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  file.reset();
  EXPECT_NE(GetFileAttributesA("R:\\inside.txt"), INVALID_FILE_ATTRIBUTES);

  ASSERT_TRUE(volume_.Unplug()) << LastError();
  EXPECT_TRUE(WaitForWindowText(status_, "removed R:\\")) << LastError();
  EXPECT_EQ(GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
}

TEST(VolumeErrorsTest, RejectsBadLettersAndRelativeFolders) {
  EXPECT_FALSE(DefineUnixDrive('1', "/tmp", DRIVE_REMOVABLE));
  EXPECT_FALSE(DefineUnixDrive('R', "relative/dir", DRIVE_REMOVABLE));
  EXPECT_FALSE(BroadcastVolumeChange('r', true));
}

TEST_F(MiniAppTest, ScreenshotShowsTheWindow) {
  // A point of the client area that no control covers.
  POINT inside{330, 120};
  ASSERT_TRUE(ClientToScreen(main_, &inside));
  EXPECT_EQ(ScreenPixel(inside.x, inside.y), kBackground) << LastError();

  const auto path = SaveScreenshot(main_, "probe_mini_app");
  ASSERT_TRUE(path.has_value()) << LastError();
  const auto image = ReadPng(*path);
  ASSERT_TRUE(image.has_value()) << LastError();
  RECT frame{};
  ASSERT_TRUE(GetWindowRect(main_, &frame));
  EXPECT_EQ(image->width, frame.right - frame.left);
  EXPECT_EQ(image->height, frame.bottom - frame.top);
  EXPECT_EQ(image->At(inside.x - frame.left, inside.y - frame.top), kBackground);
}

TEST(ScreenshotErrorsTest, NeedsAFolderAndAnArea) {
  EXPECT_FALSE(CaptureScreen(RECT{10, 10, 10, 40}).has_value());
  const std::string saved = GetEnv("VELMORA_SCREENSHOT_DIR");
  SetEnvironmentVariableA("VELMORA_SCREENSHOT_DIR", nullptr);
  EXPECT_FALSE(SaveScreenshot(GetDesktopWindow(), "unused").has_value());
  EXPECT_NE(LastError().find("VELMORA_SCREENSHOT_DIR"), std::string::npos);
  SetEnvironmentVariableA("VELMORA_SCREENSHOT_DIR", saved.c_str());
}

}  // namespace
}  // namespace velmora::probe
