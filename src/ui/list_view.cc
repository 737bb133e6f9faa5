#include "ui/list_view.h"

#include <stdexcept>

#include "ui/popup_menu.h"

namespace velmora::ui {

void ListView::CheckIndex(int index) const {
  if (index < 0 || index >= item_count()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
}

bool ListView::HasFoldedCaption(const std::string& caption) const {
  if (!folded_captions_) {
    folded_captions_.emplace();
    for (const ListItem& item : items_) folded_captions_->Add(item.caption);
  }
  return folded_captions_->Contains(caption);
}

void ListView::ReplaceCaption(int index, std::string caption) {
  std::string& current = items_[static_cast<std::size_t>(index)].caption;
  if (folded_captions_) {
    folded_captions_->Remove(current);
    folded_captions_->Add(caption);
  }
  current = std::move(caption);
}

int ListView::AddItem(ListItem item) {
  if (folded_captions_) folded_captions_->Add(item.caption);
  items_.push_back(std::move(item));
  const int index = item_count() - 1;
  if (auto* p = list_peer()) p->ItemInserted(index);
  return index;
}

void ListView::SetItemCaption(int index, std::string caption) {
  CheckIndex(index);
  ReplaceCaption(index, std::move(caption));
  if (auto* p = list_peer()) p->ItemChanged(index);
}

void ListView::SetItemChecked(int index, bool checked) {
  CheckIndex(index);
  items_[static_cast<std::size_t>(index)].checked = checked;
  if (auto* p = list_peer()) p->ItemChanged(index);
}

void ListView::DeleteItem(int index) {
  CheckIndex(index);
  if (folded_captions_) folded_captions_->Remove(items_[static_cast<std::size_t>(index)].caption);
  items_.erase(items_.begin() + index);
  if (selected_index_ == index) {
    selected_index_ = -1;
  } else if (selected_index_ > index) {
    --selected_index_;
  }
  if (auto* p = list_peer()) p->ItemRemoved(index);
}

void ListView::Clear() {
  items_.clear();
  if (folded_captions_) folded_captions_->Clear();
  selected_index_ = -1;
  if (auto* p = list_peer()) p->ItemsCleared();
}

void ListView::BeginUpdate() {
  if (update_depth_++ == 0) {
    if (auto* p = list_peer()) p->UpdatingChanged(true);
  }
}

void ListView::EndUpdate() {
  if (update_depth_ > 0 && --update_depth_ == 0) {
    if (auto* p = list_peer()) p->UpdatingChanged(false);
  }
}

void ListView::UserSelectItem(int index, bool selected) {
  CheckIndex(index);
  if (selected) {
    selected_index_ = index;
  } else if (selected_index_ == index) {
    selected_index_ = -1;
  }
  if (on_select_item) on_select_item(*this, index, selected);
}

void ListView::UserEditCaption(int index, std::string caption) {
  CheckIndex(index);
  ReplaceCaption(index, std::move(caption));
}

void ListView::UserSetChecked(int index, bool checked) {
  CheckIndex(index);
  items_[static_cast<std::size_t>(index)].checked = checked;
}

void ListView::UserRightClick(Point at) {
  if (popup_menu_ != nullptr) popup_menu_->Popup(at, this);
}

}  // namespace velmora::ui
