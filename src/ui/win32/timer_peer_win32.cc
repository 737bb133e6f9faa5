// Timers tick through WM_TIMER on a message-only window of their own.
#include <windows.h>

#include "ui/timer.h"
#include "ui/win32/peers_win32.h"
#include "ui/win32/window_class_win32.h"

namespace velmora::ui::win32 {
namespace {

constexpr char kTimerWindowClass[] = "VelmoraTimerWindow";
constexpr UINT_PTR kTimerId = 1;

class TimerPeer : public ComponentPeer, public MessageTarget {
 public:
  TimerPeer(Context context, Timer& timer) : app_(context.app), timer_(timer) {
    RegisterWindowClass(context.instance, {kTimerWindowClass, 0});
    window_.reset(::CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    context.instance, static_cast<MessageTarget*>(this)));
    Restart();
  }

  ~TimerPeer() override {
    if (!window_) return;
    ::KillTimer(window_.get(), kTimerId);
    UnbindWindow(window_.get());
  }

  void Sync(Aspect aspect) override {
    if (aspect == Aspect::kEnabled || aspect == Aspect::kInterval) Restart();
  }

  Application& app() const override { return app_; }

 private:
  void Restart() {
    if (!window_) return;
    ::KillTimer(window_.get(), kTimerId);
    if (timer_.enabled() && timer_.interval_ms() > 0) {
      ::SetTimer(window_.get(), kTimerId, static_cast<UINT>(timer_.interval_ms()), nullptr);
    }
  }

  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) override {
    if (message == WM_TIMER && w == kTimerId) {
      timer_.Tick();
      return 0;
    }
    return ::DefWindowProcA(hwnd, message, w, l);
  }

  void OnWindowGone() override { window_.release(); }

  Application& app_;
  Timer& timer_;
  platform::UniqueWindow window_;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreateTimerPeer(Context context, Component& component) {
  return std::make_unique<TimerPeer>(context, static_cast<Timer&>(component));
}

}  // namespace velmora::ui::win32
