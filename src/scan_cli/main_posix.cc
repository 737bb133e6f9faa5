// velmora-scan over the POSIX adapter: a mounted stick or any folder on Linux.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "platform/attribute_writer_posix.h"
#include "platform/file_system_posix.h"
#include "scan_cli/scan_command.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  velmora::platform::PosixFileSystem files;
  velmora::platform::PosixAttributeWriter attribute_writer;
  velmora::scan_cli::ScanEnvironment environment{files, attribute_writer, std::cout, std::cerr};
  environment.errors_is_terminal = ::isatty(STDERR_FILENO) == 1;
  // No quarantine here: the guard's store lives in a Windows user's profile.
  return velmora::scan_cli::RunScanCommand(std::vector<std::string>(argv + 1, argv + argc),
                                           environment);
}
