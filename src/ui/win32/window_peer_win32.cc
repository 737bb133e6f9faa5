// The shared part of every windowed peer: creation, the name tag, the shared properties,
// subclassing, and the colour and font helpers.
#include <windows.h>
#include <commctrl.h>

#include "ui/form.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

constexpr char kPeerProperty[] = "VelmoraPeer";
constexpr char kNameProperty[] = "VelmoraName";

int SystemColorIndex(SystemColor color) {
  switch (color) {
    case SystemColor::kWindowText:
      return COLOR_WINDOWTEXT;
    case SystemColor::kButtonFace:
      return COLOR_BTNFACE;
    case SystemColor::kInactiveCaption:
      return COLOR_INACTIVECAPTION;
    case SystemColor::kActiveCaption:
      return COLOR_ACTIVECAPTION;
    case SystemColor::kHighlight:
      return COLOR_HIGHLIGHT;
    case SystemColor::kHighlightText:
      return COLOR_HIGHLIGHTTEXT;
    case SystemColor::k3dDarkShadow:
      return COLOR_3DDKSHADOW;
    case SystemColor::kDesktop:
      return COLOR_DESKTOP;
  }
  return COLOR_WINDOWTEXT;
}

bool FormUpdating(const Control& control) {
  if (control.parent() == nullptr) return false;  // a form's own visibility is never held back
  const Control* top = control.parent();
  while (top->parent() != nullptr) top = top->parent();
  return top->kind() == ComponentKind::kForm && static_cast<const Form*>(top)->updating();
}

}  // namespace

COLORREF ToColorRef(Color color) {
  return color.is_system() ? ::GetSysColor(SystemColorIndex(color.system())) : color.color_ref();
}

platform::UniqueFont CreateFontFor(const Font& font) {
  // Point sizes at the 96 dpi the layout was drawn for.
  const int height = -::MulDiv(font.size_pt, 96, 72);
  return platform::UniqueFont(::CreateFontA(
      height, 0, 0, 0, font.style.bold ? FW_BOLD : FW_NORMAL, font.style.italic,
      font.style.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
      DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.name.c_str()));
}

