// The shared part of every windowed peer: creation, the name tag, the shared properties,
// subclassing, and the colour and font helpers.
#include <windows.h>
#include <commctrl.h>

#include "ui/form.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

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

platform::UniqueGlobalAtom TagWindow(HWND hwnd, const std::string& name) {
  platform::UniqueGlobalAtom atom(::GlobalAddAtomA(name.c_str()));
  ::SetPropA(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom.get())));
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
    // Unbound first: the window's last messages must not reach a half-destroyed peer.
    UnbindWindow(hwnd_);
    ::RemovePropA(hwnd_, kNameProperty);
  }
}

WindowPeer* WindowPeer::FromWindow(HWND hwnd) { return dynamic_cast<WindowPeer*>(TargetOf(hwnd)); }

bool WindowPeer::CreateOwnedWindow(DWORD ex_style, const char* window_class, const char* text,
                                   DWORD style, const Rect& bounds, HWND parent) {
  // Our own classes bind the window to this peer while it is being created.
  window_.reset(::CreateWindowExA(ex_style, window_class, text, style, bounds.left, bounds.top,
                                  bounds.width, bounds.height, parent, nullptr, context_.instance,
                                  static_cast<MessageTarget*>(this)));
  hwnd_ = window_.get();
  if (hwnd_ == nullptr) return false;
  if (TargetOf(hwnd_) == nullptr) {
    BindWindow(hwnd_, this);
    SubclassToTarget(hwnd_);
  }
  name_atom_ = TagWindow(hwnd_, control_.name());
  return true;
}

void WindowPeer::CreateChild(const char* window_class, DWORD style, DWORD ex_style) {
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (control_.visible()) style |= WS_VISIBLE;
  if (!control_.enabled()) style |= WS_DISABLED;
  if (!CreateOwnedWindow(ex_style, window_class, control_.text().c_str(), style, control_.bounds(),
                         ParentWindowOf(control_))) {
    return;
  }
  // New children go below their siblings; the layout wants later ones on top.
  ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyFont();
}

LRESULT WindowPeer::OnMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  // Messages of the window's creation arrive before CreateWindowEx has told us its handle.
  if (hwnd_ == nullptr) hwnd_ = hwnd;
  return HandleMessage(message, w, l);
}

void WindowPeer::OnWindowGone() {
  // Destroyed with its parent: nothing is left to destroy.
  window_.release();
  hwnd_ = nullptr;
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

bool RouteChildMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (WindowPeer* child =
              l != 0 ? WindowPeer::FromWindow(reinterpret_cast<HWND>(l)) : nullptr) {
        child->OnCommand(HIWORD(w));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(l);
      WindowPeer* child = WindowPeer::FromWindow(header->hwndFrom);
      if (child == nullptr) return false;
      return child->OnNotify(*header, result);
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (WindowPeer* child =
              l != 0 ? WindowPeer::FromWindow(reinterpret_cast<HWND>(l)) : nullptr) {
        child->OnScroll(LOWORD(w));
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

void WindowPeer::ApplyFont() {
  font_ = CreateFontFor(control_.font());
  ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
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
