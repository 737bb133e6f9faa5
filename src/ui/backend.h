#ifndef VELMORA_UI_BACKEND_H_
#define VELMORA_UI_BACKEND_H_

#include <string>

namespace velmora::ui {

class Application;
class Form;

// What the application object needs of a platform: window creation for a form and all its
// components, the message loop, and the few application-wide operations.
class Backend {
 public:
  virtual ~Backend() = default;
  // Creates the platform window of the form and a peer for each of its components.
  virtual void Realize(Application& app, Form& form) = 0;
  virtual void RunMessageLoop() = 0;
  virtual void PostQuit() = 0;
  // Minimises the whole application to its taskbar button.
  virtual void MinimizeApplication() = 0;
  // The standard error display: a message box with the text.
  virtual void ShowError(const std::string& text) = 0;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_BACKEND_H_
