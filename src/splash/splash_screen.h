#ifndef VELMORA_SPLASH_SPLASH_SCREEN_H_
#define VELMORA_SPLASH_SPLASH_SCREEN_H_

#include "ui/application.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/timer.h"

namespace velmora::splash {

// A banner shown above everything at the main window's first display; it hides itself at
// the first tick of its timer, which runs from the window's creation.
class TFrmSplashScreen {
 public:
  explicit TFrmSplashScreen(ui::Application& app);
  TFrmSplashScreen(const TFrmSplashScreen&) = delete;
  TFrmSplashScreen& operator=(const TFrmSplashScreen&) = delete;

  ui::Form& form() { return form_; }
  void Show() { form_.Show(); }

  void TimTimer(ui::Timer& sender);

 private:
  ui::Form form_;

 public:
  ui::Image& ImgSplashScreen;
  ui::Timer& Tim;
};

}  // namespace velmora::splash

#endif  // VELMORA_SPLASH_SPLASH_SCREEN_H_
