#ifndef VELMORA_MAIN_FRMAIN_H_
#define VELMORA_MAIN_FRMAIN_H_

#include <string>

#include "actions/threat_actions.h"
#include "main/program_state.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/process.h"
#include "platform/registry_backend.h"
#include "platform/shell.h"
#include "platform/volumes.h"
#include "search/threat_scanner.h"
#include "tray/tray_icon.h"
#include "tray/tray_shell.h"
#include "ui/application.h"
#include "ui/device_change.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/inputs.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/popup_menu.h"
#include "ui/tree_view.h"

namespace velmora::splash {
class TFrmSplashScreen;
}

namespace velmora::main {

// The registry value that starts the guard at the user's next logon.
inline constexpr char kAutostartKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kAutostartValue[] = "Velmora Protection";

// The autostart command for an executable: quoted when the path holds a blank, since an
// unquoted path with blanks lets a planted C:\Program.exe run in its place.
std::string AutostartCommand(const std::string& executable_path);

// The support page "Technical Support" opens in a new browser window.
inline constexpr char kSupportAddress[] = "https://support.velmora.example/";

// The operating-system services the main window works through.
struct MainWindowServices {
  platform::RegistryBackend& registry;
  platform::Process& process;
  platform::Shell& shell;
  tray::TrayShell& tray_shell;
  platform::FileSystem& file_system;
  platform::Clock& clock;
  platform::Volumes& volumes;
  platform::NumberFormat& number_format;
};

// The main window: a borderless picture window with its own caption buttons, living in the
// notification area when closed.
class TFrmain {
 public:
  TFrmain(ui::Application& app, MainWindowServices services, ProgramState& state);
  TFrmain(const TFrmain&) = delete;
  TFrmain& operator=(const TFrmain&) = delete;

  ui::Form& form() { return form_; }
  // The splash window is created after the main window; its first display shows it.
  void SetSplash(splash::TFrmSplashScreen* splash) { FrmSplashScreen = splash; }
  // What the threat-action menu does to files; the program entry hands in the real one.
  void SetThreatActions(actions::ThreatActions* threat_actions) {
    threat_actions_ = threat_actions;
  }

  // Handlers, named after their component and event.
  void FormCreate(ui::Form& sender);
  void FormShow(ui::Form& sender);
  void FormClose(ui::Form& sender, ui::CloseAction& action);
  void CloseClick(ui::MenuItem& sender);
  void RestoreApplication1Click(ui::MenuItem& sender);
  void TiconDblClick(tray::TTrayIcon& sender);
  void TiconRightClick(tray::TTrayIcon& sender, ui::MouseButton button, tray::ShiftState shift,
                       int x, int y);
  void ImgArrPlnMouseDown(ui::Image& sender, ui::MouseButton button, ui::Point at);
  void lblClseAppClick(ui::Label& sender);
  void lblClseAppMouseMove(ui::Label& sender);
  void lblClseAppMouseLeave(ui::Label& sender);
  void lblMinimizeClick(ui::Label& sender);
  void lblMinimizeMouseMove(ui::Label& sender);
  void lblMinimizeMouseLeave(ui::Label& sender);
  void lblSupportClick(ui::Label& sender);
  void lblSupportMouseMove(ui::Label& sender);
  void lblSupportMouseLeave(ui::Label& sender);
  // The device-change broadcast: a plugged-in volume is shown and scanned, a removal resets
  // the volume panel. Runs to the end of the scan before the window handles anything else.
  void WMDeviceChange(const ui::DeviceChangeMessage& message);
  // The start-up program list's menu: each acts on the entries ticked in LstPrgsStart.
  void MnRefrechAllSoftwareClick(ui::MenuItem& sender);
  void MnDelSelkeyClick(ui::MenuItem& sender);
  void MnDeniedSelectedSoftwareClick(ui::MenuItem& sender);
  // The tray menu's AutoRun switch and the protection-level slider.
  void MnDesableAutoRunDriveClick(ui::MenuItem& sender);
  void LevelSecureChange(ui::TrackBar& sender);
  // The drive panel on page 2: the drive list and the on-demand scan of the drive picked.
  void MnRefrechListDriveClick(ui::MenuItem& sender);
  void LstDriveSelectItem(ui::ListView& sender, int index, bool selected);
  void MnScanSelectedDiskClick(ui::MenuItem& sender);
  // The threat lists of both panels: the threat-action menu is attached to a list while one
  // of its entries is selected.
  void LstScanSelectItem(ui::ListView& sender, int index, bool selected);
  void LstScanDriveSelectItem(ui::ListView& sender, int index, bool selected);
  // The threat-action menu. Each acts on the selected entry of the list the menu was opened
  // on, else of the list ActionTarget names; with no selected entry there, nothing happens.
  // Delete and Rename take the entry out of its list whatever became of the file; Quarantine
  // and Ignore leave the lists. A failure is told in a message box; so is a command given
  // without threat actions set, which fails as an action would.
  void MnDelClick(ui::MenuItem& sender);
  void Rename1Click(ui::MenuItem& sender);
  void Quarantine1Click(ui::MenuItem& sender);
  void Ignore1Click(ui::MenuItem& sender);

