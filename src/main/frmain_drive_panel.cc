// The drive panel on page 2: the list of drives a user can scan, what the panel shows of the
// drive picked, and the on-demand scan into the drive threat list.
#include <cstdint>
#include <optional>
#include <string>

#include "main/frmain.h"
#include "main/volume_texts.h"

namespace velmora::main {
namespace {

// The picture of ImgLstDisk a listed drive gets; none for the kinds the list leaves out
// (network drives, RAM disks, letters with nothing or something unknown behind them).
std::optional<int> DriveImageIndex(platform::DriveType type) {
  switch (type) {
    case platform::DriveType::kFixed:
      return 0;
    case platform::DriveType::kOptical:
      return 1;
    case platform::DriveType::kRemovable:
      return 2;
    default:
      return std::nullopt;
  }
}

constexpr char kSelectedDriveHint[] = "Please Right Click on Selected Drive And Choice Scan Drive!";
constexpr char kNoDriveName[] = "Empty Selected Drive";
constexpr char kNoDriveHint[] = "No Drive Selected ! Select a drive to scan it please.";
constexpr char kNoDriveSystem[] =
    "No Information System Detected Please Check your volume to scan it.";
constexpr char kNoDriveSizes[] =
    "No Information Size Detected Please Check Your volume to scan it. ";

}  // namespace

void TFrmain::BindDrivePanelAndThreatActions() {
  MnRefrechListDrive.on_click = [this](ui::MenuItem& sender) { MnRefrechListDriveClick(sender); };
  MnScanSelectedDisk.on_click = [this](ui::MenuItem& sender) { MnScanSelectedDiskClick(sender); };
  LstDrive.on_select_item = [this](ui::ListView& sender, int index, bool selected) {
    LstDriveSelectItem(sender, index, selected);
  };
  LstScan.on_select_item = [this](ui::ListView& sender, int index, bool selected) {
    LstScanSelectItem(sender, index, selected);
  };
  LstScanDrive.on_select_item = [this](ui::ListView& sender, int index, bool selected) {
    LstScanDriveSelectItem(sender, index, selected);
  };
  MnDel.on_click = [this](ui::MenuItem& sender) { MnDelClick(sender); };
  Rename1.on_click = [this](ui::MenuItem& sender) { Rename1Click(sender); };
  Quarantine1.on_click = [this](ui::MenuItem& sender) { Quarantine1Click(sender); };
  Ignore1.on_click = [this](ui::MenuItem& sender) { Ignore1Click(sender); };
}

// An empty card reader or optical drive fails its volume query and is left out; the win32
// side of the port keeps the platform's "insert a disk" box away meanwhile.
void TFrmain::FillDriveList(ui::ListView& list) {
  list.Clear();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = RootPath(letter);
    const std::optional<int> image = DriveImageIndex(services_.volumes.Type(root));
    if (!image) continue;
    const std::optional<platform::VolumeInformation> volume = services_.volumes.Query(root);
    if (!volume) continue;
    list.AddItem({volume->label + " (" + root.substr(0, root.size() - 1) + ")", {}, *image});
  }
  // The entries went with their selection, and no deselection was announced: the scan is
  // offered again only once a drive is picked anew.
  MnScanSelectedDisk.enabled = false;
  MnLockSelectedDisk.enabled = false;
}

void TFrmain::MnRefrechListDriveClick(ui::MenuItem& /*sender*/) { FillDriveList(LstDrive); }

void TFrmain::LstDriveSelectItem(ui::ListView& sender, int index, bool selected) {
  MnScanSelectedDisk.enabled = selected;
  MnLockSelectedDisk.enabled = selected;
  if (selected) {
    lblDriveName.SetText(sender.item(index).caption);
    lblDescriptionNoDrive.SetText(kSelectedDriveHint);
  }
  ImgNoDriveSelected.SetVisible(true);
  ImgDrveClean.SetVisible(false);
  ImgDriveInfected.SetVisible(false);
  lblDescriptionNoDrive.SetVisible(true);
  lblDriveClean.SetVisible(false);
  lblDriveInfected.SetVisible(false);
  if (!selected) {
    lblDriveName.SetText(kNoDriveName);
    lblDescriptionNoDrive.SetText(kNoDriveHint);
    lblInfoDrive.SetText(kNoDriveSystem);
    lblsizeDrive.SetText(kNoDriveSizes);
  }
}

// Entries of earlier drive scans stay in LstScanDrive; the scan lists no path twice.
void TFrmain::MnScanSelectedDiskClick(ui::MenuItem& /*sender*/) {
  const int index = LstDrive.selected_index();
  if (index < 0) return;  // nothing picked: the list was refilled since
  const std::string& caption = LstDrive.item(index).caption;
  // Every caption ends in " (X:)": the letter is the third of its last five characters.
  if (caption.size() < 5) return;
  const char letter = caption[caption.size() - 3];
  if (letter < 'A' || letter > 'Z') return;
  const std::string root = RootPath(letter);
  std::string system_text;
  if (const std::optional<platform::VolumeInformation> volume = services_.volumes.Query(root)) {
    system_text = SystemText(volume->file_system, volume->serial_number);
  }
  lblsizeDrive.SetText(SizeTextOfDrive(letter));
  lblInfoDrive.SetText(system_text);
  scanner_.set_found_threat(false);
  scanner_.SearchFiles(root + "*.*", LstScanDrive, search::ScanMode::kDrivePanel,
                       search::kAllEntriesMask);
}

// The total size is asked for before the free size; either shows 0 when it cannot be had.
std::string TFrmain::SizeTextOfDrive(char letter) {
  const int drive_number = letter - 64;
  const std::int64_t total_bytes = services_.volumes.TotalBytes(drive_number);
  const std::int64_t free_bytes = services_.volumes.FreeBytes(drive_number);
  return SizeText(total_bytes, free_bytes, services_.number_format.ThousandsSeparator());
}

}  // namespace velmora::main
