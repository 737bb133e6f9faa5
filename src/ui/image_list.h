#ifndef VELMORA_UI_IMAGE_LIST_H_
#define VELMORA_UI_IMAGE_LIST_H_

#include <string>
#include <vector>

#include "ui/component.h"

namespace velmora::ui {

// Same-size pictures (icon resources, each with its transparency mask) addressed by index.
class ImageList : public Component {
 public:
  ImageList(std::string name, int width, int height, std::vector<std::string> icon_resources)
      : Component(ComponentKind::kImageList, std::move(name)),
        width_(width),
        height_(height),
        icon_resources_(std::move(icon_resources)) {}

  int width() const { return width_; }
  int height() const { return height_; }
  int count() const { return static_cast<int>(icon_resources_.size()); }
  const std::vector<std::string>& icon_resources() const { return icon_resources_; }

 private:
  int width_;
  int height_;
  std::vector<std::string> icon_resources_;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_IMAGE_LIST_H_
