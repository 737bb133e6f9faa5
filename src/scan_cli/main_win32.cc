// velmora-scan.exe over the win32 adapter: drives and folders as the guard sees them, and the
// user's quarantine that the guard fills.
#include <io.h>
#include <stdio.h>

#include <iostream>
#include <string>
#include <vector>

#include "platform/attribute_writer_win32.h"
#include "platform/file_system_win32.h"
#include "platform/files_win32.h"
#include "quarantine/quarantine_record.h"
#include "quarantine/quarantine_store.h"
#include "scan_cli/scan_command.h"

int main(int argc, char** argv) {
  using namespace velmora;
  std::ios::sync_with_stdio(false);
  platform::Win32FileSystem files;
  platform::Win32AttributeWriter attribute_writer;
  platform::Win32Files quarantine_files;
  quarantine::QuarantineStore store(quarantine_files,
                                    quarantine::StoreFolder(platform::LocalApplicationDataFolder()),
                                    platform::SystemTimeTicks);
  scan_cli::ScanEnvironment environment{files, attribute_writer, std::cout, std::cerr};
  environment.errors_is_terminal = ::_isatty(::_fileno(stderr)) != 0;
  environment.quarantine.list = [&store] { return store.List(); };
  environment.quarantine.restore = [&store](const std::string& id) { return store.Restore(id); };
  environment.quarantine.folder = quarantine::EscapePath(store.folder());
  return scan_cli::RunScanCommand(std::vector<std::string>(argv + 1, argv + argc), environment);
}
