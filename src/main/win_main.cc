// The program entry: one guard per session, then the two windows and the message loop.
#include <windows.h>

#include <exception>

#include "actions/file_threat_actions.h"
#include "main/frmain.h"
#include "main/program_state.h"
#include "platform/clock_win32.h"
#include "platform/file_system_win32.h"
#include "platform/files_win32.h"
#include "platform/number_format_win32.h"
#include "platform/process_win32.h"
#include "platform/registry_backend_win32.h"
#include "platform/shell_win32.h"
#include "platform/volumes_win32.h"
#include "quarantine/quarantine_store.h"
#include "splash/splash_screen.h"
#include "tray/tray_shell_win32.h"
#include "ui/application.h"
#include "ui/win32/backend_win32.h"

namespace {

// Marks a running copy; a second copy ends at once, silently.
constexpr char kRunningMarker[] = "Kestrine";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int /*show*/) {
  using namespace velmora;
  // Held until the process ends, which releases the marker.
  static platform::Win32Process process;
  if (!process.CreateRunningMarker(kRunningMarker)) return 0;
  try {
    ui::Win32Backend backend(instance);
    ui::Application app(backend);
    platform::Win32RegistryBackend registry;
    platform::Win32Shell shell;
    tray::Win32TrayShell tray_shell(instance, app);
    platform::Win32FileSystem file_system;
    platform::Win32Clock clock;
    platform::Win32Volumes volumes;
    platform::Win32NumberFormat number_format;
    platform::Win32Files files;
    quarantine::QuarantineStore quarantine_store(
        files, quarantine::StoreFolder(platform::LocalApplicationDataFolder()),
        platform::SystemTimeTicks);
    actions::FileThreatActions threat_actions(files, &quarantine_store);
    main::ProgramState state;
    main::TFrmain main_window(
        app, {registry, process, shell, tray_shell, file_system, clock, volumes, number_format},
        state);
    splash::TFrmSplashScreen splash(app);
    main_window.SetSplash(&splash);
    main_window.SetThreatActions(&threat_actions);
    app.Run();
  } catch (const std::exception& error) {
    ::MessageBoxA(nullptr, error.what(), "Velmora", MB_OK | MB_ICONERROR);
  }
  return 0;
}
