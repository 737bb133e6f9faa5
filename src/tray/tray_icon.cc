#include "tray/tray_icon.h"

#include <cstring>

#include "ui/image_list.h"
#include "ui/popup_menu.h"

namespace velmora::tray {
namespace {

constexpr std::uint32_t kWmLButtonUp = 514;
constexpr std::uint32_t kWmLButtonDblClk = 515;
constexpr std::uint32_t kWmRButtonUp = 517;
constexpr std::uint32_t kWmQueryEndSession = 17;

bool Has(NotifyParts parts, NotifyPart part) {
  return (parts & static_cast<NotifyParts>(part)) != 0;
}

}  // namespace

void OwnedIcon::Assign(IconHandle icon) { Adopt(icon != 0 ? shell_.CopyIcon(icon) : 0); }

void OwnedIcon::Adopt(IconHandle icon) {
  Clear();
  handle_ = icon;
}

void OwnedIcon::Clear() {
  if (handle_ != 0) shell_.DestroyIcon(handle_);
  handle_ = 0;
}

TTrayIcon::TTrayIcon(ui::Application& app, void* owner, TrayShell& shell, bool designing)
    : app_(app),
      owner_(owner),
      shell_(shell),
      designing_(designing),
      icon_(shell),
      saved_icon_(shell) {
  window_handle_ = shell_.CreateUtilityWindow(*this);
  tray_callback_message_ = shell_.RegisterMessage("WM_TOOLTRAYICON");
  reset_tooltip_message_ = shell_.RegisterMessage("WM_RESETTOOLTIP");
  animate_interval_ = 100;
  if (!designing_) {
    OnDblClick = [this](TTrayIcon& sender) { DefaultDblClick(sender); };
    previous_on_minimize_ = app_.on_minimize;
    app_.on_minimize = [this](void* sender) { ApplicationMinimize(sender); };
  }
}

TTrayIcon::~TTrayIcon() {
  if ((!designing_ && active_) || (designing_ && show_designing_)) DeleteIcon();
  if (timer_enabled_) shell_.StopTimer(window_handle_);
  saved_icon_.Clear();
  icon_.Clear();
  shell_.DestroyUtilityWindow(window_handle_);
  // The application outlives this component; its minimise event must not call into it.
  if (!designing_) app_.on_minimize = previous_on_minimize_;
}

void TTrayIcon::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (designing_) return;
  if (value) {
    AddIcon();
    if (!app_hidden_ && minimize_app_) ApplicationMinimize(owner_);
  } else {
    DeleteIcon();
    if (app_hidden_) RestoreFromTray();
  }
}

void TTrayIcon::SetAnimate(bool value) {
  if (value && (images_ == nullptr || images_->count() == 0 || !active_)) return;
  animate_ = value;
  if (value) {
    saved_icon_.Assign(icon_.handle());
    frame_index_ = 0;
  }
  SyncTimer();
  if (!value) SetIcon(saved_icon_.handle());
}

void TTrayIcon::SyncTimer() {
  if (animate_ && !timer_enabled_) {
    shell_.StartTimer(window_handle_, animate_interval_);
  } else if (!animate_ && timer_enabled_) {
    shell_.StopTimer(window_handle_);
  }
  timer_enabled_ = animate_;
}

void TTrayIcon::SetAnimateInterval(int value) {
  if (value <= 0) return;
  animate_interval_ = value;
  if (timer_enabled_) shell_.StartTimer(window_handle_, animate_interval_);
}

void TTrayIcon::SetShowDesigning(bool value) {
  if (!designing_ || value == show_designing_) return;
  show_designing_ = value;
  if (value) {
    AddIcon();
  } else {
    DeleteIcon();
  }
}

void TTrayIcon::SetIcon(IconHandle icon) {
  // Writing the component's own icon back changes nothing.
  if (icon != 0 && icon == icon_.handle()) return;
  icon_.Assign(icon);
  ModifyIcon(static_cast<NotifyParts>(NotifyPart::kIcon));
}

void TTrayIcon::SetToolTip(const std::string& value) {
  tool_tip_ = value.substr(0, kMaxToolTip);
  ModifyIcon(NotifyPart::kIcon | NotifyPart::kTip);
}

void TTrayIcon::Notification(const ui::Component* component, ComponentOperation operation) {
  if (operation == ComponentOperation::kRemove && component != nullptr && component == images_) {
    SetAnimate(false);
    images_ = nullptr;
  }
}

