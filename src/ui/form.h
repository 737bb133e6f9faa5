#ifndef VELMORA_UI_FORM_H_
#define VELMORA_UI_FORM_H_

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/device_change.h"

namespace velmora::ui {

enum class WindowState { kNormal, kMinimized, kMaximized };

// What becomes of a form after a close request; its close handler may change it.
enum class CloseAction { kNone, kHide, kFree };

// A rounded-rectangle window shape in window coordinates, right and bottom exclusive.
struct RoundRectRegion {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int ellipse_width = 0;
  int ellipse_height = 0;
};

// What a form's peer does on request, beyond mirroring properties.
class FormCommands {
 public:
  virtual ~FormCommands() = default;
  // Starts the platform's window move, as if the caption bar were dragged.
  virtual void StartMove() = 0;
};

// A borderless top-level window and the components it owns, in creation order (later ones
// lie above earlier ones).
class Form : public Control {
 public:
  using Event = std::function<void(Form& sender)>;
  using CloseEvent = std::function<void(Form& sender, CloseAction& action)>;
  using DeviceChangeEvent = std::function<void(Form& sender, const DeviceChangeMessage& message)>;

  Form(std::string name, std::string class_name)
      : Control(ComponentKind::kForm, std::move(name), nullptr),
        class_name_(std::move(class_name)) {
    SetVisible(false);  // a form starts hidden; no peer or handler exists yet
  }

  // The platform window class; outside tools find the window by it.
  const std::string& class_name() const { return class_name_; }

  // Class style bits are fixed once the window exists, so these are set before realizing.
  bool drop_shadow() const { return drop_shadow_; }
  void SetDropShadow(bool on) { drop_shadow_ = on; }
  bool stay_on_top() const { return stay_on_top_; }
  void SetStayOnTop(bool on) { stay_on_top_ = on; }

  Color color() const { return color_; }
  void SetColor(Color color) { color_ = color; }

  WindowState window_state() const { return window_state_; }
  void SetWindowState(WindowState state) {
    window_state_ = state;
    Changed(Aspect::kWindowState);
  }

  // The user changed the state through the platform (taskbar, system menu); no echo.
  void UpdateWindowStateFromPlatform(WindowState state) { window_state_ = state; }

  const std::optional<RoundRectRegion>& region() const { return region_; }
  void SetRegion(const RoundRectRegion& region) {
    region_ = region;
    Changed(Aspect::kRegion);
  }

  void Show() { SetVisible(true); }
  void StartMove() {
    ++move_requests_;
    if (auto* p = dynamic_cast<FormCommands*>(peer())) p->StartMove();
  }
  // How often a move was asked for; kept for the headless backend's tests.
  int move_requests() const { return move_requests_; }
  void Hide() { SetVisible(false); }

  // While the form updates, it and its controls change state at once, but the platform is told
  // the form's caption and its controls' visibility only as the outermost update leaves them:
  // a long run that rewrites the caption per entry and switches status pictures back and forth
  // per directory (a scan does both) costs one change on screen per control, not one per
  // switch. Nothing paints in between anyway. Updates nest.
  void BeginUpdate() { ++update_depth_; }
  void EndUpdate();
  bool updating() const { return update_depth_ > 0; }

  template <typename T, typename... Args>
  T& Add(Args&&... args) {
    auto component = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *component;
    components_.push_back(std::move(component));
    return ref;
  }

  Component* Find(const std::string& name) const;

  template <typename T>
  T& Get(const std::string& name) const {
    T* found = dynamic_cast<T*>(Find(name));
    if (found == nullptr)
      throw std::logic_error("Component " + name + " not found on " + this->name());
    return *found;
  }

  const std::vector<std::unique_ptr<Component>>& components() const { return components_; }

  Event on_create;
  Event on_show;
  CloseEvent on_close;
  // The platform's device-change broadcast. A form with a handler keeps the message to itself:
  // it never reaches the platform's default processing.
  DeviceChangeEvent on_device_change;

  // Raised once the platform window exists; an exception escaping it is the caller's to show.
  void Created() {
    if (on_create) on_create(*this);
  }
  // A close request (the close command, Alt+F4, the taskbar): runs the close handler and
  // returns what should become of the form.
  CloseAction CloseRequested(CloseAction action) {
    if (on_close) on_close(*this, action);
    return action;
  }
  // A device-change broadcast arrived; false when the form has no handler for it.
  bool DeviceChanged(const DeviceChangeMessage& message) {
    if (!on_device_change) return false;
    on_device_change(*this, message);
    return true;
  }

 protected:
  void VisibilityChanged() override {
    if (visible() && on_show) on_show(*this);
  }

 private:
  std::string class_name_;
  bool drop_shadow_ = false;
  bool stay_on_top_ = false;
  Color color_ = Color::System(SystemColor::kButtonFace);
  WindowState window_state_ = WindowState::kNormal;
  std::optional<RoundRectRegion> region_;
  std::vector<std::unique_ptr<Component>> components_;
  int move_requests_ = 0;
  int update_depth_ = 0;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_FORM_H_
