#include "ui/win32/backend_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "ui/form.h"
#include "ui/image.h"
#include "ui/win32/backdrop_win32.h"
#include "ui/win32/device_change_win32.h"
#include "ui/win32/peers_win32.h"
#include "ui/win32/window_class_win32.h"

namespace velmora::ui {
namespace win32 {
namespace {

// A form's top-level window: borderless popup, routes its children's notifications back to
// their peers, and paints the composite backdrop that transparent children show through.
class FormPeer : public WindowPeer, public FormCommands {
 public:
  FormPeer(Context context, Form& form) : WindowPeer(context, form), form_(form) {}

  void StartMove() override {
    // The press took the capture for the window; the move loop needs it back.
    ::ReleaseCapture();
    ::SendMessageA(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  }

  void Create() {
    const std::string& class_name = form_.class_name();
    RegisterWindowClass(
        context().instance,
        {class_name.c_str(), CS_DBLCLKS | (form_.drop_shadow() ? CS_DROPSHADOW : 0u), "MAINICON"});
    const DWORD ex_style = form_.stay_on_top() ? WS_EX_TOPMOST | WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
    CreateOwnedWindow(ex_style, class_name.c_str(), form_.text().c_str(),
                      WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, form_.bounds(),
                      nullptr);
  }

  void Sync(Aspect aspect) override {
    if (hwnd_ == nullptr) return;
    switch (aspect) {
      case Aspect::kVisible:
      case Aspect::kWindowState:
        ShowInState();
        break;
      case Aspect::kRegion: {
        const RoundRectRegion& g = *form_.region();
        platform::UniqueRegion region(::CreateRoundRectRgn(g.left, g.top, g.right, g.bottom,
                                                           g.ellipse_width, g.ellipse_height));
        // On success the system owns the region.
        if (region && ::SetWindowRgn(hwnd_, region.get(), TRUE) != 0) region.release();
        break;
      }
      default:
        WindowPeer::Sync(aspect);
        break;
    }
  }

  HBRUSH BackdropBrush() override {
    if (!backdrop_.painted()) PaintBackdrop();
    return backdrop_.brush();
  }

 private:
  void ShowInState() {
    if (!form_.visible()) {
      ::ShowWindow(hwnd_, SW_HIDE);
      return;
    }
    if (!shown_once_) {
      shown_once_ = true;
      CenterOnDesktop();
    }
    switch (form_.window_state()) {
      case WindowState::kMaximized:
        ::ShowWindow(hwnd_, SW_SHOWMAXIMIZED);
        break;
      case WindowState::kMinimized:
        ::ShowWindow(hwnd_, SW_SHOWMINIMIZED);
        break;
      case WindowState::kNormal:
        ::ShowWindow(hwnd_, ::IsZoomed(hwnd_) || ::IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
        break;
    }
    if (form_.stay_on_top()) {
      ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
  }

  void CenterOnDesktop() {
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const Rect& r = form_.bounds();
    const int left = work.left + (work.right - work.left - r.width) / 2;
    const int top = work.top + (work.bottom - work.top - r.height) / 2;
    ::SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // The form's colour with the pictures placed directly on it, at their places.
  void PaintBackdrop() {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const Rect& r = form_.bounds();
    const int width = std::max<int>(client.right, r.width);
    const int height = std::max<int>(client.bottom, r.height);
    backdrop_.Paint(width, height, [&](HDC dc) {
      platform::UniqueBrush fill(::CreateSolidBrush(ToColorRef(form_.color())));
      RECT all{0, 0, width, height};
      ::FillRect(dc, &all, fill.get());
      const platform::UniqueMemoryDc source(::CreateCompatibleDC(dc));
      for (const auto& component : form_.components()) {
        auto* image = dynamic_cast<const Image*>(component.get());
        if (image == nullptr || image->parent() != &form_) continue;
        HBITMAP picture = PictureBitmapOf(*image);
        if (picture == nullptr) continue;
        const platform::SelectedObject selection(source.get(), picture);
        const Rect& b = image->bounds();
        ::BitBlt(dc, b.left, b.top, b.width, b.height, source.get(), 0, 0, SRCCOPY);
      }
    });
  }

  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l) override {
    LRESULT routed = 0;
    if (RouteChildMessage(message, w, l, routed)) return routed;
    switch (message) {
      case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        ::FillRect(reinterpret_cast<HDC>(w), &client, BackdropBrush());
        return 1;
      }
      case WM_CLOSE:
        app().CloseForm(form_);
        return 0;
      case WM_DEVICECHANGE: {
        // TRUE grants what a query asks, as the default processing would; also when the
        // handler failed, whose error is shown here so the sender still gets its answer.
        bool handled = true;
        app().Guard([&] { handled = form_.DeviceChanged(DecodeDeviceChange(w, l)); });
        if (handled) return TRUE;
        break;
      }
      case WM_SIZE:
        // Only a shown window's state is the user's doing: the sizes a hidden window is told
        // of (at its creation, say) must not overwrite the state it is to be shown in.
        if (::IsWindowVisible(hwnd_) &&
            (w == SIZE_MAXIMIZED || w == SIZE_MINIMIZED || w == SIZE_RESTORED)) {
          form_.UpdateWindowStateFromPlatform(w == SIZE_MAXIMIZED   ? WindowState::kMaximized
                                              : w == SIZE_MINIMIZED ? WindowState::kMinimized
                                                                    : WindowState::kNormal);
        }
        break;
      default:
        break;
    }
    return WindowPeer::HandleMessage(message, w, l);
  }

  Form& form_;
  bool shown_once_ = false;
  Backdrop backdrop_;
};

}  // namespace

}  // namespace win32

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                     ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&controls);
}

void Win32Backend::Realize(Application& app, Form& form) {
  auto form_peer = std::make_unique<win32::FormPeer>(win32::Context{instance_, app, nullptr}, form);
  win32::FormPeer* peer = form_peer.get();
  form.AttachPeer(std::move(form_peer));
  peer->Create();
  if (main_window_ == nullptr) main_window_ = peer->hwnd();
  const win32::Context context{instance_, app, peer->hwnd()};
  // Image lists first: list views and menus take their native lists when they are made.
  for (const auto& component : form.components()) {
    if (component->kind() == ComponentKind::kImageList) {
      component->AttachPeer(win32::CreatePeer(context, *component));
    }
  }
  for (const auto& component : form.components()) {
    if (component->kind() != ComponentKind::kImageList) {
      component->AttachPeer(win32::CreatePeer(context, *component));
    }
  }
}

void Win32Backend::RunMessageLoop() {
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

void Win32Backend::PostQuit() { ::PostQuitMessage(0); }

void Win32Backend::MinimizeApplication() {
  if (main_window_ != nullptr) ::ShowWindow(main_window_, SW_MINIMIZE);
}

void Win32Backend::ShowError(const std::string& text) {
  HWND owner = main_window_ != nullptr && ::IsWindowVisible(main_window_) ? main_window_ : nullptr;
  ::MessageBoxA(owner, text.c_str(), "Velmora", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

HWND WindowOf(const Form& form) {
  auto* peer = dynamic_cast<const win32::WindowPeer*>(form.peer());
  return peer != nullptr ? peer->hwnd() : nullptr;
}

}  // namespace velmora::ui
