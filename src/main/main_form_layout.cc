#include "main/main_form_layout.h"

#include "main/resource_names.h"

namespace velmora::main {
namespace {

using ui::Color;
using ui::ComponentKind;
using ui::ControlSpec;
using ui::Cursor;
using ui::Font;
using ui::ListViewStyle;
using ui::Picture;
using ui::Rect;
using ui::SystemColor;

Color Sys(SystemColor color) { return Color::System(color); }

Font Arial8(bool bold, Color color = Sys(SystemColor::kWindowText)) {
  Font font;
  font.name = "Arial";
  font.size_pt = 8;
  font.style.bold = bold;
  font.color = color;
  return font;
}

ControlSpec Label(const char* name, const char* parent, int left, int top, const char* text,
                  Font font, bool visible = true) {
  ControlSpec spec{ComponentKind::kLabel, name, parent, {left, top, 0, 0}, text, visible};
  spec.font = font;
  return spec;
}

ControlSpec Icon(const char* name, const char* parent, Rect bounds, const char* icon,
                 bool visible = true, bool stretch = false) {
  ControlSpec spec{ComponentKind::kImage, name, parent, bounds, "", visible};
  spec.picture = Picture::Icon(icon);
  spec.stretch = stretch;
  return spec;
}

ControlSpec Container(ComponentKind kind, const char* name, const char* parent, Rect bounds,
                      const char* text = "") {
  return {kind, name, parent, bounds, text};
}

void AddChrome(ui::FormLayout& layout) {
  ControlSpec picture{ComponentKind::kImage, "ImgArrPln", "", {-9, 0, 690, 521}};
  picture.picture = Picture::Jpeg(kBackdropPicture);
  layout.controls.push_back(picture);

  ControlSpec close =
      Label("lblClseApp", "", 664, 8, "X", Arial8(true, Sys(SystemColor::kInactiveCaption)));
  close.cursor = Cursor::kHandPoint;
  layout.controls.push_back(close);
  layout.controls.push_back(
      Label("lblMinimize", "", 648, 7, "_", Arial8(true, Sys(SystemColor::kInactiveCaption))));
  Font palatino = Arial8(true, Sys(SystemColor::kActiveCaption));
  palatino.name = "Palatino Linotype";
  palatino.style.underline = true;
  layout.controls.push_back(Label("lblSupport", "", 576, 496, "Technical Support", palatino));

  ControlSpec pager = Container(ComponentKind::kPager, "PGCtrl", "", {8, 40, 665, 433});
  pager.images = "ImgPgCtrl";
  layout.controls.push_back(pager);
  const char* const captions[] = {"VELMORA Protection", "PC  Offline  Protection",
                                  "Registry Protection"};
  const char* const names[] = {"AdvOfficePager11", "AdvOfficePager12", "AdvOfficePager13"};
  for (int i = 0; i < 3; ++i) {
    ControlSpec page =
        Container(ComponentKind::kPagerPage, names[i], "PGCtrl", {1, 60, 663, 371}, captions[i]);
    page.image_index = i;
    layout.controls.push_back(page);
  }
}

void AddVolumePanel(ui::FormLayout& layout) {
  const char* group = "GrpVolume";
  layout.controls.push_back(Container(ComponentKind::kGroupBox, group, "AdvOfficePager11",
                                      {8, 8, 649, 353}, "Scan Volume"));
  const Font text = Arial8(true);
  auto& c = layout.controls;
  c.push_back(Label("lblNameV", group, 51, 35, "Volume Name : ", text));
  c.push_back(Label("lblNameVoule", group, 152, 35, "No Volume Detected", text));
  c.push_back(Icon("ImgVolClean", group, {8, 32, 33, 33}, "ICO_SHIELD_TICK", false));
  c.push_back(Label("RemLblVolClean", group, 51, 50,
                    "SECURED - The Volume is Clean no risk to use it.",
                    Arial8(true, Color::Rgb(0x00, 0x80, 0x00)), false));
  c.push_back(Label("RemLblVolInf", group, 50, 50,
                    "CRITICAL WARNING : The Volume is infected wait to clean it.",
                    Arial8(true, Color::Rgb(0xFF, 0x00, 0x00)), false));
  c.push_back(Icon("ImgVolInf", group, {8, 32, 33, 33}, "ICO_SHIELD_CROSS", false));
  c.push_back(Icon("ImgInfo", group, {8, 80, 33, 33}, "ICO_PIE_CHART", true, true));
  c.push_back(Label("lblNmVolInfo", group, 51, 80, "Information Volume Size", text));
  c.push_back(Label("lblinfo", group, 51, 96,
                    "No Information Detected Please Check Your volume to scan it. ",
                    Arial8(true, Sys(SystemColor::k3dDarkShadow))));
  c.push_back(Icon("ImgUsbISerial", group, {8, 128, 33, 33}, "ICO_USB_DRIVE"));
  c.push_back(Label("lblNameSysVol", group, 51, 128, "System Volume", text));
  c.push_back(Label("LblSysVol", group, 51, 144,
                    "No Information System Detected Please Check your volume to scan it.",
                    Arial8(true, Sys(SystemColor::kHighlight))));
  c.push_back(Icon("ImgScan", group, {8, 32, 33, 33}, "ICO_SHIELD_QUESTION", false));
  c.push_back(Label("lblSearch", group, 50, 50, "Search autorun file in volume Device .",
                    Arial8(true, Sys(SystemColor::kDesktop)), false));
  c.push_back(Icon("ImgNoDevice", group, {8, 27, 33, 41}, "ICO_WARNING_TRIANGLE"));
  c.push_back(Label("lblNoDev", group, 50, 50,
                    "Empty Device Detected Please Check your volume to scan it.",
                    Arial8(true, Color::Rgb(0x80, 0x80, 0x00))));

  ControlSpec list{ComponentKind::kListView, "LstScan", group, {8, 176, 633, 169}};
  list.columns = {{"Virus Path", 350}, {"Time Detection", 220}};
  list.list_style = ListViewStyle{true, true, false, false, true};
  list.images = "ImgVirus";
  list.background = Sys(SystemColor::kHighlightText);
  list.font = Arial8(true, Color::Rgb(0xFF, 0x00, 0x00));
  c.push_back(list);
}

void AddDrivePanel(ui::FormLayout& layout) {
  const char* page = "AdvOfficePager12";
  const Font text = Arial8(true);
  auto& c = layout.controls;
  c.push_back(Icon("ImgLogicSize", page, {218, 324, 33, 33}, "ICO_PIE_CHART", true, true));
  c.push_back(Label("lblsizeDrive", page, 267, 340,
                    "No Information Size Detected Please Check Your volume to scan it. ",
                    Arial8(true, Sys(SystemColor::k3dDarkShadow))));
  c.push_back(Icon("ImgSystemDrive", page, {218, 274, 33, 33}, "ICO_DRIVE_EMBLEM"));
  c.push_back(Label("lblInfoDrive", page, 267, 288,
                    "No Information System Detected Please Check your volume to scan it.",
                    Arial8(true, Sys(SystemColor::kHighlight))));
  c.push_back(Icon("ImgDrveClean", page, {217, 224, 33, 33}, "ICO_SHIELD_TICK", false));
  c.push_back(Icon("ImgDriveInfected", page, {217, 224, 33, 33}, "ICO_SHIELD_CROSS", false));
  c.push_back(Label("lblNameDrive", page, 267, 226, "Information Drive Name :", text));
  c.push_back(Label("lblDriveName", page, 408, 226, "Empty Selected Drive", text));
  c.push_back(Icon("ImgNoDriveSelected", page, {217, 224, 33, 33}, "ICO_SHIELD_QUESTION"));
  c.push_back(Label("lblDescriptionNoDrive", page, 267, 244,
                    "No Drive Selected ! Select a drive to scan it please.",
                    Arial8(true, Color::Rgb(0x00, 0x80, 0x80))));
  c.push_back(Label("lblDriveClean", page, 267, 245,
                    "SECURED - The Drive is Clean no risk to use it.",
                    Arial8(true, Color::Rgb(0x00, 0x80, 0x00)), false));
  c.push_back(Label("lblDriveInfected", page, 267, 245,
                    "CRITICAL WARNING : The Drive is infected Please Right Click to clean it.",
                    Arial8(true, Color::Rgb(0xFF, 0x00, 0x00)), false));
  c.push_back(Label("lblnameinfoDrive", page, 267, 324, "Information Drive Size", text));
  c.push_back(Label("lblnamesysdrive", page, 267, 273, "Information System Drive", text));

  ControlSpec threats{ComponentKind::kListView, "LstScanDrive", page, {208, 8, 449, 209}};
  threats.columns = {{"Virus Path", 250}, {"Time Detection", 180}};
  threats.list_style = ListViewStyle{false, true, true, false, false};
  threats.images = "ImgVirus";
  threats.background = Sys(SystemColor::kHighlightText);
  threats.font = Arial8(false);
  c.push_back(threats);

  ControlSpec drives{ComponentKind::kListView, "LstDrive", page, {8, 8, 201, 353}};
  drives.columns = {{"", 170}};
  drives.list_style = ListViewStyle{false, false, true, false, false};
  drives.images = "ImgLstDisk";
  drives.background = Sys(SystemColor::kHighlightText);
  drives.popup_menu = "MnDriveAct";
  drives.font = Arial8(false);
  c.push_back(drives);
}

void AddRegistryPage(ui::FormLayout& layout) {
  auto& c = layout.controls;
  c.push_back(
      Container(ComponentKind::kPageControl, "PageControl1", "AdvOfficePager13", {8, 8, 649, 353}));
  const char* const sheets[][2] = {{"TabStrtSoft", "Auto Start Programs"},
                                   {"TabAcivex", "Auto Start Component Activex"},
                                   {"TabDeniedSoftware", "Denied Software"},
                                   {"TabRegAntiVir", "Protection Registry"}};
  for (const auto& sheet : sheets) {
    c.push_back(
        Container(ComponentKind::kTabSheet, sheet[0], "PageControl1", {4, 24, 641, 325}, sheet[1]));
  }
  const Font regular = Arial8(false);

  ControlSpec programs{ComponentKind::kListView, "LstPrgsStart", "TabStrtSoft", {0, 0, 641, 321}};
  programs.columns = {{"Programs", 170}, {"Command", 300}, {"System Key", 150}};
  programs.list_style = ListViewStyle{false, true, false, true, false};
  programs.background = Sys(SystemColor::kHighlightText);
  programs.popup_menu = "MnActRegedit";
  programs.font = regular;
  c.push_back(programs);

  ControlSpec tree{ComponentKind::kTreeView, "TreeActiveX", "TabAcivex", {0, 0, 641, 321}};
  tree.images = "ImgLstMtrl";
  tree.indent = 19;
  tree.font = regular;
  c.push_back(tree);

  ControlSpec denied{
      ComponentKind::kListView, "LstDeniedSoft", "TabDeniedSoftware", {0, 0, 641, 321}};
  denied.columns = {{"Software Denied", 350}};
  denied.list_style = ListViewStyle{false, true, false, false, false};
  denied.images = "ImgLstMtrl";
  denied.background = Sys(SystemColor::kHighlightText);
  denied.font = regular;
  c.push_back(denied);

  const char* group = "GrpLevelProtection";
  c.push_back(Container(ComponentKind::kGroupBox, group, "TabRegAntiVir", {8, 8, 633, 169},
                        "Level Registry Protection"));
  const Color black = Color::Rgb(0, 0, 0);
  c.push_back(Label("lblNameHS", group, 48, 28, "High Security", Arial8(false, black)));
  c.push_back(Label("lblNameMSecure", group, 48, 85, "Medium Security", Arial8(false, black)));
  c.push_back(Label("lblnameLSecure", group, 48, 142, "Normal Security", regular));
  ControlSpec level{ComponentKind::kTrackBar, "LevelSecure", group, {8, 24, 33, 137}};
  level.vertical = true;
  level.range_min = 0;
  level.range_max = 2;
  level.position = 0;
  c.push_back(level);
  ControlSpec memo{ComponentKind::kMemo,
                   "MemDescription",
                   group,
                   {192, 24, 201, 137},
                   "High Security Level can Protect the \r\nregistry 100 % and delete any new "
                   "\r\nPrograms"};
  memo.font = regular;
  c.push_back(memo);
  const struct {
    const char* name;
    Rect bounds;
    const char* text;
  } boxes[] = {{"ChckAntiDesableRegedit", {416, 24, 161, 17}, "Anti Desable Regedit Control"},
               {"ChCkAntiDesableTaskManager", {416, 56, 297, 17}, "Anti Desable Task Manager"},
               {"ChckAntiDeactiveFireWall", {416, 96, 153, 17}, "Anti Desable Firewall"},
               {"ChCkAntiDesableFOpt", {416, 136, 177, 17}, "Anti Desable Folder Options"}};
  for (const auto& box : boxes) {
    ControlSpec check{ComponentKind::kCheckBox, box.name, group, box.bounds, box.text};
    check.font = regular;
    c.push_back(check);
  }
}

void AddImageLists(ui::FormLayout& layout) {
  layout.image_lists = {
      {"ImgPgCtrl", 25, 25, {"ICO_USB_DRIVE", "ICO_MONITOR", "ICO_TOOLS_BADGE"}},
      {"ImgMenu",
       32,
       32,
       {"ICO_CLOSE_BUTTON", "ICO_CIRCLING_ARROWS", "ICO_BRUSH_CROSS", "ICO_ARROW_RIGHT"}},
      {"ImgVirus",
       16,
       16,
       {"ICO_PROHIBITION", "ICO_CIRCLING_ARROWS", "ICO_WASTE_BIN", "ICO_WARNING_ORANGE"}},
      {"ImgLstDisk", 32, 32, {"ICO_DRIVE_FIXED", "ICO_DRIVE_OPTICAL", "ICO_DRIVE_REMOVABLE"}},
      {"ImgActDisk", 32, 32, {"ICO_TURNING_ARROW", "ICO_MAGNIFIER", "ICO_PADLOCK"}},
      {"ImgLstMtrl",
       16,
       16,
       {"ICO_TICK_GREEN", "ICO_CROSS_RED", "ICO_GEAR_GREEN", "ICO_PROGRAM_WINDOW_DARK",
        "ICO_APP_WINDOW_BLUE"}},
      {"ImgActRegedit", 18, 18, {"ICO_CROSS_RED", "ICO_NO_ENTRY", "ICO_CIRCLING_ARROWS"}},
  };
}

void AddMenus(ui::FormLayout& layout) {
  layout.menus = {
      {"MnApp",
       "ImgMenu",
       {{"MnDesableAutoRunDrive", "Desable AutoRun Drive", -1, true},
        {"RestoreApplication1", "Restore Application", 1},
        {"Close", "Close ", 0}}},
      {"MnActionVir",
       "ImgVirus",
       {{"MnDel", "Delete", 0},
        {"Rename1", "Rename", 1},
        {"Quarantine1", "Quarantine", 2},
        {"Ignore1", "Ignore", 3}}},
      {"MnDriveAct",
       "ImgActDisk",
       {{"MnRefrechListDrive", "Refrech List Drive", 0, true},
        {"MnScanSelectedDisk", "Scan Selected Disk", 1, false, false},
        {"MnLockSelectedDisk", "Lock Selected Disk", 2, false, false}}},
      {"MnActRegedit",
       "ImgActRegedit",
       {{"MnDelSelkey", "Delete Selected Key", 0},
        {"MnDeniedSelectedSoftware", "Denied Selected Software", 1},
        {"MnRefrechAllSoftware", "Refrech All Software", 2}}},
  };
}

}  // namespace

ui::FormLayout MainFormLayout() {
  ui::FormLayout layout;
  AddImageLists(layout);
  AddChrome(layout);
  AddVolumePanel(layout);
  AddDrivePanel(layout);
  AddRegistryPage(layout);
  AddMenus(layout);
  return layout;
}

}  // namespace velmora::main
