#ifndef VELMORA_SCAN_CLI_REPORT_H_
#define VELMORA_SCAN_CLI_REPORT_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace velmora::scan_cli {

enum class FindingKind { kThreat, kHeuristic };

// One suspicious entry. `rule` names what made it one; a threat carries the matching ending, a
// heuristic finding the related entry (the hidden folder, the program the shortcut runs).
struct Finding {
  FindingKind kind = FindingKind::kThreat;
  std::string path;
  std::optional<std::uint32_t> attributes;  // empty when they could not be read
  std::string rule;
  std::string ending;
  std::string related;
};

// Hidden and system cleared on a folder.
struct Change {
  std::string path;
  std::uint32_t before = 0;
  std::uint32_t after = 0;
};

struct ScanError {
  std::string path;
  std::string reason;
};

struct Summary {
  long long entries = 0;
  long long threats = 0;
  long long heuristic_findings = 0;
  long long changes = 0;
  long long errors = 0;
  double seconds = 0;
  int exit_code = 0;
};

// Where a scan's results go, in one of two forms.
class Report {
 public:
  virtual ~Report() = default;
  virtual void Found(const Finding& finding) = 0;
  virtual void Changed(const Change& change) = 0;
  virtual void Failed(const ScanError& error) = 0;
  virtual void Summarize(const Summary& summary) = 0;
};

// Lines for people and grep, findings and the summary on `out`, errors on `errors`:
//   /media/stick/Setup.exe: threat hidden-threat-ending "exe" (attributes 34 HA)
std::unique_ptr<Report> MakeLineReport(std::ostream& out, std::ostream& errors);
// One JSON object per line on `out` (errors also as a line on `errors`).
std::unique_ptr<Report> MakeJsonReport(std::ostream& out, std::ostream& errors);

// An attribute word as letters, in the order R H S V D A L (L: a link); "-" when none is set.
std::string AttributeLetters(std::uint32_t attributes);

}  // namespace velmora::scan_cli

#endif  // VELMORA_SCAN_CLI_REPORT_H_
