#include "splash/splash_screen.h"

namespace velmora::splash {
namespace {

ui::Form& BuildSplash(ui::Form& form) {
  form.SetText("VELMORA");
  form.SetBounds({450, 387, 623, 167});
  form.SetStayOnTop(true);
  ui::Image& banner = form.Add<ui::Image>("ImgSplashScreen", &form);
  banner.SetBounds({0, 0, 625, 169});
  banner.SetPicture(ui::Picture::Jpeg("SPLASH"));
  ui::Timer& timer = form.Add<ui::Timer>("Tim");
  timer.SetInterval(8000);
  timer.SetEnabled(true);
  return form;
}

}  // namespace

TFrmSplashScreen::TFrmSplashScreen(ui::Application& app)
    : form_("FrmSplashScreen", "TFrmSplashScreen"),
      ImgSplashScreen(BuildSplash(form_).Get<ui::Image>("ImgSplashScreen")),
      Tim(form_.Get<ui::Timer>("Tim")) {
  Tim.on_timer = [this](ui::Timer& sender) { TimTimer(sender); };
  app.CreateForm(form_);
}

void TFrmSplashScreen::TimTimer(ui::Timer& /*sender*/) { form_.Hide(); }

}  // namespace velmora::splash
