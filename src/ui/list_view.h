#ifndef VELMORA_UI_LIST_VIEW_H_
#define VELMORA_UI_LIST_VIEW_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/folded_caption_index.h"

namespace velmora::ui {

class ImageList;
class PopupMenu;

struct ListColumn {
  std::string caption;
  int width = 0;
};

struct ListItem {
  std::string caption;
  std::vector<std::string> sub_items;
  int image_index = -1;
  bool checked = false;
};

// What a peer is told about item changes, beyond the shared aspects of every control.
class ListViewPeer {
 public:
  virtual ~ListViewPeer() = default;
  virtual void ItemInserted(int index) = 0;
  virtual void ItemChanged(int index) = 0;
  virtual void ItemRemoved(int index) = 0;
  virtual void ItemsCleared() = 0;
  virtual void UpdatingChanged(bool updating) = 0;
  virtual void Repaint() = 0;
};

struct ListViewStyle {
  bool grid_lines = false;
  bool show_column_headers = true;
  bool read_only = true;  // captions not editable in place
  bool check_boxes = false;
  bool has_item_font = false;  // else the control's default font is used for entries
};

// A report-style list view. Entries live here and nowhere else.
class ListView : public Control {
 public:
  using SelectEvent = std::function<void(ListView& sender, int index, bool selected)>;

  ListView(std::string name, Control* parent)
      : Control(ComponentKind::kListView, std::move(name), parent) {}

  const std::vector<ListColumn>& columns() const { return columns_; }
  void SetColumns(std::vector<ListColumn> columns) {
    columns_ = std::move(columns);
    Changed(Aspect::kColumns);
  }

  const ListViewStyle& style() const { return style_; }
  void SetStyle(const ListViewStyle& style) { style_ = style; }

  ImageList* small_images() const { return small_images_; }
  void SetSmallImages(ImageList* images) { small_images_ = images; }

  Color background() const { return background_; }
  void SetBackground(Color color) { background_ = color; }

  PopupMenu* popup_menu() const { return popup_menu_; }
  void SetPopupMenu(PopupMenu* menu) {
    popup_menu_ = menu;
    Changed(Aspect::kPopupMenu);
  }

  int item_count() const { return static_cast<int>(items_.size()); }
  const ListItem& item(int index) const { return items_.at(static_cast<std::size_t>(index)); }

  // Whether some entry's caption, as it stands now, equals `caption` when only A to Z are
  // folded. Average O(1) however long the list: the first call indexes the folded captions and
  // every later change (appends, removals, caption edits by code or by the user) keeps the
  // index in step, so an edited or removed entry stops matching at once.
  bool HasFoldedCaption(const std::string& caption) const;

  int AddItem(ListItem item);
  void SetItemCaption(int index, std::string caption);
  void SetItemChecked(int index, bool checked);
  void DeleteItem(int index);
  void Clear();

  // Repainting per entry is slow on the platform; a long run of appends goes between these.
  void BeginUpdate();
  void EndUpdate();
  bool updating() const { return update_depth_ > 0; }
  // Paints the list on the platform at once, without waiting for the message loop.
  void Repaint() {
    if (auto* p = list_peer()) p->Repaint();
  }

  int selected_index() const { return selected_index_; }

  SelectEvent on_select_item;

  // Entry points of user actions, called by a backend peer or by a test.
  void UserSelectItem(int index, bool selected);
  void UserEditCaption(int index, std::string caption);
  void UserSetChecked(int index, bool checked);
  // A right click: the attached menu, if any, pops up at the screen position, opened on this
  // list.
  void UserRightClick(Point at);

 private:
  ListViewPeer* list_peer() const { return dynamic_cast<ListViewPeer*>(peer()); }
  void CheckIndex(int index) const;
  void ReplaceCaption(int index, std::string caption);

  std::vector<ListColumn> columns_;
  ListViewStyle style_;
  ImageList* small_images_ = nullptr;
  PopupMenu* popup_menu_ = nullptr;
  Color background_ = Color::System(SystemColor::kHighlightText);
  std::vector<ListItem> items_;
  // Built on first use only: lists that are never searched pay nothing.
  mutable std::optional<FoldedCaptionIndex> folded_captions_;
  int update_depth_ = 0;
  int selected_index_ = -1;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_LIST_VIEW_H_
