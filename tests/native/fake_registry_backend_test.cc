#include "fakes/fake_registry_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::fakes {
namespace {

using platform::RegistryKey;
using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;
using ::testing::ElementsAre;

constexpr RootKey kUser = RootKey::kCurrentUser;
constexpr RootKey kMachine = RootKey::kLocalMachine;

// The fake stands in for the real registry in every test of the program's registry code, so
// the ways a path can be spelt must all reach the key the real registry would.
TEST(FakeRegistryPathTest, SpellingsOfOnePathReachTheSameKey) {
  FakeRegistryBackend registry;
  registry.SetDword(kUser, "\\Software\\Velmora", "Seen", 7);
  for (const std::string path :
       {"\\Software\\Velmora", "\\Software\\Velmora\\", "Software\\Velmora", "\\SOFTWARE\\velmora",
        "\\\\Software\\\\Velmora\\\\"}) {
    SCOPED_TRACE(path);
    std::unique_ptr<RegistryKey> key = registry.OpenKey(kUser, path, /*create=*/false);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->HasValue("seen"));
  }
}

TEST(FakeRegistryPathTest, BackslashAloneIsTheRootAndHivesAreSeparate) {
  FakeRegistryBackend registry;
  registry.CreateKey(kMachine, "\\Software\\Policies");
  registry.CreateKey(kMachine, "\\System");

  auto root = registry.OpenKey(kMachine, "\\", /*create=*/false);
  ASSERT_NE(root, nullptr);
  EXPECT_THAT(root->SubkeyNames(), ElementsAre("Software", "System"));
  EXPECT_FALSE(registry.KeyExists(kUser, "\\Software"));
  EXPECT_EQ(registry.OpenKey(kUser, "\\Software\\Policies", /*create=*/false), nullptr);
}

TEST(FakeRegistryPathTest, CreateMakesMissingParentsAndKeepsTheirSpelling) {
  FakeRegistryBackend registry;
  registry.CreateKey(kUser, "\\Software");
  EXPECT_NE(registry.OpenKey(kUser, "\\software\\Velmora\\Options\\", /*create=*/true), nullptr);

  EXPECT_TRUE(registry.KeyExists(kUser, "\\Software\\Velmora\\Options"));
  auto software = registry.OpenKey(kUser, "\\Software", /*create=*/false);
  ASSERT_NE(software, nullptr);
  EXPECT_THAT(software->SubkeyNames(), ElementsAre("Velmora"));
  auto root = registry.OpenKey(kUser, "\\", /*create=*/false);
  EXPECT_THAT(root->SubkeyNames(), ElementsAre("Software"));
}

TEST(FakeRegistryValueTest, NamesMatchWithoutCaseAndListInInsertionOrder) {
  FakeRegistryBackend registry;
  auto key = registry.OpenKey(kUser, "\\Software\\Velmora", /*create=*/true);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->WriteString("Zeta", "z"));
  EXPECT_TRUE(key->WriteDword("", 1));
  EXPECT_TRUE(key->WriteString("Alpha", "a"));
  // Overwriting through another spelling keeps the first spelling and position.
  EXPECT_TRUE(key->WriteString("ZETA", "zz"));
  EXPECT_THAT(key->ValueNames(), ElementsAre("Zeta", "", "Alpha"));
  EXPECT_EQ(registry.StringValue(kUser, "\\Software\\Velmora", "zeta"), "zz");

  // Only A-Z fold: other bytes of an ANSI name must match exactly.
  EXPECT_TRUE(key->WriteString("\xC9t\xE9", "upper"));
  EXPECT_FALSE(key->HasValue("\xE9t\xE9"));

  EXPECT_TRUE(key->DeleteValue("alpha"));
  EXPECT_FALSE(key->DeleteValue("alpha"));
  EXPECT_TRUE(key->WriteString("Alpha", "again"));
  EXPECT_THAT(key->ValueNames(), ElementsAre("Zeta", "", "\xC9t\xE9", "Alpha"));
}

TEST(FakeRegistryValueTest, WritesStoreWhatTheRealRegistryStores) {
  FakeRegistryBackend registry;
  auto key = registry.OpenKey(kUser, "\\V", /*create=*/true);
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->WriteString("Text", "ab"));
  ASSERT_TRUE(key->WriteDword("Number", 0x11223344));

  EXPECT_EQ(key->ReadValue("text"), (RegistryValue{ValueType::kString, {'a', 'b', 0}}));
  EXPECT_EQ(key->ReadValue("number"), (RegistryValue{ValueType::kDword, {0x44, 0x33, 0x22, 0x11}}));
  EXPECT_EQ(registry.DwordValue(kUser, "\\V", "Number"), 0x11223344u);
  EXPECT_EQ(key->ReadValue("Missing"), std::nullopt);

  // Seeded data comes back byte for byte, however odd.
  const RegistryValue odd{ValueType::kString, {'x', 0, 'y'}};
  registry.SetValue(kUser, "\\V", "Odd", odd);
  EXPECT_EQ(key->ReadValue("Odd"), odd);
  EXPECT_EQ(registry.StringValue(kUser, "\\V", "Odd"), "x");
  EXPECT_EQ(registry.DwordValue(kUser, "\\V", "Odd"), std::nullopt);
}

