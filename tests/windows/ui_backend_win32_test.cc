// The win32 backend against real windows: what the component model says must be what the
// platform's controls show, and what the user does must come back.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "named_child.h"
#include "ui/application.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/timer.h"
#include "ui/win32/backend_win32.h"

namespace velmora::ui {
namespace {

using test_support::ChildNamed;

std::string ItemText(HWND list, int item, int sub_item) {
  char text[256] = {};
  LVITEMA native{};
  native.iSubItem = sub_item;
  native.pszText = text;
  native.cchTextMax = sizeof text;
  ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&native));
  return text;
}

class Win32BackendTest : public ::testing::Test {
 protected:
  Win32BackendTest() : backend_(::GetModuleHandleA(nullptr)), app_(backend_) {
    form_.SetBounds({0, 0, 400, 300});
  }

  Win32Backend backend_;
  Application app_;
  Form form_{"TestForm", "VelmoraTestForm"};
};

TEST_F(Win32BackendTest, ListViewMirrorsEntriesAndTakesBackUserEdits) {
  ListView& list = form_.Add<ListView>("Lst", &form_);
  list.SetBounds({0, 0, 300, 200});
  list.SetColumns({{"Virus Path", 150}, {"Time Detection", 100}});
  ListViewStyle style;
  style.read_only = false;
  style.check_boxes = true;
  list.SetStyle(style);
  list.AddItem({"before", {"early"}});
  app_.CreateForm(form_);
  HWND native = ChildNamed(WindowOf(form_), "Lst");
  ASSERT_NE(native, nullptr);

  list.BeginUpdate();
  for (int i = 0; i < 3; ++i)
    list.AddItem({"C:\\" + std::to_string(i), {"t" + std::to_string(i)}, 0, i == 1});
  list.EndUpdate();
  list.DeleteItem(0);
  list.SetItemCaption(0, "renamed");
  ASSERT_EQ(ListView_GetItemCount(native), 3);
  EXPECT_EQ(ItemText(native, 0, 0), "renamed");
  EXPECT_EQ(ItemText(native, 2, 1), "t2");
  EXPECT_TRUE(ListView_GetCheckState(native, 1));
  EXPECT_FALSE(ListView_GetCheckState(native, 0));

  // A tick and a selection made on the control arrive in the model, with the select event.
  int selected = -1;
  list.on_select_item = [&selected](ListView&, int index, bool on) { selected = on ? index : -1; };
  ListView_SetCheckState(native, 2, TRUE);
  ListView_SetItemState(native, 2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_TRUE(list.item(2).checked);
  EXPECT_EQ(selected, 2);
  EXPECT_EQ(list.selected_index(), 2);

  // Our own mirroring raises no user events.
  selected = -7;
  list.AddItem({"quiet"});
  EXPECT_EQ(selected, -7);
}

TEST_F(Win32BackendTest, LabelsSizeThemselvesToTheirText) {
  Label& label = form_.Add<Label>("lbl", &form_);
  label.SetBounds({10, 10, 5, 5});
  label.SetText("short");
  app_.CreateForm(form_);
  HWND native = ChildNamed(WindowOf(form_), "lbl");
  ASSERT_NE(native, nullptr);
  const int short_width = label.bounds().width;
  label.SetText("a considerably longer caption");
  RECT r{};
  ::GetWindowRect(native, &r);
  EXPECT_GT(label.bounds().width, short_width);
  EXPECT_EQ(r.right - r.left, label.bounds().width);
  char text[64] = {};
  ::GetWindowTextA(native, text, sizeof text);
  EXPECT_STREQ(text, "a considerably longer caption");
}

TEST_F(Win32BackendTest, TimerTicksThroughTheMessageLoopOnlyWhileEnabled) {
  Timer& timer = form_.Add<Timer>("Tim");
  timer.SetInterval(20);
  timer.SetEnabled(true);
  int ticks = 0;
  timer.on_timer = [&ticks](Timer& t) {
    if (++ticks == 2) t.SetEnabled(false);
  };
  app_.CreateForm(form_);
  const auto pump_for = [](DWORD ms, const auto& done) {
    const DWORD deadline = ::GetTickCount() + ms;
    MSG message;
    while (::GetTickCount() < deadline && !done()) {
      while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
      ::Sleep(5);
    }
  };
  pump_for(3000, [&ticks] { return ticks >= 2; });
  pump_for(200, [] { return false; });  // a disabled timer stays quiet
  EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace velmora::ui
