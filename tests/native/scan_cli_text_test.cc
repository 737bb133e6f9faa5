// The command line of velmora-scan and the texts it writes names into.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan_cli/report.h"
#include "scan_cli/scan_options.h"
#include "scan_cli/text_escape.h"

namespace velmora::scan_cli {
namespace {

using Strings = std::vector<std::string>;

TEST(ScanOptions, ParsesActionsFlagsAndPaths) {
  struct Case {
    Strings arguments;
    Action action;
    Strings paths;
    bool json, heuristics, unhide;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"/media/stick"}, Action::kScan, {"/media/stick"}, false, false, false, ""},
      {{"--json", "E:", "F:\\"}, Action::kScan, {"E:", "F:\\"}, true, false, false, ""},
      {{"--heuristics", "--unhide", "x"}, Action::kScan, {"x"}, false, true, true, ""},
      {{"--", "--json", "-"}, Action::kScan, {"--json", "-"}, false, false, false, ""},
      {{"-"}, Action::kScan, {"-"}, false, false, false, ""},
      {{}, Action::kScan, {}, false, false, false, "no PATH to scan"},
      {{"--unhide", "x"},
       Action::kScan,
       {"x"},
       false,
       false,
       true,
       "--unhide works only with --heuristics"},
      {{"--jsn", "x"}, Action::kScan, {"x"}, false, false, false, "unknown option '--jsn'"},
      {{"-V"}, Action::kVersion, {}, false, false, false, ""},
      // Help and version need no path, and help wins over a bad option.
      {{"--version", "--help", "--bogus"}, Action::kHelp, {}, false, false, false, ""},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
    const std::string what = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(parsed.error, c.error) << what;
    if (!c.error.empty()) continue;
    EXPECT_EQ(parsed.options.action, c.action) << what;
    EXPECT_EQ(parsed.options.paths, c.paths) << what;
    EXPECT_EQ(parsed.options.json, c.json) << what;
    EXPECT_EQ(parsed.options.heuristics, c.heuristics) << what;
    EXPECT_EQ(parsed.options.unhide, c.unhide) << what;
  }
}

TEST(TextEscape, HostileNamesCannotReachTheTerminalOrBreakJson) {
  struct Case {
    std::string text;
    std::string terminal;
    std::string json;
    bool utf8;
  };
  const std::vector<Case> cases = {
      {"E:\\autorun.inf", "E:\\autorun.inf", "\"E:\\\\autorun.inf\"", true},
      {"red\x1b[31m.inf", "red\\x1B[31m.inf", "\"red\\u001b[31m.inf\"", true},
      {"two\nlines\r", "two\\x0Alines\\x0D", "\"two\\u000alines\\u000d\"", true},
      {"quote\".inf", "quote\".inf", "\"quote\\\".inf\"", true},
      {"caf\xC3\xA9.inf", "caf\xC3\xA9.inf", "\"caf\xC3\xA9.inf\"", true},
      // Latin-1 bytes, a C1 control in UTF-8, a cut sequence, an overlong slash.
      {"caf\xE9.inf", "caf\\xE9.inf", "\"caf\\u00e9.inf\"", false},
      {"csi\xC2\x9B"
       "2J",
       "csi\\xC2\\x9B2J", "\"csi\\u009b2J\"", true},
      {"cut\xE2\x82", "cut\\xE2\\x82", "\"cut\\u00e2\\u0082\"", false},
      {"\xC0\xAF", "\\xC0\\xAF", "\"\\u00c0\\u00af\"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeForTerminal(c.text), c.terminal) << c.text;
    EXPECT_EQ(JsonString(c.text), c.json) << c.text;
    EXPECT_EQ(IsWellFormedUtf8(c.text), c.utf8) << c.text;
  }
  EXPECT_EQ(HexBytes("a\xE9"), "61e9");
}

TEST(AttributeLetters, NamesEachBitInOrder) {
  EXPECT_EQ(AttributeLetters(0), "-");
  EXPECT_EQ(AttributeLetters(34), "HA");
  EXPECT_EQ(AttributeLetters(0x1F | 0x20 | 0x400), "RHSVDAL");
}

}  // namespace
}  // namespace velmora::scan_cli
