#ifndef VELMORA_UI_LABEL_H_
#define VELMORA_UI_LABEL_H_

#include <functional>

#include "ui/control.h"

namespace velmora::ui {

// Static text, drawn transparently over whatever its parent paints beneath it; it sizes
// itself to its text, so only its left and top are fixed.
class Label : public Control {
 public:
  using Event = std::function<void(Label& sender)>;

  Label(std::string name, Control* parent)
      : Control(ComponentKind::kLabel, std::move(name), parent) {}

  Event on_click;
  Event on_mouse_move;
  Event on_mouse_leave;

  // Entry points of user actions, called by a backend peer or by a test.
  void Click() { Fire(on_click); }
  void MouseMove() { Fire(on_mouse_move); }
  void MouseLeave() { Fire(on_mouse_leave); }

 private:
  void Fire(const Event& event) {
    if (event) event(*this);
  }
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_LABEL_H_
