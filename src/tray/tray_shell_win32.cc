#include "tray/tray_shell_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "ui/image_list.h"
#include "ui/win32/backend_win32.h"
#include "ui/win32/peers_win32.h"
#include "ui/win32/window_class_win32.h"

namespace velmora::tray {
namespace {

constexpr char kUtilityWindowClass[] = "TTrayIconWindow";
constexpr UINT_PTR kAnimateTimerId = 1;

#if defined(__i386__)
// The record the shell of every Windows version understands; its 32-bit layout is 88 bytes.
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first notify-icon record must be 88 bytes");
#endif

HWND ToWindow(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }
HICON ToIcon(IconHandle handle) { return reinterpret_cast<HICON>(handle); }
IconHandle FromIcon(HICON icon) { return reinterpret_cast<IconHandle>(icon); }

}  // namespace

HWND Win32TrayShell::MainWindow() const {
  return app_.main_form() != nullptr ? ui::WindowOf(*app_.main_form()) : nullptr;
}

WindowHandle Win32TrayShell::CreateUtilityWindow(TrayWindowClient& client) {
  ui::win32::RegisterWindowClass(instance_, {kUtilityWindowClass, 0});
  taskbar_created_ = ::RegisterWindowMessageA("TaskbarCreated");
  client_ = &client;
  utility_window_.reset(::CreateWindowExA(WS_EX_TOOLWINDOW, kUtilityWindowClass, "", WS_POPUP, 0, 0,
                                          0, 0, nullptr, nullptr, instance_,
                                          static_cast<ui::win32::MessageTarget*>(this)));
  return reinterpret_cast<WindowHandle>(utility_window_.get());
}

void Win32TrayShell::DestroyUtilityWindow(WindowHandle window) {
  if (window == 0 || ToWindow(window) != utility_window_.get()) return;
  ui::win32::UnbindWindow(utility_window_.get());
  utility_window_.reset();
  client_ = nullptr;
}

LRESULT Win32TrayShell::OnMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (client_ == nullptr || message == WM_NCCREATE || message == WM_CREATE) {
    return ::DefWindowProcA(hwnd, message, w, l);
  }
  if (message == taskbar_created_) {
    client_->ShellRestarted();
    return 0;
  }
  if (message == WM_TIMER && w == kAnimateTimerId) {
    client_->AnimateTick();
    return 0;
  }
  TrayMessage tray_message{message, w, l, 0};
  client_->TrayWndProc(tray_message);
  return tray_message.result;
}

void Win32TrayShell::OnWindowGone() { utility_window_.release(); }

std::uint32_t Win32TrayShell::RegisterMessage(const std::string& name) {
  return ::RegisterWindowMessageA(name.c_str());
}

std::intptr_t Win32TrayShell::DefaultWindowProc(WindowHandle window, std::uint32_t msg,
                                                std::uintptr_t wparam, std::intptr_t lparam) {
  return ::DefWindowProcA(ToWindow(window), msg, wparam, lparam);
}

bool Win32TrayShell::NotifyIcon(NotifyCommand command, const NotifyIconRecord& record) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = ToWindow(record.window);
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callback_message;
  data.hIcon = ToIcon(record.icon);
  static_assert(sizeof data.szTip >= sizeof record.tip, "tip field too small");
  std::memcpy(data.szTip, record.tip, sizeof record.tip);
  return ::Shell_NotifyIconA(static_cast<DWORD>(command), &data) != FALSE;
}

bool Win32TrayShell::PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                                 std::intptr_t lparam) {
  return ::PostMessageA(ToWindow(window), msg, wparam, lparam) != FALSE;
}

ui::Point Win32TrayShell::CursorPosition() {
  POINT at{};
  ::GetCursorPos(&at);
  return {at.x, at.y};
}

std::intptr_t Win32TrayShell::SendToOwner(std::uint32_t msg, std::uintptr_t wparam,
                                          std::intptr_t lparam) {
  HWND main = MainWindow();
  return main != nullptr ? ::SendMessageA(main, msg, wparam, lparam) : 0;
}

void Win32TrayShell::HideApplicationWindow() {
  if (HWND main = MainWindow()) ::ShowWindow(main, SW_HIDE);
}

void Win32TrayShell::RestoreApplicationWindow() {
  // The main window is the application's window here: restoring it from a minimise is all
  // that is left to do, as showing it again is the form's own business.
  HWND main = MainWindow();
  if (main != nullptr && ::IsIconic(main)) ::ShowWindow(main, SW_RESTORE);
}

void Win32TrayShell::BringApplicationToFront() {
  if (HWND main = MainWindow()) ::SetForegroundWindow(main);
}

IconHandle Win32TrayShell::ApplicationIcon() {
  return FromIcon(static_cast<HICON>(::LoadImageA(instance_, "MAINICON", IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXSMICON),
                                                  ::GetSystemMetrics(SM_CYSMICON), 0)));
}

IconHandle Win32TrayShell::CopyIcon(IconHandle icon) { return FromIcon(::CopyIcon(ToIcon(icon))); }

// The portable side owns its icons (OwnedIcon); this is their release.
void Win32TrayShell::DestroyIcon(IconHandle icon) { platform::IconTraits::Close(ToIcon(icon)); }

IconHandle Win32TrayShell::IconFromImageList(const ui::ImageList& images, int index) {
  HIMAGELIST native = ui::win32::NativeImageList(&images);
  return native != nullptr ? FromIcon(::ImageList_GetIcon(native, index, ILD_NORMAL)) : 0;
}

void Win32TrayShell::StartTimer(WindowHandle window, int interval_ms) {
  ::SetTimer(ToWindow(window), kAnimateTimerId, static_cast<UINT>(interval_ms), nullptr);
}

void Win32TrayShell::StopTimer(WindowHandle window) {
  ::KillTimer(ToWindow(window), kAnimateTimerId);
}

}  // namespace velmora::tray
