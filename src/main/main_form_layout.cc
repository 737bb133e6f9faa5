#include "main/main_form_layout.h"

#include "main/resource_names.h"

namespace velmora::main {
namespace {

using ui::Color;
using ui::ComponentKind;
using ui::ControlSpec;
using ui::Cursor;
using ui::Font;
using ui::Picture;
using ui::SystemColor;

Font Arial8(bool bold, Color color) {
  Font font;
  font.name = "Arial";
  font.size_pt = 8;
  font.style.bold = bold;
  font.color = color;
  return font;
}

}  // namespace

ui::FormLayout MainFormLayout() {
  ui::FormLayout layout;

  ControlSpec picture{ComponentKind::kImage, "ImgArrPln", "", {-9, 0, 690, 521}};
  picture.picture = Picture::Jpeg(kBackdropPicture);
  layout.controls.push_back(picture);

  ControlSpec close{ComponentKind::kLabel, "lblClseApp", "", {664, 8, 7, 14}, "X"};
  close.font = Arial8(true, Color::System(SystemColor::kInactiveCaption));
  close.cursor = Cursor::kHandPoint;
  layout.controls.push_back(close);

  ControlSpec minimize{ComponentKind::kLabel, "lblMinimize", "", {648, 7, 6, 14}, "_"};
  minimize.font = Arial8(true, Color::System(SystemColor::kInactiveCaption));
  layout.controls.push_back(minimize);

  ControlSpec support{
      ComponentKind::kLabel, "lblSupport", "", {576, 496, 89, 16}, "Technical Support"};
  Font palatino = Arial8(true, Color::System(SystemColor::kActiveCaption));
  palatino.name = "Palatino Linotype";
  palatino.style.underline = true;
  support.font = palatino;
  layout.controls.push_back(support);

  layout.menus.push_back({"MnApp",
                          "",
                          {
                              {"MnDesableAutoRunDrive", "Desable AutoRun Drive", -1, true},
                              {"RestoreApplication1", "Restore Application", 1},
                              {"Close", "Close ", 0},
                          }});
  return layout;
}

}  // namespace velmora::main
