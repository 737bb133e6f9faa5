#include "scan_cli/scan_command.h"

#include <chrono>
#include <memory>
#include <string_view>

#include "platform/file_attributes.h"
#include "scan_cli/progress_line.h"
#include "scan_cli/report.h"
#include "scan_cli/scan_options.h"
#include "search/threat_rules.h"
#include "search/tree_walk.h"

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "0"
#endif

namespace velmora::scan_cli {
namespace {

using platform::DirectoryEntry;

// The one pattern the guard searches every directory with.
constexpr char kEveryName[] = "*.*";

bool IsDotEntry(std::string_view name) { return name == "." || name == ".."; }
bool AnyName(std::string_view) { return true; }

const char* RuleName(search::ThreatRule rule) {
  return rule == search::ThreatRule::kAlwaysThreatEnding ? "always-threat-ending"
                                                         : "hidden-threat-ending";
}

// A PATH as the directory the walk starts in: with its separator at the end, so that "E:"
// is the root of drive E and not the current folder there.
std::string AsDirectory(std::string path, const platform::PathSyntax& syntax) {
  const bool ends_with_separator =
      !path.empty() && (path.back() == syntax.separator || path.back() == '/');
  if (!ends_with_separator) path += syntax.separator;
  return path;
}

// Judges the entries of one tree and reports as it goes.
class ScanVisitor : public search::WalkVisitor {
 public:
  ScanVisitor(const ScanOptions& options, ScanEnvironment& environment, Report& report,
              ProgressLine& progress, Summary& summary)
      : options_(options),
        environment_(environment),
        report_(report),
        progress_(progress),
        summary_(summary) {}

  void set_root(const std::string& root) { root_ = root; }

  void EnterDirectory(const std::string& directory) override {
    progress_.EnterFolder(directory);
    listing_.clear();
  }

  void SearchFailed(const std::string& directory) override {
    std::string reason = environment_.files.SearchFailureReason(directory);
    if (!reason.empty()) Fail({directory, "cannot be searched: " + reason});
  }

  void Examine(const std::string& directory, const DirectoryEntry& entry) override {
    if (IsDotEntry(entry.name)) return;
    ++summary_.entries;
    progress_.CountEntry();
    // A word left unread belongs to a name no rule looks at.
    if (!entry.attributes_read) return;
    if (options_.heuristics) listing_.push_back(entry);
    const search::ThreatMatch match =
        search::MatchThreat(entry.name, static_cast<std::int32_t>(entry.attributes));
    if (!match) return;
    Finding finding;
    finding.kind = FindingKind::kThreat;
    finding.path = directory + entry.name;
    if (entry.attributes != platform::kInvalidAttributes) finding.attributes = entry.attributes;
    finding.rule = RuleName(match.rule);
    finding.ending = std::string(match.ending);
    ++summary_.threats;
    ReportFinding(finding);
  }

  void Listed(const std::string& directory) override {
    if (!options_.heuristics) return;
    const LayoutVerdict verdict = CheckWormLayout(directory, root_, listing_, environment_.files,
                                                  environment_.read_file_head);
    for (const LayoutFinding& layout : verdict.findings) {
      Finding finding;
      finding.kind = FindingKind::kHeuristic;
      finding.path = layout.path;
      if (layout.attributes != platform::kInvalidAttributes) finding.attributes = layout.attributes;
      finding.rule = layout.rule;
      finding.related = layout.related;
      ++summary_.heuristic_findings;
      ReportFinding(finding);
    }
    if (options_.unhide) {
      for (const DirectoryEntry& folder : verdict.hidden_user_folders) Unhide(folder);
    }
    listing_.clear();
  }

  void Fail(const ScanError& error) {
    ++summary_.errors;
    progress_.Clear();
    report_.Failed(error);
  }

 private:
  void ReportFinding(const Finding& finding) {
    progress_.CountFinding();
    progress_.Clear();
    report_.Found(finding);
  }

  // `folder.name` holds the folder's full path.
  void Unhide(const DirectoryEntry& folder) {
    constexpr std::uint32_t kHiding = platform::kAttributeHidden | platform::kAttributeSystem;
    const std::uint32_t after = folder.attributes & ~kHiding;
    const std::string reason = environment_.attribute_writer.SetAttributes(folder.name, after);
    if (!reason.empty()) {
      Fail({folder.name, "cannot be unhidden: " + reason});
      return;
    }
    ++summary_.changes;
    progress_.Clear();
    report_.Changed({folder.name, folder.attributes, after});
  }

  const ScanOptions& options_;
  ScanEnvironment& environment_;
  Report& report_;
  ProgressLine& progress_;
  Summary& summary_;
  std::string root_;
  std::vector<DirectoryEntry> listing_;
};

int Scan(const ScanOptions& options, ScanEnvironment& environment) {
  const double started = environment.now();
  std::unique_ptr<Report> report = options.json
                                       ? MakeJsonReport(environment.out, environment.errors)
                                       : MakeLineReport(environment.out, environment.errors);
  ProgressLine progress(environment.errors, environment.errors_is_terminal, environment.now);
  Summary summary;
  ScanVisitor visitor(options, environment, *report, progress, summary);
  // Only names with a threat ending need their words, unless the layouts are judged too.
  search::TreeWalk walk(environment.files, kEveryName, search::kAllEntriesMask,
                        options.heuristics ? AnyName : search::MayBeThreat);
  for (const std::string& path : options.paths) {
    const std::string root = AsDirectory(path, environment.files.path_syntax());
    visitor.set_root(root);
    walk.Walk(root, visitor);
  }
  progress.Clear();
  summary.seconds = environment.now() - started;
  summary.exit_code = summary.errors > 0                                 ? kExitError
                      : summary.threats + summary.heuristic_findings > 0 ? kExitFound
                                                                         : kExitClean;
  report->Summarize(summary);
  return summary.exit_code;
}

}  // namespace

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string VersionText() { return std::string("velmora-scan ") + VELMORA_VERSION + "\n"; }

int RunScanCommand(const std::vector<std::string>& arguments, ScanEnvironment& environment) {
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  if (!parsed.error.empty()) {
    environment.errors << "velmora-scan: " << parsed.error << "\n"
                       << "Try 'velmora-scan --help' for more information.\n";
    return kExitError;
  }
  switch (parsed.options.action) {
    case Action::kHelp:
      environment.out << UsageText();
      return kExitClean;
    case Action::kVersion:
      environment.out << VersionText();
      return kExitClean;
    case Action::kQuarantineList:
    case Action::kRestore:
      return RunQuarantineAction(parsed.options, environment.quarantine, environment.out,
                                 environment.errors);
    case Action::kScan:
      break;
  }
  return Scan(parsed.options, environment);
}

}  // namespace velmora::scan_cli
