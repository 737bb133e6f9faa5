#include "ui/list_view.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/ascii_case.h"

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

TEST(ListView, FoldedCaptionLookupFoldsOnlyAToZ) {
  ListView list("Lst", nullptr);
  list.AddItem({"E:\\Photos\\AUTORUN.INF"});
  list.AddItem({"E:\\caf\xE9.inf"});
  struct Case {
    std::string probe;
    bool found;
  };
  const Case cases[] = {
      {"e:\\photos\\autorun.inf", true},
      {"E:\\PHOTOS\\AUTORUN.INF", true},
      {"E:\\Photos\\AUTORUN.INF ", false},
      {"E:\\Photos\\AUTORUN", false},
      {"E:\\caf\xE9.inf", true},
      {"E:\\CAF\xE9.INF", true},
      {"E:\\caf\xC9.inf", false},  // accented capital: no folding beyond A to Z
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(list.HasFoldedCaption(c.probe), c.found) << c.probe;
}

// Against a plain pass over the captions, after every kind of change in a random order,
// including duplicates of one caption and changes made before the first lookup.
TEST(ListView, FoldedCaptionLookupKeepsInStepWithEveryChange) {
  std::vector<std::string> texts = {"E:\\\xC9.exe", "E:\\\xE9.exe", ""};
  for (int i = 0; i < 40; ++i) {
    texts.push_back("E:\\dir" + std::to_string(i % 7) + "\\autorun" + std::to_string(i) + ".inf");
    texts.push_back("e:\\DIR" + std::to_string(i % 7) + "\\AutoRun" + std::to_string(i) + ".INF");
  }
  const auto linear = [](const ListView& list, const std::string& probe) {
    for (int i = 0; i < list.item_count(); ++i) {
      if (FoldAsciiLetters(list.item(i).caption) == FoldAsciiLetters(probe)) return true;
    }
    return false;
  };
  std::mt19937 random(20261206);
  const auto pick = [&random](std::size_t n) {
    return static_cast<int>(std::uniform_int_distribution<std::size_t>(0, n - 1)(random));
  };
  ListView list("Lst", nullptr);
  list.AddItem({texts[0]});
  for (int step = 0; step < 1500; ++step) {
    const int operation = pick(10);
    const std::string& text = texts[static_cast<std::size_t>(pick(texts.size()))];
    if (operation < 4 || list.item_count() == 0) {
      list.AddItem({text});
    } else if (operation < 6) {
      list.DeleteItem(pick(static_cast<std::size_t>(list.item_count())));
    } else if (operation < 8) {
      list.SetItemCaption(pick(static_cast<std::size_t>(list.item_count())), text);
    } else if (operation < 9) {
      list.UserEditCaption(pick(static_cast<std::size_t>(list.item_count())), text);
    } else if (step % 7 == 0) {
      list.Clear();
    }
    if (step < 10) continue;  // some changes happen before anything is indexed
    for (const std::string& probe : texts) {
      ASSERT_EQ(list.HasFoldedCaption(probe), linear(list, probe))
          << "step " << step << " probe " << probe;
    }
  }
}

}  // namespace
}  // namespace velmora::ui
