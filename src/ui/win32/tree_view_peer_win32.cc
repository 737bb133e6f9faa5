// Tree views are SysTreeView32 windows; nodes are mirrored as they are added, and in-place
// caption edits and expansions come back into the component.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/image_list.h"
#include "ui/tree_view.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

class TreeViewPeerWin32 : public WindowPeer, public TreeViewPeer {
 public:
  TreeViewPeerWin32(Context context, TreeView& tree) : WindowPeer(context, tree), tree_(tree) {
    DWORD style = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP;
    if (!tree.read_only()) style |= TVS_EDITLABELS;
    CreateChild(WC_TREEVIEWA, style, WS_EX_CLIENTEDGE);
    if (hwnd_ == nullptr) return;
    if (HIMAGELIST images = NativeImageList(tree.images())) {
      TreeView_SetImageList(hwnd_, images, TVSIL_NORMAL);
    }
    TreeView_SetIndent(hwnd_, tree.indent());
    for (int i = 0; i < static_cast<int>(tree.nodes().size()); ++i) NodeAdded(i);
  }

  void NodeAdded(int node) override {
    const TreeNode& n = tree_.nodes()[static_cast<std::size_t>(node)];
    TVINSERTSTRUCTA insert{};
    insert.hParent = n.parent >= 0 ? items_[static_cast<std::size_t>(n.parent)] : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(n.text.c_str());
    insert.item.iImage = n.image_index;
    insert.item.iSelectedImage = n.image_index;
    insert.item.lParam = node;
    items_.resize(tree_.nodes().size());
    items_[static_cast<std::size_t>(node)] = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  }

  void NodeChanged(int node) override {
    const TreeNode& n = tree_.nodes()[static_cast<std::size_t>(node)];
    TreeView_Expand(hwnd_, items_[static_cast<std::size_t>(node)],
                    n.expanded ? TVE_EXPAND : TVE_COLLAPSE);
  }

  void NodesCleared() override {
    TreeView_DeleteAllItems(hwnd_);
    items_.clear();
  }

  bool OnNotify(NMHDR& header, LRESULT& result) override {
    switch (header.code) {
      case TVN_BEGINLABELEDITA:
        result = tree_.read_only() ? TRUE : FALSE;
        return true;
      case TVN_ENDLABELEDITA: {
        const auto& edit = reinterpret_cast<const NMTVDISPINFOA&>(header);
        result = FALSE;
        if (edit.item.pszText != nullptr) {
          tree_.UserEditText(static_cast<int>(edit.item.lParam), edit.item.pszText);
          result = TRUE;
        }
        return true;
      }
      case TVN_ITEMEXPANDEDA: {
        const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
        tree_.UserSetExpanded(static_cast<int>(change.itemNew.lParam),
                              (change.itemNew.state & TVIS_EXPANDED) != 0);
        return false;
      }
      default:
        return false;
    }
  }

 private:
  TreeView& tree_;
  std::vector<HTREEITEM> items_;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreateTreeViewPeer(Context context, Component& component) {
  return std::make_unique<TreeViewPeerWin32>(context, static_cast<TreeView&>(component));
}

}  // namespace velmora::ui::win32
