#ifndef VELMORA_TRAY_TRAY_SHELL_H_
#define VELMORA_TRAY_TRAY_SHELL_H_

#include <cstdint>
#include <string>

#include "ui/geometry.h"

namespace velmora::ui {
class ImageList;
}

namespace velmora::tray {

using WindowHandle = std::uintptr_t;  // 0: none
using IconHandle = std::uintptr_t;    // 0: none

// The commands of the shell's notify-icon call.
enum class NotifyCommand : std::uint32_t { kAdd = 0, kModify = 1, kDelete = 2 };

// Flag bits of the notify-icon record.
inline constexpr std::uint32_t kNifMessage = 1;
inline constexpr std::uint32_t kNifIcon = 2;
inline constexpr std::uint32_t kNifTip = 4;

// The fields of the shell's first, ANSI notify-icon record; the platform side adds its size.
struct NotifyIconRecord {
  WindowHandle window = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callback_message = 0;
  IconHandle icon = 0;
  char tip[64] = {};
};

// One message of the utility window; its handler sets the result.
struct TrayMessage {
  std::uint32_t msg = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  std::intptr_t result = 0;
};

// Where the utility window's messages go.
class TrayWindowClient {
 public:
  virtual ~TrayWindowClient() = default;
  virtual void TrayWndProc(TrayMessage& message) = 0;
  virtual void AnimateTick() = 0;
  // The shell started again (Explorer restarted) and has forgotten every icon.
  virtual void ShellRestarted() = 0;
};

// What the tray icon needs of the platform's shell and window manager.
class TrayShell {
 public:
  virtual ~TrayShell() = default;

  // A hidden window whose messages go to the client until it is destroyed.
  virtual WindowHandle CreateUtilityWindow(TrayWindowClient& client) = 0;
  virtual void DestroyUtilityWindow(WindowHandle window) = 0;
  virtual std::uint32_t RegisterMessage(const std::string& name) = 0;
  // The platform's default answer to a message of the utility window.
  virtual std::intptr_t DefaultWindowProc(WindowHandle window, std::uint32_t msg,
                                          std::uintptr_t wparam, std::intptr_t lparam) = 0;
  virtual bool NotifyIcon(NotifyCommand command, const NotifyIconRecord& record) = 0;
  virtual bool PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam,
                           std::intptr_t lparam) = 0;
  virtual ui::Point CursorPosition() = 0;
  // Sends a message to the owner's window and returns its answer.
  virtual std::intptr_t SendToOwner(std::uint32_t msg, std::uintptr_t wparam,
                                    std::intptr_t lparam) = 0;

  // The application's window: hidden into the tray, restored from it, brought to the front.
  virtual void HideApplicationWindow() = 0;
  virtual void RestoreApplicationWindow() = 0;
  virtual void BringApplicationToFront() = 0;

  // Icons: every handle returned is the caller's to destroy.
  virtual IconHandle ApplicationIcon() = 0;
  virtual IconHandle CopyIcon(IconHandle icon) = 0;
  virtual void DestroyIcon(IconHandle icon) = 0;
  virtual IconHandle IconFromImageList(const ui::ImageList& images, int index) = 0;

  // The animation timer of the utility window.
  virtual void StartTimer(WindowHandle window, int interval_ms) = 0;
  virtual void StopTimer(WindowHandle window) = 0;
};

}  // namespace velmora::tray

#endif  // VELMORA_TRAY_TRAY_SHELL_H_
