// List views are SysListView32 windows in report view. Entries are mirrored one by one; what
// the user changes (selection, ticks, in-place caption edits) is pulled back into the model.
#include <windows.h>
#include <commctrl.h>

#include "ui/list_view.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

class ListViewPeerWin32 : public WindowPeer, public ListViewPeer {
 public:
  ListViewPeerWin32(Context context, ListView& list) : WindowPeer(context, list), list_(list) {
    const ListViewStyle& style = list.style();
    DWORD window_style = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
    if (!style.read_only) window_style |= LVS_EDITLABELS;
    if (!style.show_column_headers) window_style |= LVS_NOCOLUMNHEADER;
    CreateChild(WC_LISTVIEWA, window_style, WS_EX_CLIENTEDGE);
    if (hwnd_ == nullptr) return;
    DWORD extended = LVS_EX_DOUBLEBUFFER;
    if (style.grid_lines) extended |= LVS_EX_GRIDLINES;
    if (style.check_boxes) extended |= LVS_EX_CHECKBOXES;
    ListView_SetExtendedListViewStyle(hwnd_, extended);
    const COLORREF background = ToColorRef(list.background());
    ListView_SetBkColor(hwnd_, background);
    ListView_SetTextBkColor(hwnd_, background);
    if (HIMAGELIST images =
            NativeImageList(reinterpret_cast<const Component*>(list.small_images()))) {
      ListView_SetImageList(hwnd_, images, LVSIL_SMALL);
    }
    if (style.has_item_font) item_font_ = CreateFontFor(list.font());
    SyncColumns();
    for (int i = 0; i < list.item_count(); ++i) ItemInserted(i);
  }

  void Sync(Aspect aspect) override {
    if (aspect == Aspect::kColumns) {
      SyncColumns();
    } else {
      WindowPeer::Sync(aspect);
    }
  }

