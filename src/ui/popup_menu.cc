#include "ui/popup_menu.h"

#include <stdexcept>

namespace velmora::ui {

MenuItem& PopupMenu::AddItem(std::string name) {
  items_.push_back(std::make_unique<MenuItem>(std::move(name)));
  return *items_.back();
}

MenuItem& PopupMenu::Find(const std::string& name) const {
  for (const auto& item : items_) {
    if (item->name() == name) return *item;
  }
  throw std::out_of_range("No menu item named " + name + " in " + this->name());
}

void PopupMenu::Popup(Point at) {
  ++popup_count_;
  last_popup_point_ = at;
  if (auto* p = dynamic_cast<PopupMenuPeer*>(peer())) p->Popup(at);
}

}  // namespace velmora::ui
