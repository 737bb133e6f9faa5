// velmora-scan --quarantine-list and --restore over a store on in-memory drives.
#include "scan_cli/quarantine_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "fakes/fake_files.h"
#include "platform/attribute_writer.h"
#include "quarantine/quarantine_store.h"
#include "scan_cli/scan_command.h"
#include "scan_cli/scan_options.h"

namespace velmora::scan_cli {
namespace {

using platform::NativePath;
using ::testing::HasSubstr;
using Strings = std::vector<std::string>;

constexpr std::uint64_t k20261211_111512 = 134414613120000000;

class NoAttributeWriter : public platform::AttributeWriter {
 public:
  std::string SetAttributes(const std::string&, std::uint32_t) override { return "unused"; }
};

class QuarantineCommandTest : public ::testing::Test {
 protected:
  QuarantineCommandTest() {
    files_.AddFolder(u"C:\\Local");
    files_.AddFile(u"E:\\caf\u4e2d \"1\".vbs", std::string("MZ\0\xff", 4), 0x27);
    files_.AddFile(u"E:\\run.vbs", "run");
    EXPECT_EQ(store_.Add(u"E:\\caf\u4e2d \"1\".vbs").error, "");
    now_ += 10'000'000;
    EXPECT_EQ(store_.Add(u"E:\\run.vbs").error, "");
  }

  int Run(const Strings& arguments, bool with_store = true) {
    out_.str("");
    errors_.str("");
    ScanEnvironment environment{scanned_, writer_, out_, errors_};
    if (with_store) {
      environment.quarantine.list = [this] { return store_.List(); };
      environment.quarantine.restore = [this](const std::string& id) { return store_.Restore(id); };
      environment.quarantine.folder = "C:\\Local\\Velmora\\Quarantine";
    }
    return RunScanCommand(arguments, environment);
  }

