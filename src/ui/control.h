#ifndef VELMORA_UI_CONTROL_H_
#define VELMORA_UI_CONTROL_H_

#include <string>

#include "ui/component.h"
#include "ui/geometry.h"

namespace velmora::ui {

// A component the user sees: it has a place inside its parent and a few shared properties.
class Control : public Component {
 public:
  Control(ComponentKind kind, std::string name, Control* parent)
      : Component(kind, std::move(name)), parent_(parent) {}

  Control* parent() const { return parent_; }

  const std::string& text() const { return text_; }
  void SetText(std::string text) {
    text_ = std::move(text);
    Changed(Aspect::kText);
  }

  bool visible() const { return visible_; }
  void SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Changed(Aspect::kVisible);
    VisibilityChanged();
  }

  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed(Aspect::kEnabled);
  }

  const Rect& bounds() const { return bounds_; }
  void SetBounds(const Rect& bounds) {
    bounds_ = bounds;
    Changed(Aspect::kBounds);
  }

  const Font& font() const { return font_; }
  void SetFont(const Font& font) {
    font_ = font;
    Changed(Aspect::kFont);
  }
  void SetFontStyle(const FontStyle& style) {
    font_.style = style;
    Changed(Aspect::kFont);
  }

  Cursor cursor() const { return cursor_; }
  void SetCursor(Cursor cursor) {
    cursor_ = cursor;
    Changed(Aspect::kCursor);
  }

  // The size a peer measured (labels size themselves to their text); no event.
  void UpdateMeasuredBounds(const Rect& bounds) { bounds_ = bounds; }

 protected:
  virtual void VisibilityChanged() {}
  // The user changed the text on the platform's control: store it without echoing it back.
  void SetTextFromPlatform(std::string text) { text_ = std::move(text); }

 private:
  Control* parent_;
  std::string text_;
  bool visible_ = true;
  bool enabled_ = true;
  Rect bounds_;
  Font font_;
  Cursor cursor_ = Cursor::kDefault;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_CONTROL_H_
