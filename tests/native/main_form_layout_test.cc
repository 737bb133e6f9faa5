// The main window as first built, checked row by row against the window's design: a second,
// independent transcription that catches a wrong place, text or starting state.
#include "main/main_form_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/containers.h"
#include "ui/image_list.h"
#include "ui/inputs.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/list_view.h"
#include "ui/popup_menu.h"
#include "ui/tree_view.h"

namespace velmora::main {
namespace {

using ui::Color;
using ui::ComponentKind;
using ui::Rect;
using ui::SystemColor;

struct Row {
  const char* name;
  ComponentKind kind;
  const char* parent;
  Rect bounds;  // labels: only left and top are fixed
  const char* text;
  bool visible;
};

constexpr ComponentKind kLabel = ComponentKind::kLabel;
constexpr ComponentKind kImage = ComponentKind::kImage;

const Row kRows[] = {
    {"ImgArrPln", kImage, "Frmain", {-9, 0, 690, 521}, "", true},
    {"lblClseApp", kLabel, "Frmain", {664, 8}, "X", true},
    {"lblMinimize", kLabel, "Frmain", {648, 7}, "_", true},
    {"lblSupport", kLabel, "Frmain", {576, 496}, "Technical Support", true},
    {"PGCtrl", ComponentKind::kPager, "Frmain", {8, 40, 665, 433}, "", true},
    {"AdvOfficePager11",
     ComponentKind::kPagerPage,
     "PGCtrl",
     {1, 60, 663, 371},
     "VELMORA Protection",
     true},
    {"AdvOfficePager12",
     ComponentKind::kPagerPage,
     "PGCtrl",
     {1, 60, 663, 371},
     "PC  Offline  Protection",
     false},
    {"AdvOfficePager13",
     ComponentKind::kPagerPage,
     "PGCtrl",
     {1, 60, 663, 371},
     "Registry Protection",
     false},
    {"GrpVolume",
     ComponentKind::kGroupBox,
     "AdvOfficePager11",
     {8, 8, 649, 353},
     "Scan Volume",
     true},
    {"lblNameV", kLabel, "GrpVolume", {51, 35}, "Volume Name : ", true},
    {"lblNameVoule", kLabel, "GrpVolume", {152, 35}, "No Volume Detected", true},
    {"ImgVolClean", kImage, "GrpVolume", {8, 32, 33, 33}, "", false},
    {"RemLblVolClean",
     kLabel,
     "GrpVolume",
     {51, 50},
     "SECURED - The Volume is Clean no risk to use it.",
     false},
    {"RemLblVolInf",
     kLabel,
     "GrpVolume",
     {50, 50},
     "CRITICAL WARNING : The Volume is infected wait to clean it.",
     false},
    {"ImgVolInf", kImage, "GrpVolume", {8, 32, 33, 33}, "", false},
    {"ImgInfo", kImage, "GrpVolume", {8, 80, 33, 33}, "", true},
    {"lblNmVolInfo", kLabel, "GrpVolume", {51, 80}, "Information Volume Size", true},
    {"lblinfo",
     kLabel,
     "GrpVolume",
     {51, 96},
     "No Information Detected Please Check Your volume to scan it. ",
     true},
    {"ImgUsbISerial", kImage, "GrpVolume", {8, 128, 33, 33}, "", true},
    {"lblNameSysVol", kLabel, "GrpVolume", {51, 128}, "System Volume", true},
    {"LblSysVol",
     kLabel,
     "GrpVolume",
     {51, 144},
     "No Information System Detected Please Check your volume to scan it.",
     true},
    {"ImgScan", kImage, "GrpVolume", {8, 32, 33, 33}, "", false},
    {"lblSearch", kLabel, "GrpVolume", {50, 50}, "Search autorun file in volume Device .", false},
    {"ImgNoDevice", kImage, "GrpVolume", {8, 27, 33, 41}, "", true},
    {"lblNoDev",
     kLabel,
     "GrpVolume",
     {50, 50},
     "Empty Device Detected Please Check your volume to scan it.",
     true},
    {"LstScan", ComponentKind::kListView, "GrpVolume", {8, 176, 633, 169}, "", true},
    {"ImgLogicSize", kImage, "AdvOfficePager12", {218, 324, 33, 33}, "", true},
    {"lblsizeDrive",
     kLabel,
     "AdvOfficePager12",
     {267, 340},
     "No Information Size Detected Please Check Your volume to scan it. ",
     true},
    {"ImgSystemDrive", kImage, "AdvOfficePager12", {218, 274, 33, 33}, "", true},
    {"lblInfoDrive",
     kLabel,
     "AdvOfficePager12",
     {267, 288},
     "No Information System Detected Please Check your volume to scan it.",
     true},
    {"ImgDrveClean", kImage, "AdvOfficePager12", {217, 224, 33, 33}, "", false},
    {"ImgDriveInfected", kImage, "AdvOfficePager12", {217, 224, 33, 33}, "", false},
    {"lblNameDrive", kLabel, "AdvOfficePager12", {267, 226}, "Information Drive Name :", true},
    {"lblDriveName", kLabel, "AdvOfficePager12", {408, 226}, "Empty Selected Drive", true},
    {"ImgNoDriveSelected", kImage, "AdvOfficePager12", {217, 224, 33, 33}, "", true},
    {"lblDescriptionNoDrive",
     kLabel,
     "AdvOfficePager12",
     {267, 244},
     "No Drive Selected ! Select a drive to scan it please.",
     true},
    {"lblDriveClean",
     kLabel,
     "AdvOfficePager12",
     {267, 245},
     "SECURED - The Drive is Clean no risk to use it.",
     false},
    {"lblDriveInfected",
     kLabel,
     "AdvOfficePager12",
     {267, 245},
     "CRITICAL WARNING : The Drive is infected Please Right Click to clean it.",
     false},
    {"lblnameinfoDrive", kLabel, "AdvOfficePager12", {267, 324}, "Information Drive Size", true},
    {"lblnamesysdrive", kLabel, "AdvOfficePager12", {267, 273}, "Information System Drive", true},
    {"LstScanDrive", ComponentKind::kListView, "AdvOfficePager12", {208, 8, 449, 209}, "", true},
    {"LstDrive", ComponentKind::kListView, "AdvOfficePager12", {8, 8, 201, 353}, "", true},
    {"PageControl1", ComponentKind::kPageControl, "AdvOfficePager13", {8, 8, 649, 353}, "", true},
    {"LstPrgsStart", ComponentKind::kListView, "TabStrtSoft", {0, 0, 641, 321}, "", true},
    {"TreeActiveX", ComponentKind::kTreeView, "TabAcivex", {0, 0, 641, 321}, "", true},
    {"LstDeniedSoft", ComponentKind::kListView, "TabDeniedSoftware", {0, 0, 641, 321}, "", true},
    {"GrpLevelProtection",
     ComponentKind::kGroupBox,
     "TabRegAntiVir",
     {8, 8, 633, 169},
     "Level Registry Protection",
     true},
    {"lblNameHS", kLabel, "GrpLevelProtection", {48, 28}, "High Security", true},
    {"lblNameMSecure", kLabel, "GrpLevelProtection", {48, 85}, "Medium Security", true},
    {"lblnameLSecure", kLabel, "GrpLevelProtection", {48, 142}, "Normal Security", true},
    {"LevelSecure", ComponentKind::kTrackBar, "GrpLevelProtection", {8, 24, 33, 137}, "", true},
    {"MemDescription",
     ComponentKind::kMemo,
     "GrpLevelProtection",
     {192, 24, 201, 137},
     "High Security Level can Protect the \r\nregistry 100 % and delete any new \r\nPrograms",
     true},
    {"ChckAntiDesableRegedit",
     ComponentKind::kCheckBox,
     "GrpLevelProtection",
     {416, 24, 161, 17},
     "Anti Desable Regedit Control",
     true},
    {"ChCkAntiDesableTaskManager",
     ComponentKind::kCheckBox,
     "GrpLevelProtection",
     {416, 56, 297, 17},
     "Anti Desable Task Manager",
     true},
    {"ChckAntiDeactiveFireWall",
     ComponentKind::kCheckBox,
     "GrpLevelProtection",
     {416, 96, 153, 17},
     "Anti Desable Firewall",
     true},
    {"ChCkAntiDesableFOpt",
     ComponentKind::kCheckBox,
     "GrpLevelProtection",
     {416, 136, 177, 17},
     "Anti Desable Folder Options",
     true},
};

class MainFormLayoutTest : public ::testing::Test {
 protected:
  MainFormLayoutTest() { ui::BuildForm(form_, MainFormLayout()); }
  ui::Form form_{"Frmain", "TFrmain"};
};

TEST_F(MainFormLayoutTest, EveryControlStartsWhereAndAsDesigned) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    auto* control = dynamic_cast<ui::Control*>(form_.Find(row.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind(), row.kind);
    ASSERT_NE(control->parent(), nullptr);
    EXPECT_EQ(control->parent()->name(), row.parent);
    EXPECT_EQ(control->bounds().left, row.bounds.left);
    EXPECT_EQ(control->bounds().top, row.bounds.top);
    if (row.kind != kLabel) {
      EXPECT_EQ(control->bounds().width, row.bounds.width);
      EXPECT_EQ(control->bounds().height, row.bounds.height);
    }
    EXPECT_EQ(control->text(), row.text);
    EXPECT_EQ(control->visible(), row.visible);
    EXPECT_TRUE(control->enabled());
  }
}

TEST_F(MainFormLayoutTest, ControlsAreCreatedInDesignOrder) {
  std::vector<std::string> order;
  for (const auto& component : form_.components()) {
    // The tab sheets sit between the page control and their contents.
    if (dynamic_cast<ui::Control*>(component.get()) != nullptr &&
        component->kind() != ComponentKind::kTabSheet) {
      order.push_back(component->name());
    }
  }
  std::vector<std::string> expected;
  for (const Row& row : kRows) expected.push_back(row.name);
  EXPECT_EQ(order, expected);
}

TEST_F(MainFormLayoutTest, LabelColoursAndFonts) {
  struct Expect {
    const char* name;
    Color color;
    bool bold;
  };
  const Expect expects[] = {
      {"lblClseApp", Color::System(SystemColor::kInactiveCaption), true},
      {"lblMinimize", Color::System(SystemColor::kInactiveCaption), true},
      {"lblSupport", Color::System(SystemColor::kActiveCaption), true},
      {"RemLblVolClean", Color::Rgb(0, 0x80, 0), true},
      {"RemLblVolInf", Color::Rgb(0xFF, 0, 0), true},
      {"lblinfo", Color::System(SystemColor::k3dDarkShadow), true},
      {"LblSysVol", Color::System(SystemColor::kHighlight), true},
      {"lblSearch", Color::System(SystemColor::kDesktop), true},
      {"lblNoDev", Color::Rgb(0x80, 0x80, 0), true},
      {"lblDescriptionNoDrive", Color::Rgb(0, 0x80, 0x80), true},
      {"lblDriveClean", Color::Rgb(0, 0x80, 0), true},
      {"lblDriveInfected", Color::Rgb(0xFF, 0, 0), true},
      {"lblNameHS", Color::Rgb(0, 0, 0), false},
      {"lblNameMSecure", Color::Rgb(0, 0, 0), false},
      {"lblnameLSecure", Color::System(SystemColor::kWindowText), false},
  };
  for (const Expect& e : expects) {
    const ui::Font& font = form_.Get<ui::Label>(e.name).font();
    EXPECT_TRUE(font.color == e.color) << e.name;
    EXPECT_EQ(font.style.bold, e.bold) << e.name;
  }
  const ui::Font& support = form_.Get<ui::Label>("lblSupport").font();
  EXPECT_EQ(support.name, "Palatino Linotype");
  EXPECT_TRUE(support.style.underline);
  EXPECT_EQ(form_.Get<ui::Label>("lblClseApp").cursor(), ui::Cursor::kHandPoint);
}

TEST_F(MainFormLayoutTest, ListsTreeAndSlider) {
  struct Expect {
    const char* name;
    std::vector<ui::ListColumn> columns;
    bool grid;
    bool headers;
    bool read_only;
    bool checks;
    const char* images;
    const char* menu;
  };
  const Expect expects[] = {
      {"LstScan",
       {{"Virus Path", 350}, {"Time Detection", 220}},
       true,
       true,
       false,
       false,
       "ImgVirus",
       ""},
      {"LstScanDrive",
       {{"Virus Path", 250}, {"Time Detection", 180}},
       false,
       true,
       true,
       false,
       "ImgVirus",
       ""},
      {"LstDrive", {{"", 170}}, false, false, true, false, "ImgLstDisk", "MnDriveAct"},
      {"LstPrgsStart",
       {{"Programs", 170}, {"Command", 300}, {"System Key", 150}},
       false,
       true,
       false,
       true,
       "",
       "MnActRegedit"},
      {"LstDeniedSoft", {{"Software Denied", 350}}, false, true, false, false, "ImgLstMtrl", ""},
  };
  for (const Expect& e : expects) {
    SCOPED_TRACE(e.name);
    const auto& list = form_.Get<ui::ListView>(e.name);
    ASSERT_EQ(list.columns().size(), e.columns.size());
    for (std::size_t i = 0; i < e.columns.size(); ++i) {
      EXPECT_EQ(list.columns()[i].caption, e.columns[i].caption);
      EXPECT_EQ(list.columns()[i].width, e.columns[i].width);
    }
    EXPECT_EQ(list.style().grid_lines, e.grid);
    EXPECT_EQ(list.style().show_column_headers, e.headers);
    EXPECT_EQ(list.style().read_only, e.read_only);
    EXPECT_EQ(list.style().check_boxes, e.checks);
    EXPECT_EQ(list.small_images() ? list.small_images()->name() : "", e.images);
    EXPECT_EQ(list.popup_menu() ? list.popup_menu()->name() : "", e.menu);
  }
  const auto& scan = form_.Get<ui::ListView>("LstScan");
  EXPECT_TRUE(scan.style().has_item_font);
  EXPECT_TRUE(scan.font().style.bold);
  EXPECT_TRUE(scan.font().color == Color::Rgb(0xFF, 0, 0));

  const auto& tree = form_.Get<ui::TreeView>("TreeActiveX");
  EXPECT_EQ(tree.images()->name(), "ImgLstMtrl");
  EXPECT_EQ(tree.indent(), 19);
  EXPECT_FALSE(tree.read_only());

  const auto& level = form_.Get<ui::TrackBar>("LevelSecure");
  EXPECT_TRUE(level.vertical());
  EXPECT_EQ(level.min(), 0);
  EXPECT_EQ(level.max(), 2);
  EXPECT_EQ(level.position(), 0);
  for (const char* box : {"ChckAntiDesableRegedit", "ChCkAntiDesableTaskManager",
                          "ChckAntiDeactiveFireWall", "ChCkAntiDesableFOpt"}) {
    EXPECT_FALSE(form_.Get<ui::CheckBox>(box).checked()) << box;
  }
}

TEST_F(MainFormLayoutTest, PagesSheetsAndTheirFirstOnesActive) {
  const auto& pager = form_.Get<ui::Pager>("PGCtrl");
  ASSERT_EQ(pager.pages().size(), 3u);
  EXPECT_EQ(pager.active_index(), 0);
  EXPECT_EQ(pager.images()->name(), "ImgPgCtrl");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pager.pages()[i]->image_index(), i);
  const ui::PagerStyle& style = pager.style();
  EXPECT_EQ(style.tab_height, 60);
  EXPECT_EQ(style.tab_width, 150);
  EXPECT_EQ(style.left_margin, 20);
  EXPECT_EQ(style.right_margin, 6);
  EXPECT_EQ(style.spacing, 6);
  EXPECT_EQ(style.corner_rounding, 4);

