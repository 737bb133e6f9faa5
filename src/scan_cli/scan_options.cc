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
    {"--quarantine-list", nullptr, Action::kQuarantineList},
};

constexpr char kRestore[] = "--restore";

bool Names(const char* long_name, const char* short_name, const std::string& argument) {
  return argument == long_name || (short_name != nullptr && argument == short_name);
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  ScanOptions& options = parsed.options;
  bool options_ended = false;
  bool scan_flags = false;
  int quarantine_actions = 0;
  const auto fail = [&parsed](const std::string& error) {
    if (parsed.error.empty()) parsed.error = error;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      options.paths.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    if (argument == kRestore || argument.rfind(std::string(kRestore) + "=", 0) == 0) {
      ++quarantine_actions;
      if (options.action != Action::kHelp && options.action != Action::kVersion) {
        options.action = Action::kRestore;
      }
      if (argument != kRestore) {
        options.restore_id = argument.substr(sizeof kRestore);
      } else if (i + 1 < arguments.size()) {
        options.restore_id = arguments[++i];
      } else {
        fail("--restore needs the ID of a quarantined item");
      }
      continue;
    }
    bool known = false;
    for (const ActionOption& option : kActionOptions) {
      if (!Names(option.long_name, option.short_name, argument)) continue;
      known = true;
      if (option.action == Action::kQuarantineList) ++quarantine_actions;
      // --help wins over everything else, as users expect of it; then --version.
      if (options.action == Action::kHelp) continue;
      if (options.action == Action::kVersion && option.action != Action::kHelp) continue;
      options.action = option.action;
    }
    for (const Flag& flag : kScanFlags) {
      if (!Names(flag.long_name, flag.short_name, argument)) continue;
      options.*flag.field = true;
      // --json also shapes what the quarantine actions write.
      if (flag.field != &ScanOptions::json) scan_flags = true;
      known = true;
    }
    if (!known) fail("unknown option '" + argument + "'");
  }
  if (options.action == Action::kHelp || options.action == Action::kVersion) {
    parsed.error.clear();
    return parsed;
  }
  if (!parsed.error.empty()) return parsed;
  if (quarantine_actions > 1) {
    parsed.error = "--quarantine-list and --restore are one at a time";
  } else if (quarantine_actions == 1 && (scan_flags || !options.paths.empty())) {
    parsed.error = "--quarantine-list and --restore take no PATH and no scan option";
  } else if (options.action == Action::kRestore && options.restore_id.empty()) {
    parsed.error = "--restore needs the ID of a quarantined item";
  } else if (options.unhide && !options.heuristics) {
    parsed.error = "--unhide works only with --heuristics";
  } else if (options.action == Action::kScan && options.paths.empty()) {
    parsed.error = "no PATH to scan";
  }
  return parsed;
}

std::string UsageText() {
  return "Usage: velmora-scan [options] PATH...\n"
         "       velmora-scan [--json] --quarantine-list | --restore ID\n"
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
         "  --quarantine-list\n"
         "                list the files the guard's Quarantine action holds for this user:\n"
         "                one line per item with its ID, the time it was stored (UTC), its\n"
         "                size in bytes and its original path\n"
         "  --restore ID  put the item back at its original path with its bytes, attributes\n"
         "                and time, unless something is there now (Windows only: the\n"
         "                quarantine belongs to the guard)\n"
         "  -h, --help    show this help and exit\n"
         "  -V, --version show the version and exit\n"
         "\n"
         "Exit status: 0 nothing found, 1 something found, 2 a usage error or a path that\n"
         "could not be read. --quarantine-list and --restore: 0 done, 2 an error.\n";
}

}  // namespace velmora::scan_cli
