#include "scan_cli/scan_options.h"

namespace velmora::scan_cli {
namespace {

// The flags of a scan, by their long and short names.
struct Flag {
  const char* long_name;
  const char* short_name;
  bool ScanOptions::*field;
};
constexpr Flag kScanFlags[] = {
    {"--json", nullptr, &ScanOptions::json},
    {"--heuristics", nullptr, &ScanOptions::heuristics},
    {"--unhide", nullptr, &ScanOptions::unhide},
};

// Options that replace the scan with another action.
struct ActionOption {
  const char* long_name;
  const char* short_name;
  Action action;
};
constexpr ActionOption kActionOptions[] = {
    {"--help", "-h", Action::kHelp},
    {"--version", "-V", Action::kVersion},
};

bool Names(const char* long_name, const char* short_name, const std::string& argument) {
  return argument == long_name || (short_name != nullptr && argument == short_name);
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  ScanOptions& options = parsed.options;
  bool options_ended = false;
  for (const std::string& argument : arguments) {
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      options.paths.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    bool known = false;
    for (const ActionOption& option : kActionOptions) {
      if (!Names(option.long_name, option.short_name, argument)) continue;
      // --help wins over everything else, as users expect of it.
      if (options.action != Action::kHelp) options.action = option.action;
      known = true;
    }
    for (const Flag& flag : kScanFlags) {
      if (!Names(flag.long_name, flag.short_name, argument)) continue;
      options.*flag.field = true;
      known = true;
    }
    if (!known && parsed.error.empty()) parsed.error = "unknown option '" + argument + "'";
  }
  if (options.action != Action::kScan) {
    parsed.error.clear();
    return parsed;
  }
  if (!parsed.error.empty()) return parsed;
  if (options.unhide && !options.heuristics) {
    parsed.error = "--unhide works only with --heuristics";
  } else if (options.paths.empty()) {
    parsed.error = "no PATH to scan";
  }
  return parsed;
}

std::string UsageText() {
  return "Usage: velmora-scan [options] PATH...\n"
         "Scans each PATH (a mount point, a folder, or a drive such as E:) with the rules of\n"
         "the Velmora guard: autorun files, scripts, and hidden executables, shortcuts and\n"
         "command files.\n"
         "\n"
         "Options:\n"
         "  --json        one JSON object per line for each finding, change and error, and a\n"
         "                final summary object\n"
         "  --heuristics  also report the layouts shortcut worms leave: a shortcut named like a\n"
         "                hidden folder beside it, a root of shortcuts over hidden folders, a\n"
         "                shortcut that runs a program or script from the same stick\n"
         "  --unhide      with --heuristics: clear hidden and system on the folders such a worm\n"
         "                hid, and report each change\n"
         "  -h, --help    show this help and exit\n"
         "  -V, --version show the version and exit\n"
         "\n"
         "Exit status: 0 nothing found, 1 something found, 2 a usage error or a path that\n"
         "could not be read.\n";
}

}  // namespace velmora::scan_cli
