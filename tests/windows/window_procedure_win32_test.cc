// Every kind of window procedure of the program, with a handler behind it that throws: the
// error reaches the user in the application's message box, and the program goes on.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "named_child.h"
#include "tray/tray_icon.h"
#include "tray/tray_shell_win32.h"
#include "ui/application.h"
#include "ui/containers.h"
#include "ui/label.h"
#include "ui/timer.h"
#include "ui/win32/backend_win32.h"

namespace velmora::ui {
namespace {

struct BoxSearch {
  DWORD process;
  HWND found = nullptr;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<BoxSearch*>(context);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  char class_name[16] = {};
  ::GetClassNameA(window, class_name, sizeof class_name);
  if (process == search->process && std::string(class_name) == "#32770" &&
      ::IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM context) {
  char text[512] = {};
  ::GetWindowTextA(child, text, sizeof text);
  *reinterpret_cast<std::string*>(context) += std::string(text) + "\n";
  return TRUE;
}

// Watches this process for message boxes from another thread (the test's own thread is inside
// the box's modal loop while it shows), notes their caption and texts, and dismisses them.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher() : thread_([this] { Watch(); }) {}
  ~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
  }

  int boxes() const { return boxes_; }
  std::string last_text() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return last_text_;
  }

 private:
  void Watch() {
    while (!stop_) {
      BoxSearch search{::GetCurrentProcessId()};
      ::EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) {
        char caption[64] = {};
        ::GetWindowTextA(search.found, caption, sizeof caption);
        std::string text = std::string(caption) + "\n";
        ::EnumChildWindows(search.found, CollectText, reinterpret_cast<LPARAM>(&text));
        {
          std::lock_guard<std::mutex> lock(mutex_);
          last_text_ = text;
        }
        ::SendMessageA(search.found, WM_COMMAND, IDOK, 0);
        // Counted once the box is gone, so a test that sees the count sees the loop resumed.
        while (::IsWindow(search.found) && !stop_) ::Sleep(5);
        ++boxes_;
      }
      ::Sleep(10);
    }
  }

  std::atomic<bool> stop_{false};
  std::atomic<int> boxes_{0};
  mutable std::mutex mutex_;
  std::string last_text_;
  std::thread thread_;
};

// Dispatches this thread's messages until done() or the deadline.
bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  MSG message;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    ::Sleep(5);
  }
  return true;
}

class WindowProcedureTest : public ::testing::Test {
 protected:
  WindowProcedureTest() : backend_(::GetModuleHandleA(nullptr)), app_(backend_) {
    form_.SetBounds({0, 0, 400, 300});
  }

  // The message box showed the handler's error once, and the form's window is still there.
  void ExpectErrorShownAndProgramLive(const std::string& error) {
    ASSERT_TRUE(PumpUntil([this] { return watcher_.boxes() >= 1; })) << "no message box";
    EXPECT_EQ(watcher_.boxes(), 1);
    const std::string shown = watcher_.last_text();
    EXPECT_NE(shown.find("Velmora"), std::string::npos) << shown;
    EXPECT_NE(shown.find(error), std::string::npos) << shown;
    HWND window = WindowOf(form_);
    ASSERT_TRUE(::IsWindow(window));
    // Still answering: a message sent now is handled at once.
    EXPECT_TRUE(::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr));
  }

  Win32Backend backend_;
  Application app_;
  Form form_{"ThrowingForm", "VelmoraThrowingForm"};
  MessageBoxWatcher watcher_;
};

using test_support::ChildNamed;

TEST_F(WindowProcedureTest, FormProcedure) {
  form_.on_close = [](Form&, CloseAction&) { throw std::runtime_error("close failed"); };
  app_.CreateForm(form_);
  ::SendMessageA(WindowOf(form_), WM_CLOSE, 0, 0);
  ExpectErrorShownAndProgramLive("close failed");
}

TEST_F(WindowProcedureTest, ContainerProcedure) {
  Pager& pager = form_.Add<Pager>("Pager", &form_);
  pager.SetBounds({0, 0, 400, 300});
  PagerPage& page = form_.Add<PagerPage>("Page", &pager);
  page.SetBounds({2, 60, 396, 236});
  pager.AddPage(page);
  Label& label = form_.Add<Label>("OnPage", &page);
  label.SetText("click");
  label.on_click = [](Label&) { throw std::runtime_error("click on a page failed"); };
  app_.CreateForm(form_);
  HWND child = ChildNamed(WindowOf(form_), "OnPage");
  ASSERT_NE(child, nullptr);
  // What a clicked STATIC tells its parent, the page.
  ::SendMessageA(::GetParent(child), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
                 reinterpret_cast<LPARAM>(child));
  ExpectErrorShownAndProgramLive("click on a page failed");
}

TEST_F(WindowProcedureTest, PagerProcedure) {
  Pager& pager = form_.Add<Pager>("Pager", &form_);
  pager.SetBounds({0, 0, 400, 300});
  Label& label = form_.Add<Label>("OnPager", &pager);
  label.SetText("click");
  label.on_click = [](Label&) { throw std::runtime_error("click on the pager failed"); };
  app_.CreateForm(form_);
  HWND child = ChildNamed(WindowOf(form_), "OnPager");
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(::GetParent(child), ChildNamed(WindowOf(form_), "Pager"));
  ::SendMessageA(::GetParent(child), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
                 reinterpret_cast<LPARAM>(child));
  ExpectErrorShownAndProgramLive("click on the pager failed");
}

TEST_F(WindowProcedureTest, TimerProcedure) {
  Timer& timer = form_.Add<Timer>("Tim");
  timer.SetInterval(20);
  timer.SetEnabled(true);
  timer.on_timer = [](Timer& sender) {
    sender.SetEnabled(false);
    throw std::runtime_error("tick failed");
  };
  app_.CreateForm(form_);
  ExpectErrorShownAndProgramLive("tick failed");
}

TEST_F(WindowProcedureTest, SubclassedControlProcedure) {
  Label& label = form_.Add<Label>("Hover", &form_);
  label.SetText("hover");
  label.on_mouse_move = [](Label&) { throw std::runtime_error("hover failed"); };
  app_.CreateForm(form_);
  HWND child = ChildNamed(WindowOf(form_), "Hover");
  ASSERT_NE(child, nullptr);
  ::SendMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  ExpectErrorShownAndProgramLive("hover failed");
  // The control itself still answers as its class does.
  ::SetWindowTextA(child, "still here");
  char text[32] = {};
  ::GetWindowTextA(child, text, sizeof text);
  EXPECT_STREQ(text, "still here");
}

TEST_F(WindowProcedureTest, TrayProcedure) {
  app_.CreateForm(form_);
  tray::Win32TrayShell shell(::GetModuleHandleA(nullptr), app_);
  tray::TTrayIcon icon(app_, &form_, shell);
  icon.OnDblClick = [](tray::TTrayIcon&) { throw std::runtime_error("double click failed"); };
  // The icon's callback, as the shell posts it for a double click.
  const UINT callback = ::RegisterWindowMessageA("WM_TOOLTRAYICON");
  HWND utility = ::FindWindowA("TTrayIconWindow", nullptr);
  ASSERT_NE(utility, nullptr);
  ASSERT_TRUE(::PostMessageA(utility, callback, 0, WM_LBUTTONDBLCLK));
  ExpectErrorShownAndProgramLive("double click failed");
}

}  // namespace
}  // namespace velmora::ui
