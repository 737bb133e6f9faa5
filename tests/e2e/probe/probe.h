// Helpers for end-to-end tests that drive a real Windows program from another process: start
// and stop it, find its windows and named controls, read texts and list views, post and send
// messages, pick popup menu items, plug in volumes and take screenshots.
//
// Failures are reported by the return value (false, nullptr, std::nullopt); LastError() then
// says what went wrong, for the assertion message.

#ifndef VELMORA_TESTS_E2E_PROBE_PROBE_H_
#define VELMORA_TESTS_E2E_PROBE_PROBE_H_

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::probe {

using Duration = std::chrono::milliseconds;
// Long enough for a cold Wine process start, short enough to fail a hung test quickly.
inline constexpr Duration kDefaultTimeout{10000};

// What the last failing probe call on this thread reported.
const std::string& LastError();

// Polls `done` every `interval` until it returns true or `timeout` passes; returns the last
// result. Use instead of fixed sleeps.
template <typename Predicate>
bool WaitUntil(Predicate done, Duration timeout = kDefaultTimeout,
               Duration interval = Duration{20}) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(static_cast<DWORD>(interval.count()));
  }
}

// Value of an environment variable; empty when unset.
std::string GetEnv(const char* name);
// Turns a Unix path (what CMake hands over) into one this process can open; Windows paths come
// back unchanged.
std::string ToWindowsPath(const std::string& path);
// The Unix path behind a Windows one (what Wine's mount manager wants); empty if none.
std::string ToUnixPath(const std::string& windows_path);

// Owns a kernel handle; closes it once. Move-only.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept;
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  // Both "no handle" spellings of the Win32 API count as empty.
  explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release();
  void reset(HANDLE handle = nullptr);

 private:
  HANDLE handle_ = nullptr;
};

// Which window to look for; an empty field matches anything.
struct WindowMatch {
  std::string class_name;
  std::string caption;
};

// A program under test. Stopped (terminated) when this object goes away.
class Process {
 public:
  Process() = default;
  ~Process() { Stop(); }
  Process(Process&&) noexcept = default;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts `path` (Unix or Windows) with the command-line tail `args`.
  bool Start(const std::string& path, const std::string& args = "");
  // Waits for a top-level window of this process, shown or hidden; nullptr on timeout.
  HWND WaitForWindow(const WindowMatch& match, Duration timeout = kDefaultTimeout) const;
  // Waits for the program to end by itself; its exit code, or nullopt on timeout.
  std::optional<DWORD> WaitForExit(Duration timeout = kDefaultTimeout);
  // Terminates the program if it still runs and waits until it is gone.
  void Stop();

  bool running() const;
  DWORD pid() const { return pid_; }
  HANDLE handle() const { return process_.get(); }

 private:
  UniqueHandle process_;
  DWORD pid_ = 0;
};

// Windows and controls.
std::vector<HWND> TopLevelWindows(DWORD pid);  // shown and hidden
HWND FindTopLevelWindow(DWORD pid, const WindowMatch& match);
HWND WaitForTopLevelWindow(DWORD pid, const WindowMatch& match, Duration timeout = kDefaultTimeout);
std::vector<HWND> DescendantWindows(HWND root);  // children, grandchildren, ...
std::string WindowClassName(HWND window);
// The name the program gave a control (its "VelmoraName" atom); empty if it has none.
std::string ControlName(HWND window);
HWND FindControl(HWND root, const std::string& name);
HWND WaitForControl(HWND root, const std::string& name, Duration timeout = kDefaultTimeout);

// Texts and visibility. WindowText asks the window itself (WM_GETTEXT), so it sees what the
// program set even for controls that store their text privately.
std::optional<std::string> WindowText(HWND window, Duration timeout = kDefaultTimeout);
// Polls until the text equals `expected`; false (with the last text in LastError) on timeout.
bool WaitForWindowText(HWND window, const std::string& expected,
                       Duration timeout = kDefaultTimeout);
bool IsShown(HWND window);          // the window and all its parents are visible
bool HasVisibleStyle(HWND window);  // its own WS_VISIBLE bit

// Messages.
bool Post(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0,
                            Duration timeout = kDefaultTimeout);
// A left click at a point of the screen, as the mouse makes it: the window that is there
// gets it, wherever the program thinks it is.
bool ClickScreen(POINT at);

