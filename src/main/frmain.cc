#include "main/frmain.h"

#include "main/main_form_layout.h"
#include "ui/layout.h"

namespace velmora::main {
namespace {

ui::Form& BuildMainForm(ui::Form& form) {
  form.SetText("VELMORA");
  form.SetBounds({234, 158, 681, 523});
  form.SetWindowState(ui::WindowState::kMaximized);
  form.SetDropShadow(true);
  ui::BuildForm(form, MainFormLayout());
  return form;
}

}  // namespace

TFrmain::TFrmain(ui::Application& app)
    : app_(app),
      form_("Frmain", "TFrmain"),
      ImgArrPln(BuildMainForm(form_).Get<ui::Image>("ImgArrPln")),
      lblClseApp(form_.Get<ui::Label>("lblClseApp")),
      lblMinimize(form_.Get<ui::Label>("lblMinimize")),
      lblSupport(form_.Get<ui::Label>("lblSupport")),
      MnApp(form_.Get<ui::PopupMenu>("MnApp")) {
  lblMinimize.on_click = [this](ui::Label&) { app_.Minimize(); };
  app_.CreateForm(form_);
}

}  // namespace velmora::main
