// The Office-style tab pager: a row of large rounded tabs, each with its picture above its
// caption, over gradient pages. Drawn by us with GDI; the window picture shows around the tabs.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "ui/containers.h"
#include "ui/image_list.h"
#include "ui/win32/backdrop_win32.h"
#include "ui/win32/peers_win32.h"
#include "ui/win32/window_class_win32.h"

namespace velmora::ui::win32 {
namespace {

constexpr char kPagerClass[] = "VelmoraOfficePager";
constexpr COLORREF kBorder = RGB(0x7D, 0xA2, 0xCE);
constexpr COLORREF kTabBorder = RGB(0xA5, 0xBD, 0xDA);

struct TabLook {
  COLORREF top;
  COLORREF bottom;
  COLORREF border;
};

void FillVertical(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  TRIVERTEX vertices[2] = {
      {r.left, r.top, static_cast<COLOR16>(GetRValue(top) << 8),
       static_cast<COLOR16>(GetGValue(top) << 8), static_cast<COLOR16>(GetBValue(top) << 8), 0},
      {r.right, r.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
       static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8),
       0}};
  GRADIENT_RECT span{0, 1};
  ::GradientFill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_V);
}

class PagerPeer : public WindowPeer {
 public:
  PagerPeer(Context context, Pager& pager) : WindowPeer(context, pager), pager_(pager) {
    RegisterWindowClass(context.instance, {kPagerClass});
    CreateChild(kPagerClass, WS_CLIPCHILDREN);
    LOGFONTA tahoma{};
    tahoma.lfHeight = -::MulDiv(8, 96, 72);
    tahoma.lfWeight = FW_NORMAL;
    tahoma.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(tahoma.lfFaceName, "Tahoma", LF_FACESIZE);
    caption_font_.reset(::CreateFontIndirectA(&tahoma));
  }

  void Sync(Aspect aspect) override {
    if (aspect == Aspect::kActivePage) {
      ::InvalidateRect(hwnd_, nullptr, FALSE);
    } else {
      WindowPeer::Sync(aspect);
    }
  }

 private:
  RECT TabRect(int index) const {
    const PagerStyle& s = pager_.style();
    const int left = s.left_margin + index * (s.tab_width + s.spacing);
    return {left, 0, left + s.tab_width, s.tab_height};
  }

  int TabAt(POINT at) const {
    for (int i = 0; i < static_cast<int>(pager_.pages().size()); ++i) {
      const RECT r = TabRect(i);
      if (::PtInRect(&r, at)) return i;
    }
    return -1;
  }

  TabLook LookOf(int index) const {
    if (index == pager_.active_index()) {
      return {RGB(0xF4, 0xF9, 0xFF), RGB(0xDC, 0xEB, 0xFC), kBorder};
    }
    if (index == hot_) return {RGB(0xFF, 0xFF, 0xFF), RGB(0xE8, 0xF1, 0xFC), kTabBorder};
    return {::GetSysColor(COLOR_BTNFACE), RGB(0xFF, 0xFF, 0xFF), kTabBorder};
  }

