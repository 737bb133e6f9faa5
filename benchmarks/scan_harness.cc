#include "scan_harness.h"

#include <utility>
#include <vector>

#include "ui/image.h"
#include "ui/label.h"

namespace velmora::bench {
namespace {

ui::ListView& AddControls(ui::Form& form) {
  for (const char* name : {"ImgNoDevice", "ImgScan", "ImgVolClean", "ImgVolInf",
                           "ImgNoDriveSelected", "ImgDrveClean", "ImgDriveInfected"}) {
    form.Add<ui::Image>(name, &form).SetBounds({8, 32, 33, 33});
  }
  int top = 0;
  for (const char* name : {"lblNoDev", "lblSearch", "RemLblVolClean", "RemLblVolInf",
                           "lblDescriptionNoDrive", "lblDriveClean", "lblDriveInfected"}) {
    ui::Label& label = form.Add<ui::Label>(name, &form);
    label.SetBounds({50, 50 + 4 * top++, 10, 14});
    label.SetText(name);
  }
  ui::ListView& list = form.Add<ui::ListView>("LstScan", &form);
  list.SetBounds({8, 176, 633, 169});
  list.SetColumns({{"Virus Path", 350}, {"Time Detection", 220}});
  ui::ListViewStyle style;
  style.grid_lines = true;
  style.read_only = false;
  list.SetStyle(style);
  return list;
}

}  // namespace

std::size_t BareWalk(platform::FileSystem& files, const std::string& directory) {
  std::size_t entries = 0;
  std::vector<std::string> subdirectories;
  if (auto search = files.StartSparingSearch(directory, "*.*", search::kAllEntriesMask, nullptr)) {
    platform::DirectoryEntry entry;
    std::string path;
    while (search->Next(entry)) {
      path.assign(directory).append(entry.name);
      files.QueryAttributes(path);
      ++entries;
      if ((entry.attributes & platform::kAttributeDirectory) &&
          !platform::ExcludedBySearchMask(entry.attributes, platform::kAttributeDirectory) &&
          entry.name[0] != '.') {
        subdirectories.push_back(std::move(entry.name));
      }
    }
  }
  for (const std::string& name : subdirectories) {
    entries += BareWalk(files, directory + name + files.path_syntax().separator);
  }
  return entries;
}

ScanHarness::ScanHarness(platform::FileSystem& files, platform::Clock& clock)
    : list_(AddControls(form_)),
      scanner_(files, clock, form_, search::VolumeStatusSlot::Of(form_),
               search::DriveStatusSlot::Of(form_)) {}

int ScanHarness::Scan(const std::string& root_directory) {
  list_.Clear();
  scanner_.set_found_threat(false);
  scanner_.SearchFiles(root_directory + "*.*", list_, search::ScanMode::kVolumePanel,
                       search::kAllEntriesMask);
  return list_.item_count();
}

}  // namespace velmora::bench
