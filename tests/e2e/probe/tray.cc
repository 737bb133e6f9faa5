// Icons in the notification area, as the shell holds them.

#include <windows.h>
// windows.h first: the headers below need its types.
#include <shellapi.h>

#include "probe.h"

namespace velmora::probe {
namespace {

bool NotifyAbout(HWND owner, DWORD command) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = owner;
  return ::Shell_NotifyIconA(command, &data) != FALSE;
}

}  // namespace

// Changing nothing about an icon succeeds only for one that exists.
bool NotifyIconShown(HWND owner) { return NotifyAbout(owner, NIM_MODIFY); }

bool RemoveNotifyIcon(HWND owner) { return NotifyAbout(owner, NIM_DELETE); }

}  // namespace velmora::probe
