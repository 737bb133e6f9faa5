#ifndef VELMORA_MAIN_FRMAIN_H_
#define VELMORA_MAIN_FRMAIN_H_

#include "ui/application.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/popup_menu.h"

namespace velmora::main {

// The main window: a borderless picture window with its own caption buttons.
class TFrmain {
 public:
  explicit TFrmain(ui::Application& app);
  TFrmain(const TFrmain&) = delete;
  TFrmain& operator=(const TFrmain&) = delete;

  ui::Form& form() { return form_; }

 private:
  ui::Application& app_;
  ui::Form form_;

 public:
  // The controls, by the names the layout gives them.
  ui::Image& ImgArrPln;
  ui::Label& lblClseApp;
  ui::Label& lblMinimize;
  ui::Label& lblSupport;
  ui::PopupMenu& MnApp;
};

}  // namespace velmora::main

#endif  // VELMORA_MAIN_FRMAIN_H_
