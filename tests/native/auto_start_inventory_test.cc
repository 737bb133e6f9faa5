#include "registry/auto_start_inventory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/fake_registry_backend.h"
#include "inventory_views.h"
#include "registry/registry.h"

namespace velmora::registry {
namespace {

using fakes::FakeRegistryBackend;
using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;
using testing::kMachine;
using testing::kMachineText;
using testing::kUser;
using testing::kUserText;
using testing::kWowText;
using testing::Lines;
using testing::LinesOf;
using testing::Rows;
using testing::RowsOf;

// Where the 32-bit view of the machine's Run key is stored on 64-bit Windows.
constexpr char kWowRunKey[] = "\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRoot[] = "Activex Installed on this computer [4]";

RegistryValue Raw(ValueType type, std::vector<std::uint8_t> data) { return {type, data}; }

// Loads and returns the error text; empty when none was raised.
std::string LoadError(FakeRegistryBackend& registry, ui::ListView& list, ui::TreeView& tree) {
  try {
    LoadAutoStartInventory(registry, list, tree);
  } catch (const RegistryError& error) {
    return error.what();
  }
  return {};
}

class InventoryTest : public ::testing::Test {
 protected:
  void Load() { LoadAutoStartInventory(registry_, list_, tree_); }
  std::string LoadError() { return registry::LoadError(registry_, list_, tree_); }

  void SetStubPath(const std::string& component, const RegistryValue& value) {
    registry_.SetValue(kMachine, std::string(kActiveSetupPath) + "\\" + component, "StubPath",
                       value);
  }
  void SetStubPath(const std::string& component, const std::string& text) {
    registry_.SetString(kMachine, std::string(kActiveSetupPath) + "\\" + component, "StubPath",
                        text);
  }

