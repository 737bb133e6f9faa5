#include "scan_cli/quarantine_command.h"

#include <cstdio>

#include "quarantine/quarantine_record.h"
#include "scan_cli/scan_command.h"
#include "scan_cli/text_escape.h"

namespace velmora::scan_cli {
namespace {

constexpr char kNoStoreHere[] =
    "the quarantine belongs to the Velmora guard on Windows; there is none on this system";

void WriteError(std::ostream& errors, const std::string& about, const std::string& reason) {
  errors << "velmora-scan: " << EscapeForTerminal(about) << ": " << reason << '\n';
}

void WriteJsonError(std::ostream& out, const char* key, const std::string& about,
                    const std::string& reason) {
  out << "{\"type\":\"error\",\"" << key << "\":" << JsonString(about)
      << ",\"reason\":" << JsonString(reason) << "}\n";
}

void WriteJsonSummary(std::ostream& out, const char* count_key, std::size_t count, int errors,
                      int exit_code) {
  out << "{\"type\":\"summary\",\"format\":1,\"" << count_key << "\":" << count
      << ",\"errors\":" << errors << ",\"exit_code\":" << exit_code << "}\n";
}

int List(const ScanOptions& options, const QuarantineAccess& quarantine, std::ostream& out,
         std::ostream& errors) {
  const quarantine::Listing listing = quarantine.list();
  int failures = 0;
  const auto fail = [&](const std::string& about, const std::string& reason) {
    ++failures;
    WriteError(errors, about, reason);
    if (options.json) WriteJsonError(out, "path", about, reason);
  };
  if (!listing.error.empty()) fail(quarantine.folder, listing.error);
  for (const quarantine::QuarantineRecord& record : listing.records) {
    const std::string time = quarantine::UtcText(record.quarantined);
    if (options.json) {
      out << "{\"type\":\"item\",\"id\":" << JsonString(record.id) << ",\"time\":\""
          << time.substr(0, 10) << 'T' << time.substr(11) << "Z\",\"size\":" << record.size
          << ",\"attributes\":" << record.attributes << ",\"sha256\":\"" << record.sha256
          << "\",\"path\":" << JsonNativeString(record.original_path) << "}\n";
    } else {
      out << record.id << "  " << time << "  " << record.size << "  "
          << quarantine::EscapePath(record.original_path) << '\n';
    }
  }
  for (const std::string& name : listing.unreadable) {
    fail(quarantine.folder + "\\" + name, "the record cannot be read");
  }
  const int exit_code = failures > 0 ? kExitError : kExitClean;
  if (options.json) WriteJsonSummary(out, "items", listing.records.size(), failures, exit_code);
  out.flush();
  return exit_code;
}

int Restore(const ScanOptions& options, const QuarantineAccess& quarantine, std::ostream& out,
            std::ostream& errors) {
  const quarantine::RestoredItem restored = quarantine.restore(options.restore_id);
  if (restored.restored) {
    if (options.json) {
      out << "{\"type\":\"restored\",\"id\":" << JsonString(options.restore_id)
          << ",\"path\":" << JsonNativeString(restored.original_path) << "}\n";
    } else {
      out << "restored " << options.restore_id << ": "
          << quarantine::EscapePath(restored.original_path) << '\n';
    }
  }
  const bool failed = !restored.message.empty();
  if (failed) {
    WriteError(errors, options.restore_id, restored.message);
    if (options.json) WriteJsonError(out, "id", options.restore_id, restored.message);
  }
  const int exit_code = failed ? kExitError : kExitClean;
  if (options.json) WriteJsonSummary(out, "restored", restored.restored ? 1 : 0, failed, exit_code);
  out.flush();
  return exit_code;
}

}  // namespace

std::string JsonNativeString(const platform::NativePath& path) {
  std::string json = "\"";
  for (const char16_t unit : path) {
    if (unit == u'"' || unit == u'\\') {
      json += '\\';
      json += static_cast<char>(unit);
    } else if (unit >= 0x20 && unit < 0x7F) {
      json += static_cast<char>(unit);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
      json += escape;
    }
  }
  return json + '"';
}

int RunQuarantineAction(const ScanOptions& options, const QuarantineAccess& quarantine,
                        std::ostream& out, std::ostream& errors) {
  if (!quarantine.list || !quarantine.restore) {
    errors << "velmora-scan: " << kNoStoreHere << '\n';
    return kExitError;
  }
  return options.action == Action::kRestore ? Restore(options, quarantine, out, errors)
                                            : List(options, quarantine, out, errors);
}

}  // namespace velmora::scan_cli
