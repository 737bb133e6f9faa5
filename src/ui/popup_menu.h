#ifndef VELMORA_UI_POPUP_MENU_H_
#define VELMORA_UI_POPUP_MENU_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/geometry.h"

namespace velmora::ui {

class ImageList;

class MenuItem {
 public:
  using Event = std::function<void(MenuItem& sender)>;

  explicit MenuItem(std::string name) : name_(std::move(name)) {}
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& name() const { return name_; }

  // Read back while the menu runs, the caption carries the hot-key ampersand the menu gave it.
  std::string caption;
  int image_index = -1;
  bool is_default = false;
  bool enabled = true;
  Event on_click;

  // The user chose the item; called by the backend or by a test.
  void Click() {
    if (on_click) on_click(*this);
  }

 private:
  std::string name_;
};

// What a backend does to show a popup menu: it runs modally and returns when it closes.
class PopupMenuPeer {
 public:
  virtual ~PopupMenuPeer() = default;
  virtual void Popup(Point at) = 0;
};

class PopupMenu : public Component {
 public:
  explicit PopupMenu(std::string name) : Component(ComponentKind::kPopupMenu, std::move(name)) {}

  ImageList* images() const { return images_; }
  void SetImages(ImageList* images) { images_ = images; }

  MenuItem& AddItem(std::string name);
  int item_count() const { return static_cast<int>(items_.size()); }
  MenuItem& item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  MenuItem& Find(const std::string& name) const;

  // Shows the menu at a screen position; returns when it closes, after the chosen item's click.
  // First gives every item without one an automatic hot key, as the menu system does.
  // `opened_on` is the control whose context menu this is (the one the user right-clicked),
  // or none.
  void Popup(Point at, Component* opened_on = nullptr);
  // The control the menu was last opened on; null when it was last popped up for no control
  // (the tray icon) or never. Kept after the menu closes, so the chosen item's handler and a
  // test clicking the item afterwards both see it.
  Component* popup_component() const { return popup_component_; }
  // Puts an ampersand before each caption's first letter or digit that no earlier item of
  // this menu uses as its hot key; captions that already have one keep it.
  void AssignHotKeys();
  // The last place the menu was popped up; kept for the headless backend's tests.
  int popup_count() const { return popup_count_; }
  Point last_popup_point() const { return last_popup_point_; }

 private:
  ImageList* images_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> items_;
  Component* popup_component_ = nullptr;
  int popup_count_ = 0;
  Point last_popup_point_;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_POPUP_MENU_H_
