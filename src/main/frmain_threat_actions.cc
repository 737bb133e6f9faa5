// The threat-action menu MnActionVir, shared by the volume threat list LstScan and the drive
// threat list LstScanDrive: which entry a command acts on and what becomes of the lists. What
// happens to the file itself is the business of actions::ThreatActions.
#include <stdexcept>
#include <string>

#include "main/frmain.h"

namespace velmora::main {

void TFrmain::LstScanSelectItem(ui::ListView& sender, int /*index*/, bool selected) {
  AttachThreatMenu(sender, selected, true);
}

void TFrmain::LstScanDriveSelectItem(ui::ListView& sender, int /*index*/, bool selected) {
  AttachThreatMenu(sender, selected, false);
}

void TFrmain::AttachThreatMenu(ui::ListView& list, bool selected, bool volume_list) {
  if (selected) {
    list.SetPopupMenu(&MnActionVir);
    state_.ActionTarget = volume_list;
  } else {
    list.SetPopupMenu(nullptr);
  }
}

// An entry can stay selected in one list while a later selection in the other moved
// ActionTarget; a right click on the first entry then means that entry. ActionTarget decides
// only when the menu was not opened on a threat list.
ui::ListView& TFrmain::ThreatActionList() {
  const ui::Component* opened_on = MnActionVir.popup_component();
  if (opened_on == &LstScan) return LstScan;
  if (opened_on == &LstScanDrive) return LstScanDrive;
  return state_.ActionTarget ? LstScan : LstScanDrive;
}

void TFrmain::ApplyThreatAction(actions::ThreatAction action) {
  ui::ListView& list = ThreatActionList();
  const int index = list.selected_index();
  if (index < 0) return;  // nothing to act on, and nothing worth telling
  const std::string path = list.item(index).caption;
  const bool leaves_list =
      action == actions::ThreatAction::kDelete || action == actions::ThreatAction::kRename;
  // The entry goes with its selection, which no deselection announces: the menu goes too.
  auto take_entry_out = [&] {
    if (!leaves_list) return;
    list.DeleteItem(index);
    list.SetPopupMenu(nullptr);
  };
  actions::ActionOutcome outcome;
  try {
    // Never so in the program; a failed action all the same, which Delete and Rename survive.
    if (threat_actions_ == nullptr) throw std::logic_error("No threat actions are available.");
    outcome = threat_actions_->Apply(action, path);
  } catch (...) {
    take_entry_out();  // the error display tells the user the rest
    throw;
  }
  take_entry_out();
  // The entry may be gone while the file stays: the user must hear of it.
  if (!outcome.done) {
    app_.backend().ShowError(outcome.message.empty() ? "Could not handle " + path + "."
                                                     : outcome.message);
  }
}

void TFrmain::MnDelClick(ui::MenuItem& /*sender*/) {
  ApplyThreatAction(actions::ThreatAction::kDelete);
}

void TFrmain::Rename1Click(ui::MenuItem& /*sender*/) {
  ApplyThreatAction(actions::ThreatAction::kRename);
}

void TFrmain::Quarantine1Click(ui::MenuItem& /*sender*/) {
  ApplyThreatAction(actions::ThreatAction::kQuarantine);
}

void TFrmain::Ignore1Click(ui::MenuItem& /*sender*/) {
  ApplyThreatAction(actions::ThreatAction::kIgnore);
}

}  // namespace velmora::main
