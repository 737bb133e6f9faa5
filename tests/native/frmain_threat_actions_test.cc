// The threat-action menu shared by both threat lists: when it is attached, which entry of
// which list a command acts on, what becomes of the lists, and how failures are told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_threat_actions.h"
#include "frmain_fixture.h"

namespace velmora::main {
namespace {

using actions::ThreatAction;

constexpr char kDetection[] = "T : 9:03:22 D  : 06/12/2026";

enum class Opened { kNotOnAList, kOnVolumeList, kOnDriveList };

class ThreatActionsTest : public FrmainTest {
 protected:
  void SetUp() override {
    Start();
    splash_->Tim.Tick();
    frmain_->SetThreatActions(&actions_);
    Refill();
  }

  // Two entries in each list, none selected, no menu attached, nothing asked of the actions.
  void Refill() {
    for (ui::ListView* list : {&frmain_->LstScan, &frmain_->LstScanDrive}) {
      list->Clear();
      list->SetPopupMenu(nullptr);
    }
    for (const char* path : {"F:\\autorun.inf", "F:\\Setup.exe"}) Add(frmain_->LstScan, path);
    for (const char* path : {"E:\\run.vbs", "E:\\x.vb"}) Add(frmain_->LstScanDrive, path);
    state_.ActionTarget = false;
    actions_ = fakes::FakeThreatActions();
    errors_before_ = backend_.shown_errors().size();
  }
  std::vector<std::string> NewErrors() {
    const auto& errors = backend_.shown_errors();
    return {errors.begin() + static_cast<std::ptrdiff_t>(errors_before_), errors.end()};
  }

  static void Add(ui::ListView& list, const std::string& path) {
    list.AddItem({path, {kDetection}, 0});
  }
  static std::vector<std::string> Captions(const ui::ListView& list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list.item_count(); ++i) captions.push_back(list.item(i).caption);
    return captions;
  }
  ui::MenuItem& Item(ThreatAction action) {
    switch (action) {
      case ThreatAction::kDelete:
        return frmain_->MnDel;
      case ThreatAction::kRename:
        return frmain_->Rename1;
      case ThreatAction::kQuarantine:
        return frmain_->Quarantine1;
      case ThreatAction::kIgnore:
        break;
    }
    return frmain_->Ignore1;
  }
  // Chooses the command as the user does: a right click on the list pops the menu up, then
  // the item is chosen; or the menu pops up for no control first.
  void Choose(ThreatAction action, Opened opened) {
    switch (opened) {
      case Opened::kOnVolumeList:
        frmain_->LstScan.UserRightClick({10, 10});
        break;
      case Opened::kOnDriveList:
        frmain_->LstScanDrive.UserRightClick({10, 10});
        break;
      case Opened::kNotOnAList:
        frmain_->MnActionVir.Popup({10, 10});
        break;
    }
    Item(action).Click();
  }
  std::vector<std::string> Calls() {
    std::vector<std::string> calls;
    for (const auto& call : actions_.calls()) {
      calls.push_back(std::to_string(static_cast<int>(call.action)) + " " + call.path);
    }
    return calls;
  }
  static std::string Call(ThreatAction action, const std::string& path) {
    return std::to_string(static_cast<int>(action)) + " " + path;
  }

