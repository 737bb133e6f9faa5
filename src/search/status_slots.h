#ifndef VELMORA_SEARCH_STATUS_SLOTS_H_
#define VELMORA_SEARCH_STATUS_SLOTS_H_

#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"

namespace velmora::search {

// The volume status slot on page 1: overlapping picture and label pairs, one showing at a
// time. The engine only shows and hides them; their texts are fixed by the layout.
struct VolumeStatusSlot {
  ui::Image& no_device_image;  // ImgNoDevice
  ui::Label& no_device_label;  // lblNoDev
  ui::Image& searching_image;  // ImgScan
  ui::Label& searching_label;  // lblSearch
  ui::Image& clean_image;      // ImgVolClean
  ui::Label& clean_label;      // RemLblVolClean
  ui::Image& infected_image;   // ImgVolInf
  ui::Label& infected_label;   // RemLblVolInf

  // The slot's controls on `form`, by their names; throws when one is missing.
  static VolumeStatusSlot Of(const ui::Form& form);

  // The look without a volume, after a device was removed.
  void ShowNoVolume() const;
  void ShowSearching() const;
  void ShowInfected() const;
  // Leaves ImgVolInf alone: the searching state hid it when the scan began, and a scan that
  // ends clean never showed the infected state.
  void ShowClean() const;
};

// The drive status slot on page 2. It has no searching state.
struct DriveStatusSlot {
  ui::Image& no_drive_image;  // ImgNoDriveSelected
  ui::Label& no_drive_label;  // lblDescriptionNoDrive
  ui::Image& clean_image;     // ImgDrveClean
  ui::Label& clean_label;     // lblDriveClean
  ui::Image& infected_image;  // ImgDriveInfected
  ui::Label& infected_label;  // lblDriveInfected

  static DriveStatusSlot Of(const ui::Form& form);

  void ShowInfected() const;
  void ShowClean() const;
};

}  // namespace velmora::search

#endif  // VELMORA_SEARCH_STATUS_SLOTS_H_
