#include "main/frmain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frmain_fixture.h"

namespace velmora::main {
namespace {

TEST_F(FrmainTest, CreationShowsTheTrayIconShapesTheWindowAndRegistersAutostart) {
  process_.set_executable_path("C:\\Velmora\\velmora.exe");
  Start();
  EXPECT_TRUE(frmain_->Ticon.Active());
  ASSERT_FALSE(shell_.notify_calls.empty());
  const auto& region = frmain_->form().region();
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(region->left, 1);
  EXPECT_EQ(region->top, 1);
  EXPECT_EQ(region->right, 678);
  EXPECT_EQ(region->bottom, 520);
  EXPECT_EQ(region->ellipse_width, 10);
  EXPECT_EQ(region->ellipse_height, 10);
  EXPECT_EQ(Autostart(), "C:\\Velmora\\velmora.exe");
  EXPECT_TRUE(backend_.shown_errors().empty());
  EXPECT_TRUE(frmain_->form().visible());
  EXPECT_EQ(frmain_->form().window_state(), ui::WindowState::kMaximized);
}

TEST(AutostartCommand, QuotesOnlyPathsWithBlanks) {
  struct Case {
    const char* path;
    const char* command;
  };
  for (const Case& c : {Case{"C:\\Velmora\\velmora.exe", "C:\\Velmora\\velmora.exe"},
                        Case{"C:\\Program Files\\Velmora\\velmora.exe",
                             "\"C:\\Program Files\\Velmora\\velmora.exe\""},
                        Case{"", ""}}) {
    EXPECT_EQ(AutostartCommand(c.path), c.command) << c.path;
  }
}

TEST_F(FrmainTest, AutostartIsRewrittenAtEveryStartWithTheCurrentPath) {
  registry_.SetString(RootKey::kCurrentUser, kAutostartKey, kAutostartValue, "C:\\old\\v.exe");
  registry_.SetString(RootKey::kCurrentUser, kAutostartKey, "Other", "other.exe");
  process_.set_executable_path("D:\\Tools\\Velmora Guard\\velmora.exe");
  Start();
  EXPECT_EQ(Autostart(), "\"D:\\Tools\\Velmora Guard\\velmora.exe\"");
  EXPECT_EQ(registry_.StringValue(RootKey::kCurrentUser, kAutostartKey, "Other"), "other.exe");
}

TEST_F(FrmainTest, UnwritableAutostartIsShownAndTheWindowStillComesUp) {
  registry_.CreateKey(RootKey::kCurrentUser, kAutostartKey);
  registry_.SetReadOnly(RootKey::kCurrentUser, kAutostartKey);
  Start();
  EXPECT_EQ(backend_.shown_errors(),
            std::vector<std::string>{"Failed to set data for 'Velmora Protection'"});
  EXPECT_TRUE(frmain_->form().visible());
  EXPECT_TRUE(frmain_->Ticon.Active());
}

TEST_F(FrmainTest, UnopenableRunKeyIsAFailureToWriteTheValue) {
  registry_.SetUnopenable(RootKey::kCurrentUser, kAutostartKey);
  Start();
  EXPECT_EQ(backend_.shown_errors(),
            std::vector<std::string>{"Failed to set data for 'Velmora Protection'"});
}

TEST_F(FrmainTest, SplashShowsAtTheFirstDisplayOnlyAndItsTimerHidesIt) {
  Start();
  EXPECT_TRUE(state_.SplashShown);
  EXPECT_TRUE(splash_->form().visible());
  splash_->Tim.Tick();
  EXPECT_FALSE(splash_->form().visible());
  EXPECT_TRUE(splash_->Tim.enabled());  // it keeps ticking; later ticks change nothing

  frmain_->lblClseApp.Click();  // hide to the tray
  frmain_->Ticon.RestoreFromTray();
  EXPECT_TRUE(frmain_->form().visible());
  EXPECT_FALSE(splash_->form().visible());
  splash_->Tim.Tick();
  EXPECT_FALSE(splash_->form().visible());
}

TEST_F(FrmainTest, ClosingTheWindowHidesItInTheTrayAndKeepsRunning) {
  Start();
  shell_.ClearLog();
  app_.CloseForm(frmain_->form());
  EXPECT_FALSE(frmain_->form().visible());
  EXPECT_FALSE(app_.terminated());
  EXPECT_TRUE(frmain_->Ticon.AppHidden());
  ASSERT_FALSE(shell_.notify_calls.empty());
  EXPECT_EQ(shell_.notify_calls.front().command, tray::NotifyCommand::kAdd);

  // A double click on the icon brings it back and takes the icon away.
  tray::TrayMessage double_click{shell_.Registered("WM_TOOLTRAYICON"), 0, 515, 0};
  frmain_->Ticon.TrayWndProc(double_click);
  EXPECT_TRUE(frmain_->form().visible());
  EXPECT_FALSE(frmain_->Ticon.Active());
  EXPECT_EQ(shell_.notify_calls.back().command, tray::NotifyCommand::kDelete);
}

TEST_F(FrmainTest, CloseFromTheTrayMenuEndsTheProgramAtAnyTime) {
  Start();
  frmain_->Close.Click();
  EXPECT_TRUE(state_.QuitRequested);
  EXPECT_TRUE(app_.terminated());
  EXPECT_TRUE(backend_.quit_posted());
}

TEST_F(FrmainTest, CloseRequestAfterQuitEndsTheProgram) {
  Start();
  state_.QuitRequested = true;
  app_.CloseForm(frmain_->form());
  EXPECT_TRUE(app_.terminated());
}

TEST_F(FrmainTest, RestoreApplicationBringsTheWindowBackFromTheTray) {
  Start();
  frmain_->lblClseApp.Click();
  EXPECT_FALSE(frmain_->form().visible());
  frmain_->RestoreApplication1.Click();
  EXPECT_TRUE(frmain_->form().visible());
  EXPECT_FALSE(frmain_->Ticon.Active());
}

TEST_F(FrmainTest, MinimiseLabelMinimisesTheApplicationNotToTheTray) {
  Start();
  frmain_->lblMinimize.Click();
  EXPECT_EQ(backend_.minimize_count(), 1);
  EXPECT_TRUE(frmain_->form().visible());
  EXPECT_FALSE(frmain_->Ticon.AppHidden());
}

TEST_F(FrmainTest, RightClickOnTheIconPopsTheTrayMenuAtTheCursor) {
  Start();
  shell_.cursor = {1200, 780};
  tray::TrayMessage right_click{shell_.Registered("WM_TOOLTRAYICON"), 0, 517, 0};
  frmain_->Ticon.TrayWndProc(right_click);
  EXPECT_EQ(frmain_->MnApp.popup_count(), 1);
  EXPECT_EQ(frmain_->MnApp.last_popup_point().x, 1200);
  EXPECT_EQ(frmain_->MnApp.last_popup_point().y, 780);
}

TEST_F(FrmainTest, AnyButtonOnThePictureMovesTheWindow) {
  Start();
  for (auto button : {ui::MouseButton::kLeft, ui::MouseButton::kRight, ui::MouseButton::kMiddle}) {
    frmain_->ImgArrPln.MouseDown(button, {300, 10});
  }
  EXPECT_EQ(frmain_->form().move_requests(), 3);
}

TEST_F(FrmainTest, TheCloseLabelLosesItsBoldForGoodOncePassedOver) {
  Start();
  ui::Label& x = frmain_->lblClseApp;
  ASSERT_TRUE(x.font().style.bold);
  x.MouseMove();
  EXPECT_EQ(x.cursor(), ui::Cursor::kHandPoint);
  EXPECT_TRUE(x.font().style.underline);
  EXPECT_FALSE(x.font().style.bold);
  x.MouseLeave();
  EXPECT_EQ(x.cursor(), ui::Cursor::kDefault);
  EXPECT_FALSE(x.font().style.underline);
  EXPECT_FALSE(x.font().style.bold);
}

TEST_F(FrmainTest, HoverChangesOnlyTheCursorOfTheOtherLabels) {
  Start();
  for (ui::Label* label : {&frmain_->lblMinimize, &frmain_->lblSupport}) {
    SCOPED_TRACE(label->name());
    const ui::Font before = label->font();
    label->MouseMove();
    EXPECT_EQ(label->cursor(), ui::Cursor::kHandPoint);
    label->MouseLeave();
    EXPECT_EQ(label->cursor(), ui::Cursor::kDefault);
    EXPECT_TRUE(label->font() == before);
  }
}

TEST_F(FrmainTest, SupportOpensTheSupportPageInANewBrowserWindow) {
  Start();
  frmain_->lblSupport.Click();
  ASSERT_EQ(os_shell_.calls.size(), 1u);
  EXPECT_EQ(os_shell_.calls[0].verb, "Open");
  EXPECT_EQ(os_shell_.calls[0].file, "IExplore");
  EXPECT_EQ(os_shell_.calls[0].parameters, std::string("-New ") + kSupportAddress);
}

TEST_F(FrmainTest, TrayMenuHasItsThreeCommands) {
  Start();
  EXPECT_EQ(frmain_->MnDesableAutoRunDrive.caption, "Desable AutoRun Drive");
  EXPECT_TRUE(frmain_->MnDesableAutoRunDrive.is_default);
  EXPECT_EQ(frmain_->RestoreApplication1.caption, "Restore Application");
  EXPECT_EQ(frmain_->Close.caption, "Close ");
}

}  // namespace
}  // namespace velmora::main