  fakes::FakeThreatActions actions_;
  std::size_t errors_before_ = 0;
};

constexpr ThreatAction kAllActions[] = {ThreatAction::kDelete, ThreatAction::kRename,
                                        ThreatAction::kQuarantine, ThreatAction::kIgnore};

bool LeavesList(ThreatAction action) {
  return action == ThreatAction::kDelete || action == ThreatAction::kRename;
}

TEST_F(ThreatActionsTest, SelectionAttachesTheMenuAndNamesTheTargetDeselectionDetachesOnly) {
  EXPECT_FALSE(state_.ActionTarget);
  EXPECT_EQ(frmain_->LstScan.popup_menu(), nullptr);
  EXPECT_EQ(frmain_->LstScanDrive.popup_menu(), nullptr);

  frmain_->LstScan.UserSelectItem(1, true);
  EXPECT_EQ(frmain_->LstScan.popup_menu(), &frmain_->MnActionVir);
  EXPECT_TRUE(state_.ActionTarget);
  frmain_->LstScanDrive.UserSelectItem(0, true);
  EXPECT_EQ(frmain_->LstScanDrive.popup_menu(), &frmain_->MnActionVir);
  EXPECT_FALSE(state_.ActionTarget);
  EXPECT_EQ(frmain_->LstScan.popup_menu(), &frmain_->MnActionVir);  // still selected there

  frmain_->LstScan.UserSelectItem(1, false);
  EXPECT_EQ(frmain_->LstScan.popup_menu(), nullptr);
  EXPECT_FALSE(state_.ActionTarget);
  frmain_->LstScan.UserSelectItem(0, true);
  frmain_->LstScanDrive.UserSelectItem(0, false);
  EXPECT_EQ(frmain_->LstScanDrive.popup_menu(), nullptr);
  EXPECT_TRUE(state_.ActionTarget);

  // A right click pops the attached menu up; a list without one pops nothing.
  const int popups = frmain_->MnActionVir.popup_count();
  frmain_->LstScanDrive.UserRightClick({5, 5});
  EXPECT_EQ(frmain_->MnActionVir.popup_count(), popups);
  frmain_->LstScan.UserRightClick({40, 50});
  EXPECT_EQ(frmain_->MnActionVir.popup_count(), popups + 1);
  EXPECT_EQ(frmain_->MnActionVir.last_popup_point().x, 40);
}

// Entries selected in both lists; the command goes to the list the menu was opened on, and
// to the one ActionTarget names when it was opened on none. The other list is never touched.
TEST_F(ThreatActionsTest, EachCommandActsOnTheSelectedEntryOfItsListAndTouchesNoOther) {
  struct Case {
    bool target_volume;  // where the latest selection was made
    Opened opened;
    bool acts_on_volume;
  };
  // The menu popped up for no control comes last, after it was opened on lists.
  for (const Case& c :
       {Case{true, Opened::kOnVolumeList, true}, Case{false, Opened::kOnDriveList, false},
        // The menu opened on the entry ActionTarget does not name.
        Case{false, Opened::kOnVolumeList, true}, Case{true, Opened::kOnDriveList, false},
        Case{true, Opened::kNotOnAList, true}, Case{false, Opened::kNotOnAList, false}}) {
    for (ThreatAction action : kAllActions) {
      Refill();
      frmain_->LstScan.UserSelectItem(1, true);
      frmain_->LstScanDrive.UserSelectItem(1, true);
      if (c.target_volume) frmain_->LstScan.UserSelectItem(1, true);
      const std::string what = std::to_string(static_cast<int>(action)) + " target volume " +
                               std::to_string(c.target_volume) + " opened " +
                               std::to_string(static_cast<int>(c.opened));
      Choose(action, c.opened);

      ui::ListView& acted = c.acts_on_volume ? frmain_->LstScan : frmain_->LstScanDrive;
      ui::ListView& other = c.acts_on_volume ? frmain_->LstScanDrive : frmain_->LstScan;
      const std::vector<std::string> before =
          c.acts_on_volume ? std::vector<std::string>{"F:\\autorun.inf", "F:\\Setup.exe"}
                           : std::vector<std::string>{"E:\\run.vbs", "E:\\x.vb"};
      EXPECT_EQ(Calls(), std::vector<std::string>{Call(action, before[1])}) << what;
      EXPECT_EQ(Captions(acted), LeavesList(action) ? std::vector<std::string>{before[0]} : before)
          << what;
      EXPECT_EQ(acted.popup_menu(), LeavesList(action) ? nullptr : &frmain_->MnActionVir) << what;
      EXPECT_EQ(other.item_count(), 2) << what;
      EXPECT_EQ(other.selected_index(), 1) << what;
      EXPECT_TRUE(NewErrors().empty()) << what;
    }
  }
}

TEST_F(ThreatActionsTest, WithNoSelectedEntryACommandDoesNothingAndSaysNothing) {
  for (ThreatAction action : kAllActions) {
    Choose(action, Opened::kNotOnAList);  // nothing selected anywhere yet
  }
  // The selected entry deleted: its list has no selection left, whichever way it is reached.
  frmain_->LstScanDrive.UserSelectItem(0, true);
  Choose(ThreatAction::kDelete, Opened::kOnDriveList);
  ASSERT_EQ(actions_.calls().size(), 1u);
  for (ThreatAction action : kAllActions) {
    Item(action).Click();  // the menu as it was last opened, on the drive list
    Choose(action, Opened::kNotOnAList);
  }
  // Entries selected and deselected again.
  frmain_->LstScanDrive.UserSelectItem(0, true);
  frmain_->LstScanDrive.UserSelectItem(0, false);
  frmain_->LstScan.UserSelectItem(0, true);
  frmain_->LstScan.UserSelectItem(0, false);
  for (ThreatAction action : kAllActions) Choose(action, Opened::kNotOnAList);

  EXPECT_EQ(actions_.calls().size(), 1u);
  EXPECT_EQ(Captions(frmain_->LstScan),
            (std::vector<std::string>{"F:\\autorun.inf", "F:\\Setup.exe"}));
  EXPECT_EQ(Captions(frmain_->LstScanDrive), (std::vector<std::string>{"E:\\x.vb"}));
  EXPECT_TRUE(NewErrors().empty());
}

TEST_F(ThreatActionsTest, AFailureIsShownAndDeleteOrRenameStillTakeTheEntryOut) {
  const std::string reason = "Could not act on F:\\Setup.exe: Access is denied.";
  for (ThreatAction action : kAllActions) {
    Refill();
    actions_.Script({false, reason});
    frmain_->LstScan.UserSelectItem(1, true);
    Choose(action, Opened::kOnVolumeList);
    const std::string what = std::to_string(static_cast<int>(action));
    EXPECT_EQ(NewErrors(), std::vector<std::string>{reason}) << what;
    EXPECT_EQ(frmain_->LstScan.item_count(), LeavesList(action) ? 1 : 2) << what;
    EXPECT_EQ(frmain_->LstScanDrive.item_count(), 2) << what;
  }
  // A failure without a sentence still names the file.
  Refill();
  actions_.Script({false, ""});
  frmain_->LstScanDrive.UserSelectItem(0, true);
  Choose(ThreatAction::kQuarantine, Opened::kOnDriveList);
  ASSERT_EQ(NewErrors().size(), 1u);
  EXPECT_NE(NewErrors()[0].find("E:\\run.vbs"), std::string::npos) << NewErrors()[0];
}

TEST_F(ThreatActionsTest, AnErrorRaisedByTheActionReachesTheErrorDisplayAndTheEntryStillGoes) {
  for (ThreatAction action : kAllActions) {
    Refill();
    actions_.ScriptError("disk on fire");
    frmain_->LstScan.UserSelectItem(0, true);
    app_.Guard([&] { Choose(action, Opened::kOnVolumeList); });
    const std::string what = std::to_string(static_cast<int>(action));
    EXPECT_EQ(NewErrors(), std::vector<std::string>{"disk on fire"}) << what;
    const std::vector<std::string> left =
        LeavesList(action) ? std::vector<std::string>{"F:\\Setup.exe"}
                           : std::vector<std::string>{"F:\\autorun.inf", "F:\\Setup.exe"};
    EXPECT_EQ(Captions(frmain_->LstScan), left) << what;
  }
}

TEST_F(ThreatActionsTest, WithoutThreatActionsACommandFailsAsAnActionWould) {
  frmain_->SetThreatActions(nullptr);
  frmain_->LstScanDrive.UserSelectItem(0, true);
  app_.Guard([&] { Choose(ThreatAction::kQuarantine, Opened::kOnDriveList); });
  EXPECT_EQ(NewErrors(), std::vector<std::string>{"No threat actions are available."});
  EXPECT_EQ(frmain_->LstScanDrive.item_count(), 2);
  app_.Guard([&] { Choose(ThreatAction::kDelete, Opened::kOnDriveList); });
  EXPECT_EQ(NewErrors().size(), 2u);
  EXPECT_EQ(frmain_->LstScanDrive.item_count(), 1);
  EXPECT_EQ(frmain_->LstScanDrive.popup_menu(), nullptr);
}

}  // namespace
}  // namespace velmora::main
