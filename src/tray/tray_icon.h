#ifndef VELMORA_TRAY_TRAY_ICON_H_
#define VELMORA_TRAY_TRAY_ICON_H_

#include <cstdint>
#include <functional>
#include <string>

#include "tray/tray_shell.h"
#include "ui/application.h"
#include "ui/image.h"

namespace velmora::ui {
class ImageList;
class PopupMenu;
class Component;
}  // namespace velmora::ui

namespace velmora::tray {

// An icon owned by the tray component: a copy is taken in, and freed with it.
class OwnedIcon {
 public:
  explicit OwnedIcon(TrayShell& shell) : shell_(shell) {}
  ~OwnedIcon() { Clear(); }
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;

  IconHandle handle() const { return handle_; }
  bool empty() const { return handle_ == 0; }
  // Takes a copy of the given icon (none empties it).
  void Assign(IconHandle icon);
  // Takes ownership of an icon made for it.
  void Adopt(IconHandle icon);
  void Clear();

 private:
  TrayShell& shell_;
  IconHandle handle_ = 0;
};

enum class ShiftState : std::uint8_t { kNone = 0 };

enum class NotifyPart : std::uint8_t { kMessage = 1, kIcon = 2, kTip = 4 };
using NotifyParts = std::uint8_t;
constexpr NotifyParts operator|(NotifyPart a, NotifyPart b) {
  return static_cast<NotifyParts>(static_cast<NotifyParts>(a) | static_cast<NotifyParts>(b));
}
constexpr NotifyParts operator|(NotifyParts a, NotifyPart b) {
  return static_cast<NotifyParts>(a | static_cast<NotifyParts>(b));
}

enum class ComponentOperation { kInsert, kRemove };

// One icon in the notification area: mouse actions on it become events; it can hide the
// application into the notification area and bring it back, animate itself from an image
// list, and hooks the application's minimise event.
class TTrayIcon : public TrayWindowClient {
 public:
  using NotifyEvent = std::function<void(TTrayIcon& sender)>;
  using MouseEvent = std::function<void(TTrayIcon& sender, ui::MouseButton button, ShiftState shift,
                                        int x, int y)>;

  static constexpr int kMaxToolTip = 62;

  // owner: the component's owner (the main window), the sender of minimise calls it makes.
  // designing: the owner is being designed in a form designer; never so in the program.
  TTrayIcon(ui::Application& app, void* owner, TrayShell& shell, bool designing = false);
  ~TTrayIcon() override;
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Stored properties.
  bool Active() const { return active_; }
  void SetActive(bool value);
  bool Animate() const { return animate_; }
  void SetAnimate(bool value);
  int AnimateInterval() const { return animate_interval_; }
  void SetAnimateInterval(int value);
  bool ShowDesigning() const { return show_designing_; }
  void SetShowDesigning(bool value);
  IconHandle Icon() const { return icon_.handle(); }
  void SetIcon(IconHandle icon);
  ui::ImageList* Images() const { return images_; }
  void SetImages(ui::ImageList* images) { images_ = images; }
  const std::string& ToolTip() const { return tool_tip_; }
  void SetToolTip(const std::string& value);
  bool MinimizeApp() const { return minimize_app_; }
  void SetMinimizeApp(bool value) { minimize_app_ = value; }
  ui::PopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(ui::PopupMenu* menu) { popup_menu_ = menu; }

  NotifyEvent OnClick;
  NotifyEvent OnDblClick;
  MouseEvent OnRightClick;

  // A component the tray refers to is going away.
  void Notification(const ui::Component* component, ComponentOperation operation);

  bool AddIcon();
  bool ModifyIcon(NotifyParts parts);
  bool DeleteIcon();
  void FillIconData(NotifyParts parts);

  void TrayWndProc(TrayMessage& message) override;
  void AnimateTick() override;
  void ShellRestarted() override;

  void DoClick();
  void DoDblClick();
  void DoRightClick();

  void ApplicationMinimize(void* sender);
  void MinimizeToTray();
  void RestoreFromTray();
  void DefaultDblClick(TTrayIcon& sender);

  // What the last notify-icon call was given, kept between calls.
  const NotifyIconRecord& IconData() const { return icon_data_; }
  IconHandle SavedIcon() const { return saved_icon_.handle(); }
  int FrameIndex() const { return frame_index_; }
  bool AppHidden() const { return app_hidden_; }
  WindowHandle WindowHandleOfTray() const { return window_handle_; }
  std::uint32_t TrayCallbackMessage() const { return tray_callback_message_; }
  std::uint32_t ResetTooltipMessage() const { return reset_tooltip_message_; }

 private:
  ui::Application& app_;
  void* owner_;
  TrayShell& shell_;
  bool designing_;

  NotifyIconRecord icon_data_;
  bool animate_ = false;
  bool active_ = false;
  bool show_designing_ = false;
  int animate_interval_ = 100;
  int frame_index_ = 0;
  OwnedIcon icon_;
  OwnedIcon saved_icon_;
  std::string tool_tip_;
  WindowHandle window_handle_ = 0;
  bool timer_enabled_ = false;
  ui::PopupMenu* popup_menu_ = nullptr;
  ui::ImageList* images_ = nullptr;
  bool minimize_app_ = false;
  ui::Application::MinimizeEvent previous_on_minimize_;
  bool app_hidden_ = false;
  std::uint32_t tray_callback_message_ = 0;
  std::uint32_t reset_tooltip_message_ = 0;

  void SyncTimer();
};

}  // namespace velmora::tray

#endif  // VELMORA_TRAY_TRAY_ICON_H_
