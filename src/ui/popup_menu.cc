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

namespace {

char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsHotKeyCandidate(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The character after a single ampersand, or 0 when the caption has no hot key ("&&" is a
// literal ampersand).
char ExistingHotKey(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return caption[i + 1];
  }
  return 0;
}

}  // namespace

void PopupMenu::AssignHotKeys() {
  std::string used;
  for (const auto& item : items_) {
    if (char key = ExistingHotKey(item->caption)) used.push_back(Fold(key));
  }
  for (const auto& item : items_) {
    std::string& caption = item->caption;
    if (ExistingHotKey(caption) != 0) continue;
    for (std::size_t i = 0; i < caption.size(); ++i) {
      const char c = caption[i];
      if (!IsHotKeyCandidate(c) || used.find(Fold(c)) != std::string::npos) continue;
      used.push_back(Fold(c));
      caption.insert(i, 1, '&');
      break;
    }
  }
}

void PopupMenu::Popup(Point at, Component* opened_on) {
  AssignHotKeys();
  popup_component_ = opened_on;
  ++popup_count_;
  last_popup_point_ = at;
  if (auto* p = dynamic_cast<PopupMenuPeer*>(peer())) p->Popup(at);
}

}  // namespace velmora::ui