// List views of another process.
std::optional<int> ListViewItemCount(HWND list);
std::optional<int> ListViewColumnCount(HWND list);
std::optional<std::string> ListViewItemText(HWND list, int item, int sub_item = 0);
// Whether the item's check box is ticked (state image 2); nullopt if it has no check box.
std::optional<bool> ListViewItemChecked(HWND list, int item);
// All items, each as its column texts in order.
std::optional<std::vector<std::vector<std::string>>> ListViewRows(HWND list);
// The item's picture index in the list's image list (-1: none).
std::optional<int> ListViewItemImage(HWND list, int item);
// Toggles the item's check box as a user does, by a click on the box.
bool ClickListViewCheckBox(HWND list, int item);
// The item's bounds in the list's client coordinates.
std::optional<RECT> ListViewItemRect(HWND list, int item);
// The selected item's index; -1 when none is selected.
std::optional<int> ListViewSelectedItem(HWND list);
// Clicks the item's caption as a user does. A left click selects it and returns once the list
// has; a right click selects it too and is posted, since it may open a menu that waits.
bool ClickListViewItem(HWND list, int item, bool right_button = false);
// Edits the item's caption in place as a user does: starts the edit, types `text` into the
// edit box and presses Enter.
bool EditListViewCaption(HWND list, int item, const std::string& text);
// The same without pressing Enter: the edit box stays open; nullptr if it never opened.
HWND StartListViewCaptionEdit(HWND list, int item, const std::string& text);

// Tree views of another process: every node, parents before their children.
struct TreeViewNode {
  std::string text;
  int depth = 0;  // 0: a top-level node
  int image = -1;
  int selected_image = -1;
  bool expanded = false;
};
std::optional<std::vector<TreeViewNode>> TreeViewNodes(HWND tree);

// A track bar's thumb, in the bar's client coordinates.
std::optional<RECT> TrackBarThumbRect(HWND bar);

// Popup menus (window class "#32768") that a program opened with TrackPopupMenu.
HWND WaitForPopupMenu(DWORD pid, Duration timeout = kDefaultTimeout);
// Chooses the item at `index` of an open popup menu, counting from 0 and skipping separators
// (keyboard navigation steps over them; disabled items still count). Returns once the menu
// has closed.
bool ChoosePopupMenuItem(HWND popup, int index, Duration timeout = kDefaultTimeout);
// Chooses the item whose mnemonic (the letter after '&') is `key`.
bool ChoosePopupMenuItemByKey(HWND popup, char key, Duration timeout = kDefaultTimeout);

// Notification-area icons of the window `owner` (icon id 0).
bool NotifyIconShown(HWND owner);
// What a restarting shell loses: the icon is gone without its owner being told.
bool RemoveNotifyIcon(HWND owner);

// Volumes: a Unix folder appears as a removable drive letter, as if a stick was plugged in.
// Every top-level window of this desktop is told about arrival and removal, as Windows does.
class PluggedVolume {
 public:
  PluggedVolume() = default;
  ~PluggedVolume() { Unplug(); }
  PluggedVolume(PluggedVolume&& other) noexcept;
  PluggedVolume& operator=(PluggedVolume&& other) noexcept;
  PluggedVolume(const PluggedVolume&) = delete;
  PluggedVolume& operator=(const PluggedVolume&) = delete;

  // Maps `letter` to `unix_folder` as a drive of `drive_type` (a DRIVE_* value), gives it
  // `label` and announces the arrival.
  bool Plug(char letter, const std::string& unix_folder, const std::string& label,
            UINT drive_type = DRIVE_REMOVABLE);
  // Removes the letter and announces the removal; does nothing if not plugged.
  bool Unplug();
  char letter() const { return letter_; }

 private:
  char letter_ = 0;
};

// The pieces PluggedVolume is made of, for tests that need them apart.
bool DefineUnixDrive(char letter, const std::string& unix_folder, UINT drive_type);
// A drive of `drive_type` with nothing in it, as an optical drive without a disc: the letter
// has its type and no folder. Wine still answers its volume query, with an empty label.
bool DefineDriveWithoutMedium(char letter, UINT drive_type);
bool UndefineDrive(char letter);
// Sends WM_DEVICECHANGE (DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE) for a volume.
bool BroadcastVolumeChange(char letter, bool arrived);

// Screen pictures: 32-bit pixels, top row first, each 0x00RRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Colour of one screen pixel, as 0x00RRGGBB.
std::optional<uint32_t> ScreenPixel(int x, int y);
std::optional<Image> CaptureScreen(const RECT& area);
// What the screen shows where the window is (its frame included).
std::optional<Image> CaptureWindow(HWND window);
bool WritePng(const Image& image, const std::string& path);
std::optional<Image> ReadPng(const std::string& path);
// Captures the window into <VELMORA_SCREENSHOT_DIR>/<name>.png; the path written, or nullopt.
std::optional<std::string> SaveScreenshot(HWND window, const std::string& name);

}  // namespace velmora::probe

#endif  // VELMORA_TESTS_E2E_PROBE_PROBE_H_