  void ItemInserted(int index) override {
    const ListItem& item = list_.item(index);
    LVITEMA native{};
    native.mask = LVIF_TEXT | (item.image_index >= 0 ? LVIF_IMAGE : 0u);
    native.iItem = index;
    native.pszText = const_cast<char*>(item.caption.c_str());
    native.iImage = item.image_index;
    const Mirroring mirroring(*this);
    const int at = static_cast<int>(
        ::SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&native)));
    if (at < 0) return;
    for (std::size_t k = 0; k < item.sub_items.size(); ++k) {
      SetText(at, static_cast<int>(k) + 1, item.sub_items[k]);
    }
    if (list_.style().check_boxes) ListView_SetCheckState(hwnd_, at, item.checked);
  }

  void ItemChanged(int index) override {
    const ListItem& item = list_.item(index);
    const Mirroring mirroring(*this);
    SetText(index, 0, item.caption);
    for (std::size_t k = 0; k < item.sub_items.size(); ++k) {
      SetText(index, static_cast<int>(k) + 1, item.sub_items[k]);
    }
    if (list_.style().check_boxes) ListView_SetCheckState(hwnd_, index, item.checked);
  }

  void ItemRemoved(int index) override {
    const Mirroring mirroring(*this);
    ListView_DeleteItem(hwnd_, index);
  }

  void ItemsCleared() override {
    const Mirroring mirroring(*this);
    ListView_DeleteAllItems(hwnd_);
  }

  void UpdatingChanged(bool updating) override {
    ::SendMessageA(hwnd_, WM_SETREDRAW, updating ? FALSE : TRUE, 0);
    if (!updating) ::InvalidateRect(hwnd_, nullptr, TRUE);
  }

  void Repaint() override {
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }

  // The context-menu key and Shift+F10 ask for the menu from the keyboard (the position is -1,
  // -1): it pops up below the selected entry's caption, or at the list's corner when none is
  // selected. A right click already popped it through NM_RCLICK, so its WM_CONTEXTMENU, which
  // carries the cursor position, is left to the list.
  bool OnSubclassMessage(UINT message, WPARAM /*w*/, LPARAM l, LRESULT& result) override {
    if (message != WM_CONTEXTMENU || l != static_cast<LPARAM>(-1)) return false;
    POINT at{0, 0};
    const int selected = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
    RECT caption{};
    if (selected >= 0 && ListView_GetItemRect(hwnd_, selected, &caption, LVIR_LABEL)) {
      at = {caption.left, caption.bottom};
    }
    ::ClientToScreen(hwnd_, &at);
    list_.UserRightClick({at.x, at.y});
    result = 0;
    return true;
  }

  bool OnNotify(NMHDR& header, LRESULT& result) override {
    switch (header.code) {
      case LVN_ITEMCHANGED:
        if (!mirroring_) ItemChangedByUser(reinterpret_cast<const NMLISTVIEW&>(header));
        return false;
      case LVN_BEGINLABELEDITA:
        result = list_.style().read_only ? TRUE : FALSE;
        return true;
      case LVN_ENDLABELEDITA: {
        const auto& edit = reinterpret_cast<const NMLVDISPINFOA&>(header);
        result = FALSE;
        if (edit.item.pszText != nullptr && edit.item.iItem >= 0) {
          list_.UserEditCaption(edit.item.iItem, edit.item.pszText);
          result = TRUE;
        }
        return true;
      }
      case NM_RCLICK: {
        POINT at{};
        ::GetCursorPos(&at);
        list_.UserRightClick({at.x, at.y});
        return false;
      }
      case NM_CUSTOMDRAW:
        return item_font_ ? CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header), result) : false;
      default:
        return false;
    }
  }

 private:
  // Our own changes raise LVN_ITEMCHANGED too; those are not the user's.
  class Mirroring {
   public:
    explicit Mirroring(ListViewPeerWin32& peer) : peer_(peer), previous_(peer.mirroring_) {
      peer_.mirroring_ = true;
    }
    ~Mirroring() { peer_.mirroring_ = previous_; }
    Mirroring(const Mirroring&) = delete;
    Mirroring& operator=(const Mirroring&) = delete;

   private:
    ListViewPeerWin32& peer_;
    bool previous_;
  };

  void SetText(int index, int column, const std::string& text) {
    LVITEMA native{};
    native.iSubItem = column;
    native.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&native));
  }

  void SyncColumns() {
    while (ListView_DeleteColumn(hwnd_, 0)) {
    }
    const auto& columns = list_.columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      LVCOLUMNA column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      column.pszText = const_cast<char*>(columns[i].caption.c_str());
      column.cx = columns[i].width;
      column.iSubItem = static_cast<int>(i);
      ::SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
  }

  void ItemChangedByUser(const NMLISTVIEW& change) {
    if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0 ||
        change.iItem >= list_.item_count()) {
      return;
    }
    const UINT changed = change.uOldState ^ change.uNewState;
    if (changed & LVIS_STATEIMAGEMASK) {
      // State image 2 is the ticked box.
      list_.UserSetChecked(change.iItem, ((change.uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2);
    }
    if (changed & LVIS_SELECTED) {
      list_.UserSelectItem(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
    }
  }

  bool CustomDraw(NMLVCUSTOMDRAW& draw, LRESULT& result) {
    switch (draw.nmcd.dwDrawStage) {
      case CDDS_PREPAINT:
        result = CDRF_NOTIFYITEMDRAW;
        return true;
      case CDDS_ITEMPREPAINT:
        // Left selected on purpose: CDRF_NEWFONT tells the list to draw with it and to put
        // its own font back afterwards.
        ::SelectObject(draw.nmcd.hdc, item_font_.get());
        draw.clrText = ToColorRef(list_.font().color);
        result = CDRF_NEWFONT;
        return true;
      default:
        return false;
    }
  }

  ListView& list_;
  platform::UniqueFont item_font_;
  bool mirroring_ = false;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreateListViewPeer(Context context, Component& component) {
  return std::make_unique<ListViewPeerWin32>(context, static_cast<ListView&>(component));
}

}  // namespace velmora::ui::win32
