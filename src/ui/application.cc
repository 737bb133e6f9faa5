#include "ui/application.h"

namespace velmora::ui {

void Application::CreateForm(Form& form) {
  if (main_form_ == nullptr) main_form_ = &form;
  backend_.Realize(*this, form);
  Guard([&form] { form.Created(); });
}

void Application::Run() {
  if (main_form_ != nullptr && show_main_form_ && !terminated_) {
    Guard([this] { main_form_->Show(); });
  }
  if (!terminated_) backend_.RunMessageLoop();
}

void Application::Terminate() {
  terminated_ = true;
  backend_.PostQuit();
}

void Application::Minimize() {
  backend_.MinimizeApplication();
  if (on_minimize) on_minimize(this);
}

void Application::CloseForm(Form& form) {
  const CloseAction initial = &form == main_form_ ? CloseAction::kFree : CloseAction::kHide;
  switch (form.CloseRequested(initial)) {
    case CloseAction::kNone:
      break;
    case CloseAction::kHide:
      form.Hide();
      break;
    case CloseAction::kFree:
      if (&form == main_form_) {
        Terminate();
      } else {
        form.Hide();
      }
      break;
  }
}

void Application::HandleException(const std::exception& error) { backend_.ShowError(error.what()); }

void Application::HandleUnknownException() { backend_.ShowError("Unknown error"); }

}  // namespace velmora::ui
