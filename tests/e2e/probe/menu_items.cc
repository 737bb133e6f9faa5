// Reads popup menu items of another program through the hook library beside the test program.
#include "menu_items.h"

#include <cstring>

#include "internal.h"
#include "menu_hook_shared.h"
#include "probe.h"

namespace velmora::probe {

using internal::Fail;
using internal::FailWin32;

namespace {

// The hook library, loaded once from the test program's own folder.
HMODULE HookLibrary() {
  static HMODULE library = [] {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return HMODULE{};
    char* slash = std::strrchr(path, '\\');
    if (slash == nullptr) return HMODULE{};
    slash[1] = '\0';
    std::strncat(path, menu_hook::kLibrary, MAX_PATH - std::strlen(path) - 1);
    return LoadLibraryA(path);
  }();
  return library;
}

}  // namespace

std::optional<PopupMenuItem> ReadPopupMenuItem(HWND popup, int index) {
  HMODULE library = HookLibrary();
  if (library == nullptr) {
    FailWin32(std::string("loading ") + menu_hook::kLibrary);
    return std::nullopt;
  }
  // GetProcAddress knows no signatures; the library exports the hook procedure by this name.
  auto* procedure = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(library, menu_hook::kHookProcedure)));
  if (procedure == nullptr) {
    FailWin32(std::string("finding ") + menu_hook::kHookProcedure);
    return std::nullopt;
  }
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(menu_hook::Report), menu_hook::kReportMapping);
  if (mapping == nullptr) {
    FailWin32("creating the report's shared memory");
    return std::nullopt;
  }
  UniqueHandle mapping_owner(mapping);
  auto* report = static_cast<menu_hook::Report*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(menu_hook::Report)));
  if (report == nullptr) {
    FailWin32("mapping the report's shared memory");
    return std::nullopt;
  }
  std::memset(report, 0, sizeof *report);

  const DWORD thread = GetWindowThreadProcessId(popup, nullptr);
  HHOOK hook =
      thread != 0 ? SetWindowsHookExA(WH_CALLWNDPROC, procedure, library, thread) : nullptr;
  std::optional<PopupMenuItem> item;
  if (hook == nullptr) {
    FailWin32("hooking the menu's thread");
  } else {
    // The hook runs on the menu's thread just before the window procedure gets the sent
    // message, so the report is written by the time Send returns.
    const auto answered = Send(popup, RegisterWindowMessageA(menu_hook::kReadItemMessage),
                               static_cast<WPARAM>(index));
    UnhookWindowsHookEx(hook);
    if (!answered) {
      // Send recorded why.
    } else if (report->found != 1) {
      Fail("the menu has no item " + std::to_string(index));
    } else {
      report->caption[sizeof report->caption - 1] = '\0';
      item = PopupMenuItem{report->caption, report->state,
                           reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(report->bitmap))};
    }
  }
  UnmapViewOfFile(report);
  return item;
}

}  // namespace velmora::probe
