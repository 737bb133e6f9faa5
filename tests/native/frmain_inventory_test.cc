// The registry page's start-up list, ActiveX tree and denied list, and the start-up list's
// menu, over the registry fake.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "frmain_fixture.h"
#include "inventory_views.h"
#include "main/frmain.h"
#include "registry/auto_start_inventory.h"

namespace velmora::main {
namespace {

using registry::kActiveSetupPath;
using registry::kMachineRunKeyPath;
using registry::kRunKeyPath;
using testing::kMachine;
using testing::kMachineText;
using testing::kUser;
using testing::kUserText;
using testing::Lines;
using testing::LinesOf;
using testing::Rows;
using testing::RowsOf;

class FrmainInventoryTest : public FrmainTest {
 protected:
  // The entry of that caption listed from that key.
  int Entry(const std::string& caption, const char* key_text) {
    const ui::ListView& list = frmain_->LstPrgsStart;
    for (int i = 0; i < list.item_count(); ++i) {
      if (list.item(i).caption == caption && list.item(i).sub_items.size() == 2 &&
          list.item(i).sub_items[1] == key_text) {
        return i;
      }
    }
    ADD_FAILURE() << "no entry '" << caption << "' from " << key_text;
    return 0;
  }
  void Tick(const std::string& caption, const char* key_text) {
    frmain_->LstPrgsStart.UserSetChecked(Entry(caption, key_text), true);
  }
  // Chosen from the menu as the platform would: an error is shown and the loop goes on.
  void Choose(ui::MenuItem& item) {
    app_.Guard([&item] { item.Click(); });
  }
  std::vector<std::string> Names(RootKey root, const std::string& path) {
    auto key = registry_.OpenKey(root, path, /*create=*/false);
    return key ? key->ValueNames() : std::vector<std::string>{};
  }
};

TEST_F(FrmainInventoryTest, CreationFillsTheStartUpListAndTheActiveXTree) {
  registry_.SetString(kUser, kRunKeyPath, "Updater", "u.exe");
  registry_.SetString(kMachine, kMachineRunKeyPath, "Tray", "t.exe");
  registry_.SetString(kMachine, std::string(kActiveSetupPath) + "\\{C}", "StubPath", "c.exe");
  Start();
  // The autostart value is written after the listing.
  EXPECT_EQ(RowsOf(frmain_->LstPrgsStart),
            (Rows{{"Updater", "u.exe", kUserText}, {"Tray", "t.exe", kMachineText}}));
  EXPECT_EQ(LinesOf(frmain_->TreeActiveX),
            (Lines{"Activex Installed on this computer [4]+", "  {C} [2]+", "    c.exe [3]"}));
  EXPECT_TRUE(backend_.shown_errors().empty());
}

TEST_F(FrmainInventoryTest, ANonTextRunValueAtStartIsShownAndEndsCreationThere) {
  registry_.SetString(kUser, kRunKeyPath, "First", "f.exe");
  registry_.SetDword(kUser, kRunKeyPath, "Bad", 1);
  registry_.SetString(kUser, kRunKeyPath, "Last", "l.exe");
  Start();
  EXPECT_EQ(backend_.shown_errors(), std::vector<std::string>{"Invalid data type for 'Bad'"});
  EXPECT_EQ(RowsOf(frmain_->LstPrgsStart), (Rows{{"First", "f.exe", kUserText}, {"Bad"}}));
  EXPECT_TRUE(frmain_->TreeActiveX.nodes().empty());
  EXPECT_TRUE(frmain_->form().visible());
  EXPECT_TRUE(frmain_->Ticon.Active());
  EXPECT_EQ(Autostart(), std::nullopt) << "the step after the listing is skipped";
}

struct TickedEntry {
  const char* caption;
  const char* key_text;
};
struct DeleteCase {
  const char* label;
  std::vector<TickedEntry> ticks;
  // An in-place edit of the first ticked entry's caption before deleting; empty for none.
  const char* edited_caption;
  std::vector<std::string> user_left;
  std::vector<std::string> machine_left;
};

void PrintTo(const DeleteCase& c, std::ostream* out) { *out << c.label; }

class DeleteSelectedKeyTest : public FrmainInventoryTest,
                              public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteSelectedKeyTest, DeletesEachTickedCaptionFromBothRunKeysThenListsAgain) {
  const DeleteCase& c = GetParam();
  registry_.SetString(kUser, kRunKeyPath, "", "user default");
  registry_.SetString(kUser, kRunKeyPath, "Twin", "user twin");
  registry_.SetString(kUser, kRunKeyPath, "Solo", "solo");
  registry_.SetString(kMachine, kMachineRunKeyPath, "", "machine default");
  registry_.SetString(kMachine, kMachineRunKeyPath, "Twin", "machine twin");
  registry_.SetString(kMachine, kMachineRunKeyPath, "Machine", "m");
  Start();
  for (const TickedEntry& tick : c.ticks) Tick(tick.caption, tick.key_text);
  if (*c.edited_caption != '\0') {
    frmain_->LstPrgsStart.UserEditCaption(Entry(c.ticks[0].caption, c.ticks[0].key_text),
                                          c.edited_caption);
  }
  // Added after the listing: only the new listing at the end shows it.
  registry_.SetString(kUser, kRunKeyPath, "Later", "later.exe");

  Choose(frmain_->MnDelSelkey);

  std::vector<std::string> user_left = c.user_left;
  user_left.push_back("Later");
  EXPECT_EQ(Names(kUser, kRunKeyPath), user_left);
  EXPECT_EQ(Names(kMachine, kMachineRunKeyPath), c.machine_left);
  const ui::ListView& list = frmain_->LstPrgsStart;
  ASSERT_EQ(list.item_count(), static_cast<int>(user_left.size() + c.machine_left.size()));
  EXPECT_EQ(list.item(static_cast<int>(user_left.size()) - 1).caption, "Later");
  for (int i = 0; i < list.item_count(); ++i) EXPECT_FALSE(list.item(i).checked) << i;
  EXPECT_TRUE(backend_.shown_errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Ticks, DeleteSelectedKeyTest,
                         ::testing::Values(DeleteCase{"a name in both keys, ticked once",
                                                      {{"Twin", kMachineText}},
                                                      "",
                                                      {"", "Solo", "Velmora Protection"},
                                                      {"", "Machine"}},
                                           DeleteCase{"the unnamed default value",
                                                      {{"", kUserText}},
                                                      "",
                                                      {"Twin", "Solo", "Velmora Protection"},
                                                      {"Twin", "Machine"}},
                                           DeleteCase{"an edited caption names the value deleted",
                                                      {{"Twin", kUserText}},
                                                      "Machine",
                                                      {"", "Twin", "Solo", "Velmora Protection"},
                                                      {"", "Twin"}},
                                           DeleteCase{
                                               "several ticks",
                                               {{"Solo", kUserText}, {"Machine", kMachineText}},
                                               "",
                                               {"", "Twin", "Velmora Protection"},
                                               {"", "Twin"}},
                                           DeleteCase{"no ticks",
                                                      {},
                                                      "",
                                                      {"", "Twin", "Solo", "Velmora Protection"},
                                                      {"", "Twin", "Machine"}}),
                         [](const ::testing::TestParamInfo<DeleteCase>& case_info) {
                           std::string name;
                           for (const char* p = case_info.param.label; *p != '\0'; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

TEST_F(FrmainInventoryTest, AFailedDeletionIsSilentAndTheListingShowsWhatIsLeft) {
  registry_.SetString(kUser, kRunKeyPath, "Twin", "u");
  registry_.SetString(kMachine, kMachineRunKeyPath, "Twin", "m");
  registry_.SetReadOnly(kMachine, kMachineRunKeyPath);
  Start();
  Tick("Twin", kUserText);
  Choose(frmain_->MnDelSelkey);
  EXPECT_TRUE(backend_.shown_errors().empty());
  EXPECT_EQ(RowsOf(frmain_->LstPrgsStart),
            (Rows{{"Velmora Protection", AutostartCommand(process_.ExecutablePath()), kUserText},
                  {"Twin", "m", kMachineText}}));
}

TEST_F(FrmainInventoryTest, RefreshListsAgainWithNoTicksAndKeepsTheDeniedList) {
  registry_.SetString(kUser, kRunKeyPath, "A", "a.exe");
  registry_.SetString(kMachine, std::string(kActiveSetupPath) + "\\{C}", "StubPath", "c.exe");
  Start();
  Tick("A", kUserText);
  Choose(frmain_->MnDeniedSelectedSoftware);
  registry_.SetString(kMachine, kMachineRunKeyPath, "New", "n.exe");

  Choose(frmain_->MnRefrechAllSoftware);

  EXPECT_EQ(RowsOf(frmain_->LstPrgsStart),
            (Rows{{"A", "a.exe", kUserText},
                  {"Velmora Protection", AutostartCommand(process_.ExecutablePath()), kUserText},
                  {"New", "n.exe", kMachineText}}));
  for (int i = 0; i < frmain_->LstPrgsStart.item_count(); ++i) {
    EXPECT_FALSE(frmain_->LstPrgsStart.item(i).checked) << i;
  }
  EXPECT_EQ(LinesOf(frmain_->TreeActiveX),
            (Lines{"Activex Installed on this computer [4]+", "  {C} [2]+", "    c.exe [3]"}));
  EXPECT_EQ(RowsOf(frmain_->LstDeniedSoft), Rows{{"A"}});
}

TEST_F(FrmainInventoryTest, AnErrorDuringRefreshIsShownAndLeavesWhatWasListedBeforeIt) {
  registry_.SetString(kUser, kRunKeyPath, "A", "a.exe");
  registry_.SetString(kMachine, std::string(kActiveSetupPath) + "\\{C}", "StubPath", "c.exe");
  Start();
  registry_.SetValue(kMachine, kMachineRunKeyPath, "Multi",
                     {platform::ValueType::kMultiString, {'x', 0, 0}});
  Choose(frmain_->MnRefrechAllSoftware);
  EXPECT_EQ(backend_.shown_errors(), std::vector<std::string>{"Invalid data type for 'Multi'"});
  EXPECT_EQ(frmain_->LstPrgsStart.item_count(), 3);
  EXPECT_EQ(RowsOf(frmain_->LstPrgsStart).back(), std::vector<std::string>{"Multi"});
  EXPECT_TRUE(frmain_->TreeActiveX.nodes().empty());
}

TEST_F(FrmainInventoryTest, DeniedSelectedSoftwareListsEachTickedCaptionEveryTime) {
  registry_.SetString(kUser, kRunKeyPath, "One", "1.exe");
  registry_.SetString(kUser, kRunKeyPath, "Two", "2.exe");
  registry_.SetString(kMachine, kMachineRunKeyPath, "One", "m1.exe");
  Start();
  Tick("One", kMachineText);
  Tick("Two", kUserText);
  frmain_->LstPrgsStart.UserEditCaption(Entry("Two", kUserText), "Renamed");
  Choose(frmain_->MnDeniedSelectedSoftware);
  Choose(frmain_->MnDeniedSelectedSoftware);

  EXPECT_EQ(RowsOf(frmain_->LstDeniedSoft), (Rows{{"Renamed"}, {"One"}, {"Renamed"}, {"One"}}));
  for (int i = 0; i < frmain_->LstDeniedSoft.item_count(); ++i) {
    EXPECT_EQ(frmain_->LstDeniedSoft.item(i).image_index, 1) << i;
  }
  // Nothing else changes: the registry, the start-up list and its ticks.
  EXPECT_EQ(Names(kUser, kRunKeyPath),
            (std::vector<std::string>{"One", "Two", "Velmora Protection"}));
  EXPECT_EQ(Names(kMachine, kMachineRunKeyPath), std::vector<std::string>{"One"});
  EXPECT_EQ(frmain_->LstPrgsStart.item_count(), 3);
  EXPECT_TRUE(frmain_->LstPrgsStart.item(Entry("One", kMachineText)).checked);
  EXPECT_FALSE(frmain_->LstPrgsStart.item(Entry("One", kUserText)).checked);
}

TEST_F(FrmainInventoryTest, TheMenuHasItsThreeCommandsInOrder) {
  Start();
  ASSERT_EQ(frmain_->LstPrgsStart.popup_menu(), &frmain_->MnActRegedit);
  ASSERT_EQ(frmain_->MnActRegedit.item_count(), 3);
  EXPECT_EQ(&frmain_->MnActRegedit.item(0), &frmain_->MnDelSelkey);
  EXPECT_EQ(&frmain_->MnActRegedit.item(1), &frmain_->MnDeniedSelectedSoftware);
  EXPECT_EQ(&frmain_->MnActRegedit.item(2), &frmain_->MnRefrechAllSoftware);
}

}  // namespace
}  // namespace velmora::main
