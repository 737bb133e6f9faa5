#include "ui/popup_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora::ui {
namespace {

std::vector<std::string> CaptionsAfterPopup(const std::vector<std::string>& captions) {
  PopupMenu menu("Mn");
  for (std::size_t i = 0; i < captions.size(); ++i) {
    menu.AddItem("Item" + std::to_string(i)).caption = captions[i];
  }
  menu.Popup({0, 0});
  std::vector<std::string> result;
  for (int i = 0; i < menu.item_count(); ++i) result.push_back(menu.item(i).caption);
  return result;
}

TEST(PopupMenuHotKeys, EachCaptionGetsItsFirstFreeLetter) {
  struct Case {
    std::vector<std::string> captions;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {{"Desable AutoRun Drive", "Restore Application", "Close "},
       {"&Desable AutoRun Drive", "&Restore Application", "&Close "}},
      // A letter taken by an earlier item moves the key on, case ignored.
      {{"Delete", "delete again", "Rename"}, {"&Delete", "d&elete again", "&Rename"}},
      // A caption that already has a key keeps it and reserves its letter.
      {{"Open", "&Other"}, {"O&pen", "&Other"}},
      // "&&" is a literal ampersand, not a key; blanks and signs are never keys.
      {{"R&&D", " - 1"}, {"&R&&D", " - &1"}},
      {{""}, {""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CaptionsAfterPopup(c.captions), c.expected);
  }
}

TEST(PopupMenuHotKeys, PoppingUpAgainAddsNothingAndResetCaptionsGetTheirKeyBack) {
  PopupMenu menu("MnApp");
  MenuItem& first = menu.AddItem("MnDesableAutoRunDrive");
  first.caption = "Desable AutoRun Drive";
  menu.AddItem("Close").caption = "Close ";
  menu.Popup({0, 0});
  menu.Popup({0, 0});
  EXPECT_EQ(first.caption, "&Desable AutoRun Drive");
  first.caption = "Enable Autorun Drive";
  menu.Popup({0, 0});
  EXPECT_EQ(first.caption, "&Enable Autorun Drive");
  EXPECT_EQ(menu.Find("Close").caption, "&Close ");
}

}  // namespace
}  // namespace velmora::ui
