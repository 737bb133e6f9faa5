#include "ui/application.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/headless_backend.h"

namespace velmora::ui {
namespace {

class ApplicationTest : public ::testing::Test {
 protected:
  HeadlessBackend backend_;
  Application app_{backend_};
};

TEST_F(ApplicationTest, FirstFormCreatedIsTheMainForm) {
  Form first("First", "TFirst");
  Form second("Second", "TSecond");
  app_.CreateForm(first);
  app_.CreateForm(second);
  EXPECT_EQ(app_.main_form(), &first);
  EXPECT_EQ(backend_.realized_forms(), (std::vector<Form*>{&first, &second}));
}

TEST_F(ApplicationTest, CreationErrorIsShownAndTheFormStillComesUp) {
  Form form("Main", "TMain");
  bool shown = false;
  form.on_create = [](Form&) { throw std::runtime_error("Failed to set data for 'X'"); };
  form.on_show = [&shown](Form&) { shown = true; };
  app_.CreateForm(form);
  app_.Run();
  EXPECT_EQ(backend_.shown_errors(), std::vector<std::string>{"Failed to set data for 'X'"});
  EXPECT_TRUE(shown);
  EXPECT_TRUE(form.visible());
  EXPECT_EQ(backend_.loops_run(), 1);
}

TEST_F(ApplicationTest, GuardShowsEveryKindOfErrorAndCarriesOn) {
  app_.Guard([] { throw std::out_of_range("List index out of bounds (3)"); });
  app_.Guard([] { throw 42; });
  int after = 0;
  app_.Guard([&after] { ++after; });
  EXPECT_EQ(backend_.shown_errors(),
            (std::vector<std::string>{"List index out of bounds (3)", "Unknown error"}));
  EXPECT_EQ(after, 1);
}

TEST_F(ApplicationTest, ShowEventFiresOnEachTransitionToVisible) {
  Form form("Main", "TMain");
  int shows = 0;
  form.on_show = [&shows](Form&) { ++shows; };
  app_.CreateForm(form);
  form.Show();
  form.Show();  // already visible: no second event
  form.Hide();
  form.Show();
  EXPECT_EQ(shows, 2);
}

struct CloseCase {
  const char* name;
  bool is_main;
  bool change_action;
  CloseAction new_action;
  bool expect_visible;
  bool expect_terminated;
};

class CloseFormTest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseFormTest, CloseActionDecidesWhatHappens) {
  const CloseCase& c = GetParam();
  HeadlessBackend backend;
  Application app(backend);
  Form main("Main", "TMain");
  Form other("Other", "TOther");
  app.CreateForm(main);
  app.CreateForm(other);
  Form& target = c.is_main ? main : other;
  target.Show();
  if (c.change_action) {
    target.on_close = [&c](Form&, CloseAction& action) { action = c.new_action; };
  }
  app.CloseForm(target);
  EXPECT_EQ(target.visible(), c.expect_visible);
  EXPECT_EQ(app.terminated(), c.expect_terminated);
  EXPECT_EQ(backend.quit_posted(), c.expect_terminated);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, CloseFormTest,
    ::testing::Values(
        CloseCase{"MainDefaultEndsTheProgram", true, false, CloseAction::kNone, true, true},
        CloseCase{"MainRefusedStaysAsItIs", true, true, CloseAction::kNone, true, false},
        CloseCase{"MainHidden", true, true, CloseAction::kHide, false, false},
        CloseCase{"OtherDefaultHides", false, false, CloseAction::kNone, false, false},
        CloseCase{"OtherFreedOnlyHides", false, true, CloseAction::kFree, false, false}),
    [](const ::testing::TestParamInfo<CloseCase>& param_info) {
      return std::string(param_info.param.name);
    });

TEST_F(ApplicationTest, MinimizeMinimizesThenRaisesTheEventWithTheApplicationAsSender) {
  void* sender = nullptr;
  int count_at_event = -1;
  app_.on_minimize = [&](void* s) {
    sender = s;
    count_at_event = backend_.minimize_count();
  };
  app_.Minimize();
  EXPECT_EQ(sender, &app_);
  EXPECT_EQ(count_at_event, 1);
}

TEST_F(ApplicationTest, TerminatedBeforeRunNeverShowsOrLoops) {
  Form form("Main", "TMain");
  app_.CreateForm(form);
  app_.Terminate();
  app_.Run();
  EXPECT_FALSE(form.visible());
  EXPECT_EQ(backend_.loops_run(), 0);
}

}  // namespace
}  // namespace velmora::ui
