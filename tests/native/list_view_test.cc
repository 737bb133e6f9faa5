#include "ui/list_view.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace velmora::ui {
namespace {

TEST(ListView, SelectionFollowsItsEntryAcrossDeletions) {
  struct Case {
    int selected;
    int deleted;
    int expected;
  };
  for (const Case c : {Case{2, 0, 1}, Case{2, 2, -1}, Case{2, 3, 2}}) {
    ListView list("Lst", nullptr);
    for (int i = 0; i < 4; ++i) list.AddItem({"item" + std::to_string(i)});
    list.UserSelectItem(c.selected, true);
    list.DeleteItem(c.deleted);
    EXPECT_EQ(list.selected_index(), c.expected)
        << "selected " << c.selected << " deleted " << c.deleted;
  }
}

TEST(ListView, SelectEventReportsIndexAndStateAndDeselectClearsSelection) {
  ListView list("Lst", nullptr);
  list.AddItem({"a"});
  list.AddItem({"b"});
  std::vector<std::pair<int, bool>> events;
  list.on_select_item = [&events](ListView&, int index, bool selected) {
    events.emplace_back(index, selected);
  };
  list.UserSelectItem(1, true);
  list.UserSelectItem(1, false);
  EXPECT_EQ(events, (std::vector<std::pair<int, bool>>{{1, true}, {1, false}}));
  EXPECT_EQ(list.selected_index(), -1);
}

TEST(ListView, UserEditsAndTicksLandInTheEntries) {
  ListView list("Lst", nullptr);
  list.AddItem({"Run", {"cmd.exe"}});
  list.UserEditCaption(0, "Renamed");
  list.UserSetChecked(0, true);
  EXPECT_EQ(list.item(0).caption, "Renamed");
  EXPECT_EQ(list.item(0).sub_items, std::vector<std::string>{"cmd.exe"});
  EXPECT_TRUE(list.item(0).checked);
}

TEST(ListView, OutOfRangeIndexIsAnErrorNotACrash) {
  ListView list("Lst", nullptr);
  list.AddItem({"only"});
  EXPECT_THROW(list.DeleteItem(1), std::out_of_range);
  EXPECT_THROW(list.SetItemCaption(-1, "x"), std::out_of_range);
  EXPECT_THROW(list.UserSelectItem(5, true), std::out_of_range);
}

TEST(ListView, UpdatesNestAndOnlyTheOutermostEndResumesRepainting) {
  ListView list("Lst", nullptr);
  list.BeginUpdate();
  list.BeginUpdate();
  list.EndUpdate();
  EXPECT_TRUE(list.updating());
  list.EndUpdate();
  EXPECT_FALSE(list.updating());
  list.EndUpdate();  // unbalanced end stays harmless
  EXPECT_FALSE(list.updating());
}

}  // namespace
}  // namespace velmora::ui
