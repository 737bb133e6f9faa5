#ifndef VELMORA_UI_HEADLESS_BACKEND_H_
#define VELMORA_UI_HEADLESS_BACKEND_H_

#include <string>
#include <vector>

#include "ui/backend.h"

namespace velmora::ui {

// Keeps state only: no windows, no loop. Tests raise events through the components' own
// entry points and read what the application asked of the platform here.
class HeadlessBackend : public Backend {
 public:
  void Realize(Application& app, Form& form) override;
  void RunMessageLoop() override { ++loops_run_; }
  void PostQuit() override { quit_posted_ = true; }
  void MinimizeApplication() override { ++minimize_count_; }
  void ShowError(const std::string& text) override { shown_errors_.push_back(text); }

  const std::vector<Form*>& realized_forms() const { return realized_forms_; }
  int loops_run() const { return loops_run_; }
  bool quit_posted() const { return quit_posted_; }
  int minimize_count() const { return minimize_count_; }
  const std::vector<std::string>& shown_errors() const { return shown_errors_; }

 private:
  std::vector<Form*> realized_forms_;
  int loops_run_ = 0;
  bool quit_posted_ = false;
  int minimize_count_ = 0;
  std::vector<std::string> shown_errors_;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_HEADLESS_BACKEND_H_
