#ifndef VELMORA_SCAN_CLI_SCAN_OPTIONS_H_
#define VELMORA_SCAN_CLI_SCAN_OPTIONS_H_

#include <string>
#include <vector>

namespace velmora::scan_cli {

// What the command line asks for. Each action takes its own arguments; only kScan takes paths.
enum class Action { kScan, kHelp, kVersion, kQuarantineList, kRestore };

struct ScanOptions {
  Action action = Action::kScan;
  std::vector<std::string> paths;
  std::string restore_id;  // kRestore
  bool json = false;
  bool heuristics = false;
  bool unhide = false;
};

struct ParsedCommandLine {
  ScanOptions options;
  // Why the command line cannot be used; empty when it can.
  std::string error;
};

// Reads the arguments after the program name. "--" ends the options; a lone "-" is a path.
// --restore takes the next argument (or what follows "--restore=") as its id.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text of --help.
std::string UsageText();

}  // namespace velmora::scan_cli

#endif  // VELMORA_SCAN_CLI_SCAN_OPTIONS_H_
