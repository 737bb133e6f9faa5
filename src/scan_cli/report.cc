#include "scan_cli/report.h"

#include <cstdio>

#include "platform/file_attributes.h"
#include "scan_cli/text_escape.h"

namespace velmora::scan_cli {
namespace {

const char* KindName(FindingKind kind) {
  return kind == FindingKind::kThreat ? "threat" : "heuristic";
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

void WriteError(std::ostream& errors, const ScanError& error) {
  errors << "velmora-scan: " << EscapeForTerminal(error.path) << ": " << error.reason << '\n';
}

class LineReport : public Report {
 public:
  LineReport(std::ostream& out, std::ostream& errors) : out_(out), errors_(errors) {}

  void Found(const Finding& finding) override {
    out_ << EscapeForTerminal(finding.path) << ": " << KindName(finding.kind) << ' '
         << finding.rule;
    if (!finding.ending.empty()) out_ << " \"" << finding.ending << '"';
    if (!finding.related.empty()) out_ << ' ' << EscapeForTerminal(finding.related);
    out_ << " (attributes ";
    if (finding.attributes) {
      out_ << Word(*finding.attributes);
    } else {
      out_ << "unreadable";
    }
    out_ << ")\n";
  }

  void Changed(const Change& change) override {
    out_ << EscapeForTerminal(change.path) << ": unhidden (attributes " << Word(change.before)
         << " -> " << Word(change.after) << ")\n";
  }

  void Failed(const ScanError& error) override { WriteError(errors_, error); }

  void Summarize(const Summary& summary) override {
    out_ << "summary: " << summary.entries << " entries examined, "
         << summary.threats + summary.heuristic_findings << " findings (" << summary.threats
         << " threats, " << summary.heuristic_findings << " heuristic), " << summary.changes
         << " changes, " << summary.errors << " errors, " << Seconds(summary.seconds)
         << " seconds\n";
    out_.flush();
  }

 private:
  static std::string Word(std::uint32_t attributes) {
    return std::to_string(attributes) + ' ' + AttributeLetters(attributes);
  }

  std::ostream& out_;
  std::ostream& errors_;
};

// Paths that are not UTF-8 also come as their exact bytes.
std::string JsonPath(const char* key, const std::string& path) {
  std::string field = std::string("\"") + key + "\":" + JsonString(path);
  if (!IsWellFormedUtf8(path))
    field += std::string(",\"") + key + "_hex\":\"" + HexBytes(path) + '"';
  return field;
}

class JsonReport : public Report {
 public:
  JsonReport(std::ostream& out, std::ostream& errors) : out_(out), errors_(errors) {}

  void Found(const Finding& finding) override {
    out_ << "{\"type\":\"finding\",\"kind\":\"" << KindName(finding.kind) << "\","
         << JsonPath("path", finding.path) << ",\"attributes\":";
    if (finding.attributes) {
      out_ << *finding.attributes;
    } else {
      out_ << "null";
    }
    out_ << ",\"rule\":\"" << finding.rule << '"';
    if (!finding.ending.empty()) out_ << ",\"ending\":" << JsonString(finding.ending);
    if (!finding.related.empty()) out_ << ',' << JsonPath("related", finding.related);
    out_ << "}\n";
  }

  void Changed(const Change& change) override {
    out_ << "{\"type\":\"change\"," << JsonPath("path", change.path)
         << ",\"attributes_before\":" << change.before << ",\"attributes_after\":" << change.after
         << "}\n";
  }

  void Failed(const ScanError& error) override {
    out_ << "{\"type\":\"error\"," << JsonPath("path", error.path)
         << ",\"reason\":" << JsonString(error.reason) << "}\n";
    WriteError(errors_, error);
  }

  void Summarize(const Summary& summary) override {
    out_ << "{\"type\":\"summary\",\"format\":1,\"entries\":" << summary.entries
         << ",\"findings\":" << summary.threats + summary.heuristic_findings
         << ",\"threats\":" << summary.threats
         << ",\"heuristic_findings\":" << summary.heuristic_findings
         << ",\"changes\":" << summary.changes << ",\"errors\":" << summary.errors
         << ",\"seconds\":" << Seconds(summary.seconds) << ",\"exit_code\":" << summary.exit_code
         << "}\n";
    out_.flush();
  }

 private:
  std::ostream& out_;
  std::ostream& errors_;
};

}  // namespace

std::string AttributeLetters(std::uint32_t attributes) {
  struct Letter {
    std::uint32_t bit;
    char letter;
  };
  constexpr Letter kLetters[] = {
      {platform::kAttributeReadOnly, 'R'},    {platform::kAttributeHidden, 'H'},
      {platform::kAttributeSystem, 'S'},      {platform::kAttributeVolumeLabel, 'V'},
      {platform::kAttributeDirectory, 'D'},   {platform::kAttributeArchive, 'A'},
      {platform::kAttributeReparsePoint, 'L'}};
  std::string letters;
  for (const Letter& letter : kLetters) {
    if (attributes & letter.bit) letters += letter.letter;
  }
  return letters.empty() ? "-" : letters;
}

std::unique_ptr<Report> MakeLineReport(std::ostream& out, std::ostream& errors) {
  return std::make_unique<LineReport>(out, errors);
}

std::unique_ptr<Report> MakeJsonReport(std::ostream& out, std::ostream& errors) {
  return std::make_unique<JsonReport>(out, errors);
}

}  // namespace velmora::scan_cli
