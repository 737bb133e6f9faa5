#ifndef VELMORA_UI_WIN32_WINDOW_PROCEDURE_WIN32_H_
#define VELMORA_UI_WIN32_WINDOW_PROCEDURE_WIN32_H_

// The one way into the program from a window's messages. Every window of ours is bound to the
// object that answers its messages; the two platform entry points below find that object and
// call its handler, and no exception ever crosses back into the platform: it goes to the
// application's standard error display and the message counts as answered with 0.

#include <windows.h>
#include <commctrl.h>

namespace velmora::ui {
class Application;
}

namespace velmora::ui::win32 {

// What answers a window's messages.
class MessageTarget {
 public:
  // Whose standard error display shows what a handler throws.
  virtual Application& app() const = 0;

  // The whole procedure of a window of one of our own classes.
  virtual LRESULT OnMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    return ::DefWindowProcA(hwnd, message, w, l);
  }
  // A subclassed window of a platform class: true when handled, with the answer in result;
  // otherwise the class's own procedure runs.
  virtual bool OnSubclassMessage(UINT /*message*/, WPARAM /*w*/, LPARAM /*l*/,
                                 LRESULT& /*result*/) {
    return false;
  }
  // The window is gone (WM_NCDESTROY): whatever holds it must let go without destroying it.
  virtual void OnWindowGone() {}

 protected:
  ~MessageTarget() = default;
};

// Binds a window to its target. Windows of our own classes are bound by WindowProcedure at
// WM_NCCREATE from the creation parameter, which must be the MessageTarget*; windows of
// platform classes are bound right after they are made. The binding ends with the window.
void BindWindow(HWND hwnd, MessageTarget* target);
void UnbindWindow(HWND hwnd);
MessageTarget* TargetOf(HWND hwnd);

// The window procedure of every class of ours.
LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) noexcept;

// Routes a platform-class window's messages through its target's OnSubclassMessage.
void SubclassToTarget(HWND hwnd);

}  // namespace velmora::ui::win32

#endif  // VELMORA_UI_WIN32_WINDOW_PROCEDURE_WIN32_H_
