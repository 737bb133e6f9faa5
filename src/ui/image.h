#ifndef VELMORA_UI_IMAGE_H_
#define VELMORA_UI_IMAGE_H_

#include <functional>
#include <string>

#include "ui/control.h"

namespace velmora::ui {

enum class MouseButton { kLeft, kRight, kMiddle };

// Where an image's pixels come from: a resource of the program, either an icon (drawn at the
// platform's standard icon size) or a JPEG picture (decoded at its own size).
struct Picture {
  enum class Format { kNone, kIcon, kJpeg };
  Format format = Format::kNone;
  std::string resource;

  static Picture Icon(std::string resource) { return {Format::kIcon, std::move(resource)}; }
  static Picture Jpeg(std::string resource) { return {Format::kJpeg, std::move(resource)}; }
};

class Image : public Control {
 public:
  using MouseEvent = std::function<void(Image& sender, MouseButton button, Point at)>;

  Image(std::string name, Control* parent)
      : Control(ComponentKind::kImage, std::move(name), parent) {}

  const Picture& picture() const { return picture_; }
  void SetPicture(Picture picture) {
    picture_ = std::move(picture);
    Changed(Aspect::kPicture);
  }

  bool stretch() const { return stretch_; }
  void SetStretch(bool stretch) {
    stretch_ = stretch;
    Changed(Aspect::kPicture);
  }

  MouseEvent on_mouse_down;
  void MouseDown(MouseButton button, Point at) {
    if (on_mouse_down) on_mouse_down(*this, button, at);
  }

 private:
  Picture picture_;
  bool stretch_ = false;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_IMAGE_H_
