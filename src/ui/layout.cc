#include "ui/layout.h"

#include <stdexcept>

#include "ui/containers.h"
#include "ui/image_list.h"
#include "ui/inputs.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/popup_menu.h"
#include "ui/tree_view.h"

namespace velmora::ui {
namespace {

Control& ParentOf(Form& form, const ControlSpec& spec) {
  if (spec.parent.empty()) return form;
  return form.Get<Control>(spec.parent);
}

ImageList* ImagesOf(Form& form, const ControlSpec& spec) {
  return spec.images.empty() ? nullptr : &form.Get<ImageList>(spec.images);
}

Control& AddControl(Form& form, const ControlSpec& spec) {
  Control& parent = ParentOf(form, spec);
  switch (spec.kind) {
    case ComponentKind::kLabel:
      return form.Add<Label>(spec.name, &parent);
    case ComponentKind::kImage: {
      Image& image = form.Add<Image>(spec.name, &parent);
      image.SetPicture(spec.picture);
      image.SetStretch(spec.stretch);
      return image;
    }
    case ComponentKind::kListView: {
      ListView& list = form.Add<ListView>(spec.name, &parent);
      list.SetColumns(spec.columns);
      list.SetStyle(spec.list_style);
      list.SetSmallImages(ImagesOf(form, spec));
      if (spec.background) list.SetBackground(*spec.background);
      return list;
    }
    case ComponentKind::kGroupBox:
      return form.Add<GroupBox>(spec.name, &parent);
    case ComponentKind::kTreeView: {
      TreeView& tree = form.Add<TreeView>(spec.name, &parent);
      tree.SetImages(ImagesOf(form, spec));
      tree.SetIndent(spec.indent);
      tree.SetReadOnly(spec.read_only);
      return tree;
    }
    case ComponentKind::kTrackBar: {
      TrackBar& bar = form.Add<TrackBar>(spec.name, &parent);
      bar.SetVertical(spec.vertical);
      bar.SetRange(spec.range_min, spec.range_max);
      bar.SetPosition(spec.position);
      return bar;
    }
    case ComponentKind::kMemo: {
      Memo& memo = form.Add<Memo>(spec.name, &parent);
      memo.SetReadOnly(spec.read_only);
      return memo;
    }
    case ComponentKind::kCheckBox:
      return form.Add<CheckBox>(spec.name, &parent);
    case ComponentKind::kPageControl:
      return form.Add<PageControl>(spec.name, &parent);
    case ComponentKind::kTabSheet: {
      auto* control = dynamic_cast<PageControl*>(&parent);
      if (control == nullptr) break;
      TabSheet& sheet = form.Add<TabSheet>(spec.name, &parent);
      control->AddSheet(sheet);
      return sheet;
    }
    case ComponentKind::kPager: {
      Pager& pager = form.Add<Pager>(spec.name, &parent);
      pager.SetImages(ImagesOf(form, spec));
      return pager;
    }
    case ComponentKind::kPagerPage: {
      auto* pager = dynamic_cast<Pager*>(&parent);
      if (pager == nullptr) break;
      PagerPage& page = form.Add<PagerPage>(spec.name, &parent);
      page.SetImageIndex(spec.image_index);
      pager->AddPage(page);
      return page;
    }
    case ComponentKind::kForm:
    case ComponentKind::kPopupMenu:
    case ComponentKind::kImageList:
    case ComponentKind::kTimer:
      break;
  }
  throw std::logic_error("Control " + spec.name + " has a kind or parent that does not fit");
}

}  // namespace

void BuildForm(Form& form, const FormLayout& layout) {
  for (const ImageListSpec& spec : layout.image_lists) {
    form.Add<ImageList>(spec.name, spec.width, spec.height, spec.icon_resources);
  }
  for (const ControlSpec& spec : layout.controls) {
    if (form.Find(spec.name) != nullptr) throw std::logic_error("Duplicate control " + spec.name);
    Control& control = AddControl(form, spec);
    control.SetBounds(spec.bounds);
    control.SetText(spec.text);
    control.SetVisible(spec.visible);
    control.SetEnabled(spec.enabled);
    control.SetFont(spec.font.value_or(ParentOf(form, spec).font()));
    control.SetCursor(spec.cursor);
  }
  for (const MenuSpec& spec : layout.menus) {
    PopupMenu& menu = form.Add<PopupMenu>(spec.name);
    if (!spec.images.empty()) menu.SetImages(&form.Get<ImageList>(spec.images));
    for (const MenuItemSpec& item_spec : spec.items) {
      MenuItem& item = menu.AddItem(item_spec.name);
      item.caption = item_spec.caption;
      item.image_index = item_spec.image_index;
      item.is_default = item_spec.is_default;
      item.enabled = item_spec.enabled;
    }
  }
  for (const ControlSpec& spec : layout.controls) {
    if (!spec.popup_menu.empty()) {
      form.Get<ListView>(spec.name).SetPopupMenu(&form.Get<PopupMenu>(spec.popup_menu));
    }
  }
  // Every page control and pager starts on its first page.
  for (const auto& component : form.components()) {
    if (auto* control = dynamic_cast<PageControl*>(component.get())) control->SetActiveIndex(0);
    if (auto* pager = dynamic_cast<Pager*>(component.get())) pager->SetActiveIndex(0);
  }
}

}  // namespace velmora::ui
