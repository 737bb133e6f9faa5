#ifndef VELMORA_UI_TIMER_H_
#define VELMORA_UI_TIMER_H_

#include <functional>

#include "ui/component.h"

namespace velmora::ui {

// A message-driven timer of the GUI thread: ticks arrive between other messages.
class Timer : public Component {
 public:
  using Event = std::function<void(Timer& sender)>;

  explicit Timer(std::string name) : Component(ComponentKind::kTimer, std::move(name)) {}

  int interval_ms() const { return interval_ms_; }
  void SetInterval(int interval_ms) {
    interval_ms_ = interval_ms;
    Changed(Aspect::kInterval);
  }

  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed(Aspect::kEnabled);
  }

  Event on_timer;
  // One period has passed; called by the backend's timer message or by a test.
  void Tick() {
    if (enabled_ && on_timer) on_timer(*this);
  }

 private:
  int interval_ms_ = 1000;
  bool enabled_ = false;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_TIMER_H_
