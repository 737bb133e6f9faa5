#ifndef VELMORA_UI_WIN32_BACKEND_WIN32_H_
#define VELMORA_UI_WIN32_BACKEND_WIN32_H_

#include <windows.h>

#include "ui/backend.h"

namespace velmora::ui {

// Real windows of the platform's own classes, driven by the thread's message loop.
class Win32Backend : public Backend {
 public:
  explicit Win32Backend(HINSTANCE instance);

  void Realize(Application& app, Form& form) override;
  void RunMessageLoop() override;
  void PostQuit() override;
  void MinimizeApplication() override;
  void ShowError(const std::string& text) override;

  // The main window, once the first form is realized.
  HWND main_window() const { return main_window_; }

 private:
  HINSTANCE instance_;
  HWND main_window_ = nullptr;
};

// The top-level window of a realized form.
HWND WindowOf(const Form& form);

}  // namespace velmora::ui

#endif  // VELMORA_UI_WIN32_BACKEND_WIN32_H_
