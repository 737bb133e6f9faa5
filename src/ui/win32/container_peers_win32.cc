// Containers: group boxes, the page control with its sheets, and the pager's pages. Each one
// hands its children's notifications to their peers and paints what shows beneath them.
#include <windows.h>
#include <commctrl.h>

#include "ui/containers.h"
#include "ui/win32/backdrop_win32.h"
#include "ui/win32/peers_win32.h"
#include "ui/win32/window_class_win32.h"

namespace velmora::ui::win32 {
namespace {

constexpr char kTabSheetClass[] = "VelmoraTabSheet";
constexpr char kPagerPageClass[] = "VelmoraPagerPage";

// A container window of our own class: hands its children's notifications to their peers and
// fills itself with its backdrop.
class OwnContainerPeer : public WindowPeer {
 public:
  using WindowPeer::WindowPeer;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l) override {
    LRESULT result = 0;
    if (RouteChildMessage(message, w, l, result)) return result;
    if (message == WM_ERASEBKGND) {
      RECT client{};
      ::GetClientRect(hwnd_, &client);
      ::SetBrushOrgEx(reinterpret_cast<HDC>(w), 0, 0, nullptr);
      ::FillRect(reinterpret_cast<HDC>(w), &client, BackdropBrush());
      return 1;
    }
    return WindowPeer::HandleMessage(message, w, l);
  }
};

// A sheet of the platform's tab control, filling the control's display area.
class TabSheetPeer : public OwnContainerPeer {
 public:
  TabSheetPeer(Context context, TabSheet& sheet) : OwnContainerPeer(context, sheet) {
    RegisterWindowClass(context.instance, {kTabSheetClass});
    HWND tab = ParentWindowOf(sheet);
    RECT display{};
    ::GetClientRect(tab, &display);
    TabCtrl_AdjustRect(tab, FALSE, &display);
    sheet.UpdateMeasuredBounds(
        {display.left, display.top, display.right - display.left, display.bottom - display.top});
    CreateChild(kTabSheetClass, WS_CLIPCHILDREN);
  }

  HBRUSH BackdropBrush() override { return ::GetSysColorBrush(COLOR_BTNFACE); }
};

// A page of the tab pager: a vertical light-blue gradient, which its children show through.
class PagerPagePeer : public OwnContainerPeer {
 public:
  PagerPagePeer(Context context, PagerPage& page) : OwnContainerPeer(context, page) {
    RegisterWindowClass(context.instance, {kPagerPageClass});
    CreateChild(kPagerPageClass, 0);
  }

  HBRUSH BackdropBrush() override {
    if (!backdrop_.painted()) {
      const Rect& r = control().bounds();
      backdrop_.Paint(r.width, r.height, [&r](HDC dc) {
        TRIVERTEX vertices[2] = {{0, 0, 0xDC00, 0xEB00, 0xFC00, 0},
                                 {r.width, r.height, 0xC100, 0xDB00, 0xFC00, 0}};
        GRADIENT_RECT span{0, 1};
        ::GradientFill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_V);
      });
    }
    return backdrop_.brush();
  }

 private:
  Backdrop backdrop_;
};

// A framed group box; transparent over its container, and a container itself.
class GroupBoxPeer : public WindowPeer {
 public:
  GroupBoxPeer(Context context, GroupBox& box) : WindowPeer(context, box), box_(box) {
    CreateChild("BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN);
  }

  HBRUSH OnControlColor(HDC dc) override {
    ::SetTextColor(dc, ToColorRef(box_.font().color));
    ::SetBkMode(dc, TRANSPARENT);
    return BackdropBrushFor(hwnd_, dc);
  }

 private:
  bool OnSubclassMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override {
    if (RouteChildMessage(message, w, l, result)) return true;
    if (message == WM_ERASEBKGND) {
      result = PaintBackdrop(hwnd_, reinterpret_cast<HDC>(w)) ? 1 : 0;
      return result != 0;
    }
    return false;
  }

  GroupBox& box_;
};

// The platform's tab control; its sheets are windows of their own inside it.
class PageControlPeer : public WindowPeer {
 public:
  PageControlPeer(Context context, PageControl& control)
      : WindowPeer(context, control), control_(control) {
    CreateChild(WC_TABCONTROLA, WS_CLIPCHILDREN | WS_TABSTOP);
    if (hwnd_ == nullptr) return;
    const auto& sheets = control.sheets();
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(sheets[i]->text().c_str());
      ::SendMessageA(hwnd_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    TabCtrl_SetCurSel(hwnd_, control.active_index());
  }

  void Sync(Aspect aspect) override {
    if (aspect == Aspect::kActivePage) {
      TabCtrl_SetCurSel(hwnd_, control_.active_index());
    } else {
      WindowPeer::Sync(aspect);
    }
  }

  bool OnNotify(NMHDR& header, LRESULT& /*result*/) override {
    if (header.code == TCN_SELCHANGE) control_.UserSelectTab(TabCtrl_GetCurSel(hwnd_));
    return false;
  }

 private:
  bool OnSubclassMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override {
    return RouteChildMessage(message, w, l, result);
  }

  PageControl& control_;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreateGroupBoxPeer(Context context, Component& component) {
  return std::make_unique<GroupBoxPeer>(context, static_cast<GroupBox&>(component));
}

std::unique_ptr<ComponentPeer> CreatePageControlPeer(Context context, Component& component) {
  return std::make_unique<PageControlPeer>(context, static_cast<PageControl&>(component));
}

std::unique_ptr<ComponentPeer> CreateTabSheetPeer(Context context, Component& component) {
  return std::make_unique<TabSheetPeer>(context, static_cast<TabSheet&>(component));
}

std::unique_ptr<ComponentPeer> CreatePagerPagePeer(Context context, Component& component) {
  return std::make_unique<PagerPagePeer>(context, static_cast<PagerPage&>(component));
}

}  // namespace velmora::ui::win32
