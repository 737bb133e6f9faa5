// Windows, controls, texts, messages, list views and popup menus of another process.

#include <windows.h>
// windows.h first: the headers below need its types.
#include <commctrl.h>

#include <utility>

#include "internal.h"
#include "probe.h"

namespace velmora::probe {

using internal::Fail;
using internal::FailWin32;

namespace {

// Memory inside another process, for messages whose parameters are pointers the receiver
// dereferences in its own address space.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
  }
  ~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  void* get() const { return address_; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }

 private:
  HANDLE process_;
  void* address_;
};

UniqueHandle OpenWindowProcess(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  UniqueHandle process(OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
      pid));
  if (!process) FailWin32("OpenProcess " + std::to_string(pid));
  return process;
}

// Enumeration callbacks: named functions, since 32-bit callbacks must be stdcall, which lambdas
// cannot be.
struct WindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  reinterpret_cast<WindowSearch*>(param)->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->pid) search->found.push_back(window);
  return TRUE;
}

bool Matches(HWND window, const WindowMatch& match) {
  if (!match.class_name.empty() && WindowClassName(window) != match.class_name) return false;
  if (match.caption.empty()) return true;
  // Top-level windows of the program: their caption is readable without a message round trip.
  char caption[512] = "";
  GetWindowTextA(window, caption, sizeof caption);
  return match.caption == caption;
}

// Posts a key press as the keyboard driver would queue it (repeat count 1, the key's scan code).
bool PostKey(HWND window, UINT vk) {
  const LPARAM lparam = 1 | static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
  return Post(window, WM_KEYDOWN, vk, lparam) &&
         Post(window, WM_KEYUP, vk, lparam | (1LL << 30) | (1LL << 31));
}

bool WaitForMenuClosed(HWND popup, Duration timeout) {
  if (WaitUntil([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }, timeout)) {
    return true;
  }
  return Fail("the popup menu is still open after " + std::to_string(timeout.count()) + " ms");
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid) {
  WindowSearch search{pid, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindTopLevelWindow(DWORD pid, const WindowMatch& match) {
  for (HWND window : TopLevelWindows(pid)) {
    if (Matches(window, match)) return window;
  }
  return nullptr;
}

HWND WaitForTopLevelWindow(DWORD pid, const WindowMatch& match, Duration timeout) {
  HWND found = nullptr;
  if (!WaitUntil([&] { return (found = FindTopLevelWindow(pid, match)) != nullptr; }, timeout)) {
    Fail("process " + std::to_string(pid) + " has no window class='" + match.class_name +
         "' caption='" + match.caption + "'");
  }
  return found;
}

std::vector<HWND> DescendantWindows(HWND root) {
  WindowSearch search{0, {}};
  // EnumChildWindows already descends into children of children.
  EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowClassName(HWND window) {
  char name[256] = "";
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string ControlName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(window, "VelmoraName")));
  if (atom == 0) return {};
  char name[256] = "";
  const UINT length = GlobalGetAtomNameA(atom, name, sizeof name);
  return std::string(name, length);
}

HWND FindControl(HWND root, const std::string& name) {
  for (HWND window : DescendantWindows(root)) {
    if (ControlName(window) == name) return window;
  }
  Fail("no control named '" + name + "'");
  return nullptr;
}

HWND WaitForControl(HWND root, const std::string& name, Duration timeout) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindControl(root, name)) != nullptr; }, timeout);
  return found;
}

std::optional<std::string> WindowText(HWND window, Duration timeout) {
  const auto length = Send(window, WM_GETTEXTLENGTH, 0, 0, timeout);
  if (!length) return std::nullopt;
  // Room for the terminator, and for a text that grew between the two messages.
  std::string text(static_cast<size_t>(*length) + 64, '\0');
  const auto copied =
      Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), timeout);
  if (!copied) return std::nullopt;
  text.resize(static_cast<size_t>(*copied));
  return text;
}

bool WaitForWindowText(HWND window, const std::string& expected, Duration timeout) {
  std::optional<std::string> text;
  if (WaitUntil([&] { return (text = WindowText(window)) == expected; }, timeout)) return true;
  return Fail("text is '" + text.value_or("<unreadable>") + "', expected '" + expected + "'");
}

bool IsShown(HWND window) { return IsWindowVisible(window) != FALSE; }