  const auto& sheets = form_.Get<ui::PageControl>("PageControl1").sheets();
  std::vector<std::string> captions;
  for (const auto* sheet : sheets) captions.push_back(sheet->text());
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Auto Start Programs", "Auto Start Component Activex",
                                      "Denied Software", "Protection Registry"}));
  EXPECT_TRUE(sheets[0]->visible());
  EXPECT_FALSE(sheets[3]->visible());
}

TEST_F(MainFormLayoutTest, MenusWithTheirPicturesDefaultsAndDisabledItems) {
  struct Item {
    const char* menu;
    const char* name;
    const char* caption;
    int image;
    bool is_default;
    bool enabled;
  };
  const Item items[] = {
      {"MnApp", "MnDesableAutoRunDrive", "Desable AutoRun Drive", -1, true, true},
      {"MnApp", "RestoreApplication1", "Restore Application", 1, false, true},
      {"MnApp", "Close", "Close ", 0, false, true},
      {"MnActionVir", "MnDel", "Delete", 0, false, true},
      {"MnActionVir", "Rename1", "Rename", 1, false, true},
      {"MnActionVir", "Quarantine1", "Quarantine", 2, false, true},
      {"MnActionVir", "Ignore1", "Ignore", 3, false, true},
      {"MnDriveAct", "MnRefrechListDrive", "Refrech List Drive", 0, true, true},
      {"MnDriveAct", "MnScanSelectedDisk", "Scan Selected Disk", 1, false, false},
      {"MnDriveAct", "MnLockSelectedDisk", "Lock Selected Disk", 2, false, false},
      {"MnActRegedit", "MnDelSelkey", "Delete Selected Key", 0, false, true},
      {"MnActRegedit", "MnDeniedSelectedSoftware", "Denied Selected Software", 1, false, true},
      {"MnActRegedit", "MnRefrechAllSoftware", "Refrech All Software", 2, false, true},
  };
  for (const Item& item : items) {
    SCOPED_TRACE(item.name);
    const ui::MenuItem& found = form_.Get<ui::PopupMenu>(item.menu).Find(item.name);
    EXPECT_EQ(found.caption, item.caption);
    EXPECT_EQ(found.image_index, item.image);
    EXPECT_EQ(found.is_default, item.is_default);
    EXPECT_EQ(found.enabled, item.enabled);
  }
  struct Images {
    const char* menu;
    const char* list;
  };
  for (const Images& m :
       {Images{"MnApp", "ImgMenu"}, Images{"MnActionVir", "ImgVirus"},
        Images{"MnDriveAct", "ImgActDisk"}, Images{"MnActRegedit", "ImgActRegedit"}}) {
    EXPECT_EQ(form_.Get<ui::PopupMenu>(m.menu).images()->name(), m.list);
  }
}

TEST_F(MainFormLayoutTest, ImageListsHoldTheirPicturesAtTheirSizes) {
  struct Expect {
    const char* name;
    int size;
    int count;
  };
  for (const Expect& e :
       {Expect{"ImgPgCtrl", 25, 3}, Expect{"ImgMenu", 32, 4}, Expect{"ImgVirus", 16, 4},
        Expect{"ImgLstDisk", 32, 3}, Expect{"ImgActDisk", 32, 3}, Expect{"ImgLstMtrl", 16, 5},
        Expect{"ImgActRegedit", 18, 3}}) {
    const auto& list = form_.Get<ui::ImageList>(e.name);
    EXPECT_EQ(list.width(), e.size) << e.name;
    EXPECT_EQ(list.height(), e.size) << e.name;
    EXPECT_EQ(list.count(), e.count) << e.name;
  }
}

}  // namespace
}  // namespace velmora::main
