// The program entry: one guard per session, then the main window and the message loop.
#include <windows.h>

#include <exception>

#include "main/frmain.h"
#include "ui/application.h"
#include "ui/backend_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int /*show*/) {
  try {
    velmora::ui::Win32Backend backend(instance);
    velmora::ui::Application app(backend);
    velmora::main::TFrmain main_window(app);
    app.Run();
  } catch (const std::exception& error) {
    ::MessageBoxA(nullptr, error.what(), "Velmora", MB_OK | MB_ICONERROR);
  }
  return 0;
}