bool HasVisibleStyle(HWND window) {
  return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Post(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (PostMessageA(window, message, wparam, lparam)) return true;
  return FailWin32("PostMessage " + std::to_string(message));
}

bool ClickScreen(POINT at) {
  // Each event carries the point itself: a pointer the X server moves meanwhile changes
  // nothing.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  if (width < 2 || height < 2) return Fail("no screen to click on");
  INPUT clicks[3] = {};
  for (INPUT& input : clicks) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, width - 1);
    input.mi.dy = MulDiv(at.y, 65535, height - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  clicks[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  clicks[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  if (SendInput(3, clicks, sizeof clicks[0]) != 3) return FailWin32("SendInput");
  return true;
}

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                            Duration timeout) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG,
                           static_cast<UINT>(timeout.count()), &result)) {
    FailWin32("SendMessageTimeout " + std::to_string(message));
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

std::optional<int> ListViewItemCount(HWND list) {
  const auto count = Send(list, LVM_GETITEMCOUNT);
  if (!count) return std::nullopt;
  return static_cast<int>(*count);
}

std::optional<int> ListViewColumnCount(HWND list) {
  const auto header = Send(list, LVM_GETHEADER);
  if (!header) return std::nullopt;
  if (*header == 0) {
    Fail("the list view has no header (not in report view)");
    return std::nullopt;
  }
  const auto count = Send(reinterpret_cast<HWND>(*header), HDM_GETITEMCOUNT);
  if (!count) return std::nullopt;
  return static_cast<int>(*count);
}

std::optional<std::string> ListViewItemText(HWND list, int item, int sub_item) {
  UniqueHandle process = OpenWindowProcess(list);
  if (!process) return std::nullopt;
  constexpr size_t kTextSize = 1024;
  // One block: the LVITEMA first, its text buffer right behind it.
  RemoteBuffer remote(process.get(), sizeof(LVITEMA) + kTextSize);
  if (remote.get() == nullptr) {
    FailWin32("VirtualAllocEx");
    return std::nullopt;
  }
  LVITEMA request{};
  request.iSubItem = sub_item;
  request.pszText = remote.at(sizeof(LVITEMA));
  request.cchTextMax = kTextSize;
  if (!WriteProcessMemory(process.get(), remote.get(), &request, sizeof request, nullptr)) {
    FailWin32("WriteProcessMemory");
    return std::nullopt;
  }
  const auto length = Send(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(remote.get()));
  if (!length) return std::nullopt;
  std::string text(kTextSize, '\0');
  if (!ReadProcessMemory(process.get(), remote.at(sizeof(LVITEMA)), text.data(), text.size(),
                         nullptr)) {
    FailWin32("ReadProcessMemory");
    return std::nullopt;
  }
  text.resize(text.find('\0'));
  return text;
}

std::optional<bool> ListViewItemChecked(HWND list, int item) {
  const auto state = Send(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK);
  if (!state) return std::nullopt;
  // State image 1 is the empty box, 2 the ticked one; 0 means the item shows no box.
  switch ((*state & LVIS_STATEIMAGEMASK) >> 12) {
    case 1:
      return false;
    case 2:
      return true;
    default:
      Fail("item " + std::to_string(item) + " has no check box");
      return std::nullopt;
  }
}

std::optional<std::vector<std::vector<std::string>>> ListViewRows(HWND list) {
  const auto items = ListViewItemCount(list);
  const auto columns = ListViewColumnCount(list);
  if (!items || !columns) return std::nullopt;
  std::vector<std::vector<std::string>> rows;
  for (int item = 0; item < *items; ++item) {
    std::vector<std::string> row;
    for (int column = 0; column < *columns; ++column) {
      auto text = ListViewItemText(list, item, column);
      if (!text) return std::nullopt;
      row.push_back(std::move(*text));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::optional<int> ListViewItemImage(HWND list, int item) {
  UniqueHandle process = OpenWindowProcess(list);
  if (!process) return std::nullopt;
  RemoteBuffer remote(process.get(), sizeof(LVITEMA));
  LVITEMA request{};
  request.mask = LVIF_IMAGE;
  request.iItem = item;
  if (remote.get() == nullptr ||
      !WriteProcessMemory(process.get(), remote.get(), &request, sizeof request, nullptr)) {
    FailWin32("remote LVITEMA");
    return std::nullopt;
  }
  const auto found = Send(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.get()));
  if (!found) return std::nullopt;
  if (*found == 0) {
    Fail("no item " + std::to_string(item));
    return std::nullopt;
  }
  LVITEMA answer{};
  if (!ReadProcessMemory(process.get(), remote.get(), &answer, sizeof answer, nullptr)) {
    FailWin32("ReadProcessMemory");
    return std::nullopt;
  }
  return answer.iImage;
}

namespace {

std::optional<RECT> ItemRect(HANDLE process, const RemoteBuffer& remote, HWND list, int item) {
  RECT bounds{LVIR_BOUNDS, 0, 0, 0};
  if (!WriteProcessMemory(process, remote.get(), &bounds, sizeof bounds, nullptr)) {
    FailWin32("WriteProcessMemory");
    return std::nullopt;
  }
  const auto got = Send(list, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(remote.get()));
  if (!got || *got == 0) {
    Fail("no rectangle for item " + std::to_string(item));
    return std::nullopt;
  }
  if (!ReadProcessMemory(process, remote.get(), &bounds, sizeof bounds, nullptr)) {
    FailWin32("ReadProcessMemory");
    return std::nullopt;
  }
  return bounds;
}

}  // namespace

std::optional<RECT> ListViewItemRect(HWND list, int item) {
  UniqueHandle process = OpenWindowProcess(list);
  if (!process) return std::nullopt;
  RemoteBuffer remote(process.get(), sizeof(RECT));
  if (remote.get() == nullptr) {
    FailWin32("VirtualAllocEx");
    return std::nullopt;
  }
  return ItemRect(process.get(), remote, list, item);
}

std::optional<int> ListViewSelectedItem(HWND list) {
  const auto selected = Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (!selected) return std::nullopt;
  return static_cast<int>(*selected);
}

bool ClickListViewItem(HWND list, int item, bool right_button) {
  const std::optional<RECT> bounds = ListViewItemRect(list, item);
  if (!bounds) return false;
  // Inside the caption, clear of a check box or picture at the left end.
  const LPARAM point = MAKELPARAM(bounds->left + 40, (bounds->top + bounds->bottom) / 2);
  if (right_button) {
    return Post(list, WM_RBUTTONDOWN, MK_RBUTTON, point) && Post(list, WM_RBUTTONUP, 0, point);
  }
  return Send(list, WM_LBUTTONDOWN, MK_LBUTTON, point).has_value() &&
         Send(list, WM_LBUTTONUP, 0, point).has_value();
}

bool ClickListViewCheckBox(HWND list, int item) {
  UniqueHandle process = OpenWindowProcess(list);
  if (!process) return false;
  RemoteBuffer remote(process.get(), sizeof(RECT) + sizeof(LVHITTESTINFO));
  if (remote.get() == nullptr) return FailWin32("VirtualAllocEx");
  const std::optional<RECT> bounds = ItemRect(process.get(), remote, list, item);
  if (!bounds) return false;
  // The box sits at the entry's left end; ask the list where exactly.
  const int y = (bounds->top + bounds->bottom) / 2;
  for (int x = bounds->left; x < bounds->left + 40; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    void* at = remote.at(sizeof(RECT));
    if (!WriteProcessMemory(process.get(), at, &hit, sizeof hit, nullptr)) {
      return FailWin32("WriteProcessMemory");
    }
    const auto index = Send(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(at));
    if (!index) return false;
    if (!ReadProcessMemory(process.get(), at, &hit, sizeof hit, nullptr)) {
      return FailWin32("ReadProcessMemory");
    }
    if (static_cast<int>(*index) == item && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
      const LPARAM point = MAKELPARAM(x, y);
      // Sent, not posted: the list has toggled the box when this returns.
      return Send(list, WM_LBUTTONDOWN, MK_LBUTTON, point).has_value() &&
             Send(list, WM_LBUTTONUP, 0, point).has_value();
    }
  }
  return Fail("item " + std::to_string(item) + " shows no check box");
}

HWND StartListViewCaptionEdit(HWND list, int item, const std::string& text) {
  const auto edit = Send(list, LVM_EDITLABELA, item, 0);
  if (!edit) return nullptr;
  if (*edit == 0) {
    Fail("the list refused to edit item " + std::to_string(item));
    return nullptr;
  }
  HWND box = reinterpret_cast<HWND>(*edit);
  // WM_SETTEXT's text is carried across processes by the system.
  if (!Send(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) return nullptr;
  return box;
}

bool EditListViewCaption(HWND list, int item, const std::string& text) {
  HWND box = StartListViewCaptionEdit(list, item, text);
  if (box == nullptr || !Send(box, WM_KEYDOWN, VK_RETURN, 1)) return false;
  if (!WaitUntil([box] { return !IsWindow(box) || !IsWindowVisible(box); })) {
    return Fail("the edit box is still open");
  }
  return true;
}

std::optional<std::vector<TreeViewNode>> TreeViewNodes(HWND tree) {
  UniqueHandle process = OpenWindowProcess(tree);
  if (!process) return std::nullopt;
  constexpr size_t kTextSize = 1024;
  RemoteBuffer remote(process.get(), sizeof(TVITEMA) + kTextSize);
  if (remote.get() == nullptr) {
    FailWin32("VirtualAllocEx");
    return std::nullopt;
  }
  std::vector<TreeViewNode> nodes;
  // Depth first, each node's children right after it.
  struct Pending {
    LRESULT item;
    int depth;
  };
  std::vector<Pending> stack;
  const auto root = Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  if (!root) return std::nullopt;
  std::vector<Pending> level;
  for (LRESULT item = *root; item != 0;) {
    level.push_back({item, 0});
    const auto next = Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, item);
    if (!next) return std::nullopt;
    item = *next;
  }
  stack.assign(level.rbegin(), level.rend());
  while (!stack.empty()) {
    const Pending current = stack.back();
    stack.pop_back();
    TVITEMA request{};
    request.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_HANDLE;
    request.hItem = reinterpret_cast<HTREEITEM>(current.item);
    request.stateMask = TVIS_EXPANDED;
    request.pszText = remote.at(sizeof(TVITEMA));
    request.cchTextMax = kTextSize;
    if (!WriteProcessMemory(process.get(), remote.get(), &request, sizeof request, nullptr)) {
      FailWin32("WriteProcessMemory");
      return std::nullopt;
    }
    const auto got = Send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.get()));
    if (!got) return std::nullopt;
    TVITEMA answer{};
    std::string text(kTextSize, '\0');
    if (!ReadProcessMemory(process.get(), remote.get(), &answer, sizeof answer, nullptr) ||
        !ReadProcessMemory(process.get(), remote.at(sizeof(TVITEMA)), text.data(), text.size(),
                           nullptr)) {
      FailWin32("ReadProcessMemory");
      return std::nullopt;
    }
    text.resize(text.find('\0'));
    nodes.push_back({text, current.depth, answer.iImage, answer.iSelectedImage,
                     (answer.state & TVIS_EXPANDED) != 0});
    std::vector<Pending> children;
    auto child = Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, current.item);
    while (child && *child != 0) {
      children.push_back({*child, current.depth + 1});
      child = Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, *child);
    }
    if (!child) return std::nullopt;
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }
  return nodes;
}

