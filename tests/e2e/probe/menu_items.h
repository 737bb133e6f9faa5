// What an open popup menu of another program holds. The menu's items live in the program that
// opened it, so a small hook library is loaded into that program's GUI thread to read them
// there and hand them back through shared memory.

#ifndef VELMORA_TESTS_E2E_PROBE_MENU_ITEMS_H_
#define VELMORA_TESTS_E2E_PROBE_MENU_ITEMS_H_

#include <windows.h>

#include <optional>
#include <string>

namespace velmora::probe {

struct PopupMenuItem {
  std::string caption;       // as the menu holds it, hot-key ampersand included
  UINT state = 0;            // MFS_* bits
  HBITMAP bitmap = nullptr;  // HBMMENU_CALLBACK for a picture the owner draws
};

// The item at `index` (from 0, by position) of the open popup menu window `popup`.
std::optional<PopupMenuItem> ReadPopupMenuItem(HWND popup, int index);

}  // namespace velmora::probe

#endif  // VELMORA_TESTS_E2E_PROBE_MENU_ITEMS_H_
