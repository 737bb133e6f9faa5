// velmora-scan over real temporary trees through the POSIX adapter: exit statuses, the line and
// JSON forms, worm layouts, unhiding, and the progress line.
#include "scan_cli/scan_command.h"

#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/attribute_writer_posix.h"
#include "platform/file_system_posix.h"
#include "scan_cli/progress_line.h"
#include "scan_cli/text_escape.h"
#include "shortcut_bytes.h"
#include "temp_tree_posix.h"

namespace velmora::scan_cli {
namespace {

using platform::SetDosAttrib;
using platform::TempTree;
using Strings = std::vector<std::string>;

std::string StoredDosAttrib(const std::string& path) {
  char value[64];
  const ssize_t length = ::getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof value);
  return length < 0 ? "none" : std::string(value, static_cast<std::size_t>(length));
}

class ScanCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(tree_.root().empty());
    xattrs_ = SetDosAttrib(tree_.File("probe-attributes"), "0x20");
    ::remove((tree_.root() + "probe-attributes").c_str());
    root_ = tree_.root().substr(0, tree_.root().size() - 1);  // as a user types it
  }

  // A file or directory with a stored attribute word (skips the test where none can be kept).
  std::string With(const std::string& path, const char* word) {
    if (!xattrs_) return path;
    EXPECT_TRUE(SetDosAttrib(path, word)) << path;
    return path;
  }
  void NeedAttributes() {
    if (!xattrs_) GTEST_SKIP() << "no user extended attributes here";
  }
  void Shortcut(const std::string& relative, const ShortcutSpec& spec) {
    std::ofstream(tree_.root() + relative, std::ios::binary) << ShortcutBytes(spec);
  }

  int Run(Strings arguments) {
    out_.str("");
    errors_.str("");
    ScanEnvironment environment{files_, writer_, out_, errors_};
    environment.now = [] { return 12.5; };
    return RunScanCommand(arguments, environment);
  }
  // The lines written, the findings sorted (directories come in the platform's order).
  Strings Lines() const {
    Strings lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    if (!lines.empty()) std::sort(lines.begin(), lines.end() - 1);
    return lines;
  }

  TempTree tree_;
  std::string root_;
  bool xattrs_ = false;
  platform::PosixFileSystem files_;
  platform::PosixAttributeWriter writer_;
  std::ostringstream out_;
  std::ostringstream errors_;
};

TEST_F(ScanCommandTest, ExitStatusSaysCleanFoundOrError) {
  tree_.Directory("clean");
  tree_.File("clean/readme.txt");
  tree_.Directory("dirty");
  tree_.File("dirty/AUTORUN.INF");
  struct Case {
    Strings arguments;
    int status;
    std::string errors;
  };
  const std::vector<Case> cases = {
      {{root_ + "/clean"}, kExitClean, ""},
      {{root_ + "/dirty"}, kExitFound, ""},
      {{root_ + "/clean/"}, kExitClean, ""},
      // An unreadable path is named with its reason; the others are still scanned.
      {{root_ + "/dirty", root_ + "/missing"},
       kExitError,
       "velmora-scan: " + root_ + "/missing/: cannot be searched: No such file or directory\n"},
      {{root_ + "/clean/readme.txt"},
       kExitError,
       "velmora-scan: " + root_ + "/clean/readme.txt/: cannot be searched: Not a directory\n"},
      {{"--unhide", root_},
       kExitError,
       "velmora-scan: --unhide works only with --heuristics\n"
       "Try 'velmora-scan --help' for more information.\n"},
      {{},
       kExitError,
       "velmora-scan: no PATH to scan\nTry 'velmora-scan --help' for more information.\n"},
      {{"--help"}, kExitClean, ""},
      {{"--version"}, kExitClean, ""},
  };
  for (const Case& c : cases) {
    const std::string what = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(Run(c.arguments), c.status) << what;
    EXPECT_EQ(errors_.str(), c.errors) << what;
  }
  Run({"--version"});
  EXPECT_EQ(out_.str(), "velmora-scan 1.0.0.0\n");
  Run({"--help"});
  EXPECT_EQ(out_.str().rfind("Usage: velmora-scan [options] PATH...\n", 0), 0u);
}

