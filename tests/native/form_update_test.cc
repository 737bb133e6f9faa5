#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/label.h"
#include "ui/popup_menu.h"

namespace velmora::ui {
namespace {

// Records each visibility or text sync as "name=visible" or "name:text".
class SyncLog : public ComponentPeer {
 public:
  SyncLog(const Control& control, std::vector<std::string>& log) : control_(control), log_(log) {}
  void Sync(Aspect aspect) override {
    if (aspect == Aspect::kVisible) {
      log_.push_back(control_.name() + "=" + (control_.visible() ? "1" : "0"));
    } else if (aspect == Aspect::kText) {
      log_.push_back(control_.name() + ":" + control_.text());
    }
  }

 private:
  const Control& control_;
  std::vector<std::string>& log_;
};

class NeverSynced : public ComponentPeer {
 public:
  void Sync(Aspect) override { ADD_FAILURE() << "a menu was synced"; }
};

TEST(FormUpdate, OutermostEndSyncsTheCaptionAndEveryControlsVisibilityOnce) {
  Form form("Frm", "TFrm");
  std::vector<std::string> log;
  form.AttachPeer(std::make_unique<SyncLog>(form, log));
  for (const char* name : {"lblA", "lblB"}) {
    Label& label = form.Add<Label>(name, &form);
    label.AttachPeer(std::make_unique<SyncLog>(label, log));
  }
  // Not a control: nothing to show or hide.
  form.Add<PopupMenu>("Mn").AttachPeer(std::make_unique<NeverSynced>());

  form.BeginUpdate();
  form.BeginUpdate();
  form.Get<Label>("lblA").SetVisible(false);
  form.Get<Label>("lblA").SetVisible(true);
  form.Get<Label>("lblA").SetVisible(false);
  form.SetText("34");
  form.SetText("-1");
  form.EndUpdate();
  EXPECT_TRUE(form.updating());
  log.clear();  // what the peers were told on the way; they hold it back while updating
  form.EndUpdate();
  EXPECT_FALSE(form.updating());
  EXPECT_EQ(log, (std::vector<std::string>{"Frm:-1", "lblA=0", "lblB=1"}));

  form.EndUpdate();  // unbalanced end stays harmless
  EXPECT_EQ(log.size(), 3u);
}

}  // namespace
}  // namespace velmora::ui
