#ifndef VELMORA_MAIN_MAIN_FORM_LAYOUT_H_
#define VELMORA_MAIN_MAIN_FORM_LAYOUT_H_

#include "ui/layout.h"

namespace velmora::main {

// The main window's controls, menus and image lists as it is first built.
ui::FormLayout MainFormLayout();

}  // namespace velmora::main

#endif  // VELMORA_MAIN_MAIN_FORM_LAYOUT_H_