std::optional<RECT> TrackBarThumbRect(HWND bar) {
  UniqueHandle process = OpenWindowProcess(bar);
  if (!process) return std::nullopt;
  RemoteBuffer remote(process.get(), sizeof(RECT));
  if (remote.get() == nullptr) {
    FailWin32("VirtualAllocEx");
    return std::nullopt;
  }
  if (!Send(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(remote.get()))) return std::nullopt;
  RECT thumb{};
  if (!ReadProcessMemory(process.get(), remote.get(), &thumb, sizeof thumb, nullptr)) {
    FailWin32("ReadProcessMemory");
    return std::nullopt;
  }
  return thumb;
}

HWND WaitForPopupMenu(DWORD pid, Duration timeout) {
  HWND found = nullptr;
  const WindowMatch popup_menu{"#32768", ""};
  const bool shown = WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(pid)) {
          if (Matches(window, popup_menu) && IsWindowVisible(window)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeout);
  if (!shown) Fail("no popup menu of process " + std::to_string(pid) + " appeared");
  return found;
}

// The menu's data lives in the program that opened it, so it cannot be inspected or clicked by
// position from here. Keyboard messages posted to the popup window instead land in the menu's
// own modal loop, which reads every message of its thread.
bool ChoosePopupMenuItem(HWND popup, int index, Duration timeout) {
  if (index < 0) return Fail("negative menu index");
  // The first Down selects the first item; each further one moves past separators to the next.
  for (int i = 0; i <= index; ++i) {
    if (!PostKey(popup, VK_DOWN)) return false;
  }
  return PostKey(popup, VK_RETURN) && WaitForMenuClosed(popup, timeout);
}

bool ChoosePopupMenuItemByKey(HWND popup, char key, Duration timeout) {
  return Post(popup, WM_CHAR, static_cast<unsigned char>(key), 1) &&
         WaitForMenuClosed(popup, timeout);
}

}  // namespace velmora::probe
