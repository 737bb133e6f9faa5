#ifndef VELMORA_UI_INPUTS_H_
#define VELMORA_UI_INPUTS_H_

#include <functional>
#include <string>

#include "ui/control.h"

namespace velmora::ui {

// A box the user ticks; the tick is the control's only state.
class CheckBox : public Control {
 public:
  CheckBox(std::string name, Control* parent)
      : Control(ComponentKind::kCheckBox, std::move(name), parent) {}

  bool checked() const { return checked_; }
  void SetChecked(bool checked) {
    checked_ = checked;
    Changed(Aspect::kChecked);
  }
  // The user clicked it; called by the backend or by a test.
  void UserToggle() { checked_ = !checked_; }

 private:
  bool checked_ = false;
};

// A slider over a range of whole positions.
class TrackBar : public Control {
 public:
  using Event = std::function<void(TrackBar& sender)>;

  TrackBar(std::string name, Control* parent)
      : Control(ComponentKind::kTrackBar, std::move(name), parent) {}

  int min() const { return min_; }
  int max() const { return max_; }
  void SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    Changed(Aspect::kPosition);
  }
  bool vertical() const { return vertical_; }
  void SetVertical(bool vertical) { vertical_ = vertical; }

  int position() const { return position_; }
  // Raises the change event whenever the position changes, from code or from the user.
  void SetPosition(int position) {
    if (position == position_) return;
    position_ = position;
    Changed(Aspect::kPosition);
    if (on_change) on_change(*this);
  }
  Event on_change;
  // The user moved the slider; called by the backend or by a test.
  void UserMove(int position) {
    if (position == position_) return;
    position_ = position;
    if (on_change) on_change(*this);
  }

 private:
  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  bool vertical_ = false;
};

// Multi-line editable text. Lines are separated by CR LF, as the platform's edit control keeps
// them.
class Memo : public Control {
 public:
  Memo(std::string name, Control* parent)
      : Control(ComponentKind::kMemo, std::move(name), parent) {}

  bool read_only() const { return read_only_; }
  void SetReadOnly(bool read_only) { read_only_ = read_only; }
  // The user typed; called by the backend or by a test.
  void UserEdit(std::string text) { SetTextFromPlatform(std::move(text)); }

 private:
  bool read_only_ = false;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_INPUTS_H_
