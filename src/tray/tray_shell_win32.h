#ifndef VELMORA_TRAY_TRAY_SHELL_WIN32_H_
#define VELMORA_TRAY_TRAY_SHELL_WIN32_H_

#include <windows.h>

#include "platform/unique_handle_win32.h"
#include "tray/tray_shell.h"
#include "ui/application.h"
#include "ui/win32/window_procedure_win32.h"

namespace velmora::tray {

// The tray's shell on Windows: a hidden top-level utility window (top-level, so that it hears
// the shell's "TaskbarCreated" broadcast), Shell_NotifyIconA with the first ANSI record, and
// the main window standing for the application's window.
class Win32TrayShell : public TrayShell, public ui::win32::MessageTarget {
 public:
  // The application's main window stands for the application's window and the owner's.
  Win32TrayShell(HINSTANCE instance, ui::Application& app) : instance_(instance), app_(app) {}

  WindowHandle CreateUtilityWindow(TrayWindowClient& client) override;
  void DestroyUtilityWindow(WindowHandle window) override;
  std::uint32_t RegisterMessage(const std::string& name) override;
  std::intptr_t DefaultWindowProc(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                                  std::intptr_t lparam) override;
  bool NotifyIcon(NotifyCommand command, const NotifyIconRecord& record) override;
  bool PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                   std::intptr_t lparam) override;
  ui::Point CursorPosition() override;
  std::intptr_t SendToOwner(std::uint32_t msg, std::uintptr_t wparam,
                            std::intptr_t lparam) override;
  void HideApplicationWindow() override;
  void RestoreApplicationWindow() override;
  void BringApplicationToFront() override;
  IconHandle ApplicationIcon() override;
  IconHandle CopyIcon(IconHandle icon) override;
  void DestroyIcon(IconHandle icon) override;
  IconHandle IconFromImageList(const ui::ImageList& images, int index) override;
  void StartTimer(WindowHandle window, int interval_ms) override;
  void StopTimer(WindowHandle window) override;

  ui::Application& app() const override { return app_; }

 private:
  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) override;
  void OnWindowGone() override;
  HWND MainWindow() const;

  HINSTANCE instance_;
  ui::Application& app_;
  UINT taskbar_created_ = 0;
  TrayWindowClient* client_ = nullptr;
  platform::UniqueWindow utility_window_;
};

}  // namespace velmora::tray

#endif  // VELMORA_TRAY_TRAY_SHELL_WIN32_H_
