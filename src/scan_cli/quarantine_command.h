#ifndef VELMORA_SCAN_CLI_QUARANTINE_COMMAND_H_
#define VELMORA_SCAN_CLI_QUARANTINE_COMMAND_H_

#include <functional>
#include <ostream>
#include <string>

#include "quarantine/quarantine_store.h"
#include "scan_cli/scan_options.h"

namespace velmora::scan_cli {

// What velmora-scan reaches of the guard's quarantine: the user's store on Windows, nothing
// (empty functions) where the guard does not run.
struct QuarantineAccess {
  std::function<quarantine::Listing()> list;
  std::function<quarantine::RestoredItem(const std::string& id)> restore;
  std::string folder;  // where the store is, for messages
};

// --quarantine-list and --restore ID, in the line or JSON form; returns the exit status.
int RunQuarantineAction(const ScanOptions& options, const QuarantineAccess& quarantine,
                        std::ostream& out, std::ostream& errors);

// A native path as a JSON string: printable ASCII as it is, every other code unit escaped, so
// the exact name comes through whatever it holds.
std::string JsonNativeString(const platform::NativePath& path);

}  // namespace velmora::scan_cli

#endif  // VELMORA_SCAN_CLI_QUARANTINE_COMMAND_H_
