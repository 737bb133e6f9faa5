#include "ui/win32/backend_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "ui/form.h"
#include "ui/image.h"
#include "ui/win32/device_change_win32.h"
#include "ui/win32/peers_win32.h"

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
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!::GetClassInfoExA(context().instance, class_name.c_str(), &wc)) {
      wc = WNDCLASSEXA{};
      wc.cbSize = sizeof wc;
      wc.style = CS_DBLCLKS | (form_.drop_shadow() ? CS_DROPSHADOW : 0u);
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = context().instance;
      wc.hIcon = ::LoadIconA(context().instance, "MAINICON");
      wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      wc.lpszClassName = class_name.c_str();
      wc.hIconSm = static_cast<HICON>(::LoadImageA(context().instance, "MAINICON", IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), 0));
      ::RegisterClassExA(&wc);
    }
    const Rect& r = form_.bounds();
    const DWORD ex_style = form_.stay_on_top() ? WS_EX_TOPMOST | WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
    hwnd_ = ::CreateWindowExA(ex_style, class_name.c_str(), form_.text().c_str(),
                              WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, r.left,
                              r.top, r.width, r.height, nullptr, nullptr, context().instance, this);
    if (hwnd_ != nullptr) Tag();
  }

  ~FormPeer() override {
    // Unlink first: the window's last messages must not reach a half-destroyed peer.
    if (hwnd_ != nullptr) {
      ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      ::DestroyWindow(std::exchange(hwnd_, nullptr));
    }
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
    if (!backdrop_brush_) BuildBackdrop();
    return backdrop_brush_.get();
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
  void BuildBackdrop() {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const Rect& r = form_.bounds();
    const int width = std::max<int>(client.right, r.width);
    const int height = std::max<int>(client.bottom, r.height);
    HDC screen = ::GetDC(nullptr);
    platform::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old_bitmap = ::SelectObject(dc, bitmap.get());
    platform::UniqueBrush fill(::CreateSolidBrush(ToColorRef(form_.color())));
    RECT all{0, 0, width, height};
    ::FillRect(dc, &all, fill.get());
    HDC source = ::CreateCompatibleDC(screen);
    for (const auto& component : form_.components()) {
      auto* image = dynamic_cast<const Image*>(component.get());
      if (image == nullptr || image->parent() != &form_) continue;
      HBITMAP picture = PictureBitmapOf(*image);
      if (picture == nullptr) continue;
      HGDIOBJ old = ::SelectObject(source, picture);
      const Rect& b = image->bounds();
      ::BitBlt(dc, b.left, b.top, b.width, b.height, source, 0, 0, SRCCOPY);
      ::SelectObject(source, old);
    }
    ::DeleteDC(source);
    ::SelectObject(dc, old_bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    backdrop_brush_.reset(::CreatePatternBrush(bitmap.get()));
    backdrop_ = std::move(bitmap);
  }

  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l) {
    LRESULT routed = 0;
    if (RouteChildMessage(app(), message, w, l, routed)) return routed;
    switch (message) {
      case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        ::FillRect(reinterpret_cast<HDC>(w), &client, BackdropBrush());
        return 1;
      }
      case WM_CLOSE:
        app().Guard([&] { app().CloseForm(form_); });
        return 0;
      case WM_DEVICECHANGE: {
        bool handled = false;
        app().Guard([&] { handled = form_.DeviceChanged(DecodeDeviceChange(w, l)); });
        // TRUE grants what a query asks, as the default processing would.
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
    return ::DefWindowProcA(hwnd_, message, w, l);
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(l);
      auto* peer = static_cast<FormPeer*>(create->lpCreateParams);
      peer->hwnd_ = hwnd;
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    }
    auto* peer = reinterpret_cast<FormPeer*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (peer == nullptr) return ::DefWindowProcA(hwnd, message, w, l);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      peer->hwnd_ = nullptr;
      return ::DefWindowProcA(hwnd, message, w, l);
    }
    // No exception may cross back into the platform.
    LRESULT result = 0;
    try {
      result = peer->HandleMessage(message, w, l);
    } catch (const std::exception& error) {
      peer->app().HandleException(error);
    } catch (...) {
      peer->app().HandleUnknownException();
    }
    return result;
  }

  Form& form_;
  bool shown_once_ = false;
  platform::UniqueBitmap backdrop_;
  platform::UniqueBrush backdrop_brush_;
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
