#ifndef VELMORA_SCAN_CLI_SCAN_COMMAND_H_
#define VELMORA_SCAN_CLI_SCAN_COMMAND_H_

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/attribute_writer.h"
#include "platform/file_system.h"
#include "scan_cli/quarantine_command.h"
#include "scan_cli/worm_layout.h"

namespace velmora::scan_cli {

// Exit statuses, as scanners use them.
inline constexpr int kExitClean = 0;
inline constexpr int kExitFound = 1;
inline constexpr int kExitError = 2;

// Seconds on the steady clock.
double SteadySeconds();

// What the command reaches beyond its arguments.
struct ScanEnvironment {
  platform::FileSystem& files;
  platform::AttributeWriter& attribute_writer;
  std::ostream& out;
  std::ostream& errors;
  bool errors_is_terminal = false;
  ReadFileHead read_file_head = ReadFileHeadFromDisk;
  std::function<double()> now = SteadySeconds;
  // The guard's quarantine for --quarantine-list and --restore; none by default.
  QuarantineAccess quarantine;
};

// velmora-scan: parses the arguments after the program name, runs what they ask for and
// returns the exit status.
int RunScanCommand(const std::vector<std::string>& arguments, ScanEnvironment& environment);

// The program's version, as --version shows it.
std::string VersionText();

}  // namespace velmora::scan_cli

#endif  // VELMORA_SCAN_CLI_SCAN_COMMAND_H_
