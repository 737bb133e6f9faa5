// Popup menus are built afresh from their items each time they pop up, so captions, ticks and
// enabled states set by handlers always show as they stand.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/image_list.h"
#include "ui/popup_menu.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

class PopupMenuPeerWin32 : public ComponentPeer, public PopupMenuPeer {
 public:
  PopupMenuPeerWin32(Context context, PopupMenu& menu) : context_(context), menu_(menu) {}

  void Sync(Aspect /*aspect*/) override {}

  void Popup(Point at) override {
    platform::UniqueMenu native(::CreatePopupMenu());
    HIMAGELIST images = NativeImageList(menu_.images());
    // Stable for the life of the menu: items point into it.
    std::vector<MenuPicture> pictures(static_cast<std::size_t>(menu_.item_count()));
    for (int i = 0; i < menu_.item_count(); ++i) {
      const MenuItem& item = menu_.item(i);
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
      info.wID = static_cast<UINT>(i + 1);
      info.dwTypeData = const_cast<char*>(item.caption.c_str());
      // The platform draws default items in bold.
      info.fState = (item.is_default ? MFS_DEFAULT : 0u) | (item.enabled ? 0u : MFS_DISABLED);
      if (images != nullptr && item.image_index >= 0) {
        pictures[static_cast<std::size_t>(i)] = {images, item.image_index};
        info.fMask |= MIIM_BITMAP | MIIM_DATA;
        info.hbmpItem = HBMMENU_CALLBACK;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(&pictures[static_cast<std::size_t>(i)]);
      }
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

bool HandleMenuPictureMessage(UINT message, LPARAM l, LRESULT& result) {
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    if (measure->CtlType != ODT_MENU || measure->itemData == 0) return false;
    const auto* picture = reinterpret_cast<const MenuPicture*>(measure->itemData);
    int width = 0, height = 0;
    ::ImageList_GetIconSize(picture->images, &width, &height);
    measure->itemWidth = static_cast<UINT>(width);
    measure->itemHeight = static_cast<UINT>(height);
    result = TRUE;
    return true;
  }
  if (message == WM_DRAWITEM) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    if (draw->CtlType != ODT_MENU || draw->itemData == 0) return false;
    const auto* picture = reinterpret_cast<const MenuPicture*>(draw->itemData);
    int width = 0, height = 0;
    ::ImageList_GetIconSize(picture->images, &width, &height);
    const int top = draw->rcItem.top + (draw->rcItem.bottom - draw->rcItem.top - height) / 2;
    ::ImageList_Draw(picture->images, picture->index, draw->hDC, draw->rcItem.left, top,
                     ILD_TRANSPARENT);
    result = TRUE;
    return true;
  }
  return false;
}

std::unique_ptr<ComponentPeer> CreatePopupMenuPeer(Context context, Component& component) {
  return std::make_unique<PopupMenuPeerWin32>(context, static_cast<PopupMenu&>(component));
}

}  // namespace velmora::ui::win32
