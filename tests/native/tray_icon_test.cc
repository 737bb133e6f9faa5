#include "tray/tray_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_tray_shell.h"
#include "ui/headless_backend.h"
#include "ui/image_list.h"
#include "ui/popup_menu.h"

namespace velmora::tray {
namespace {

using fakes::FakeTrayShell;
using Log = std::vector<std::string>;

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    app_.CreateForm(main_);
    main_.Show();
  }

  std::string Post(const char* name) { return "post:" + std::to_string(shell_.Registered(name)); }

  ui::HeadlessBackend backend_;
  ui::Application app_{backend_};
  ui::Form main_{"Frmain", "TFrmain"};
  FakeTrayShell shell_;
  int owner_ = 0;
};

TEST_F(TrayIconTest, ActivatingShowsACopyOfTheApplicationIconThenResetsTheEmptyTip) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetAnimate(false);  // what loading the window's description writes first
  EXPECT_EQ(icon.Icon(), 0u);
  shell_.ClearLog();

  icon.SetActive(true);
  EXPECT_EQ(shell_.log, (Log{"notify:modify", "notify:add", Post("WM_RESETTOOLTIP")}));
  const NotifyIconRecord& added = shell_.notify_calls[1].record;
  EXPECT_EQ(added.window, FakeTrayShell::kUtilityWindow);
  EXPECT_EQ(added.id, 0u);
  EXPECT_EQ(added.flags, kNifMessage | kNifIcon | kNifTip);
  EXPECT_EQ(added.callback_message, shell_.Registered("WM_TOOLTRAYICON"));
  EXPECT_EQ(shell_.Origin(added.icon), "application");
  EXPECT_STREQ(added.tip, "");

  shell_.ClearLog();
  shell_.DeliverPosted();
  ASSERT_EQ(shell_.log, Log{"notify:modify"});
  EXPECT_EQ(shell_.notify_calls[0].record.flags, kNifIcon | kNifTip);
  EXPECT_EQ(shell_.notify_calls[0].record.icon, added.icon);
  EXPECT_STREQ(shell_.notify_calls[0].record.tip, "");
}

TEST_F(TrayIconTest, ToolTipKeepsSixtyTwoCharactersAndTheirTerminator) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetActive(true);
  const std::string long_tip(70, 'x');
  icon.SetToolTip(long_tip);
  EXPECT_EQ(icon.ToolTip(), long_tip.substr(0, 62));
  const NotifyIconRecord& record = shell_.notify_calls.back().record;
  EXPECT_EQ(std::string(record.tip), long_tip.substr(0, 62));
  EXPECT_EQ(record.tip[62], '\0');
  // A short tip after a long one leaves nothing of the old one behind.
  icon.SetToolTip("Velmora");
  EXPECT_STREQ(shell_.notify_calls.back().record.tip, "Velmora");
}

TEST_F(TrayIconTest, WritesWhileInactiveTouchNoIcon) {
  TTrayIcon icon(app_, &owner_, shell_);
  shell_.ClearLog();
  icon.SetToolTip("tip");
  icon.SetIcon(0);
  EXPECT_TRUE(shell_.notify_calls.empty());
}

TEST_F(TrayIconTest, MinimizeAndRestoreHideAndBringBackTheApplication) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetActive(true);
  shell_.ClearLog();

  shell_.notify_result = false;  // the shell refuses a second add of a shown icon
  icon.MinimizeToTray();
  EXPECT_FALSE(main_.visible());
  EXPECT_TRUE(icon.AppHidden());
  EXPECT_TRUE(icon.Active());
  EXPECT_EQ(shell_.log, (Log{"hide-app", "notify:add", Post("WM_RESETTOOLTIP")}));

  shell_.notify_result = true;
  const NotifyIconRecord last = shell_.notify_calls.back().record;
  shell_.ClearLog();
  icon.RestoreFromTray();
  EXPECT_EQ(shell_.log, (Log{"notify:delete", "restore-app", "front"}));
  EXPECT_EQ(shell_.notify_calls[0].record.icon, last.icon);  // not refilled
  EXPECT_TRUE(main_.visible());
  EXPECT_FALSE(icon.AppHidden());
  EXPECT_FALSE(icon.Active());

  // The next minimise shows the icon again.
  shell_.ClearLog();
  icon.MinimizeToTray();
  EXPECT_EQ(shell_.notify_calls.front().command, NotifyCommand::kAdd);
}

