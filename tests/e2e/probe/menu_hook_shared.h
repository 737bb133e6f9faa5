// Shared by the menu hook library and the probe that loads it: how they find each other.

#ifndef VELMORA_TESTS_E2E_PROBE_MENU_HOOK_SHARED_H_
#define VELMORA_TESTS_E2E_PROBE_MENU_HOOK_SHARED_H_

#include <windows.h>

namespace velmora::probe::menu_hook {

inline constexpr char kLibrary[] = "velmora_menu_hook.dll";
inline constexpr char kHookProcedure[] = "VelmoraMenuHook";
// Sent to the popup menu window, the item's position in wParam; the hook answers it.
inline constexpr char kReadItemMessage[] = "VelmoraProbeReadMenuItem";
inline constexpr char kReportMapping[] = "Local\\VelmoraProbeMenuItem";

struct Report {
  LONG found;  // 1 once the item was read
  UINT state;
  UINT64 bitmap;
  char caption[512];
};

}  // namespace velmora::probe::menu_hook

#endif  // VELMORA_TESTS_E2E_PROBE_MENU_HOOK_SHARED_H_
