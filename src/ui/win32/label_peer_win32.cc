// Labels are STATIC windows: transparent over their container's backdrop, sized to their text,
// with click, hover and leave events and their own cursor.
#include <windows.h>
#include <commctrl.h>

#include "ui/label.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

class LabelPeer : public WindowPeer {
 public:
  LabelPeer(Context context, Label& label) : WindowPeer(context, label), label_(label) {
    CreateChild("STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY);
    if (hwnd_ == nullptr) return;
    FitToText();
  }

  void Sync(Aspect aspect) override {
    WindowPeer::Sync(aspect);
    if (aspect == Aspect::kText || aspect == Aspect::kFont) FitToText();
  }

  void OnCommand(WORD code) override {
    if (code == STN_CLICKED) label_.Click();
  }

  HBRUSH OnControlColor(HDC dc) override {
    ::SetTextColor(dc, ToColorRef(label_.font().color));
    ::SetBkMode(dc, TRANSPARENT);
    HBRUSH brush = BackdropBrushFor(hwnd_, dc);
    return brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE);
  }

 private:
  bool OnSubclassMessage(UINT message, WPARAM /*w*/, LPARAM /*l*/, LRESULT& result) override {
    switch (message) {
      case WM_MOUSEMOVE:
        if (!tracking_) {
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
          tracking_ = ::TrackMouseEvent(&track) != FALSE;
        }
        label_.MouseMove();
        return false;
      case WM_MOUSELEAVE:
        tracking_ = false;
        label_.MouseLeave();
        return false;
      case WM_SETCURSOR:
        ::SetCursor(::LoadCursorA(
            nullptr, reinterpret_cast<LPCSTR>(label_.cursor() == Cursor::kHandPoint ? IDC_HAND
                                                                                    : IDC_ARROW)));
        result = TRUE;
        return true;
      default:
        return false;
    }
  }

  // Labels size themselves to their text; only their left and top are fixed.
  void FitToText() {
    RECT text{0, 0, 0, 0};
    const std::string& caption = label_.text();
    {
      const platform::WindowDc dc(hwnd_);
      const platform::SelectedObject font(dc.get(), font_handle());
      ::DrawTextA(dc.get(), caption.empty() ? " " : caption.c_str(), -1, &text,
                  DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
    }
    Rect bounds = label_.bounds();
    const int old_width = bounds.width;
    const int old_height = bounds.height;
    bounds.width = caption.empty() ? 0 : text.right;
    bounds.height = text.bottom;
    label_.UpdateMeasuredBounds(bounds);
    ::SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // What the old, wider text covered must be repainted by the container.
    if (old_width > bounds.width || old_height > bounds.height) {
      RECT stale{bounds.left, bounds.top, bounds.left + old_width, bounds.top + old_height};
      ::InvalidateRect(::GetParent(hwnd_), &stale, TRUE);
    }
    ::InvalidateRect(hwnd_, nullptr, TRUE);
  }

  Label& label_;
  bool tracking_ = false;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreateLabelPeer(Context context, Component& component) {
  return std::make_unique<LabelPeer>(context, static_cast<Label&>(component));
}

}  // namespace velmora::ui::win32
