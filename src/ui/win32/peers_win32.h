#ifndef VELMORA_UI_WIN32_PEERS_WIN32_H_
#define VELMORA_UI_WIN32_PEERS_WIN32_H_

// The win32 backend's peers: each mirrors one component to a real window of the platform's
// own class and feeds user actions back to it. Only the backend includes this header.

#include <windows.h>

#include <memory>

#include "platform/unique_handle_win32.h"
#include "ui/application.h"
#include "ui/component.h"
#include "ui/control.h"
#include "ui/win32/window_procedure_win32.h"

namespace velmora::ui::win32 {

struct Context {
  HINSTANCE instance;
  Application& app;
  HWND owner;  // the top-level window of the form being realized
};

// A peer with a window. Its parent window routes WM_COMMAND, WM_NOTIFY and the colour
// messages back to it; its own messages reach it through the program's window procedure.
class WindowPeer : public ComponentPeer, public MessageTarget {
 public:
  WindowPeer(Context context, Control& control) : context_(context), control_(control) {}
  ~WindowPeer() override;

  HWND hwnd() const { return hwnd_; }
  Control& control() const { return control_; }
  Application& app() const override { return context_.app; }

  void Sync(Aspect aspect) override;

  virtual void OnCommand(WORD /*code*/) {}
  // WM_HSCROLL / WM_VSCROLL from the control (track bars report their moves so).
  virtual void OnScroll(WORD /*code*/) {}
  virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  // The brush a static child paints its background with; null for the default.
  virtual HBRUSH OnControlColor(HDC /*dc*/) { return nullptr; }
  // What a container paints beneath its children, as a brush; null for plain containers.
  virtual HBRUSH BackdropBrush() { return nullptr; }

  // The peer of one of our windows; null for any other window.
  static WindowPeer* FromWindow(HWND hwnd);

 protected:
  // Creates the child window with the shared properties applied, stacked above its earlier
  // siblings. A window of a platform class is subclassed, so its messages reach
  // OnSubclassMessage; one of our own classes gets them all through HandleMessage.
  void CreateChild(const char* window_class, DWORD style, DWORD ex_style = 0);
  // Creates and owns the peer's window, bound to the peer; false when it could not be made.
  bool CreateOwnedWindow(DWORD ex_style, const char* window_class, const char* text, DWORD style,
                         const Rect& bounds, HWND parent);
  // The messages of a window of one of our own classes; the default processing by default.
  virtual LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l) {
    return ::DefWindowProcA(hwnd_, message, w, l);
  }
  void ApplyFont();
  HFONT font_handle() const { return font_.get(); }
  const Context& context() const { return context_; }

  // The window while it exists; owned by window_.
  HWND hwnd_ = nullptr;

 private:
  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) final;
  void OnWindowGone() final;

  Context context_;
  Control& control_;
  platform::UniqueFont font_;
  platform::UniqueGlobalAtom name_atom_;
  platform::UniqueWindow window_;
};

// The window of the nearest windowed ancestor, to create a child in.
HWND ParentWindowOf(const Control& control);
// The platform value of a colour of the component model.
COLORREF ToColorRef(Color color);
// A font of the platform for a font of the component model.
platform::UniqueFont CreateFontFor(const Font& font);
// Tags a window with a component's name so outside tools can find it; the atom names it for
// as long as it is held.
platform::UniqueGlobalAtom TagWindow(HWND hwnd, const std::string& name);
// The composite the nearest painting container shows beneath a child, as a brush aligned for
// drawing in the child's device context; null when no container paints one.
HBRUSH BackdropBrushFor(HWND child, HDC dc);
// Fills a window's client area with what lies beneath it, so it looks transparent.
bool PaintBackdrop(HWND window, HDC dc);
// What every container does with the messages its children send it: hands them to the
// child's peer. True when handled, with the answer in result.
bool RouteChildMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result);
// The picture of a popup-menu item, drawn by its owner window on the menu's request.
struct MenuPicture {
  HIMAGELIST images;
  int index;
};
// Answers WM_MEASUREITEM and WM_DRAWITEM for menu-item pictures.
bool HandleMenuPictureMessage(UINT message, LPARAM l, LRESULT& result);

// One place that knows every kind: the factory of the backend's peers.
std::unique_ptr<ComponentPeer> CreatePeer(Context context, Component& component);

std::unique_ptr<ComponentPeer> CreateLabelPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateImagePeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateListViewPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreatePopupMenuPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateImageListPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateTimerPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateGroupBoxPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateTreeViewPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateTrackBarPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateMemoPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateCheckBoxPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreatePageControlPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreateTabSheetPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreatePagerPeer(Context context, Component& component);
std::unique_ptr<ComponentPeer> CreatePagerPagePeer(Context context, Component& component);

// The decoded picture of an image component, if it holds one.
HBITMAP PictureBitmapOf(const Component& image);
// Native image list of an image list component, once realized.
HIMAGELIST NativeImageList(const Component* image_list);

}  // namespace velmora::ui::win32

#endif  // VELMORA_UI_WIN32_PEERS_WIN32_H_