// A stick as malware leaves it: the guard's rules over endings and stored attribute words,
// hidden and dot-named folders not entered.
TEST_F(ScanCommandTest, LineFormNamesPathAttributesAndRule) {
  NeedAttributes();
  tree_.File("autorun.inf");
  tree_.File("readme.txt");
  tree_.Directory("photos");
  tree_.File("photos/holiday.jpg");
  tree_.File("photos/x.vb");
  With(tree_.File("Setup.exe"), "0x22");
  With(tree_.File("system.exe"), "0x26");  // hidden and system: never through the endings
  With(tree_.File("photos/news"), "0x2");
  With(tree_.Directory("secret"), "0x12");  // hidden: examined, not entered
  tree_.File("secret/inside.inf");
  tree_.Directory(".cache");  // dot-named: not entered either
  tree_.File(".cache/inside.inf");

  EXPECT_EQ(Run({root_}), kExitFound);
  const std::string r = root_ + "/";
  EXPECT_EQ(Lines(), (Strings{
                         r + "Setup.exe: threat hidden-threat-ending \"exe\" (attributes 34 HA)",
                         r + "autorun.inf: threat always-threat-ending \"inf\" (attributes 32 A)",
                         r + "photos/news: threat hidden-threat-ending \"ws\" (attributes 2 H)",
                         r + "photos/x.vb: threat always-threat-ending \".vb\" (attributes 32 A)",
                         "summary: 10 entries examined, 4 findings (4 threats, 0 heuristic), "
                         "0 changes, 0 errors, 0.000 seconds",
                     }));
}

TEST_F(ScanCommandTest, JsonFormIsOneObjectPerLineWithHostileNamesKeptExact) {
  tree_.File("autorun.inf");
  tree_.File("red\x1b[31m.inf");
  tree_.File("caf\xE9.inf");
  EXPECT_EQ(Run({"--json", root_, root_ + "/gone"}), kExitError);
  const std::string r = root_ + "/";
  EXPECT_EQ(Lines(),
            (Strings{
                "{\"type\":\"error\",\"path\":\"" + r +
                    "gone/\",\"reason\":\"cannot be searched: No such file or directory\"}",
                "{\"type\":\"finding\",\"kind\":\"threat\",\"path\":\"" + r +
                    "autorun.inf\",\"attributes\":32,\"rule\":\"always-threat-ending\","
                    "\"ending\":\"inf\"}",
                "{\"type\":\"finding\",\"kind\":\"threat\",\"path\":\"" + r +
                    "caf\\u00e9.inf\",\"path_hex\":\"" + HexBytes(r) +
                    "636166e92e696e66\",\"attributes\":32,\"rule\":\"always-threat-ending\","
                    "\"ending\":\"inf\"}",
                "{\"type\":\"finding\",\"kind\":\"threat\",\"path\":\"" + r +
                    "red\\u001b[31m.inf\",\"attributes\":32,\"rule\":\"always-threat-ending\","
                    "\"ending\":\"inf\"}",
                "{\"type\":\"summary\",\"format\":1,\"entries\":3,\"findings\":3,\"threats\":3,"
                "\"heuristic_findings\":0,\"changes\":0,\"errors\":1,\"seconds\":0.000,"
                "\"exit_code\":2}",
            }));
  // The error also reaches a person, with the name made harmless in the line form.
  EXPECT_EQ(errors_.str(),
            "velmora-scan: " + r + "gone/: cannot be searched: No such file or directory\n");
  Run({root_});
  EXPECT_NE(out_.str().find(r + "red\\x1B[31m.inf: threat"), std::string::npos);
  EXPECT_NE(out_.str().find(r + "caf\\xE9.inf: threat"), std::string::npos);
}

