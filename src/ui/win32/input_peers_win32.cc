// Check boxes (BUTTON), track bars (msctls_trackbar32) and memos (multi-line EDIT), each
// pulling what the user changes back into its component.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/inputs.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

class CheckBoxPeer : public WindowPeer {
 public:
  CheckBoxPeer(Context context, CheckBox& box) : WindowPeer(context, box), box_(box) {
    CreateChild("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP);
    Sync(Aspect::kChecked);
  }

  void Sync(Aspect aspect) override {
    if (aspect == Aspect::kChecked) {
      ::SendMessageA(hwnd_, BM_SETCHECK, box_.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
      WindowPeer::Sync(aspect);
    }
  }

  void OnCommand(WORD code) override {
    if (code != BN_CLICKED) return;
    const bool ticked = ::SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (ticked != box_.checked()) box_.UserToggle();
  }

  HBRUSH OnControlColor(HDC dc) override {
    ::SetTextColor(dc, ToColorRef(box_.font().color));
    ::SetBkMode(dc, TRANSPARENT);
    return BackdropBrushFor(hwnd_, dc);
  }

 private:
  CheckBox& box_;
};

class TrackBarPeer : public WindowPeer {
 public:
  TrackBarPeer(Context context, TrackBar& bar) : WindowPeer(context, bar), bar_(bar) {
    CreateChild(TRACKBAR_CLASSA,
                (bar.vertical() ? TBS_VERT : TBS_HORZ) | TBS_AUTOTICKS | TBS_BOTH | WS_TABSTOP);
    Sync(Aspect::kPosition);
  }

  void Sync(Aspect aspect) override {
    if (aspect == Aspect::kPosition) {
      ::SendMessageA(hwnd_, TBM_SETRANGEMIN, FALSE, bar_.min());
      ::SendMessageA(hwnd_, TBM_SETRANGEMAX, FALSE, bar_.max());
      ::SendMessageA(hwnd_, TBM_SETPOS, TRUE, bar_.position());
    } else {
      WindowPeer::Sync(aspect);
    }
  }

  void OnScroll(WORD /*code*/) override {
    bar_.UserMove(static_cast<int>(::SendMessageA(hwnd_, TBM_GETPOS, 0, 0)));
  }

  HBRUSH OnControlColor(HDC dc) override { return BackdropBrushFor(hwnd_, dc); }

 private:
  TrackBar& bar_;
};

class MemoPeer : public WindowPeer {
 public:
  MemoPeer(Context context, Memo& memo) : WindowPeer(context, memo), memo_(memo) {
    mirroring_ = true;
    CreateChild("EDIT",
                ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP |
                    (memo.read_only() ? ES_READONLY : 0u),
                WS_EX_CLIENTEDGE);
    mirroring_ = false;
  }

  void Sync(Aspect aspect) override {
    mirroring_ = true;
    WindowPeer::Sync(aspect);
    mirroring_ = false;
  }

  void OnCommand(WORD code) override {
    if (code != EN_CHANGE || mirroring_) return;
    const int length = ::GetWindowTextLengthA(hwnd_);
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    ::GetWindowTextA(hwnd_, text.data(), length + 1);
    memo_.UserEdit(text.data());
  }

 private:
  Memo& memo_;
  bool mirroring_ = false;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreateCheckBoxPeer(Context context, Component& component) {
  return std::make_unique<CheckBoxPeer>(context, static_cast<CheckBox&>(component));
}

std::unique_ptr<ComponentPeer> CreateTrackBarPeer(Context context, Component& component) {
  return std::make_unique<TrackBarPeer>(context, static_cast<TrackBar&>(component));
}

std::unique_ptr<ComponentPeer> CreateMemoPeer(Context context, Component& component) {
  return std::make_unique<MemoPeer>(context, static_cast<Memo&>(component));
}

}  // namespace velmora::ui::win32
