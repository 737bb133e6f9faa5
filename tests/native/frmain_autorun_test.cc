// The tray menu's AutoRun item over the registry fake: what the menu offers for each starting
// registry, and what choosing it leaves in both policy keys.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "frmain_fixture.h"
#include "main/frmain.h"

namespace velmora::main {
namespace {

constexpr char kPolicies[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies";
constexpr char kExplorer[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr char kValue[] = "NoDriveAutoRun";
constexpr char kOffers[] = "&Desable AutoRun Drive";  // as the click sees it, hot key included
constexpr char kOffersToEnable[] = "&Enable Autorun Drive";

platform::RegistryValue Dword(std::uint32_t value) {
  platform::RegistryValue stored{platform::ValueType::kDword, {}};
  for (int shift = 0; shift < 32; shift += 8) {
    stored.data.push_back(static_cast<std::uint8_t>(value >> shift));
  }
  return stored;
}

class FrmainAutoRunTest : public FrmainTest {
 protected:
  // A right click on the tray icon, as the shell reports it.
  void RightClickIcon() {
    tray::TrayMessage right_click{shell_.Registered("WM_TOOLTRAYICON"), 0, 517, 0};
    frmain_->Ticon.TrayWndProc(right_click);
  }
  // Chosen from the open menu as the platform does: an error is shown and the loop goes on.
  void ChooseAutoRunItem() {
    app_.Guard([this] { frmain_->MnDesableAutoRunDrive.Click(); });
  }
  std::optional<platform::RegistryValue> Stored(const char* key) {
    return registry_.Value(RootKey::kCurrentUser, key, kValue);
  }
  const ui::MenuItem& item() { return frmain_->MnDesableAutoRunDrive; }
};

// A starting registry, what the menu then offers, and whether one click leaves the value
// written in both keys (or in neither).
struct StartingRegistry {
  const char* label;
  void (*seed)(fakes::FakeRegistryBackend& registry);
  const char* caption;
  int image;
  bool written;
};

std::ostream& operator<<(std::ostream& out, const StartingRegistry& c) { return out << c.label; }

class AutoRunSwitchTest : public FrmainAutoRunTest,
                          public ::testing::WithParamInterface<StartingRegistry> {};

TEST_P(AutoRunSwitchTest, MenuOffersWhatTheValueSaysAndAClickSwitchesBothKeys) {
  GetParam().seed(registry_);
  Start();

  RightClickIcon();
  EXPECT_EQ(frmain_->MnApp.popup_count(), 1);
  EXPECT_EQ(item().caption, GetParam().caption);
  EXPECT_EQ(item().image_index, GetParam().image);
  EXPECT_EQ(registry_.open_key_count(), 0) << "the key is still open while the menu runs";

  ChooseAutoRunItem();
  EXPECT_TRUE(backend_.shown_errors().empty());
  EXPECT_EQ(item().caption, GetParam().caption) << "the click changed the caption";
  for (const char* key : {kPolicies, kExplorer}) {
    SCOPED_TRACE(key);
    if (GetParam().written) {
      EXPECT_EQ(Stored(key), Dword(0x3FFFFFF));
    } else {
      EXPECT_EQ(Stored(key), std::nullopt);
    }
  }
  EXPECT_EQ(registry_.DwordValue(RootKey::kCurrentUser, kExplorer, "NoDriveTypeAutoRun"),
            std::optional<std::uint32_t>(0x91))
      << "a neighbouring policy was touched";

  RightClickIcon();
  EXPECT_EQ(item().caption, GetParam().written ? kOffersToEnable : kOffers);
  EXPECT_EQ(item().image_index, GetParam().written ? 3 : 2);
}

void SeedNeighbour(fakes::FakeRegistryBackend& r) {
  r.SetDword(RootKey::kCurrentUser, kExplorer, "NoDriveTypeAutoRun", 0x91);
}

INSTANTIATE_TEST_SUITE_P(
    StartingRegistries, AutoRunSwitchTest,
    ::testing::Values(
        // The neighbour creates the Explorer key only; "Policies" holds no value.
        StartingRegistry{"key without the value", SeedNeighbour, kOffers, 2, true},
        StartingRegistry{"value with data 0",
                         [](fakes::FakeRegistryBackend& r) {
                           SeedNeighbour(r);
                           r.SetDword(RootKey::kCurrentUser, kPolicies, kValue, 0);
                           r.SetDword(RootKey::kCurrentUser, kExplorer, kValue, 0x3FFFFFF);
                         },
                         kOffersToEnable, 3, false},
        StartingRegistry{"value of another type",
                         [](fakes::FakeRegistryBackend& r) {
                           SeedNeighbour(r);
                           r.SetValue(RootKey::kCurrentUser, kPolicies, kValue,
                                      {platform::ValueType::kString, {'1', 0}});
                         },
                         kOffersToEnable, 3, false},
        // What Windows reads does not decide the menu: the switch follows its own value.
        StartingRegistry{"only the Explorer value",
                         [](fakes::FakeRegistryBackend& r) {
                           SeedNeighbour(r);
                           r.SetDword(RootKey::kCurrentUser, kExplorer, kValue, 4);
                         },
                         kOffers, 2, true}));

TEST_F(FrmainAutoRunTest, WithoutAnyPolicyKeyAClickCreatesBothKeys) {
  Start();
  RightClickIcon();
  EXPECT_EQ(item().caption, kOffers);
  EXPECT_EQ(item().image_index, 2);
  ChooseAutoRunItem();
  EXPECT_EQ(Stored(kPolicies), Dword(0x3FFFFFF));
  EXPECT_EQ(Stored(kExplorer), Dword(0x3FFFFFF));
}

TEST_F(FrmainAutoRunTest, OpeningTheMenuWritesNothing) {
  Start();
  const std::size_t opens_before = registry_.open_calls().size();
  for (int i = 0; i < 3; ++i) RightClickIcon();
  EXPECT_FALSE(registry_.KeyExists(RootKey::kCurrentUser, kPolicies));
  for (std::size_t i = opens_before; i < registry_.open_calls().size(); ++i) {
    EXPECT_FALSE(registry_.open_calls()[i].create) << registry_.open_calls()[i].path;
  }
  EXPECT_EQ(frmain_->MnApp.popup_count(), 3);
}

TEST_F(FrmainAutoRunTest, AnUnopenableKeyCountsAsAbsentAndItsFailedWriteIsShown) {
  registry_.SetUnopenable(RootKey::kCurrentUser, kPolicies);
  Start();
  RightClickIcon();
  EXPECT_EQ(item().caption, kOffers);
  EXPECT_EQ(item().image_index, 2);
  ChooseAutoRunItem();
  EXPECT_EQ(backend_.shown_errors(),
            std::vector<std::string>{"Failed to set data for 'NoDriveAutoRun'"});
  EXPECT_EQ(Stored(kExplorer), std::nullopt) << "the click went on after its error";
}

TEST_F(FrmainAutoRunTest, AFailedDeletionIsSilent) {
  registry_.SetDword(RootKey::kCurrentUser, kPolicies, kValue, 0x3FFFFFF);
  registry_.SetDword(RootKey::kCurrentUser, kExplorer, kValue, 0x3FFFFFF);
  registry_.SetReadOnly(RootKey::kCurrentUser, kPolicies);
  Start();
  RightClickIcon();
  ASSERT_EQ(item().caption, kOffersToEnable);
  ChooseAutoRunItem();
  EXPECT_TRUE(backend_.shown_errors().empty());
  EXPECT_EQ(Stored(kPolicies), Dword(0x3FFFFFF));
  EXPECT_EQ(Stored(kExplorer), std::nullopt);
}

// Only the exact hot-keyed disable caption writes; any other caption deletes.
TEST_F(FrmainAutoRunTest, TheClickDecidesByTheExactCaption) {
  Start();
  for (const char* caption : {"Desable AutoRun Drive", "&desable AutoRun Drive",
                              "&Desable AutoRun Drive ", "&Enable Autorun Drive"}) {
    SCOPED_TRACE(caption);
    registry_.SetDword(RootKey::kCurrentUser, kPolicies, kValue, 1);
    frmain_->MnDesableAutoRunDrive.caption = caption;
    ChooseAutoRunItem();
    EXPECT_EQ(Stored(kPolicies), std::nullopt);
  }
  frmain_->MnDesableAutoRunDrive.caption = kOffers;
  ChooseAutoRunItem();
  EXPECT_EQ(Stored(kPolicies), Dword(0x3FFFFFF));
}

}  // namespace
}  // namespace velmora::main