TEST(FakeRegistryKnobTest, UnopenableKeyFailsEvenWithCreateAndCreatesNothing) {
  FakeRegistryBackend registry;
  registry.SetUnopenable(kUser, "\\Software\\Velmora\\");
  EXPECT_EQ(registry.OpenKey(kUser, "\\software\\velmora", /*create=*/true), nullptr);
  EXPECT_FALSE(registry.KeyExists(kUser, "\\Software\\Velmora"));
  // Neighbours and children are not covered.
  EXPECT_NE(registry.OpenKey(kUser, "\\Software\\Velmora\\Child", /*create=*/true), nullptr);

  registry.SetUnopenable(kUser, "\\Software\\Velmora", false);
  EXPECT_NE(registry.OpenKey(kUser, "\\Software\\Velmora", /*create=*/false), nullptr);
}

TEST(FakeRegistryKnobTest, ReadOnlyKeyRefusesWritesAndDeletesOfOpenKeys) {
  FakeRegistryBackend registry;
  registry.SetDword(kUser, "\\Software\\Velmora", "Kept", 1);
  auto key = registry.OpenKey(kUser, "\\Software\\Velmora", /*create=*/false);
  ASSERT_NE(key, nullptr);
  registry.SetReadOnly(kUser, "\\SOFTWARE\\Velmora");

  EXPECT_FALSE(key->WriteString("New", "x"));
  EXPECT_FALSE(key->WriteDword("Kept", 2));
  EXPECT_FALSE(key->DeleteValue("Kept"));
  EXPECT_THAT(key->ValueNames(), ElementsAre("Kept"));
  EXPECT_EQ(registry.DwordValue(kUser, "\\Software\\Velmora", "Kept"), 1u);
}

// Which stored key each way of opening reaches: only the machine's software key has a second
// view, only on 64-bit Windows, and OpenKey takes the running program's.
TEST(FakeRegistryViewTest, OnlyTheMachinesSoftwareKeyHasA32BitViewOn64BitWindows) {
  using System = FakeRegistryBackend::System;
  using platform::RegistryView;
  struct Case {
    System system;
    RootKey root;
    const char* path;
    std::optional<RegistryView> view;  // none: OpenKey
    const char* stored;
  };
  const Case cases[] = {
      {System::k64BitProgram, kMachine, "\\Software\\V", RegistryView::k32Bit,
       "\\Software\\Wow6432Node\\V"},
      {System::k64BitProgram, kMachine, "\\SOFTWARE\\V", RegistryView::k64Bit, "\\Software\\V"},
      {System::k64BitProgram, kMachine, "\\Software\\V", std::nullopt, "\\Software\\V"},
      {System::k32BitProgramOn64BitWindows, kMachine, "\\Software\\V", std::nullopt,
       "\\Software\\Wow6432Node\\V"},
      {System::k64BitProgram, kMachine, "\\Software\\Wow6432Node\\V", RegistryView::k32Bit,
       "\\Software\\Wow6432Node\\V"},
      {System::k64BitProgram, kMachine, "\\System\\V", RegistryView::k32Bit, "\\System\\V"},
      {System::k64BitProgram, kUser, "\\Software\\V", RegistryView::k32Bit, "\\Software\\V"},
      {System::k32BitWindows, kMachine, "\\Software\\V", RegistryView::k32Bit, "\\Software\\V"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " as system " + std::to_string(static_cast<int>(c.system)));
    FakeRegistryBackend registry;
    registry.SetSystem(c.system);
    EXPECT_EQ(registry.Is64BitWindows(), c.system != System::k32BitWindows);
    auto key = c.view ? registry.OpenKeyInView(c.root, c.path, /*create=*/true, *c.view)
                      : registry.OpenKey(c.root, c.path, /*create=*/true);
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->WriteDword("Here", 1));
    EXPECT_EQ(registry.DwordValue(c.root, c.stored, "Here"), 1u);
  }
}

TEST(FakeRegistryBookkeepingTest, RecordsOpensAndCountsKeysUntilDestroyed) {
  FakeRegistryBackend registry;
  registry.CreateKey(kUser, "\\A");
  {
    auto a = registry.OpenKey(kUser, "\\A", /*create=*/false);
    auto missing = registry.OpenKey(kMachine, "\\B\\", /*create=*/false);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(registry.open_key_count(), 1);
  }
  EXPECT_EQ(registry.open_key_count(), 0);
  ASSERT_EQ(registry.open_calls().size(), 2u);
  EXPECT_EQ(registry.open_calls()[1].root, kMachine);
  EXPECT_EQ(registry.open_calls()[1].path, "\\B\\");
  EXPECT_FALSE(registry.open_calls()[1].create);
}

}  // namespace
}  // namespace velmora::fakes