  FakeRegistryBackend registry_;
  ui::ListView list_{"LstPrgsStart", nullptr};
  ui::TreeView tree_{"TreeActiveX", nullptr};
};

TEST_F(InventoryTest, ListsBothRunKeysInOrderThenTheComponentsWithAStartCommand) {
  registry_.SetString(kUser, kRunKeyPath, "Zeta", "z.exe /quiet");
  registry_.SetString(kUser, kRunKeyPath, "", "default.exe");
  registry_.SetString(kUser, kRunKeyPath, "Both", "user.exe");
  registry_.SetString(kMachine, kMachineRunKeyPath, "Both", "machine.exe");
  SetStubPath("{B}", "b.exe");
  registry_.CreateKey(kMachine, std::string(kActiveSetupPath) + "\\{NoStub}");
  SetStubPath("{Empty}", "");
  SetStubPath("{A}", "rundll32 a.dll");
  list_.AddItem({"kept"});

  Load();

  EXPECT_EQ(RowsOf(list_), (Rows{{"kept"},
                                 {"Zeta", "z.exe /quiet", kUserText},
                                 {"", "default.exe", kUserText},
                                 {"Both", "user.exe", kUserText},
                                 {"Both", "machine.exe", kMachineText}}));
  for (int i = 1; i < list_.item_count(); ++i) EXPECT_FALSE(list_.item(i).checked) << i;
  EXPECT_EQ(LinesOf(tree_), (Lines{std::string(kRoot) + "+", "  {B} [2]+", "    b.exe [3]",
                                   "  {A} [2]+", "    rundll32 a.dll [3]"}));

  // Appending: a second listing adds a second copy of everything, a second root included.
  Load();
  EXPECT_EQ(list_.item_count(), 9);
  EXPECT_EQ(tree_.Children(-1).size(), 2u);
}

TEST_F(InventoryTest, WithoutAnyStartCommandTheRootStaysAloneAndCollapsed) {
  registry_.CreateKey(kMachine, std::string(kActiveSetupPath) + "\\{NoStub}");
  SetStubPath("{Empty}", "");
  SetStubPath("{EmptyBinary}", Raw(ValueType::kBinary, {}));
  Load();
  EXPECT_EQ(LinesOf(tree_), Lines{kRoot});
}

TEST_F(InventoryTest, MissingKeysListNothingAndOnlyTheActiveSetupKeyIsCreated) {
  EXPECT_EQ(LoadError(), "");
  EXPECT_TRUE(RowsOf(list_).empty());
  EXPECT_EQ(LinesOf(tree_), Lines{kRoot});
  EXPECT_FALSE(registry_.KeyExists(kUser, kRunKeyPath));
  EXPECT_FALSE(registry_.KeyExists(kMachine, kMachineRunKeyPath));
  EXPECT_TRUE(registry_.KeyExists(kMachine, kActiveSetupPath));
  EXPECT_EQ(registry_.open_key_count(), 0);
}

TEST_F(InventoryTest, AKeyThatCannotBeOpenedIsSkippedSilently) {
  registry_.SetString(kUser, kRunKeyPath, "Hidden", "h.exe");
  registry_.SetString(kMachine, kMachineRunKeyPath, "Shown", "s.exe");
  registry_.SetUnopenable(kUser, kRunKeyPath);
  SetStubPath("{A}", "a.exe");
  registry_.SetUnopenable(kMachine, std::string(kActiveSetupPath) + "\\{A}");
  EXPECT_EQ(LoadError(), "");
  EXPECT_EQ(RowsOf(list_), (Rows{{"Shown", "s.exe", kMachineText}}));
  EXPECT_EQ(LinesOf(tree_), Lines{kRoot});
}

// Every kind of data a Run value or a start command can hold: text is read up to its first
// NUL and left unexpanded, empty data of any type is the empty text, anything else stops the
// listing right at that value.
TEST_F(InventoryTest, ValueTypesReadAsTextOrStopTheListingAtThatValue) {
  struct Case {
    const char* label;
    RegistryValue value;
    const char* text;  // nullptr: the listing stops with an error
  };
  const Case cases[] = {
      {"string without NUL", Raw(ValueType::kString, {'a', 'b', 'c'}), "abc"},
      {"embedded NUL", Raw(ValueType::kString, {'a', 0, 'b', 0}), "a"},
      {"empty string", Raw(ValueType::kString, {}), ""},
      {"expandable", Raw(ValueType::kExpandString, {'%', 'T', '%', '\\', 'x', 0}), "%T%\\x"},
      {"multi-string", Raw(ValueType::kMultiString, {'a', 0, 'b', 0, 0}), nullptr},
      {"dword", Raw(ValueType::kDword, {1, 0, 0, 0}), nullptr},
      {"qword", Raw(ValueType::kQword, {1, 0, 0, 0, 0, 0, 0, 0}), nullptr},
      {"binary", Raw(ValueType::kBinary, {0xA5}), nullptr},
      {"empty binary", Raw(ValueType::kBinary, {}), ""},
      {"none, empty", Raw(ValueType::kNone, {}), ""},
      {"none, with data", Raw(ValueType::kNone, {7}), nullptr},
      {"other type", Raw(ValueType::kOther, {0, 0, 0, 1}), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    {
      SCOPED_TRACE("in a Run key");
      FakeRegistryBackend registry;
      registry.SetString(kUser, kRunKeyPath, "Before", "b.exe");
      registry.SetValue(kUser, kRunKeyPath, "Odd", c.value);
      registry.SetString(kUser, kRunKeyPath, "After", "a.exe");
      registry.SetString(kMachine, kMachineRunKeyPath, "Machine", "m.exe");
      registry.SetString(kMachine, std::string(kActiveSetupPath) + "\\{C}", "StubPath", "c.exe");
      ui::ListView list("LstPrgsStart", nullptr);
      ui::TreeView tree("TreeActiveX", nullptr);
      const std::string error = registry::LoadError(registry, list, tree);
      if (c.text != nullptr) {
        EXPECT_EQ(error, "");
        EXPECT_EQ(RowsOf(list), (Rows{{"Before", "b.exe", kUserText},
                                      {"Odd", c.text, kUserText},
                                      {"After", "a.exe", kUserText},
                                      {"Machine", "m.exe", kMachineText}}));
        EXPECT_EQ(LinesOf(tree).size(), 3u);
      } else {
        EXPECT_EQ(error, "Invalid data type for 'Odd'");
        EXPECT_EQ(RowsOf(list), (Rows{{"Before", "b.exe", kUserText}, {"Odd"}}));
        EXPECT_TRUE(tree.nodes().empty());
      }
      EXPECT_EQ(registry.open_key_count(), 0);
    }
    {
      SCOPED_TRACE("as a start command");
      FakeRegistryBackend registry;
      registry.SetString(kMachine, std::string(kActiveSetupPath) + "\\{1}", "StubPath", "1.exe");
      registry.SetValue(kMachine, std::string(kActiveSetupPath) + "\\{2}", "StubPath", c.value);
      registry.SetString(kMachine, std::string(kActiveSetupPath) + "\\{3}", "StubPath", "3.exe");
      ui::ListView list("LstPrgsStart", nullptr);
      ui::TreeView tree("TreeActiveX", nullptr);
      const std::string error = registry::LoadError(registry, list, tree);
      if (c.text == nullptr) {
        EXPECT_EQ(error, "Invalid data type for 'StubPath'");
        EXPECT_EQ(LinesOf(tree), (Lines{kRoot, "  {1} [2]", "    1.exe [3]"}));
      } else if (*c.text == '\0') {
        EXPECT_EQ(LinesOf(tree), (Lines{std::string(kRoot) + "+", "  {1} [2]+", "    1.exe [3]",
                                        "  {3} [2]+", "    3.exe [3]"}));
      } else {
        EXPECT_EQ(LinesOf(tree),
                  (Lines{std::string(kRoot) + "+", "  {1} [2]+", "    1.exe [3]", "  {2} [2]+",
                         "    " + std::string(c.text) + " [3]", "  {3} [2]+", "    3.exe [3]"}));
      }
      EXPECT_EQ(registry.open_key_count(), 0);
    }
  }
}

TEST_F(InventoryTest, AValueGoneBetweenListingAndReadingIsEmpty) {
  registry_.SetString(kUser, kRunKeyPath, "Gone", "g.exe");
  registry_.SetString(kUser, kRunKeyPath, "Stays", "s.exe");
  registry_.SetAfterListing([this] {
    registry_.RemoveValue(kUser, kRunKeyPath, "Gone");
    registry_.RemoveValue(kMachine, std::string(kActiveSetupPath) + "\\{A}", "StubPath");
  });
  SetStubPath("{A}", "a.exe");
  EXPECT_EQ(LoadError(), "");
  EXPECT_EQ(RowsOf(list_), (Rows{{"Gone", "", kUserText}, {"Stays", "s.exe", kUserText}}));
  EXPECT_EQ(LinesOf(tree_), Lines{kRoot});
}

// On 64-bit Windows the machine's Run key has a 32-bit view too, and both builds list it
// after the 64-bit one; the current user's key is one key in either view.
TEST(InventoryViewTest, EverySystemListsEachViewOfTheMachinesRunKeyOnce) {
  using System = FakeRegistryBackend::System;
  struct Case {
    const char* label;
    System system;
    Rows rows;
  };
  const Case cases[] = {
      {"32-bit Windows",
       System::k32BitWindows,
       {{"User", "u.exe", kUserText}, {"Native", "n.exe", kMachineText}}},
      {"64-bit program",
       System::k64BitProgram,
       {{"User", "u.exe", kUserText},
        {"Native", "n.exe", kMachineText},
        {"Wow", "w.exe", kWowText}}},
      {"32-bit program on 64-bit Windows",
       System::k32BitProgramOn64BitWindows,
       {{"User", "u.exe", kUserText},
        {"Native", "n.exe", kMachineText},
        {"Wow", "w.exe", kWowText}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FakeRegistryBackend registry;
    registry.SetSystem(c.system);
    registry.SetString(kUser, kRunKeyPath, "User", "u.exe");
    registry.SetString(kMachine, kMachineRunKeyPath, "Native", "n.exe");
    registry.SetString(kMachine, kWowRunKey, "Wow", "w.exe");
    ui::ListView list("LstPrgsStart", nullptr);
    ui::TreeView tree("TreeActiveX", nullptr);
    LoadAutoStartInventory(registry, list, tree);
    EXPECT_EQ(RowsOf(list), c.rows);
  }
}

TEST(InventoryViewTest, DeletingANameRemovesItFromEveryListedKey) {
  using System = FakeRegistryBackend::System;
  for (System system :
       {System::k32BitWindows, System::k64BitProgram, System::k32BitProgramOn64BitWindows}) {
    SCOPED_TRACE(static_cast<int>(system));
    FakeRegistryBackend registry;
    registry.SetSystem(system);
    for (RootKey root : {kUser, kMachine}) {
      registry.SetString(root, kRunKeyPath, "Twin", "t.exe");
      registry.SetString(root, kRunKeyPath, "Other", "o.exe");
    }
    registry.SetString(kMachine, kWowRunKey, "twin", "t32.exe");
    DeleteAutoStartValue(registry, "TWIN");
    EXPECT_FALSE(registry.Value(kUser, kRunKeyPath, "Twin"));
    EXPECT_FALSE(registry.Value(kMachine, kRunKeyPath, "Twin"));
    // On 32-bit Windows that key is an ordinary one that nothing starts from.
    EXPECT_EQ(registry.Value(kMachine, kWowRunKey, "Twin").has_value(),
              system == System::k32BitWindows);
    EXPECT_TRUE(registry.Value(kUser, kRunKeyPath, "Other"));
    EXPECT_TRUE(registry.Value(kMachine, kRunKeyPath, "Other"));
    EXPECT_EQ(registry.open_key_count(), 0);
  }
}

}  // namespace
}  // namespace velmora::registry