TEST_F(TrayIconTest, DeactivatingWhileHiddenRemovesTheIconAndRestores) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetActive(true);
  icon.MinimizeToTray();
  shell_.ClearLog();
  icon.SetActive(false);
  EXPECT_EQ(shell_.log, (Log{"notify:delete", "notify:delete", "restore-app", "front"}));
  EXPECT_TRUE(main_.visible());
}

TEST_F(TrayIconTest, ActivatingWithMinimizeAppRunsThePreviousHandlerWithTheOwnerThenHides) {
  std::vector<void*> previous_senders;
  app_.on_minimize = [&previous_senders](void* sender) { previous_senders.push_back(sender); };
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetMinimizeApp(true);
  icon.SetActive(true);
  EXPECT_EQ(previous_senders, std::vector<void*>{&owner_});
  EXPECT_TRUE(icon.AppHidden());
  EXPECT_FALSE(main_.visible());

  // The application's own minimise goes through the hook too, with itself as sender.
  icon.RestoreFromTray();
  app_.Minimize();
  EXPECT_EQ(previous_senders, (std::vector<void*>{&owner_, &app_}));
  EXPECT_TRUE(icon.AppHidden());
}

TEST_F(TrayIconTest, DestructionRemovesTheIconFreesIconsAndUnhooksMinimize) {
  int previous_calls = 0;
  app_.on_minimize = [&previous_calls](void*) { ++previous_calls; };
  {
    TTrayIcon icon(app_, &owner_, shell_);
    icon.SetActive(true);
    shell_.ClearLog();
  }
  EXPECT_EQ(shell_.log, (Log{"notify:delete", "destroy-window"}));
  EXPECT_EQ(shell_.live_icon_count(), 0u);
  app_.Minimize();  // must not reach the destroyed component
  EXPECT_EQ(previous_calls, 1);
}

TEST_F(TrayIconTest, MinimizeWithoutAMainFormKeepsTheMainFormFromShowing) {
  ui::HeadlessBackend backend;
  ui::Application app(backend);
  TTrayIcon icon(app, &owner_, shell_);
  icon.MinimizeToTray();
  EXPECT_FALSE(app.show_main_form());
  icon.RestoreFromTray();  // nothing to show: no crash
  EXPECT_FALSE(icon.AppHidden());
}

struct MouseCase {
  std::intptr_t mouse_message;
  Log events;
};

class TrayMouseTest : public TrayIconTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(TrayMouseTest, CallbackMessageBecomesTheRightEvent) {
  TTrayIcon icon(app_, &owner_, shell_);
  Log events;
  icon.OnClick = [&events](TTrayIcon&) { events.push_back("click"); };
  icon.OnDblClick = [&events](TTrayIcon&) { events.push_back("dblclick"); };
  icon.OnRightClick = [&events](TTrayIcon&, ui::MouseButton button, ShiftState, int x, int y) {
    events.push_back("right " + std::to_string(static_cast<int>(button)) + " " + std::to_string(x) +
                     "," + std::to_string(y));
  };
  shell_.cursor = {640, 790};
  TrayMessage message{shell_.Registered("WM_TOOLTRAYICON"), 0, GetParam().mouse_message, 99};
  icon.TrayWndProc(message);
  EXPECT_EQ(events, GetParam().events);
  EXPECT_EQ(message.result, 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, TrayMouseTest,
                         ::testing::Values(MouseCase{514, {"click"}}, MouseCase{515, {"dblclick"}},
                                           MouseCase{517, {"right 1 640,790"}}, MouseCase{513, {}},
                                           MouseCase{516, {}}, MouseCase{512, {}}));

TEST_F(TrayIconTest, RightClickPopsTheMenuFirstThenRaisesTheEvent) {
  TTrayIcon icon(app_, &owner_, shell_);
  ui::PopupMenu menu("Mn");
  icon.SetPopupMenu(&menu);
  int popups_at_event = -1;
  icon.OnRightClick = [&](TTrayIcon&, ui::MouseButton, ShiftState, int, int) {
    popups_at_event = menu.popup_count();
  };
  shell_.cursor = {10, 20};
  icon.DoRightClick();
  EXPECT_EQ(popups_at_event, 1);
  EXPECT_EQ(menu.last_popup_point().x, 10);
  EXPECT_EQ(menu.last_popup_point().y, 20);
}

TEST_F(TrayIconTest, DoubleClickRestoresByDefault) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetActive(true);
  icon.MinimizeToTray();
  TrayMessage message{shell_.Registered("WM_TOOLTRAYICON"), 0, 515, 0};
  icon.TrayWndProc(message);
  EXPECT_TRUE(main_.visible());
  EXPECT_FALSE(icon.Active());
}