  fakes::FakeFiles files_;
  std::uint64_t now_ = k20261211_111512;
  quarantine::QuarantineStore store_{files_, quarantine::StoreFolder(u"C:\\Local"),
                                     [this] { return now_; }};
  fakes::FakeFileSystem scanned_;
  NoAttributeWriter writer_;
  std::ostringstream out_;
  std::ostringstream errors_;
};

TEST(ScanOptions, QuarantineActionsTakeAnIdAndNothingToScan) {
  struct Case {
    Strings arguments;
    Action action;
    std::string restore_id;
    bool json;
    std::string error;
  };
  for (const Case& c : {
           Case{{"--quarantine-list"}, Action::kQuarantineList, "", false, ""},
           Case{{"--json", "--quarantine-list"}, Action::kQuarantineList, "", true, ""},
           Case{{"--restore", "20261211-111512"}, Action::kRestore, "20261211-111512", false, ""},
           Case{{"--restore=20261211-111512-2", "--json"},
                Action::kRestore,
                "20261211-111512-2",
                true,
                ""},
           Case{{"--restore", "--json"}, Action::kRestore, "--json", false, ""},
           Case{{"--restore"},
                Action::kRestore,
                "",
                false,
                "--restore needs the ID of a quarantined item"},
           Case{{"--restore="},
                Action::kRestore,
                "",
                false,
                "--restore needs the ID of a quarantined item"},
           Case{{"--quarantine-list", "--restore", "x"},
                Action::kRestore,
                "x",
                false,
                "--quarantine-list and --restore are one at a time"},
           Case{{"--quarantine-list", "E:"},
                Action::kQuarantineList,
                "",
                false,
                "--quarantine-list and --restore take no PATH and no scan option"},
           Case{{"--restore", "x", "--heuristics"},
                Action::kRestore,
                "x",
                false,
                "--quarantine-list and --restore take no PATH and no scan option"},
           Case{{"--restore", "x", "--help"}, Action::kHelp, "x", false, ""},
       }) {
    const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
    const std::string what = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(parsed.error, c.error) << what;
    if (!c.error.empty()) continue;
    EXPECT_EQ(parsed.options.action, c.action) << what;
    EXPECT_EQ(parsed.options.restore_id, c.restore_id) << what;
    EXPECT_EQ(parsed.options.json, c.json) << what;
  }
}

TEST_F(QuarantineCommandTest, ListsOneLinePerItemWithItsIdTimeSizeAndExactPath) {
  EXPECT_EQ(Run({"--quarantine-list"}), kExitClean);
  EXPECT_EQ(out_.str(),
            "20261211-111512  2026-12-11 11:15:12  4  E:\\caf%u4E2D \"1\".vbs\n"
            "20261211-111513  2026-12-11 11:15:13  3  E:\\run.vbs\n");
  EXPECT_EQ(errors_.str(), "");

  EXPECT_EQ(Run({"--json", "--quarantine-list"}), kExitClean);
  EXPECT_EQ(out_.str(),
            "{\"type\":\"item\",\"id\":\"20261211-111512\",\"time\":\"2026-12-11T11:15:12Z\","
            "\"size\":4,\"attributes\":39,\"sha256\":\"" +
                store_.List().records[0].sha256 +
                "\",\"path\":\"E:\\\\caf\\u4e2d \\\"1\\\".vbs\"}\n"
                "{\"type\":\"item\",\"id\":\"20261211-111513\",\"time\":\"2026-12-11T11:15:13Z\","
                "\"size\":3,\"attributes\":32,\"sha256\":\"" +
                store_.List().records[1].sha256 +
                "\",\"path\":\"E:\\\\run.vbs\"}\n"
                "{\"type\":\"summary\",\"format\":1,\"items\":2,\"errors\":0,\"exit_code\":0}\n");
}

TEST_F(QuarantineCommandTest, ADamagedRecordIsAnErrorBesideTheReadableOnes) {
  files_.AddFile(u"C:\\Local\\Velmora\\Quarantine\\20261212-000000.record", "garbage");

  EXPECT_EQ(Run({"--quarantine-list"}), kExitError);
  EXPECT_THAT(out_.str(), HasSubstr("20261211-111513  "));
  EXPECT_EQ(errors_.str(),
            "velmora-scan: C:\\Local\\Velmora\\Quarantine\\20261212-000000.record: the record "
            "cannot be read\n");
}

TEST_F(QuarantineCommandTest, RestorePutsTheFileBackAndNeverOverwrites) {
  EXPECT_EQ(Run({"--restore", "20261211-111512"}), kExitClean);
  EXPECT_EQ(out_.str(), "restored 20261211-111512: E:\\caf%u4E2D \"1\".vbs\n");
  EXPECT_EQ(files_.Bytes(u"E:\\caf\u4e2d \"1\".vbs"), std::string("MZ\0\xff", 4));
  EXPECT_EQ(files_.Attributes(u"E:\\caf\u4e2d \"1\".vbs"), 0x27u);

  files_.AddFile(u"E:\\run.vbs", "new");
  EXPECT_EQ(Run({"--json", "--restore", "20261211-111513"}), kExitError);
  EXPECT_EQ(out_.str(),
            "{\"type\":\"error\",\"id\":\"20261211-111513\",\"reason\":\"E:\\\\run.vbs exists now "
            "and is not overwritten\"}\n"
            "{\"type\":\"summary\",\"format\":1,\"restored\":0,\"errors\":1,\"exit_code\":2}\n");
  EXPECT_EQ(errors_.str(),
            "velmora-scan: 20261211-111513: E:\\run.vbs exists now and is not overwritten\n");
  EXPECT_EQ(files_.Bytes(u"E:\\run.vbs"), "new");

  EXPECT_EQ(Run({"--restore", "no-such-id"}), kExitError);
  EXPECT_THAT(errors_.str(), HasSubstr("velmora-scan: no-such-id: no item no-such-id"));
}

TEST_F(QuarantineCommandTest, WithoutTheGuardsStoreBothActionsSaySoAndFail) {
  for (const Strings& arguments : {Strings{"--quarantine-list"}, Strings{"--restore", "x"}}) {
    EXPECT_EQ(Run(arguments, false), kExitError);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(errors_.str(),
              "velmora-scan: the quarantine belongs to the Velmora guard on Windows; there is "
              "none on this system\n");
  }
}

}  // namespace
}  // namespace velmora::scan_cli
