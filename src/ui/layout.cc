#include "ui/layout.h"

#include <stdexcept>

#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/popup_menu.h"

namespace velmora::ui {
namespace {

Control& ParentOf(Form& form, const ControlSpec& spec) {
  if (spec.parent.empty()) return form;
  return form.Get<Control>(spec.parent);
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
    case ComponentKind::kListView:
      return form.Add<ListView>(spec.name, &parent);
    case ComponentKind::kForm:
    case ComponentKind::kPopupMenu:
    case ComponentKind::kImageList:
    case ComponentKind::kTimer:
      break;
  }
  throw std::logic_error("Control " + spec.name + " has a kind that is not a control");
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
}

}  // namespace velmora::ui
