#ifndef VELMORA_UI_CONTAINERS_H_
#define VELMORA_UI_CONTAINERS_H_

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace velmora::ui {

class ImageList;

// A framed box with a caption that holds other controls.
class GroupBox : public Control {
 public:
  GroupBox(std::string name, Control* parent)
      : Control(ComponentKind::kGroupBox, std::move(name), parent) {}
};

// One sheet of a page control: a tab with a caption and the controls on it.
class TabSheet : public Control {
 public:
  TabSheet(std::string name, Control* parent)
      : Control(ComponentKind::kTabSheet, std::move(name), parent) {}
};

// The platform's own tab control; its sheets are the tab sheets whose parent it is, in
// creation order.
class PageControl : public Control {
 public:
  PageControl(std::string name, Control* parent)
      : Control(ComponentKind::kPageControl, std::move(name), parent) {}

  const std::vector<TabSheet*>& sheets() const { return sheets_; }
  void AddSheet(TabSheet& sheet) { sheets_.push_back(&sheet); }

  int active_index() const { return active_index_; }
  void SetActiveIndex(int index);
  // The user picked a tab; called by the backend or by a test.
  void UserSelectTab(int index) { SetActiveIndex(index); }

 private:
  std::vector<TabSheet*> sheets_;
  int active_index_ = 0;
};

// One page of the tab pager: its tab shows the caption under the page's picture.
class PagerPage : public Control {
 public:
  PagerPage(std::string name, Control* parent)
      : Control(ComponentKind::kPagerPage, std::move(name), parent) {}

  int image_index() const { return image_index_; }
  void SetImageIndex(int index) { image_index_ = index; }

 private:
  int image_index_ = -1;
};

// How the tab pager lays out its tab row.
struct PagerStyle {
  int tab_width = 150;
  int tab_height = 60;
  int left_margin = 20;
  int right_margin = 6;
  int spacing = 6;
  int corner_rounding = 4;
};

// Office-style pager: a row of large tabs with pictures above their captions and gradient
// pages below, drawn by the program itself. Its pages are the pager pages whose parent it is.
class Pager : public Control {
 public:
  Pager(std::string name, Control* parent)
      : Control(ComponentKind::kPager, std::move(name), parent) {}

  const std::vector<PagerPage*>& pages() const { return pages_; }
  void AddPage(PagerPage& page) { pages_.push_back(&page); }

  ImageList* images() const { return images_; }
  void SetImages(ImageList* images) { images_ = images; }
  const PagerStyle& style() const { return style_; }
  void SetStyle(const PagerStyle& style) { style_ = style; }

  int active_index() const { return active_index_; }
  void SetActiveIndex(int index);
  void UserSelectTab(int index) { SetActiveIndex(index); }

 private:
  std::vector<PagerPage*> pages_;
  ImageList* images_ = nullptr;
  PagerStyle style_;
  int active_index_ = 0;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_CONTAINERS_H_