// Each layout lies in a folder of its own, scanned as the root; "@" in a finding stands for it.
TEST_F(ScanCommandTest, HeuristicsReportWormLayoutsBesideTheRules) {
  NeedAttributes();
  struct Case {
    const char* what;
    std::function<void(const std::string& at)> build;
    Strings findings;  // the heuristic lines, sorted
  };
  const ShortcutSpec runs_helper{"C:\\Windows\\System32\\cmd.exe", "", "",
                                 "/c start \"\" \"_\\helper.vbs\" & start Docs"};
  const std::vector<Case> cases = {
      {"a shortcut over its hidden folder, and nothing else visible",
       [&](const std::string& at) {
         Shortcut(at + "Docs.lnk", {"C:\\Windows\\explorer.exe", "", "", "Docs"});
         With(tree_.Directory(at + "Docs"), "0x12");
       },
       {"@/: heuristic root-of-shortcuts-over-hidden-folders (attributes 16 D)",
        "@/Docs.lnk: heuristic shortcut-mirrors-hidden-folder @/Docs (attributes 32 A)"}},
      {"a shortcut that runs a script from the stick",
       [&](const std::string& at) {
         Shortcut(at + "Docs.lnk", runs_helper);
         With(tree_.Directory(at + "Docs"), "0x16");
         With(tree_.Directory(at + "_"), "0x16");
         tree_.File(at + "_/helper.vbs");
         tree_.File(at + "notes.txt");  // something visible besides shortcuts
       },
       {"@/Docs.lnk: heuristic shortcut-mirrors-hidden-folder @/Docs (attributes 32 A)",
        "@/Docs.lnk: heuristic shortcut-runs-from-stick @/_/helper.vbs (attributes 32 A)"}},
      {"ordinary shortcuts and folders",
       [&](const std::string& at) {
         Shortcut(at + "Docs.lnk", runs_helper);  // its script is not on the stick
         tree_.Directory(at + "Docs");
         // Climbing out of the tree is never followed, even to a real program.
         Shortcut(at + "up.lnk", {"", "..\\sub\\..\\sub\\evil.exe", "", "..\\evil.exe"});
         tree_.Directory(at + "sub");
         tree_.File(at + "sub/evil.exe");
         tree_.File(at + "evil.exe");
       },
       {}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string at = "case" + std::to_string(i) + "/";
    tree_.Directory(at);
    cases[i].build(at);
    const std::string root = root_ + "/case" + std::to_string(i);
    Run({"--heuristics", root});
    Strings heuristics;
    for (const std::string& line : Lines()) {
      if (line.find(": heuristic ") != std::string::npos) heuristics.push_back(line);
    }
    Strings expected;
    for (std::string line : cases[i].findings) {
      for (std::size_t place; (place = line.find('@')) != std::string::npos;) {
        line.replace(place, 1, root);
      }
      expected.push_back(line);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(heuristics, expected) << cases[i].what;
  }
}

TEST_F(ScanCommandTest, UnhideClearsOnlyTheFoldersTheWormHid) {
  NeedAttributes();
  Shortcut("Docs.lnk",
           {"C:\\Windows\\System32\\cmd.exe", "", "", "/c start _\\helper.vbs & start Photos"});
  Shortcut("Photos.lnk", {"C:\\Windows\\explorer.exe", "", "", "Photos"});
  const std::string docs = With(tree_.Directory("Docs"), "0x13");
  const std::string photos = With(tree_.Directory("Photos"), "0x2");
  const std::string payload = With(tree_.Directory("_"), "0x16");
  tree_.File("_/helper.vbs");
  const std::string system = With(tree_.Directory("System Volume Information"), "0x16");

  Run({"--heuristics", root_});
  EXPECT_EQ(StoredDosAttrib(docs), "0x13") << "nothing changes without --unhide";

  EXPECT_EQ(Run({"--heuristics", "--unhide", root_}), kExitFound);
  Strings changes;
  for (const std::string& line : Lines()) {
    if (line.find(": unhidden") != std::string::npos) changes.push_back(line);
  }
  EXPECT_EQ(changes, (Strings{docs + ": unhidden (attributes 19 RHD -> 17 RD)",
                              photos + ": unhidden (attributes 18 HD -> 16 D)"}));
  EXPECT_EQ(StoredDosAttrib(docs), "0x11");  // bits it does not set stay as stored
  EXPECT_EQ(StoredDosAttrib(photos), "0x0");
  EXPECT_EQ(StoredDosAttrib(payload), "0x16");
  EXPECT_EQ(StoredDosAttrib(system), "0x16");
  EXPECT_EQ(files_.QueryAttributes(docs), 17u);
}

TEST(PosixAttributeWriter, RewritesOnlyWhatItCanWriteBack) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
  if (!SetDosAttrib(tree.File("probe"), "0x20")) GTEST_SKIP() << "no user extended attributes";
  platform::PosixAttributeWriter writer;
  platform::PosixFileSystem files;
  const std::string samba("0x22\0\x04\x00\x04\x00\x00\x00", 12);
  struct Case {
    const char* name;
    std::string stored;  // "none" for a file without a value
    std::string reason;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"wine", "0x26", "", "0x20"},
      {"derived", "none", "", "0x20"},
      {"samba", samba, "its attributes are kept in a record this tool does not rewrite", samba},
  };
  for (const Case& c : cases) {
    const std::string path = tree.File(c.name);
    if (c.stored != "none") {
      ASSERT_TRUE(SetDosAttrib(path, c.stored));
    }
    EXPECT_EQ(writer.SetAttributes(path, 0x20), c.reason) << c.name;
    EXPECT_EQ(StoredDosAttrib(path), c.after) << c.name;
  }
  tree.Directory("folder");
  tree.Link("link", "folder");
  EXPECT_EQ(writer.SetAttributes(tree.root() + "link", 0x10), "a symbolic link is not changed");
  EXPECT_EQ(StoredDosAttrib(tree.root() + "folder"), "none");
  EXPECT_EQ(writer.SetAttributes(tree.root() + "missing", 0), "No such file or directory");
}

