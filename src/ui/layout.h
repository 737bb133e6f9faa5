#ifndef VELMORA_UI_LAYOUT_H_
#define VELMORA_UI_LAYOUT_H_

#include <optional>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/form.h"
#include "ui/geometry.h"
#include "ui/image.h"
#include "ui/list_view.h"

namespace velmora::ui {

// One row of a form's layout table: a control as the form is first built.
struct ControlSpec {
  ComponentKind kind = ComponentKind::kLabel;
  std::string name;
  std::string parent;  // empty: placed directly on the form
  Rect bounds;
  std::string text;
  bool visible = true;
  bool enabled = true;
  std::optional<Font> font;  // else the parent's font
  Cursor cursor = Cursor::kDefault;
  Picture picture;
  bool stretch = false;
  // Kind-specific settings; each kind reads the ones that concern it.
  std::string images;      // image list: list views (small), trees, the pager
  std::string popup_menu;  // list views
  int image_index = -1;    // pager pages: the tab's picture
  std::vector<ListColumn> columns;
  ListViewStyle list_style;
  std::optional<Color> background;
  int indent = 19;         // trees
  bool read_only = false;  // trees, memos
  int range_min = 0;       // track bars
  int range_max = 10;
  int position = 0;
  bool vertical = false;
};

struct ImageListSpec {
  std::string name;
  int width = 16;
  int height = 16;
  std::vector<std::string> icon_resources;
};

struct MenuItemSpec {
  std::string name;
  std::string caption;
  int image_index = -1;
  bool is_default = false;
  bool enabled = true;
};

struct MenuSpec {
  std::string name;
  std::string images;  // image list name, or empty
  std::vector<MenuItemSpec> items;
};

struct FormLayout {
  std::vector<ImageListSpec> image_lists;
  std::vector<ControlSpec> controls;
  std::vector<MenuSpec> menus;
};

// Adds the layout's components to the form: image lists first (controls and menus refer to
// them), then the controls in table order, then the menus, which list views then take.
void BuildForm(Form& form, const FormLayout& layout);

}  // namespace velmora::ui

#endif  // VELMORA_UI_LAYOUT_H_
