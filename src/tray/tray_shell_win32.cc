#include "tray/tray_shell_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "ui/image_list.h"
#include "ui/win32/backend_win32.h"
#include "ui/win32/peers_win32.h"

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
  WNDCLASSA wc{};
  if (!::GetClassInfoA(instance_, kUtilityWindowClass, &wc)) {
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kUtilityWindowClass;
    ::RegisterClassA(&wc);
  }
  taskbar_created_ = ::RegisterWindowMessageA("TaskbarCreated");
  client_ = &client;
  HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, kUtilityWindowClass, "", WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance_, this);
  return reinterpret_cast<WindowHandle>(window);
}

void Win32TrayShell::DestroyUtilityWindow(WindowHandle window) {
  if (window == 0) return;
  ::SetWindowLongPtrA(ToWindow(window), GWLP_USERDATA, 0);
  ::DestroyWindow(ToWindow(window));
  client_ = nullptr;
}

LRESULT CALLBACK Win32TrayShell::WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(l);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* shell = reinterpret_cast<Win32TrayShell*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (shell == nullptr || shell->client_ == nullptr || message == WM_NCCREATE ||
      message == WM_CREATE || message == WM_NCDESTROY) {
    return ::DefWindowProcA(hwnd, message, w, l);
  }
  TrayMessage tray_message{message, w, l, 0};
  shell->app_.Guard([&] {
    if (message == shell->taskbar_created_) {
      shell->client_->ShellRestarted();
    } else if (message == WM_TIMER && w == kAnimateTimerId) {
      shell->client_->AnimateTick();
    } else {
      shell->client_->TrayWndProc(tray_message);
    }
  });
  return tray_message.result;
}

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

void Win32TrayShell::DestroyIcon(IconHandle icon) { ::DestroyIcon(ToIcon(icon)); }

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