void TTrayIcon::FillIconData(NotifyParts parts) {
  icon_data_.window = window_handle_;
  icon_data_.id = 0;
  icon_data_.flags = 0;
  if (Has(parts, NotifyPart::kMessage)) {
    icon_data_.flags |= kNifMessage;
    icon_data_.callback_message = tray_callback_message_;
  }
  if (Has(parts, NotifyPart::kIcon)) {
    icon_data_.flags |= kNifIcon;
    icon_data_.icon = icon_.handle();
  }
  if (Has(parts, NotifyPart::kTip)) {
    icon_data_.flags |= kNifTip;
    // At most 62 characters and the NUL: always fits the 64-byte field.
    std::memset(icon_data_.tip, 0, sizeof icon_data_.tip);
    std::memcpy(icon_data_.tip, tool_tip_.data(), tool_tip_.size());
  }
}

bool TTrayIcon::AddIcon() {
  if (icon_.empty()) {
    icon_.Adopt(shell_.ApplicationIcon());
    ModifyIcon(static_cast<NotifyParts>(NotifyPart::kIcon));
  }
  FillIconData(NotifyPart::kMessage | NotifyPart::kIcon | NotifyPart::kTip);
  const bool added = shell_.NotifyIcon(NotifyCommand::kAdd, icon_data_);
  if (tool_tip_.empty()) shell_.PostMessage(window_handle_, reset_tooltip_message_, 0, 0);
  return added;
}

bool TTrayIcon::ModifyIcon(NotifyParts parts) {
  if (!active_) return true;
  FillIconData(parts);
  return shell_.NotifyIcon(NotifyCommand::kModify, icon_data_);
}

bool TTrayIcon::DeleteIcon() { return shell_.NotifyIcon(NotifyCommand::kDelete, icon_data_); }

void TTrayIcon::TrayWndProc(TrayMessage& message) {
  message.result = 0;
  if (message.msg == reset_tooltip_message_) {
    SetToolTip(tool_tip_);
  } else if (message.msg == tray_callback_message_) {
    switch (message.lparam) {
      case kWmLButtonUp:
        DoClick();
        break;
      case kWmLButtonDblClk:
        DoDblClick();
        break;
      case kWmRButtonUp:
        DoRightClick();
        break;
      default:
        break;
    }
  } else if (message.msg == kWmQueryEndSession) {
    message.result = shell_.SendToOwner(message.msg, message.wparam, message.lparam);
  } else {
    message.result =
        shell_.DefaultWindowProc(window_handle_, message.msg, message.wparam, message.lparam);
  }
}

void TTrayIcon::ShellRestarted() {
  // A new shell has no icons; one that should show must be added again.
  if (active_) AddIcon();
}

void TTrayIcon::DoClick() {
  if (OnClick) OnClick(*this);
}

void TTrayIcon::DoDblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TTrayIcon::DoRightClick() {
  const ui::Point at = shell_.CursorPosition();
  if (popup_menu_ != nullptr) popup_menu_->Popup(at);
  if (OnRightClick) OnRightClick(*this, ui::MouseButton::kRight, ShiftState::kNone, at.x, at.y);
}

void TTrayIcon::AnimateTick() {
  if (images_ == nullptr) return;
  OwnedIcon frame(shell_);
  frame_index_ = frame_index_ == images_->count() - 1 ? 0 : frame_index_ + 1;
  frame.Adopt(shell_.IconFromImageList(*images_, frame_index_));
  SetIcon(frame.handle());
}

void TTrayIcon::ApplicationMinimize(void* sender) {
  if (previous_on_minimize_) previous_on_minimize_(sender);
  if (minimize_app_) MinimizeToTray();
}

void TTrayIcon::MinimizeToTray() {
  if (!app_hidden_) {
    if (ui::Form* main = app_.main_form()) {
      main->Hide();
    } else {
      app_.SetShowMainForm(false);
    }
    shell_.HideApplicationWindow();
    app_hidden_ = true;
  }
  active_ = true;
  AddIcon();
}

void TTrayIcon::RestoreFromTray() {
  active_ = false;
  DeleteIcon();
  if (app_hidden_) {
    shell_.RestoreApplicationWindow();
    // Without a main form there is nothing to show; the application window is back.
    if (ui::Form* main = app_.main_form()) main->Show();
    shell_.BringApplicationToFront();
    app_hidden_ = false;
  }
}

void TTrayIcon::DefaultDblClick(TTrayIcon& /*sender*/) { RestoreFromTray(); }

}  // namespace velmora::tray