  void DrawTab(HDC dc, int index) {
    const PagerStyle& s = pager_.style();
    const RECT r = TabRect(index);
    const TabLook look = LookOf(index);
    const bool active = index == pager_.active_index();
    // Round the top corners only: the shape runs on below the tab row and is clipped there.
    const int round = 2 * s.corner_rounding;
    platform::UniqueRegion shape(
        ::CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + round, round, round));
    platform::UniqueRegion row(::CreateRectRgn(r.left, r.top, r.right + 1, r.bottom + 1));
    ::CombineRgn(shape.get(), shape.get(), row.get(), RGN_AND);
    ::SelectClipRgn(dc, shape.get());
    FillVertical(dc, r, look.top, look.bottom);
    ::SelectClipRgn(dc, nullptr);
    platform::UniqueBrush border(::CreateSolidBrush(look.border));
    ::FrameRgn(dc, shape.get(), border.get(), 1, 1);
    if (active) {
      // The selected tab opens into its page.
      RECT joint{r.left + 1, r.bottom - 1, r.right, r.bottom + 1};
      platform::UniqueBrush page_top(::CreateSolidBrush(RGB(0xDC, 0xEB, 0xFC)));
      ::FillRect(dc, &joint, page_top.get());
    }
    const PagerPage& page = *pager_.pages()[static_cast<std::size_t>(index)];
    if (HIMAGELIST images = NativeImageList(pager_.images())) {
      int width = 0, height = 0;
      ::ImageList_GetIconSize(images, &width, &height);
      ::ImageList_Draw(images, page.image_index(), dc, r.left + (s.tab_width - width) / 2,
                       r.top + 8, ILD_TRANSPARENT);
    }
    RECT text{r.left + 4, r.top + 36, r.right - 4, r.bottom - 4};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, page.enabled() ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT));
    const platform::SelectedObject font(dc, caption_font_.get());
    ::DrawTextA(dc, page.text().c_str(), -1, &text,
                DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }

  void Paint(HDC target) {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const MemoryCanvas canvas(target, client.right, client.bottom);
    HDC dc = canvas.dc();
    // The window picture around the tabs; the pages cover the rest.
    if (!PaintBackdrop(hwnd_, dc)) ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    const int tab_height = pager_.style().tab_height;
    RECT frame{0, tab_height - 1, client.right, client.bottom};
    platform::UniqueBrush border(::CreateSolidBrush(kBorder));
    ::FrameRect(dc, &frame, border.get());
    for (int i = 0; i < static_cast<int>(pager_.pages().size()); ++i) {
      if (i != pager_.active_index()) DrawTab(dc, i);
    }
    if (pager_.active_index() >= 0 && !pager_.pages().empty()) DrawTab(dc, pager_.active_index());
    ::BitBlt(target, 0, 0, client.right, tab_height + 1, dc, 0, 0, SRCCOPY);
    // Only the frame's sides and bottom below the tab row; the pages paint inside.
    ::BitBlt(target, 0, tab_height, 1, client.bottom - tab_height, dc, 0, tab_height, SRCCOPY);
    ::BitBlt(target, client.right - 1, tab_height, 1, client.bottom - tab_height, dc,
             client.right - 1, tab_height, SRCCOPY);
    ::BitBlt(target, 0, client.bottom - 1, client.right, 1, dc, 0, client.bottom - 1, SRCCOPY);
  }

  void SetHot(int index) {
    if (index == hot_) return;
    hot_ = index;
    RECT row{0, 0, 0, pager_.style().tab_height + 1};
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    row.right = client.right;
    ::InvalidateRect(hwnd_, &row, FALSE);
  }

  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l) override {
    LRESULT result = 0;
    if (RouteChildMessage(message, w, l, result)) return result;
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        const platform::PaintDc dc(hwnd_);
        Paint(dc.get());
        return 0;
      }
      case WM_MOUSEMOVE: {
        if (!tracking_) {
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
          tracking_ = ::TrackMouseEvent(&track) != FALSE;
        }
        SetHot(TabAt({GET_X_LPARAM(l), GET_Y_LPARAM(l)}));
        return 0;
      }
      case WM_MOUSELEAVE:
        tracking_ = false;
        SetHot(-1);
        return 0;
      case WM_LBUTTONDOWN: {
        const int tab = TabAt({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        if (tab >= 0 && tab != pager_.active_index()) {
          ::InvalidateRect(hwnd_, nullptr, FALSE);
          pager_.UserSelectTab(tab);
        }
        return 0;
      }
      default:
        return WindowPeer::HandleMessage(message, w, l);
    }
  }

  Pager& pager_;
  platform::UniqueFont caption_font_;
  int hot_ = -1;
  bool tracking_ = false;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreatePagerPeer(Context context, Component& component) {
  return std::make_unique<PagerPeer>(context, static_cast<Pager&>(component));
}

}  // namespace velmora::ui::win32
