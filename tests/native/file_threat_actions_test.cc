// The threat actions on an in-memory set of drives that refuses what Windows refuses.
#include "actions/file_threat_actions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "platform/file_attributes.h"

namespace velmora::actions {
namespace {

using fakes::FakeFiles;
using fakes::FileCall;
using platform::kAttributeArchive;
using platform::kAttributeDirectory;
using platform::kAttributeHidden;
using platform::kAttributeReadOnly;
using platform::kAttributeSystem;
using platform::NativePath;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::uint32_t kHiddenSystemReadOnly =
    kAttributeHidden | kAttributeSystem | kAttributeReadOnly | kAttributeArchive;

class FileThreatActionsTest : public ::testing::Test {
 protected:
  ActionOutcome Apply(ThreatAction action, const std::string& listed) {
    return actions_.Apply(action, listed);
  }

  FakeFiles files_;
  FileThreatActions actions_{files_, nullptr};
};

TEST_F(FileThreatActionsTest, DeleteClearsTheGuardingAttributesOfFilesAndEmptyFolders) {
  files_.AddFile(u"E:\\autorun.inf", "[autorun]", kHiddenSystemReadOnly);
  files_.AddFolder(u"E:\\RECYCLER", kAttributeDirectory | kHiddenSystemReadOnly);
  files_.AddFile(u"E:\\keep.txt");

  EXPECT_TRUE(Apply(ThreatAction::kDelete, "E:\\autorun.inf").done);
  EXPECT_TRUE(Apply(ThreatAction::kDelete, "E:\\RECYCLER").done);

  EXPECT_THAT(files_.Names(u"E:\\"), ElementsAre(u"keep.txt"));
}

// Each failure names the path and the platform's reason, and leaves the entry as it was.
TEST_F(FileThreatActionsTest, DeleteFailuresKeepTheEntryWithItsAttributes) {
  struct Case {
    const char* label;
    NativePath path;
    bool folder;
    const char* listed;
    const char* reason;
  };
  files_.AddFolder(u"E:\\autorun.inf", kAttributeDirectory | kHiddenSystemReadOnly);
  files_.AddFile(u"E:\\autorun.inf\\payload.exe");
  files_.AddFile(u"E:\\locked.vbs", "x", kHiddenSystemReadOnly);
  files_.Fail(FileCall::kRemoveFile, u"E:\\locked.vbs",
              "The process cannot access the file because it is being used by another process");
  files_.AddFile(u"E:\\stuck.vbs", "x", kHiddenSystemReadOnly);
  files_.Fail(FileCall::kSetAttributes, u"E:\\stuck.vbs", FakeFiles::kAccessDenied);
  files_.AddFile(u"F:\\run.vbs", "x", kHiddenSystemReadOnly);
  files_.WriteProtect(u'F');
  files_.AddFolder(u"E:\\private");
  files_.AddFile(u"E:\\private\\x.vbs");
  files_.Fail(FileCall::kList, u"E:\\private\\", FakeFiles::kAccessDenied);
  for (const Case& c : {
           Case{"a folder that holds files", u"E:\\autorun.inf", true, "E:\\autorun.inf",
                FakeFiles::kNotEmpty},
           Case{"a file in use", u"E:\\locked.vbs", false, "E:\\locked.vbs",
                "being used by another process"},
           Case{"attributes that cannot be cleared", u"E:\\stuck.vbs", false, "E:\\stuck.vbs",
                FakeFiles::kAccessDenied},
           Case{"a write-protected medium", u"F:\\run.vbs", false, "F:\\run.vbs",
                FakeFiles::kWriteProtected},
           Case{"a file already gone", u"E:\\gone.vbs", false, "E:\\gone.vbs", "no longer there"},
           Case{"a folder on the way gone", u"E:\\gone\\x.vbs", false, "E:\\gone\\x.vbs",
                "its folder is no longer there"},
           Case{"a folder that cannot be listed", u"E:\\private\\x.vbs", false,
                "E:\\private\\x.vbs", FakeFiles::kAccessDenied},
           Case{"a drive root", u"E:\\", true, "E:\\", "not a path below a drive's root"},
           Case{"no drive path", u"", false, "\\\\server\\share\\x.vbs",
                "not a path below a drive's root"},
       }) {
    const std::uint32_t before = files_.Attributes(c.path);
    const ActionOutcome outcome = Apply(ThreatAction::kDelete, c.listed);
    EXPECT_FALSE(outcome.done) << c.label;
    EXPECT_THAT(
        outcome.message,
        AllOf(HasSubstr(std::string("Could not delete ") + c.listed + ": "), HasSubstr(c.reason)))
        << c.label;
    EXPECT_EQ(files_.Attributes(c.path), before) << c.label;
  }
  EXPECT_TRUE(files_.Has(u"E:\\autorun.inf\\payload.exe"));
}

// Names the platform's path rules would change, or the code page cannot hold, are acted on by
// their stored names; the look-alikes beside them stay.
TEST_F(FileThreatActionsTest, HostileNamesAreDeletedExactlyAndOnlyThemselves) {
  struct Case {
    const char* label;
    std::vector<NativePath> present;
    std::string listed;
    std::vector<NativePath> left;
  };
  for (const Case& c : {
           Case{"a trailing dot",
                {u"autorun.inf", u"autorun.inf."},
                "E:\\autorun.inf.",
                {u"autorun.inf"}},
           Case{"trailing blanks", {u"run.vbs", u"run.vbs  "}, "E:\\run.vbs  ", {u"run.vbs"}},
           Case{"a reserved device name", {u"CON", u"nul.vbs"}, "E:\\nul.vbs", {u"CON"}},
           Case{"a byte of the code page",
                {u"caf\u00e9.vbs", u"cafe.vbs"},
                "E:\\caf\xe9.vbs",
                {u"cafe.vbs"}},
           Case{"a name the code page cannot hold, beside what \"?\" would match as a wildcard",
                {u"cafe.vbs", u"caf\u4e2d.vbs", u"cafX.vbs"},
                "E:\\caf?.vbs",
                {u"cafe.vbs", u"cafX.vbs"}},
       }) {
    FakeFiles files;
    for (const NativePath& name : c.present)
      files.AddFile(u"E:\\" + name, "x", kHiddenSystemReadOnly);
    FileThreatActions actions(files, nullptr);
    const ActionOutcome outcome = actions.Apply(ThreatAction::kDelete, c.listed);
    EXPECT_TRUE(outcome.done) << c.label << ": " << outcome.message;
    EXPECT_EQ(files.Names(u"E:\\"), c.left) << c.label;
  }
}

TEST_F(FileThreatActionsTest, AFolderOnTheWayWithANameTheCodePageCannotHoldIsFollowed) {
  files_.AddFolder(u"E:\\\u4e2d\u6587");
  files_.AddFile(u"E:\\\u4e2d\u6587\\run.vbs");
  files_.AddFile(u"E:\\??\\run.vbs");  // cannot exist on Windows; it must not be reached either

  EXPECT_TRUE(Apply(ThreatAction::kDelete, "E:\\??\\run.vbs").done);
  EXPECT_FALSE(files_.Has(u"E:\\\u4e2d\u6587\\run.vbs"));
}

TEST_F(FileThreatActionsTest, SeveralNamesListedAlikeAreRefusedAndNoneIsTouched) {
  files_.AddFile(u"E:\\caf\u4e2d.vbs");
  files_.AddFile(u"E:\\caf\u6587.vbs");
  files_.AddFolder(u"E:\\\u4e2d");
  files_.AddFolder(u"E:\\\u6587");
  files_.AddFile(u"E:\\\u4e2d\\x.vbs");

  for (const ThreatAction action :
       {ThreatAction::kDelete, ThreatAction::kRename, ThreatAction::kQuarantine}) {
    const ActionOutcome file = Apply(action, "E:\\caf?.vbs");
    EXPECT_FALSE(file.done);
    EXPECT_THAT(file.message, HasSubstr("2 entries of its folder are listed as \"caf?.vbs\""));
    EXPECT_THAT(Apply(action, "E:\\?\\x.vbs").message,
                HasSubstr("2 entries of a folder on its path are listed as \"?\""));
  }
  EXPECT_EQ(files_.Names(u"E:\\").size(), 4u);
  EXPECT_TRUE(files_.Has(u"E:\\\u4e2d\\x.vbs"));
}

TEST(RenamedName, AppendsTheEndingThenNumbersItFromTwo) {
  EXPECT_EQ(RenamedName(u"autorun.inf", 1), u"autorun.inf.velmora");
  EXPECT_EQ(RenamedName(u"autorun.inf", 2), u"autorun.inf.velmora2");
  EXPECT_EQ(RenamedName(u"x.", 17), u"x..velmora17");
}

TEST_F(FileThreatActionsTest, RenameTakesTheFirstFreeNameAndMakesTheEntryVisible) {
  struct Case {
    const char* label;
    std::vector<NativePath> taken;
    NativePath expected;
  };
  for (const Case& c : {
           Case{"nothing taken", {}, u"E:\\Setup.exe.velmora"},
           Case{"the first name taken", {u"Setup.exe.velmora"}, u"E:\\Setup.exe.velmora2"},
           Case{"taken in another case, and a gap after",
                {u"SETUP.EXE.VELMORA", u"Setup.exe.velmora2", u"Setup.exe.velmora4"},
                u"E:\\Setup.exe.velmora3"},
       }) {
    FakeFiles files;
    files.AddFile(u"E:\\Setup.exe", "MZ", kHiddenSystemReadOnly);
    for (const NativePath& name : c.taken) files.AddFile(u"E:\\" + name, "other");
    FileThreatActions actions(files, nullptr);

    const ActionOutcome outcome = actions.Apply(ThreatAction::kRename, "E:\\Setup.exe");

    EXPECT_TRUE(outcome.done) << c.label << ": " << outcome.message;
    EXPECT_FALSE(files.Has(u"E:\\Setup.exe")) << c.label;
    EXPECT_EQ(files.StoredPath(c.expected), c.expected) << c.label;
    EXPECT_EQ(files.Bytes(c.expected), "MZ") << c.label;
    // Read-only stays: it keeps the renamed file from being changed by mistake.
    EXPECT_EQ(files.Attributes(c.expected), kAttributeReadOnly | kAttributeArchive) << c.label;
  }
}

TEST_F(FileThreatActionsTest, RenameKeepsHostileNamesAndFoldersWhole) {
  files_.AddFile(u"E:\\autorun.inf.");
  files_.AddFile(u"E:\\caf\u4e2d.vbs ");
  files_.AddFolder(u"E:\\autorun.inf", kAttributeDirectory | kAttributeHidden);
  files_.AddFile(u"E:\\autorun.inf\\inside.exe");

  EXPECT_TRUE(Apply(ThreatAction::kRename, "E:\\autorun.inf.").done);
  EXPECT_TRUE(Apply(ThreatAction::kRename, "E:\\caf?.vbs ").done);
  EXPECT_TRUE(Apply(ThreatAction::kRename, "E:\\autorun.inf").done);

  EXPECT_THAT(files_.Names(u"E:\\"), ElementsAre(u"autorun.inf..velmora", u"autorun.inf.velmora",
                                                 u"caf\u4e2d.vbs .velmora"));
  EXPECT_EQ(files_.Attributes(u"E:\\autorun.inf.velmora"), kAttributeDirectory);
  EXPECT_TRUE(files_.Has(u"E:\\autorun.inf.velmora\\inside.exe"));
}

TEST_F(FileThreatActionsTest, RenameFailuresNameThePathAndTheReason) {
  files_.AddFile(u"E:\\full.vbs");
  for (int attempt = 1; attempt <= FileThreatActions::kRenameTries; ++attempt) {
    files_.AddFile(u"E:\\" + RenamedName(u"full.vbs", attempt));
  }
  files_.AddFile(u"E:\\locked.vbs");
  files_.Fail(FileCall::kRename, u"E:\\locked.vbs", FakeFiles::kAccessDenied);
  files_.AddFile(u"F:\\run.vbs", "x", kAttributeHidden);
  files_.WriteProtect(u'F');

  EXPECT_EQ(Apply(ThreatAction::kRename, "E:\\full.vbs").message,
            "Could not rename E:\\full.vbs: every name up to \"full.vbs.velmora100\" is taken.");
  EXPECT_EQ(Apply(ThreatAction::kRename, "E:\\locked.vbs").message,
            "Could not rename E:\\locked.vbs: Access is denied.");
  EXPECT_EQ(Apply(ThreatAction::kRename, "F:\\run.vbs").message,
            "Could not rename F:\\run.vbs: The media is write protected.");
  EXPECT_EQ(Apply(ThreatAction::kRename, "E:\\gone.vbs").message,
            "Could not rename E:\\gone.vbs: it is no longer there.");
  EXPECT_TRUE(files_.Has(u"E:\\full.vbs"));
  EXPECT_TRUE(files_.Has(u"E:\\locked.vbs"));
  EXPECT_EQ(files_.Attributes(u"F:\\run.vbs"), kAttributeHidden);
}

TEST_F(FileThreatActionsTest, ARenamedEntryThatStaysHiddenIsReportedUnderItsNewName) {
  files_.AddFile(u"E:\\caf\u00e9.vbs", "x", kAttributeHidden);
  files_.AddFile(u"E:\\caf\u00e9.vbs.velmora");
  files_.Fail(FileCall::kSetAttributes, u"E:\\caf\u00e9.vbs.velmora2", FakeFiles::kAccessDenied);

  const ActionOutcome outcome = Apply(ThreatAction::kRename, "E:\\caf\xe9.vbs");

  EXPECT_FALSE(outcome.done);
  EXPECT_EQ(outcome.message,
            "Renamed E:\\caf\xe9.vbs to E:\\caf\xe9.vbs.velmora2, but could not make it visible: "
            "Access is denied.");
  EXPECT_TRUE(files_.Has(u"E:\\caf\u00e9.vbs.velmora2"));
}

TEST_F(FileThreatActionsTest, IgnoreLeavesEverythingAndQuarantineNeedsAStoreAndAFile) {
  files_.AddFile(u"E:\\run.vbs", "x", kAttributeHidden);
  files_.AddFolder(u"E:\\autorun.inf");

  EXPECT_TRUE(Apply(ThreatAction::kIgnore, "E:\\run.vbs").done);
  EXPECT_TRUE(Apply(ThreatAction::kIgnore, "E:\\gone.vbs").done);
  EXPECT_EQ(Apply(ThreatAction::kQuarantine, "E:\\run.vbs").message,
            "Could not quarantine E:\\run.vbs: there is no quarantine.");
  EXPECT_EQ(Apply(ThreatAction::kQuarantine, "E:\\autorun.inf").message,
            "Could not quarantine E:\\autorun.inf: it is a folder, and only files are "
            "quarantined.");
  EXPECT_EQ(files_.Attributes(u"E:\\run.vbs"), kAttributeHidden);
}

}  // namespace
}  // namespace velmora::actions
