#include "search/status_slots.h"

#include <initializer_list>

namespace velmora::search {
namespace {

void Show(std::initializer_list<ui::Control*> controls) {
  for (ui::Control* control : controls) control->SetVisible(true);
}

void Hide(std::initializer_list<ui::Control*> controls) {
  for (ui::Control* control : controls) control->SetVisible(false);
}

}  // namespace

VolumeStatusSlot VolumeStatusSlot::Of(const ui::Form& form) {
  return {form.Get<ui::Image>("ImgNoDevice"), form.Get<ui::Label>("lblNoDev"),
          form.Get<ui::Image>("ImgScan"),     form.Get<ui::Label>("lblSearch"),
          form.Get<ui::Image>("ImgVolClean"), form.Get<ui::Label>("RemLblVolClean"),
          form.Get<ui::Image>("ImgVolInf"),   form.Get<ui::Label>("RemLblVolInf")};
}

void VolumeStatusSlot::ShowNoVolume() const {
  Show({&no_device_image, &no_device_label});
  Hide({&clean_label, &infected_label, &clean_image, &infected_image, &searching_image,
        &searching_label});
}

void VolumeStatusSlot::ShowSearching() const {
  Show({&searching_image, &searching_label});
  Hide({&no_device_image, &no_device_label, &clean_label, &infected_label, &clean_image,
        &infected_image});
}

void VolumeStatusSlot::ShowInfected() const {
  Show({&infected_label, &infected_image});
  Hide({&no_device_image, &no_device_label, &clean_label, &clean_image, &searching_image,
        &searching_label});
}

void VolumeStatusSlot::ShowClean() const {
  Show({&clean_image, &clean_label});
  Hide({&no_device_image, &no_device_label, &infected_label, &searching_image, &searching_label});
}

DriveStatusSlot DriveStatusSlot::Of(const ui::Form& form) {
  return {form.Get<ui::Image>("ImgNoDriveSelected"), form.Get<ui::Label>("lblDescriptionNoDrive"),
          form.Get<ui::Image>("ImgDrveClean"),       form.Get<ui::Label>("lblDriveClean"),
          form.Get<ui::Image>("ImgDriveInfected"),   form.Get<ui::Label>("lblDriveInfected")};
}

void DriveStatusSlot::ShowInfected() const {
  Show({&infected_image, &infected_label});
  Hide({&no_drive_image, &clean_image, &no_drive_label, &clean_label});
}

void DriveStatusSlot::ShowClean() const {
  Show({&clean_image, &clean_label});
  Hide({&no_drive_image, &infected_image, &no_drive_label, &infected_label});
}

}  // namespace velmora::search