TEST_F(TrayIconTest, EndSessionQueryIsAnsweredByTheOwnerOtherMessagesByDefault) {
  TTrayIcon icon(app_, &owner_, shell_);
  shell_.owner_answer = 1;
  TrayMessage query{17, 0, 0, 0};
  icon.TrayWndProc(query);
  EXPECT_EQ(query.result, 1);
  EXPECT_EQ(shell_.log.back(), "send-owner:17");
  TrayMessage other{0x0400, 0, 0, 0};
  icon.TrayWndProc(other);
  EXPECT_EQ(other.result, FakeTrayShell::kDefaultAnswer);
}

TEST_F(TrayIconTest, ShellRestartAddsAnActiveIconAgain) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.ShellRestarted();
  EXPECT_TRUE(shell_.notify_calls.empty());
  icon.SetActive(true);
  shell_.ClearLog();
  icon.ShellRestarted();
  ASSERT_FALSE(shell_.notify_calls.empty());
  EXPECT_EQ(shell_.notify_calls[0].command, NotifyCommand::kAdd);
}

class TrayAnimationTest : public TrayIconTest {
 protected:
  ui::ImageList frames_{"ImgFrames", 16, 16, {"A", "B", "C"}};
};

TEST_F(TrayAnimationTest, RefusedWithoutImagesOrWhileInactive) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetAnimate(true);
  EXPECT_FALSE(icon.Animate());  // no images, inactive
  icon.SetImages(&frames_);
  icon.SetAnimate(true);
  EXPECT_FALSE(icon.Animate());  // inactive
  ui::ImageList empty("ImgEmpty", 16, 16, {});
  icon.SetActive(true);
  icon.SetImages(&empty);
  icon.SetAnimate(true);
  EXPECT_FALSE(icon.Animate());
}

TEST_F(TrayAnimationTest, CyclesFromTheSecondFrameAndPutsTheSavedIconBack) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetActive(true);
  icon.SetImages(&frames_);
  icon.SetAnimateInterval(0);  // ignored
  icon.SetAnimateInterval(250);
  const IconHandle before = icon.Icon();
  shell_.ClearLog();
  icon.SetAnimate(true);
  EXPECT_EQ(shell_.log, Log{"timer-start:250"});
  EXPECT_EQ(shell_.Origin(icon.SavedIcon()), "copy of " + shell_.Origin(before));
  Log shown;
  for (int i = 0; i < 4; ++i) {
    icon.AnimateTick();
    shown.push_back(shell_.Origin(icon.Icon()));
  }
  EXPECT_EQ(shown,
            (Log{"copy of frame 1", "copy of frame 2", "copy of frame 0", "copy of frame 1"}));
  EXPECT_EQ(shell_.live_icon_count(), 2u);  // the shown icon and the saved one; frames freed

  icon.SetAnimate(false);
  EXPECT_EQ(shell_.log.back(), "notify:modify");
  EXPECT_EQ(shell_.Origin(icon.Icon()), "copy of copy of application");
}

TEST_F(TrayAnimationTest, RemovingTheImagesStopsTheAnimation) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetActive(true);
  icon.SetImages(&frames_);
  icon.SetAnimate(true);
  ui::ImageList other("Other", 16, 16, {"X"});
  icon.Notification(&other, ComponentOperation::kRemove);
  EXPECT_TRUE(icon.Animate());
  icon.Notification(&frames_, ComponentOperation::kRemove);
  EXPECT_FALSE(icon.Animate());
  EXPECT_EQ(icon.Images(), nullptr);
  EXPECT_EQ(shell_.log.back(), "notify:modify");
}

TEST_F(TrayIconTest, StoppingAnAnimationThatNeverRanEmptiesTheIcon) {
  TTrayIcon icon(app_, &owner_, shell_);
  icon.SetActive(true);
  ASSERT_NE(icon.Icon(), 0u);
  icon.SetAnimate(false);
  EXPECT_EQ(icon.Icon(), 0u);
}

}  // namespace
}  // namespace velmora::tray
