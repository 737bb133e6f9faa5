#ifndef VELMORA_UI_WIN32_WINDOW_CLASS_WIN32_H_
#define VELMORA_UI_WIN32_WINDOW_CLASS_WIN32_H_

#include <windows.h>

namespace velmora::ui::win32 {

// A window class of ours. Its procedure is always WindowProcedure, so windows of the class
// must be created with their MessageTarget* as the creation parameter.
struct WindowClass {
  const char* name;
  UINT style = CS_DBLCLKS;
  // An icon resource of the module for the class's large and small icons; null for none.
  const char* icon_resource = nullptr;
};

// Registers the class once per module; later calls with the same name do nothing. The class
// and the icons loaded for it stay registered until the program ends.
void RegisterWindowClass(HINSTANCE instance, const WindowClass& window_class);

}  // namespace velmora::ui::win32

#endif  // VELMORA_UI_WIN32_WINDOW_CLASS_WIN32_H_
