// Timers tick through WM_TIMER on a message-only window of their own.
#include <windows.h>

#include "ui/timer.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

constexpr char kTimerWindowClass[] = "VelmoraTimerWindow";
constexpr UINT_PTR kTimerId = 1;

class TimerPeer : public ComponentPeer {
 public:
  TimerPeer(Context context, Timer& timer) : app_(context.app), timer_(timer) {
    WNDCLASSA wc{};
    if (!::GetClassInfoA(context.instance, kTimerWindowClass, &wc)) {
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = context.instance;
      wc.lpszClassName = kTimerWindowClass;
      ::RegisterClassA(&wc);
    }
    window_.reset(::CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    context.instance, nullptr));
    ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Restart();
  }

  ~TimerPeer() override {
    ::KillTimer(window_.get(), kTimerId);
    ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
  }

  void Sync(Aspect aspect) override {
    if (aspect == Aspect::kEnabled || aspect == Aspect::kInterval) Restart();
  }

 private:
  void Restart() {
    ::KillTimer(window_.get(), kTimerId);
    if (timer_.enabled() && timer_.interval_ms() > 0) {
      ::SetTimer(window_.get(), kTimerId, static_cast<UINT>(timer_.interval_ms()), nullptr);
    }
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    auto* peer = reinterpret_cast<TimerPeer*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_TIMER && peer != nullptr) {
      peer->app_.Guard([peer] { peer->timer_.Tick(); });
      return 0;
    }
    return ::DefWindowProcA(hwnd, message, w, l);
  }

  Application& app_;
  Timer& timer_;
  platform::UniqueWindow window_;
};

}  // namespace

std::unique_ptr<ComponentPeer> CreateTimerPeer(Context context, Component& component) {
  return std::make_unique<TimerPeer>(context, static_cast<Timer&>(component));
}

}  // namespace velmora::ui::win32
