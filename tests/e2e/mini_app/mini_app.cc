// A tiny stand-in for the guard that the probe library's own tests drive: the same kinds of
// windows, named controls, popup menu and device notifications, and nothing else.
//
// Every visible effect lands in the "status" label, where the probe can read it.

#include <windows.h>
// windows.h first: these need its types.
#include <commctrl.h>
#include <dbt.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kMainClass[] = "VelmoraMiniApp";
constexpr char kMessageClass[] = "VelmoraMiniAppMessages";
// Sent to the main window the way a tray icon reports clicks: lParam is the mouse message.
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kCmdFirst = 101;
constexpr UINT kCmdSecond = 102;
constexpr UINT kCmdThird = 103;
// Solid client colour, so screenshots and pixel reads have a known value to find.
constexpr COLORREF kBackground = RGB(0x20, 0x80, 0xC0);

HWND g_status = nullptr;

void NameControl(HWND control, const char* name) {
  // The probe finds controls by this property: a global atom holding the control's name.
  const ATOM atom = GlobalAddAtomA(name);
  SetPropA(control, "VelmoraName", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void SetStatus(const std::string& text) { SetWindowTextA(g_status, text.c_str()); }

HWND CreateChild(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w,
                 int h, const char* name) {
  HWND child = CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, w, h, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  NameControl(child, name);
  return child;
}

void FillList(HWND list) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const char* headers[] = {"Name", "Kind"};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 120;
    column.pszText = const_cast<char*>(headers[i]);
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  struct Row {
    const char* name;
    const char* kind;
    bool checked;
  };
  const Row rows[] = {
      {"alpha", "first kind", true}, {"beta", "second kind", false}, {"gamma", "third kind", true}};
  int index = 0;
  for (const Row& row : rows) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(row.name);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(row.kind);
    SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    ListView_SetCheckState(list, index, row.checked);
    ++index;
  }
}

void ShowPopupMenu(HWND window) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, kCmdFirst, "&First");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kCmdSecond, "&Second");
  AppendMenuA(menu, MF_STRING, kCmdThird, "&Third");
  POINT at{};
  GetCursorPos(&at);
  // Without becoming foreground first, the menu would not close when it loses focus.
  SetForegroundWindow(window);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
  PostMessageA(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

const char* DriveTypeName(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE:
      return "removable";
    case DRIVE_FIXED:
      return "fixed";
    case DRIVE_CDROM:
      return "cdrom";
    case DRIVE_REMOTE:
      return "remote";
    case DRIVE_NO_ROOT_DIR:
      return "none";
    default:
      return "other";
  }
}

void OnDeviceChange(WPARAM event, const DEV_BROADCAST_HDR* header) {
  if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_VOLUME) return;
  const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if ((volume->dbcv_unitmask & (1u << (letter - 'A'))) == 0) continue;
    const std::string root = std::string(1, letter) + ":\\";
    if (event == DBT_DEVICEREMOVECOMPLETE) {
      SetStatus("removed " + root);
      continue;
    }
    char label[MAX_PATH + 1] = "";
    if (!GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr,
                               nullptr, 0)) {
      snprintf(label, sizeof label, "<error %lu>", GetLastError());
    }
    SetStatus("arrived " + root + " label=" + label +
              " type=" + DriveTypeName(GetDriveTypeA(root.c_str())));
  }
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      g_status = CreateChild(window, "STATIC", "idle", WS_VISIBLE, 10, 10, 380, 20, "status");
      // Named but never shown: lets the probe's visibility reading be checked both ways.
      CreateChild(window, "STATIC", "secret", 0, 10, 35, 100, 20, "hidden_note");
      FillList(CreateChild(window, WC_LISTVIEWA, "", WS_VISIBLE | WS_BORDER | LVS_REPORT, 10, 60,
                           260, 110, "volumes"));
      return 0;
    case kTrayCallback:
      if (lparam == WM_RBUTTONUP || lparam == WM_CONTEXTMENU) ShowPopupMenu(window);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kCmdFirst:
          SetStatus("command first");
          return 0;
        case kCmdSecond:
          SetStatus("command second");
          return 0;
        case kCmdThird:
          SetStatus("command third");
          return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// Device notifications go to a hidden top-level window, as in a tray program, which shows that
// a broadcast reaches windows nobody can see.
LRESULT CALLBACK MessageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DEVICECHANGE) {
    if (wparam == DBT_DEVICEARRIVAL || wparam == DBT_DEVICEREMOVECOMPLETE) {
      OnDeviceChange(wparam, reinterpret_cast<const DEV_BROADCAST_HDR*>(lparam));
    }
    return TRUE;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSA main_class{};
  main_class.lpfnWndProc = MainProc;
  main_class.hInstance = instance;
  main_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  main_class.hbrBackground = CreateSolidBrush(kBackground);
  main_class.lpszClassName = kMainClass;
  RegisterClassA(&main_class);

  WNDCLASSA message_class{};
  message_class.lpfnWndProc = MessageProc;
  message_class.hInstance = instance;
  message_class.lpszClassName = kMessageClass;
  RegisterClassA(&message_class);

  CreateWindowExA(0, kMessageClass, "Velmora mini app messages", WS_POPUP, 0, 0, 0, 0, nullptr,
                  nullptr, instance, nullptr);
  HWND main = CreateWindowExA(0, kMainClass, "Velmora mini app", WS_OVERLAPPEDWINDOW, 40, 40, 400,
                              220, nullptr, nullptr, instance, nullptr);
  ShowWindow(main, show);
  UpdateWindow(main);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
