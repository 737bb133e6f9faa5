// Popup menus are built afresh from their items each time they pop up, so captions, ticks and
// enabled states set by handlers always show as they stand.
#include <windows.h>

#include "ui/peers_win32.h"
#include "ui/popup_menu.h"

namespace velmora::ui::win32 {
namespace {

class PopupMenuPeerWin32 : public ComponentPeer, public PopupMenuPeer {
 public:
  PopupMenuPeerWin32(Context context, PopupMenu& menu) : context_(context), menu_(menu) {}

  void Sync(Aspect /*aspect*/) override {}

  void Popup(Point at) override {
    platform::UniqueMenu native(::CreatePopupMenu());
    for (int i = 0; i < menu_.item_count(); ++i) {
      const MenuItem& item = menu_.item(i);
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
      info.wID = static_cast<UINT>(i + 1);
      info.dwTypeData = const_cast<char*>(item.caption.c_str());
      info.fState = (item.is_default ? MFS_DEFAULT : 0u) | (item.enabled ? 0u : MFS_DISABLED);
      ::InsertMenuItemA(native.get(), static_cast<UINT>(i), TRUE, &info);
    }
    // Without the foreground, a menu opened from the notification area never closes.
    ::SetForegroundWindow(context_.owner);
    const int chosen = static_cast<int>(
        ::TrackPopupMenuEx(native.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y,
                           context_.owner, nullptr));
    ::PostMessageA(context_.owner, WM_NULL, 0, 0);
    if (chosen > 0 && chosen <= menu_.item_count()) {
      MenuItem& item = menu_.item(chosen - 1);
      context_.app.Guard([&item] { item.Click(); });
    }
  }

 private:
  Context context_;
  PopupMenu& menu_;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreatePopupMenuPeer(Context context, Component& component) {
  return std::make_unique<PopupMenuPeerWin32>(context, static_cast<PopupMenu&>(component));
}

}  // namespace velmora::ui::win32
