// velmora-scan.exe over the win32 adapter: drives and folders as the guard sees them.
#include <io.h>
#include <stdio.h>

#include <iostream>
#include <string>
#include <vector>

#include "platform/attribute_writer_win32.h"
#include "platform/file_system_win32.h"
#include "scan_cli/scan_command.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  velmora::platform::Win32FileSystem files;
  velmora::platform::Win32AttributeWriter attribute_writer;
  velmora::scan_cli::ScanEnvironment environment{files, attribute_writer, std::cout, std::cerr};
  environment.errors_is_terminal = ::_isatty(::_fileno(stderr)) != 0;
  return velmora::scan_cli::RunScanCommand(std::vector<std::string>(argv + 1, argv + argc),
                                           environment);
}