  // The suspicious-file scan both panels run, with its FoundThreat flag.
  search::ThreatScanner& scanner() { return scanner_; }

 private:
  void VolumeArrived(char letter);
  void VolumeRemoved();
  void FillDriveList(ui::ListView& list);
  void BindDrivePanelAndThreatActions();
  std::string SizeTextOfDrive(char letter);
  void AttachThreatMenu(ui::ListView& list, bool selected, bool volume_list);
  ui::ListView& ThreatActionList();
  void ApplyThreatAction(actions::ThreatAction action);
  void LoadAutoStartInventory();
  void RegisterAutostart();

  ui::Application& app_;
  MainWindowServices services_;
  ProgramState& state_;
  splash::TFrmSplashScreen* FrmSplashScreen = nullptr;
  actions::ThreatActions* threat_actions_ = nullptr;
  ui::Form form_;

 public:
  // The controls and components, by the names the layout gives them.
  ui::Image& ImgArrPln;
  ui::Label& lblClseApp;
  ui::Label& lblMinimize;
  ui::Label& lblSupport;
  ui::PopupMenu& MnApp;
  ui::MenuItem& MnDesableAutoRunDrive;
  ui::MenuItem& RestoreApplication1;
  ui::MenuItem& Close;
  ui::Label& lblNameVoule;
  ui::Label& lblinfo;
  ui::Label& LblSysVol;
  ui::ListView& LstScan;
  ui::ListView& LstPrgsStart;
  ui::TreeView& TreeActiveX;
  ui::ListView& LstDeniedSoft;
  ui::PopupMenu& MnActRegedit;
  ui::MenuItem& MnDelSelkey;
  ui::MenuItem& MnDeniedSelectedSoftware;
  ui::MenuItem& MnRefrechAllSoftware;
  // The registry page's protection-level panel.
  ui::TrackBar& LevelSecure;
  ui::Memo& MemDescription;
  tray::TTrayIcon Ticon;
  // Page 2, the drive panel, and the threat-action menu of both threat lists.
  ui::ListView& LstDrive;
  ui::PopupMenu& MnDriveAct;
  ui::MenuItem& MnRefrechListDrive;
  ui::MenuItem& MnScanSelectedDisk;
  ui::MenuItem& MnLockSelectedDisk;
  ui::Label& lblDriveName;
  ui::Label& lblDescriptionNoDrive;
  ui::Image& ImgNoDriveSelected;
  ui::Image& ImgDrveClean;
  ui::Image& ImgDriveInfected;
  ui::Label& lblDriveClean;
  ui::Label& lblDriveInfected;
  ui::Label& lblInfoDrive;
  ui::Label& lblsizeDrive;
  ui::ListView& LstScanDrive;
  ui::PopupMenu& MnActionVir;
  ui::MenuItem& MnDel;
  ui::MenuItem& Rename1;
  ui::MenuItem& Quarantine1;
  ui::MenuItem& Ignore1;

 private:
  search::VolumeStatusSlot volume_slot_;
  search::ThreatScanner scanner_;
};

}  // namespace velmora::main

#endif  // VELMORA_MAIN_FRMAIN_H_
