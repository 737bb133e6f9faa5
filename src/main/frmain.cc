#include "main/frmain.h"

#include "main/main_form_layout.h"
#include "main/volume_texts.h"
#include "registry/auto_start_inventory.h"
#include "registry/registry.h"
#include "splash/splash_screen.h"
#include "ui/layout.h"

namespace velmora::main {
namespace {

ui::Form& BuildMainForm(ui::Form& form) {
  form.SetText("VELMORA");
  form.SetBounds({234, 158, 681, 523});
  form.SetWindowState(ui::WindowState::kMaximized);
  form.SetDropShadow(true);
  ui::BuildForm(form, MainFormLayout());
  return form;
}

}  // namespace

std::string AutostartCommand(const std::string& executable_path) {
  if (executable_path.find(' ') == std::string::npos) return executable_path;
  return "\"" + executable_path + "\"";
}

TFrmain::TFrmain(ui::Application& app, MainWindowServices services, ProgramState& state)
    : app_(app),
      services_(services),
      state_(state),
      form_("Frmain", "TFrmain"),
      ImgArrPln(BuildMainForm(form_).Get<ui::Image>("ImgArrPln")),
      lblClseApp(form_.Get<ui::Label>("lblClseApp")),
      lblMinimize(form_.Get<ui::Label>("lblMinimize")),
      lblSupport(form_.Get<ui::Label>("lblSupport")),
      MnApp(form_.Get<ui::PopupMenu>("MnApp")),
      MnDesableAutoRunDrive(MnApp.Find("MnDesableAutoRunDrive")),
      RestoreApplication1(MnApp.Find("RestoreApplication1")),
      Close(MnApp.Find("Close")),
      lblNameVoule(form_.Get<ui::Label>("lblNameVoule")),
      lblinfo(form_.Get<ui::Label>("lblinfo")),
      LblSysVol(form_.Get<ui::Label>("LblSysVol")),
      LstScan(form_.Get<ui::ListView>("LstScan")),
      LstPrgsStart(form_.Get<ui::ListView>("LstPrgsStart")),
      TreeActiveX(form_.Get<ui::TreeView>("TreeActiveX")),
      LstDeniedSoft(form_.Get<ui::ListView>("LstDeniedSoft")),
      MnActRegedit(form_.Get<ui::PopupMenu>("MnActRegedit")),
      MnDelSelkey(MnActRegedit.Find("MnDelSelkey")),
      MnDeniedSelectedSoftware(MnActRegedit.Find("MnDeniedSelectedSoftware")),
      MnRefrechAllSoftware(MnActRegedit.Find("MnRefrechAllSoftware")),
      LevelSecure(form_.Get<ui::TrackBar>("LevelSecure")),
      MemDescription(form_.Get<ui::Memo>("MemDescription")),
      Ticon(app, this, services.tray_shell),
      LstDrive(form_.Get<ui::ListView>("LstDrive")),
      MnDriveAct(form_.Get<ui::PopupMenu>("MnDriveAct")),
      MnRefrechListDrive(MnDriveAct.Find("MnRefrechListDrive")),
      MnScanSelectedDisk(MnDriveAct.Find("MnScanSelectedDisk")),
      MnLockSelectedDisk(MnDriveAct.Find("MnLockSelectedDisk")),
      lblDriveName(form_.Get<ui::Label>("lblDriveName")),
      lblDescriptionNoDrive(form_.Get<ui::Label>("lblDescriptionNoDrive")),
      ImgNoDriveSelected(form_.Get<ui::Image>("ImgNoDriveSelected")),
      ImgDrveClean(form_.Get<ui::Image>("ImgDrveClean")),
      ImgDriveInfected(form_.Get<ui::Image>("ImgDriveInfected")),
      lblDriveClean(form_.Get<ui::Label>("lblDriveClean")),
      lblDriveInfected(form_.Get<ui::Label>("lblDriveInfected")),
      lblInfoDrive(form_.Get<ui::Label>("lblInfoDrive")),
      lblsizeDrive(form_.Get<ui::Label>("lblsizeDrive")),
      LstScanDrive(form_.Get<ui::ListView>("LstScanDrive")),
      MnActionVir(form_.Get<ui::PopupMenu>("MnActionVir")),
      MnDel(MnActionVir.Find("MnDel")),
      Rename1(MnActionVir.Find("Rename1")),
      Quarantine1(MnActionVir.Find("Quarantine1")),
      Ignore1(MnActionVir.Find("Ignore1")),
      volume_slot_(search::VolumeStatusSlot::Of(form_)),
      scanner_(services.file_system, services.clock, form_, volume_slot_,
               search::DriveStatusSlot::Of(form_)) {
  form_.on_create = [this](ui::Form& sender) { FormCreate(sender); };
  form_.on_show = [this](ui::Form& sender) { FormShow(sender); };
  form_.on_close = [this](ui::Form& sender, ui::CloseAction& action) { FormClose(sender, action); };
  form_.on_device_change = [this](ui::Form& /*sender*/, const ui::DeviceChangeMessage& message) {
    WMDeviceChange(message);
  };
  Close.on_click = [this](ui::MenuItem& sender) { CloseClick(sender); };
  RestoreApplication1.on_click = [this](ui::MenuItem& sender) { RestoreApplication1Click(sender); };
  Ticon.OnDblClick = [this](tray::TTrayIcon& sender) { TiconDblClick(sender); };
  Ticon.OnRightClick = [this](tray::TTrayIcon& sender, ui::MouseButton button,
                              tray::ShiftState shift, int x,
                              int y) { TiconRightClick(sender, button, shift, x, y); };
  MnDesableAutoRunDrive.on_click = [this](ui::MenuItem& sender) {
    MnDesableAutoRunDriveClick(sender);
  };
  LevelSecure.on_change = [this](ui::TrackBar& sender) { LevelSecureChange(sender); };
  ImgArrPln.on_mouse_down = [this](ui::Image& sender, ui::MouseButton button, ui::Point at) {
    ImgArrPlnMouseDown(sender, button, at);
  };
  lblClseApp.on_click = [this](ui::Label& sender) { lblClseAppClick(sender); };
  lblClseApp.on_mouse_move = [this](ui::Label& sender) { lblClseAppMouseMove(sender); };
  lblClseApp.on_mouse_leave = [this](ui::Label& sender) { lblClseAppMouseLeave(sender); };
  lblMinimize.on_click = [this](ui::Label& sender) { lblMinimizeClick(sender); };
  lblMinimize.on_mouse_move = [this](ui::Label& sender) { lblMinimizeMouseMove(sender); };
  lblMinimize.on_mouse_leave = [this](ui::Label& sender) { lblMinimizeMouseLeave(sender); };
  lblSupport.on_click = [this](ui::Label& sender) { lblSupportClick(sender); };
  lblSupport.on_mouse_move = [this](ui::Label& sender) { lblSupportMouseMove(sender); };
  lblSupport.on_mouse_leave = [this](ui::Label& sender) { lblSupportMouseLeave(sender); };
  MnRefrechAllSoftware.on_click = [this](ui::MenuItem& sender) {
    MnRefrechAllSoftwareClick(sender);
  };
  MnDelSelkey.on_click = [this](ui::MenuItem& sender) { MnDelSelkeyClick(sender); };
  MnDeniedSelectedSoftware.on_click = [this](ui::MenuItem& sender) {
    MnDeniedSelectedSoftwareClick(sender);
  };
  BindDrivePanelAndThreatActions();
  app_.CreateForm(form_);
}

void TFrmain::FormCreate(ui::Form& /*sender*/) {
  FillDriveList(LstDrive);
  Ticon.SetActive(true);
  form_.SetRegion({1, 1, 678, 520, 10, 10});
  LoadAutoStartInventory();
  RegisterAutostart();
}

void TFrmain::LoadAutoStartInventory() {
  registry::LoadAutoStartInventory(services_.registry, LstPrgsStart, TreeActiveX);
}

void TFrmain::RegisterAutostart() {
  registry::Registry registry(services_.registry);
  registry.SetRootKey(platform::RootKey::kCurrentUser);
  registry.OpenKey(kAutostartKey, true);
  registry.WriteString(kAutostartValue, AutostartCommand(services_.process.ExecutablePath()));
}

void TFrmain::FormShow(ui::Form& /*sender*/) {
  if (state_.SplashShown) return;
  if (FrmSplashScreen != nullptr) FrmSplashScreen->Show();
  state_.SplashShown = true;
}

void TFrmain::FormClose(ui::Form& /*sender*/, ui::CloseAction& action) {
  if (state_.QuitRequested) return;  // the default action ends the program
  action = ui::CloseAction::kNone;
  Ticon.MinimizeToTray();
}

void TFrmain::CloseClick(ui::MenuItem& /*sender*/) {
  state_.QuitRequested = true;
  app_.Terminate();
}

void TFrmain::RestoreApplication1Click(ui::MenuItem& /*sender*/) { Ticon.RestoreFromTray(); }

void TFrmain::TiconDblClick(tray::TTrayIcon& /*sender*/) { Ticon.RestoreFromTray(); }

// Any button, anywhere on the exposed picture: the window moves as if by its caption bar.
void TFrmain::ImgArrPlnMouseDown(ui::Image& /*sender*/, ui::MouseButton /*button*/,
                                 ui::Point /*at*/) {
  form_.StartMove();
}

void TFrmain::lblClseAppClick(ui::Label& /*sender*/) { Ticon.MinimizeToTray(); }

void TFrmain::lblClseAppMouseMove(ui::Label& /*sender*/) {
  lblClseApp.SetCursor(ui::Cursor::kHandPoint);
  ui::FontStyle underline_only;
  underline_only.underline = true;
  lblClseApp.SetFontStyle(underline_only);
}

// The bold of the "X" is gone for good once the pointer has passed over it.
void TFrmain::lblClseAppMouseLeave(ui::Label& /*sender*/) {
  lblClseApp.SetCursor(ui::Cursor::kDefault);
  lblClseApp.SetFontStyle({});
}

void TFrmain::lblMinimizeClick(ui::Label& /*sender*/) { app_.Minimize(); }

void TFrmain::lblMinimizeMouseMove(ui::Label& /*sender*/) {
  lblMinimize.SetCursor(ui::Cursor::kHandPoint);
}

void TFrmain::lblMinimizeMouseLeave(ui::Label& /*sender*/) {
  lblMinimize.SetCursor(ui::Cursor::kDefault);
}

void TFrmain::lblSupportClick(ui::Label& /*sender*/) {
  services_.shell.Execute("Open", "IExplore", std::string("-New ") + kSupportAddress);
}

void TFrmain::WMDeviceChange(const ui::DeviceChangeMessage& message) {
  if (message.event == ui::kDeviceRemoveComplete) {
    VolumeRemoved();  // whatever was removed: the record is not read
    return;
  }
  if (message.event != ui::kDeviceArrival) return;
  // Ports and other devices arrive too, and a mask without a drive names no volume: none of
  // them touches the panel. A mask naming several drives serves each in turn.
  if (!message.unit_mask) return;
  for (char letter : DriveLettersOfMask(*message.unit_mask)) VolumeArrived(letter);
}

void TFrmain::VolumeArrived(char letter) {
  form_.SetText("Volume Detected");
  const std::string root = RootPath(letter);
  const std::optional<platform::VolumeInformation> volume = services_.volumes.Query(root);
  if (!volume) return;
  const std::string size_text = SizeTextOfDrive(letter);
  lblNameVoule.SetText(VolumeNameText(volume->label, letter));
  lblinfo.SetText(size_text);
  LblSysVol.SetText(SystemText(volume->file_system, volume->serial_number));
  scanner_.set_found_threat(false);
  scanner_.SearchFiles(root + "*.*", LstScan, search::ScanMode::kVolumePanel,
                       search::kAllEntriesMask);
  Ticon.RestoreFromTray();
  form_.SetWindowState(ui::WindowState::kMaximized);
}

void TFrmain::VolumeRemoved() {
  lblNameVoule.SetText("No Volume Detected");
  volume_slot_.ShowNoVolume();
}

void TFrmain::MnRefrechAllSoftwareClick(ui::MenuItem& /*sender*/) {
  LstPrgsStart.Clear();
  TreeActiveX.Clear();
  LoadAutoStartInventory();
}

// No confirmation: the entries ticked are the user's choice. Each name goes from every Run
// key, whichever one it was listed from, and the new listing shows what is really left.
void TFrmain::MnDelSelkeyClick(ui::MenuItem& /*sender*/) {
  const int count = LstPrgsStart.item_count();
  for (int i = 0; i < count; ++i) {
    const ui::ListItem& entry = LstPrgsStart.item(i);
    if (entry.checked) registry::DeleteAutoStartValue(services_.registry, entry.caption);
    LstPrgsStart.Repaint();
  }
  MnRefrechAllSoftware.Click();
}

void TFrmain::MnDeniedSelectedSoftwareClick(ui::MenuItem& /*sender*/) {
  for (int i = 0; i < LstPrgsStart.item_count(); ++i) {
    const ui::ListItem& entry = LstPrgsStart.item(i);
    if (entry.checked) LstDeniedSoft.AddItem({entry.caption, {}, 1, false});
  }
}

void TFrmain::lblSupportMouseMove(ui::Label& /*sender*/) {
  lblSupport.SetCursor(ui::Cursor::kHandPoint);
}

void TFrmain::lblSupportMouseLeave(ui::Label& /*sender*/) {
  lblSupport.SetCursor(ui::Cursor::kDefault);
}

}  // namespace velmora::main
