// The tray menu: its AutoRun item shows the current user's policy each time the menu opens,
// and switches it when chosen.
#include "main/autorun_policy.h"
#include "main/frmain.h"
#include "registry/registry.h"

namespace velmora::main {

void TFrmain::TiconRightClick(tray::TTrayIcon& /*sender*/, ui::MouseButton /*button*/,
                              tray::ShiftState /*shift*/, int x, int y) {
  {
    registry::Registry registry(services_.registry);
    registry.SetRootKey(platform::RootKey::kCurrentUser);
    // Only the value's presence counts; a key that cannot be opened holds none.
    registry.OpenKey(kAutoRunPolicyKey, false);
    if (registry.ValueExists(kNoDriveAutoRunValue)) {
      MnDesableAutoRunDrive.caption = kEnableAutoRunCaption;
      MnDesableAutoRunDrive.image_index = kEnableAutoRunImage;
    } else {
      MnDesableAutoRunDrive.caption = kDisableAutoRunCaption;
      MnDesableAutoRunDrive.image_index = kDisableAutoRunImage;
    }
  }  // the key is closed before the menu runs
  MnApp.Popup({x, y});
}

// No confirmation, and the caption stays as it is: the next opening of the menu reads the
// registry again. A value that cannot be written ends the click with the registry's error; a
// value that cannot be deleted (already gone, no rights) is no error.
void TFrmain::MnDesableAutoRunDriveClick(ui::MenuItem& /*sender*/) {
  const bool disable = MnDesableAutoRunDrive.caption == kDisableAutoRunCaptionAtClick;
  for (const char* path : {kAutoRunPolicyKey, kAutoRunExplorerPolicyKey}) {
    registry::Registry registry(services_.registry);
    registry.SetRootKey(platform::RootKey::kCurrentUser);
    registry.OpenKey(path, true);
    if (disable) {
      registry.WriteInteger(kNoDriveAutoRunValue, kNoAutoRunOnAnyDrive);
    } else {
      registry.DeleteValue(kNoDriveAutoRunValue);
    }
  }
}

}  // namespace velmora::main
