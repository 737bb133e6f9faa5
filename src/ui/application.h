#ifndef VELMORA_UI_APPLICATION_H_
#define VELMORA_UI_APPLICATION_H_

#include <exception>
#include <functional>
#include <vector>

#include "ui/backend.h"
#include "ui/form.h"

namespace velmora::ui {

// Owns the message loop and knows the forms. The first form created is the main form.
class Application {
 public:
  // The minimise event; the sender is whoever asked for the minimise.
  using MinimizeEvent = std::function<void(void* sender)>;

  explicit Application(Backend& backend) : backend_(backend) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Backend& backend() const { return backend_; }

  // Builds the form's platform window, then runs its creation handler; an error there is
  // shown and the form still comes up.
  void CreateForm(Form& form);
  Form* main_form() const { return main_form_; }

  // Makes the main form visible in its initial state, then dispatches messages until
  // Terminate.
  void Run();
  void Terminate();
  bool terminated() const { return terminated_; }

  void Minimize();
  MinimizeEvent on_minimize;

  // Whether Run shows the main form; cleared when the application starts hidden in the tray.
  bool show_main_form() const { return show_main_form_; }
  void SetShowMainForm(bool show) { show_main_form_ = show; }

  // What becomes of a form the user asked to close.
  void CloseForm(Form& form);

  // The standard error display, used wherever a handler's exception reaches the platform.
  void HandleException(const std::exception& error);
  void HandleUnknownException();

  // Runs an event handler and shows any error it throws; the caller then carries on.
  template <typename F>
  void Guard(F&& handler) noexcept {
    try {
      handler();
    } catch (const std::exception& error) {
      HandleException(error);
    } catch (...) {
      HandleUnknownException();
    }
  }

 private:
  Backend& backend_;
  Form* main_form_ = nullptr;
  bool terminated_ = false;
  bool show_main_form_ = true;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_APPLICATION_H_