ATOM TagWindow(HWND hwnd, const std::string& name) {
  const ATOM atom = ::GlobalAddAtomA(name.c_str());
  ::SetPropA(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
  return atom;
}

HWND ParentWindowOf(const Control& control) {
  for (Control* parent = control.parent(); parent != nullptr; parent = parent->parent()) {
    if (auto* peer = dynamic_cast<WindowPeer*>(parent->peer())) return peer->hwnd();
  }
  return nullptr;
}

WindowPeer::~WindowPeer() {
  if (hwnd_ != nullptr) {
    ::RemovePropA(hwnd_, kPeerProperty);
    ::RemovePropA(hwnd_, kNameProperty);
    ::DestroyWindow(hwnd_);
  }
  if (name_atom_ != 0) ::GlobalDeleteAtom(name_atom_);
}

WindowPeer* WindowPeer::FromWindow(HWND hwnd) {
  return static_cast<WindowPeer*>(::GetPropA(hwnd, kPeerProperty));
}

void WindowPeer::CreateChild(const char* window_class, DWORD style, DWORD ex_style) {
  const Rect& r = control_.bounds();
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (control_.visible()) style |= WS_VISIBLE;
  if (!control_.enabled()) style |= WS_DISABLED;
  hwnd_ = ::CreateWindowExA(ex_style, window_class, control_.text().c_str(), style, r.left, r.top,
                            r.width, r.height, ParentWindowOf(control_), nullptr, context_.instance,
                            nullptr);
  if (hwnd_ == nullptr) return;
  Tag();
  // New children go below their siblings; the layout wants later ones on top.
  ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyFont();
}

void WindowPeer::Tag() {
  ::SetPropA(hwnd_, kPeerProperty, this);
  name_atom_ = TagWindow(hwnd_, control_.name());
}

HBRUSH BackdropBrushFor(HWND child, HDC dc) {
  for (HWND container = ::GetParent(child); container != nullptr;
       container = ::GetParent(container)) {
    WindowPeer* peer = WindowPeer::FromWindow(container);
    HBRUSH brush = peer != nullptr ? peer->BackdropBrush() : nullptr;
    if (brush == nullptr) continue;
    POINT origin{0, 0};
    ::MapWindowPoints(child, container, &origin, 1);
    ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return brush;
  }
  return nullptr;
}

bool PaintBackdrop(HWND window, HDC dc) {
  HBRUSH brush = BackdropBrushFor(window, dc);
  if (brush == nullptr) return false;
  RECT client{};
  ::GetClientRect(window, &client);
  ::FillRect(dc, &client, brush);
  return true;
}

bool RouteChildMessage(Application& app, UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (WindowPeer* child =
              l != 0 ? WindowPeer::FromWindow(reinterpret_cast<HWND>(l)) : nullptr) {
        app.Guard([&] { child->OnCommand(HIWORD(w)); });
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(l);
      WindowPeer* child = WindowPeer::FromWindow(header->hwndFrom);
      if (child == nullptr) return false;
      bool handled = false;
      app.Guard([&] { handled = child->OnNotify(*header, result); });
      return handled;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (WindowPeer* child =
              l != 0 ? WindowPeer::FromWindow(reinterpret_cast<HWND>(l)) : nullptr) {
        app.Guard([&] { child->OnScroll(LOWORD(w)); });
        result = 0;
        return true;
      }
      return false;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      return HandleMenuPictureMessage(message, l, result);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (WindowPeer* child = WindowPeer::FromWindow(reinterpret_cast<HWND>(l))) {
        if (HBRUSH brush = child->OnControlColor(reinterpret_cast<HDC>(w))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

void RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure) {
  WNDCLASSA wc{};
  if (::GetClassInfoA(instance, name, &wc)) return;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  ::RegisterClassA(&wc);
}

void WindowPeer::ApplyFont() {
  font_ = CreateFontFor(control_.font());
  ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void WindowPeer::Subclass() {
  ::SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK WindowPeer::SubclassProc(HWND hwnd, UINT message, WPARAM w, LPARAM l,
                                          UINT_PTR /*id*/, DWORD_PTR data) {
  auto* peer = reinterpret_cast<WindowPeer*>(data);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, SubclassProc, 1);
  } else {
    LRESULT result = 0;
    bool handled = false;
    peer->app().Guard([&] { handled = peer->OnSubclassMessage(message, w, l, result); });
    if (handled) return result;
  }
  return ::DefSubclassProc(hwnd, message, w, l);
}

void WindowPeer::Sync(Aspect aspect) {
  if (hwnd_ == nullptr) return;
  switch (aspect) {
    case Aspect::kText:
      // A form's caption, like its controls' visibility, waits for the end of its update.
      if (control_.kind() == ComponentKind::kForm &&
          static_cast<const Form&>(control_).updating()) {
        break;
      }
      ::SetWindowTextA(hwnd_, control_.text().c_str());
      break;
    case Aspect::kVisible: {
      // Held back while the form updates: it syncs every control when the update ends, and
      // only a window that is not yet where its control is needs a change.
      if (FormUpdating(control_)) break;
      const bool shown = (::GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
      if (shown != control_.visible())
        ::ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
      break;
    }
    case Aspect::kEnabled:
      ::EnableWindow(hwnd_, control_.enabled());
      break;
    case Aspect::kBounds: {
      const Rect& r = control_.bounds();
      ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Aspect::kFont:
      ApplyFont();
      ::InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    default:
      break;
  }
}

std::unique_ptr<ComponentPeer> CreatePeer(Context context, Component& component) {
  switch (component.kind()) {
    case ComponentKind::kLabel:
      return CreateLabelPeer(context, component);
    case ComponentKind::kImage:
      return CreateImagePeer(context, component);
    case ComponentKind::kListView:
      return CreateListViewPeer(context, component);
    case ComponentKind::kPopupMenu:
      return CreatePopupMenuPeer(context, component);
    case ComponentKind::kImageList:
      return CreateImageListPeer(context, component);
    case ComponentKind::kTimer:
      return CreateTimerPeer(context, component);
    case ComponentKind::kGroupBox:
      return CreateGroupBoxPeer(context, component);
    case ComponentKind::kTreeView:
      return CreateTreeViewPeer(context, component);
    case ComponentKind::kTrackBar:
      return CreateTrackBarPeer(context, component);
    case ComponentKind::kMemo:
      return CreateMemoPeer(context, component);
    case ComponentKind::kCheckBox:
      return CreateCheckBoxPeer(context, component);
    case ComponentKind::kPageControl:
      return CreatePageControlPeer(context, component);
    case ComponentKind::kTabSheet:
      return CreateTabSheetPeer(context, component);
    case ComponentKind::kPager:
      return CreatePagerPeer(context, component);
    case ComponentKind::kPagerPage:
      return CreatePagerPagePeer(context, component);
    case ComponentKind::kForm:
      break;
  }
  return nullptr;
}

}  // namespace velmora::ui::win32
