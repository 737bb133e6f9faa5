// Runs inside the program under test: a call-window-procedure hook on its GUI thread that
// reads one item of its open popup menu when the probe asks, and writes it into the probe's
// shared memory. Kept free of the C++ library so it loads into any process on its own.
#include <windows.h>

#include "menu_hook_shared.h"

using velmora::probe::menu_hook::Report;

extern "C" __declspec(dllexport) LRESULT CALLBACK VelmoraMenuHook(int code, WPARAM w, LPARAM l);

namespace {

void ReadItem(HWND popup, int index) {
  HANDLE mapping =
      OpenFileMappingA(FILE_MAP_WRITE, FALSE, velmora::probe::menu_hook::kReportMapping);
  if (mapping == nullptr) return;
  auto* report = static_cast<Report*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(Report)));
  if (report != nullptr) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_BITMAP;
    info.dwTypeData = report->caption;
    info.cch = sizeof report->caption;
    if (menu != nullptr && GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info)) {
      report->state = info.fState;
      report->bitmap = reinterpret_cast<UINT_PTR>(info.hbmpItem);
      report->found = 1;
    }
    UnmapViewOfFile(report);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" LRESULT CALLBACK VelmoraMenuHook(int code, WPARAM w, LPARAM l) {
  static const UINT read_item = RegisterWindowMessageA(velmora::probe::menu_hook::kReadItemMessage);
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(l);
    if (call->message == read_item) ReadItem(call->hwnd, static_cast<int>(call->wParam));
  }
  return CallNextHookEx(nullptr, code, w, l);
}
