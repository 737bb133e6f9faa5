#include "ui/win32/window_procedure_win32.h"

#include <exception>

#include "platform/unique_handle_win32.h"
#include "ui/application.h"

namespace velmora::ui::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// The property that holds a window's target, by atom: looked up on every message.
LPCSTR TargetProperty() {
  static const platform::UniqueGlobalAtom atom(::GlobalAddAtomA("VelmoraTarget"));
  return MAKEINTATOM(atom.get());
}

// Runs one message's handler. What it throws is shown by the application's standard error
// display, and the message counts as answered with 0; nothing gets past this frame.
template <typename Handler>
LRESULT Deliver(MessageTarget& target, Handler&& handler) noexcept {
  try {
    return handler();
  } catch (const std::exception& error) {
    try {
      target.app().HandleException(error);
    } catch (...) {  // not even the error display may throw into the platform
    }
  } catch (...) {
    try {
      target.app().HandleUnknownException();
    } catch (...) {
    }
  }
  return 0;
}

LRESULT CALLBACK SubclassProcedure(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR /*id*/,
                                   DWORD_PTR /*data*/) noexcept {
  MessageTarget* target = TargetOf(hwnd);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, SubclassProcedure, kSubclassId);
    if (target != nullptr) {
      UnbindWindow(hwnd);
      target->OnWindowGone();
    }
    return ::DefSubclassProc(hwnd, message, w, l);
  }
  if (target != nullptr) {
    bool handled = false;
    const LRESULT result = Deliver(*target, [&] {
      LRESULT answer = 0;
      handled = target->OnSubclassMessage(message, w, l, answer);
      return answer;
    });
    if (handled) return result;
  }
  return ::DefSubclassProc(hwnd, message, w, l);
}

}  // namespace

void BindWindow(HWND hwnd, MessageTarget* target) {
  ::SetPropA(hwnd, TargetProperty(), static_cast<HANDLE>(target));
}

void UnbindWindow(HWND hwnd) { ::RemovePropA(hwnd, TargetProperty()); }

MessageTarget* TargetOf(HWND hwnd) {
  return static_cast<MessageTarget*>(::GetPropA(hwnd, TargetProperty()));
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(l);
    BindWindow(hwnd, static_cast<MessageTarget*>(create->lpCreateParams));
  }
  MessageTarget* target = TargetOf(hwnd);
  if (target == nullptr) return ::DefWindowProcA(hwnd, message, w, l);
  if (message == WM_NCDESTROY) {
    UnbindWindow(hwnd);
    target->OnWindowGone();
    return ::DefWindowProcA(hwnd, message, w, l);
  }
  return Deliver(*target, [&] { return target->OnMessage(hwnd, message, w, l); });
}

void SubclassToTarget(HWND hwnd) { ::SetWindowSubclass(hwnd, SubclassProcedure, kSubclassId, 0); }

}  // namespace velmora::ui::win32
