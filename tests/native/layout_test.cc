#include "ui/layout.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "main/main_form_layout.h"
#include "ui/image.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/popup_menu.h"

namespace velmora::ui {
namespace {

TEST(BuildForm, ControlsInheritTheParentFontUnlessTheyHaveTheirOwn) {
  Form form("F", "TF");
  Font form_font;
  form_font.name = "Tahoma";
  form.SetFont(form_font);
  FormLayout layout;
  layout.controls.push_back({ComponentKind::kLabel, "plain", "", {1, 2, 3, 4}, "text"});
  ControlSpec bold{ComponentKind::kLabel, "bold", "", {5, 6, 7, 8}, "b"};
  bold.font = Font{};
  bold.font->style.bold = true;
  layout.controls.push_back(bold);
  BuildForm(form, layout);
  EXPECT_EQ(form.Get<Label>("plain").font().name, "Tahoma");
  EXPECT_TRUE(form.Get<Label>("bold").font().style.bold);
  EXPECT_EQ(form.Get<Label>("plain").bounds(), (Rect{1, 2, 3, 4}));
  EXPECT_EQ(form.Get<Label>("plain").text(), "text");
}

TEST(BuildForm, ImageListsComeFirstAndMenusTakeThem) {
  Form form("F", "TF");
  FormLayout layout;
  layout.menus.push_back({"Menu", "Images", {{"Item", "Caption", 1, true, false}}});
  layout.image_lists.push_back({"Images", 16, 16, {"A", "B"}});
  BuildForm(form, layout);
  ASSERT_EQ(form.components().size(), 2u);
  EXPECT_EQ(form.components()[0]->name(), "Images");
  PopupMenu& menu = form.Get<PopupMenu>("Menu");
  EXPECT_EQ(menu.images(), &form.Get<ImageList>("Images"));
  const MenuItem& item = menu.Find("Item");
  EXPECT_EQ(item.caption, "Caption");
  EXPECT_EQ(item.image_index, 1);
  EXPECT_TRUE(item.is_default);
  EXPECT_FALSE(item.enabled);
}

TEST(BuildForm, RejectsFaultyTables) {
  struct Case {
    const char* what;
    FormLayout layout;
  };
  const Case cases[] = {
      {"duplicate name", {{}, {{ComponentKind::kLabel, "a"}, {ComponentKind::kLabel, "a"}}, {}}},
      {"unknown parent", {{}, {{ComponentKind::kLabel, "a", "nowhere"}}, {}}},
      {"non-control kind", {{}, {{ComponentKind::kTimer, "t"}}, {}}},
      {"menu with unknown image list", {{}, {}, {{"m", "missing", {}}}}},
  };
  for (const Case& c : cases) {
    Form form("F", "TF");
    EXPECT_THROW(BuildForm(form, c.layout), std::logic_error) << c.what;
  }
}

TEST(MainFormLayout, ChromeSitsWhereTheWindowExpectsIt) {
  Form form("Frmain", "TFrmain");
  BuildForm(form, main::MainFormLayout());
  const Image& picture = form.Get<Image>("ImgArrPln");
  EXPECT_EQ(picture.bounds(), (Rect{-9, 0, 690, 521}));
  EXPECT_EQ(picture.picture().format, Picture::Format::kJpeg);
  EXPECT_EQ(form.Get<Label>("lblClseApp").text(), "X");
  EXPECT_EQ(form.Get<Label>("lblMinimize").text(), "_");
  EXPECT_EQ(form.Get<Label>("lblSupport").text(), "Technical Support");
  EXPECT_EQ(form.Get<PopupMenu>("MnApp").Find("Close").caption, "Close ");
}

}  // namespace
}  // namespace velmora::ui