TEST(ProgressLine, DrawsInPlaceOnlyWhenEnabled) {
  double now = 100;
  std::ostringstream off_out;
  ProgressLine off(off_out, false, [&] { return now; });
  off.EnterFolder("/media/stick/");
  for (int i = 0; i < 1000; ++i) off.CountEntry();
  off.Clear();
  EXPECT_EQ(off_out.str(), "");

  std::ostringstream out;
  ProgressLine on(out, true, [&] { return now; });
  on.EnterFolder("/media/stick/");
  const std::string first = out.str();
  EXPECT_EQ(first, "\r" + std::string("0 entries/s, 0 findings, in /media/stick/").append(38, ' '));
  now += 2;
  on.CountFinding();
  for (int i = 0; i < 512; ++i) on.CountEntry();
  EXPECT_EQ(out.str().substr(first.size()),
            "\r" + std::string("128 entries/s, 1 findings, in /media/stick/").append(36, ' '));
  out.str("");
  on.EnterFolder("/media/stick/" + std::string(100, 'd') + "/\x1b");  // within the redraw time
  EXPECT_EQ(out.str(), "");
  now += 1;
  on.EnterFolder("/media/stick/" + std::string(100, 'd') + "/\x1b");
  const std::string line = out.str();
  EXPECT_EQ(line.size(), 1 + ProgressLine::kWidth);
  EXPECT_NE(line.find("in ...ddd"), std::string::npos) << line;
  EXPECT_EQ(line.substr(line.size() - 5), "/\\x1B") << line;
  out.str("");
  on.Clear();
  EXPECT_EQ(out.str(), "\r" + std::string(ProgressLine::kWidth, ' ') + "\r");
}

}  // namespace
}  // namespace velmora::scan_cli
