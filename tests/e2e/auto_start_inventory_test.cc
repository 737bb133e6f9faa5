// The registry page's start-up list, ActiveX tree and denied list in the real guard, over Run
// values and Active Setup components that each test puts into its prefix's registry and takes
// out again.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "guard_test_fixture.h"
#include "probe.h"

namespace velmora::probe {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kActiveSetup[] = "SOFTWARE\\Microsoft\\Active Setup\\Installed Components";
constexpr char kUserText[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kMachineText[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kWowText[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
// Every name a test seeds starts with this, so the rows of other programs can be told apart.
constexpr char kPrefix[] = "VelmoraE2E ";

using Rows = std::vector<std::vector<std::string>>;

// One Run key as the test process reaches it. The current user's key is shared by both views.
struct Key {
  HKEY hive;
  const char* path;
  REGSAM view;
};
const Key kUser{HKEY_CURRENT_USER, kRunKey, 0};
const Key kMachine{HKEY_LOCAL_MACHINE, kRunKey, KEY_WOW64_64KEY};
const Key kMachine32{HKEY_LOCAL_MACHINE, kRunKey, KEY_WOW64_32KEY};

bool ValueExists(const Key& key, const std::string& name) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(key.hive, key.path, 0, KEY_QUERY_VALUE | key.view, &opened) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool found =
      ::RegQueryValueExA(opened, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  ::RegCloseKey(opened);
  return found;
}

// A value put into the registry for one test and deleted again at its end, whatever the
// guard did with it meanwhile. Keys it had to create stay: they are the system's own.
class SeededValue {
 public:
  SeededValue(const Key& key, std::string name, DWORD type, const std::string& data)
      : key_(key), name_(std::move(name)) {
    HKEY opened = nullptr;
    if (::RegCreateKeyExA(key.hive, key.path, 0, nullptr, 0, KEY_SET_VALUE | key.view, nullptr,
                          &opened, nullptr) != ERROR_SUCCESS) {
      return;
    }
    ok_ =
        ::RegSetValueExA(opened, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                         static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    ::RegCloseKey(opened);
  }
  static SeededValue Text(const Key& key, const std::string& name, const std::string& text) {
    return SeededValue(key, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
  }
  ~SeededValue() {
    if (!ok_) return;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(key_.hive, key_.path, 0, KEY_SET_VALUE | key_.view, &opened) ==
        ERROR_SUCCESS) {
      ::RegDeleteValueA(opened, name_.c_str());
      ::RegCloseKey(opened);
    }
  }
  SeededValue(SeededValue&& other) noexcept
      : key_(other.key_), name_(std::move(other.name_)), ok_(std::exchange(other.ok_, false)) {}
  SeededValue(const SeededValue&) = delete;
  SeededValue& operator=(const SeededValue&) = delete;
  SeededValue& operator=(SeededValue&&) = delete;

  bool ok() const { return ok_; }

 private:
  Key key_;
  std::string name_;
  bool ok_ = false;
};

// An Active Setup component of the program's own view, removed with its values afterwards.
class SeededComponent {
 public:
  SeededComponent(const std::string& name, const std::string& stub_path)
      : path_(std::string(kActiveSetup) + "\\" + name) {
    HKEY opened = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &opened, nullptr) != ERROR_SUCCESS) {
      return;
    }
    ok_ = ::RegSetValueExA(opened, "StubPath", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(stub_path.c_str()),
                           static_cast<DWORD>(stub_path.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(opened);
  }
  ~SeededComponent() { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str()); }
  SeededComponent(const SeededComponent&) = delete;
  SeededComponent& operator=(const SeededComponent&) = delete;

  bool ok() const { return ok_; }

 private:
  std::string path_;
  bool ok_ = false;
};

// The rows of the seeded names only, in the list's order.
Rows SeededRows(const Rows& rows) {
  Rows seeded;
  for (const auto& row : rows) {
    if (!row.empty() && row[0].rfind(kPrefix, 0) == 0) seeded.push_back(row);
  }
  return seeded;
}

// The guard is started by each test once it has seeded the registry.
class AutoStartInventoryTest : public GuardTest {
 protected:
  void SetUp() override {}

  void StartWithList() {
    ASSERT_NO_FATAL_FAILURE(StartGuard());
    list_ = WaitForControl(window_, "LstPrgsStart");
    ASSERT_NE(list_, nullptr) << LastError();
  }

  Rows ListRows(HWND list) {
    const auto rows = ListViewRows(list);
    EXPECT_TRUE(rows.has_value()) << LastError();
    return rows.value_or(Rows{});
  }

  // The index of the row listing `name` from the key shown as `key_text`; -1 if none.
  int RowOf(const std::string& name, const char* key_text) {
    const Rows rows = ListRows(list_);
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].size() == 3 && rows[i][0] == name && rows[i][2] == key_text) {
        return static_cast<int>(i);
      }
    }
    ADD_FAILURE() << "no row '" << name << "' from " << key_text;
    return -1;
  }

  void Tick(const std::string& name, const char* key_text) {
    const int row = RowOf(name, key_text);
    ASSERT_GE(row, 0);
    ASSERT_TRUE(ClickListViewCheckBox(list_, row)) << LastError();
    ASSERT_EQ(ListViewItemChecked(list_, row), true) << name;
  }

  // Opens the list's menu by a right click and chooses the item at `index`.
  void ChooseFromMenu(int index) {
    ASSERT_TRUE(Post(list_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 300)));
    ASSERT_TRUE(Post(list_, WM_RBUTTONUP, 0, MAKELPARAM(300, 300)));
    HWND popup = WaitForPopupMenu(guard_.pid());
    ASSERT_NE(popup, nullptr) << LastError();
    ASSERT_TRUE(ChoosePopupMenuItem(popup, index)) << LastError();
  }

  HWND list_ = nullptr;
};

TEST_F(AutoStartInventoryTest, ListsBothViewsOfTheRunKeysAndTheComponentsWithAStartCommand) {
  std::vector<SeededValue> values;
  values.push_back(SeededValue::Text(kUser, "VelmoraE2E User", "C:\\user.exe /min"));
  values.push_back(SeededValue::Text(kMachine, "VelmoraE2E Native", "C:\\native.exe"));
  values.push_back(SeededValue(kMachine32, "VelmoraE2E Wow", REG_EXPAND_SZ,
                               std::string("%ProgramFiles%\\wow.exe\0", 23)));
  for (const SeededValue& value : values) ASSERT_TRUE(value.ok());
  SeededComponent component("{VelmoraE2E-Component}", "C:\\stub.exe /install");
  ASSERT_TRUE(component.ok());

  ASSERT_NO_FATAL_FAILURE(StartWithList());

  EXPECT_EQ(SeededRows(ListRows(list_)),
            (Rows{{"VelmoraE2E User", "C:\\user.exe /min", kUserText},
                  {"VelmoraE2E Native", "C:\\native.exe", kMachineText},
                  {"VelmoraE2E Wow", "%ProgramFiles%\\wow.exe", kWowText}}));
  const auto count = ListViewItemCount(list_);
  ASSERT_TRUE(count.has_value());
  for (int i = 0; i < *count; ++i) EXPECT_EQ(ListViewItemChecked(list_, i), false) << i;

  HWND tree = WaitForControl(window_, "TreeActiveX");
  ASSERT_NE(tree, nullptr) << LastError();
  const auto nodes = TreeViewNodes(tree);
  ASSERT_TRUE(nodes.has_value()) << LastError();
  ASSERT_FALSE(nodes->empty());
  const TreeViewNode& root = nodes->front();
  EXPECT_EQ(root.text, "Activex Installed on this computer");
  EXPECT_EQ(root.depth, 0);
  EXPECT_EQ(root.image, 4);
  EXPECT_EQ(root.selected_image, 4);
  EXPECT_TRUE(root.expanded);
  const auto seeded = std::find_if(nodes->begin(), nodes->end(), [](const TreeViewNode& node) {
    return node.text == "{VelmoraE2E-Component}";
  });
  ASSERT_NE(seeded, nodes->end());
  EXPECT_EQ(seeded->depth, 1);
  EXPECT_EQ(seeded->image, 2);
  EXPECT_TRUE(seeded->expanded);
  ASSERT_NE(seeded + 1, nodes->end());
  EXPECT_EQ(seeded[1].text, "C:\\stub.exe /install");
  EXPECT_EQ(seeded[1].depth, 2);
  EXPECT_EQ(seeded[1].image, 3);
  EXPECT_EQ(std::count_if(nodes->begin(), nodes->end(),
                          [](const TreeViewNode& node) { return node.depth == 0; }),
            1);
}

TEST_F(AutoStartInventoryTest, DeleteSelectedKeyDeletesTheTickedAndEditedNamesEverywhere) {
  std::vector<SeededValue> values;
  for (const Key* key : {&kUser, &kMachine, &kMachine32}) {
    values.push_back(SeededValue::Text(*key, "VelmoraE2E Twin", "twin.exe"));
  }
  values.push_back(SeededValue::Text(kUser, "VelmoraE2E Keep", "keep.exe"));
  values.push_back(SeededValue::Text(kUser, "VelmoraE2E Old", "old.exe"));
  values.push_back(SeededValue::Text(kMachine, "VelmoraE2E Target", "target.exe"));
  for (const SeededValue& value : values) ASSERT_TRUE(value.ok());
  ASSERT_NO_FATAL_FAILURE(StartWithList());
  ASSERT_TRUE(ShowPage(window_, 2)) << LastError();
  ASSERT_TRUE(ShowRegistryTab(window_, 0, "LstPrgsStart")) << LastError();

  // The 32-bit view's entry stands for the name wherever it is.
  Tick("VelmoraE2E Twin", kWowText);
  // A caption edited in place names the value deleted.
  const int old_row = RowOf("VelmoraE2E Old", kUserText);
  ASSERT_GE(old_row, 0);
  ASSERT_TRUE(EditListViewCaption(list_, old_row, "VelmoraE2E Target")) << LastError();
  EXPECT_EQ(ListViewItemText(list_, old_row).value_or("?"), "VelmoraE2E Target");
  ASSERT_TRUE(ClickListViewCheckBox(list_, old_row)) << LastError();

  ChooseFromMenu(0);  // "Delete Selected Key"

  // The command runs once the menu has closed, and ends by listing the keys again: the edit
  // is gone with the old listing, and so are the ticks.
  EXPECT_TRUE(WaitUntil([this] {
    return SeededRows(ListRows(list_)) == Rows{{"VelmoraE2E Keep", "keep.exe", kUserText},
                                               {"VelmoraE2E Old", "old.exe", kUserText}};
  })) << "the list was not refreshed";
  for (const Key* key : {&kUser, &kMachine, &kMachine32}) {
    EXPECT_FALSE(ValueExists(*key, "VelmoraE2E Twin")) << key->view;
  }
  EXPECT_FALSE(ValueExists(kMachine, "VelmoraE2E Target"));
  EXPECT_TRUE(ValueExists(kUser, "VelmoraE2E Old"));
  EXPECT_TRUE(ValueExists(kUser, "VelmoraE2E Keep"));
  const auto count = ListViewItemCount(list_);
  ASSERT_TRUE(count.has_value());
  for (int i = 0; i < *count; ++i) EXPECT_EQ(ListViewItemChecked(list_, i), false) << i;
}

// A right click ends an edit still open, and the menu's command sees the caption it left.
TEST_F(AutoStartInventoryTest, AnEditStillOpenWhenTheMenuOpensNamesTheValueDeleted) {
  std::vector<SeededValue> values;
  values.push_back(SeededValue::Text(kUser, "VelmoraE2E Old", "old.exe"));
  values.push_back(SeededValue::Text(kMachine32, "VelmoraE2E Target", "target.exe"));
  for (const SeededValue& value : values) ASSERT_TRUE(value.ok());
  ASSERT_NO_FATAL_FAILURE(StartWithList());
  ASSERT_TRUE(ShowPage(window_, 2)) << LastError();
  ASSERT_TRUE(ShowRegistryTab(window_, 0, "LstPrgsStart")) << LastError();
  Tick("VelmoraE2E Old", kUserText);
  const int row = RowOf("VelmoraE2E Old", kUserText);
  ASSERT_NE(StartListViewCaptionEdit(list_, row, "VelmoraE2E Target"), nullptr) << LastError();

  ChooseFromMenu(0);  // "Delete Selected Key"

  EXPECT_TRUE(WaitUntil([] { return !ValueExists(kMachine32, "VelmoraE2E Target"); }));
  EXPECT_TRUE(ValueExists(kUser, "VelmoraE2E Old"));
}

TEST_F(AutoStartInventoryTest, DeniedSoftwareListsTheTickedNamesAndScreenshotsShowTheTabs) {
  std::vector<SeededValue> values;
  values.push_back(SeededValue::Text(kUser, "VelmoraE2E Alpha", "alpha.exe"));
  values.push_back(SeededValue::Text(kMachine32, "VelmoraE2E Beta", "beta.exe"));
  values.push_back(SeededValue::Text(kMachine, "VelmoraE2E Gamma", "gamma.exe"));
  for (const SeededValue& value : values) ASSERT_TRUE(value.ok());
  SeededComponent component("{VelmoraE2E-Shown}", "C:\\Windows\\shown.exe /setup");
  ASSERT_TRUE(component.ok());
  ASSERT_NO_FATAL_FAILURE(StartWithList());
  // The splash covers the window for its first seconds.
  HWND splash = guard_.WaitForWindow({"TFrmSplashScreen", ""});
  ASSERT_NE(splash, nullptr) << LastError();
  ASSERT_TRUE(WaitUntil([splash] { return IsShown(splash); }));
  ASSERT_TRUE(WaitUntil([splash] { return !IsShown(splash); }, Duration{12000}));
  ASSERT_TRUE(ShowPage(window_, 2)) << LastError();
  ASSERT_TRUE(ShowRegistryTab(window_, 0, "LstPrgsStart")) << LastError();

  Tick("VelmoraE2E Alpha", kUserText);
  Tick("VelmoraE2E Beta", kWowText);
  ChooseFromMenu(1);  // "Denied Selected Software"
  ChooseFromMenu(1);

  HWND denied = WaitForControl(window_, "LstDeniedSoft");
  ASSERT_NE(denied, nullptr) << LastError();
  // Each command runs once its menu has closed.
  EXPECT_TRUE(WaitUntil([&] { return ListViewItemCount(denied).value_or(0) >= 4; }));
  const Rows rows = SeededRows(ListRows(denied));
  EXPECT_EQ(
      rows,
      (Rows{{"VelmoraE2E Alpha"}, {"VelmoraE2E Beta"}, {"VelmoraE2E Alpha"}, {"VelmoraE2E Beta"}}));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    EXPECT_EQ(ListViewItemImage(denied, i), 1) << i;
  }
  // The registry and the ticks are as they were.
  EXPECT_TRUE(ValueExists(kUser, "VelmoraE2E Alpha"));
  EXPECT_TRUE(ValueExists(kMachine32, "VelmoraE2E Beta"));
  EXPECT_EQ(ListViewItemChecked(list_, RowOf("VelmoraE2E Alpha", kUserText)), true);
  EXPECT_EQ(ListViewItemChecked(list_, RowOf("VelmoraE2E Gamma", kMachineText)), false);

  // Wine waits two seconds for a window manager before it repaints what the splash uncovered.
  ::Sleep(2500);
  const char* const tabs[] = {"LstPrgsStart", "TreeActiveX", "LstDeniedSoft"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(ShowRegistryTab(window_, i, tabs[i])) << LastError();
    ::Sleep(300);
    EXPECT_TRUE(SaveScreenshot(window_, "inventory_tab" + std::to_string(i + 1)).has_value())
        << LastError();
  }
}

TEST_F(AutoStartInventoryTest, ANonTextRunValueAtStartIsShownAndTheWindowStillComesUp) {
  SeededValue bad(kUser, "VelmoraE2E Bad", REG_DWORD, std::string("\x01\0\0\0", 4));
  ASSERT_TRUE(bad.ok());
  const std::string exe = GetEnv("VELMORA_EXE");
  ASSERT_TRUE(guard_.Start(exe)) << LastError();
  HWND box = guard_.WaitForWindow({"#32770", ""});
  ASSERT_NE(box, nullptr) << LastError();
  std::string texts;
  EXPECT_TRUE(WaitForMessageBoxText(box, "Invalid data type for 'VelmoraE2E Bad'", texts))
      << "the message box says " << texts;
  ASSERT_TRUE(Post(box, WM_COMMAND, IDOK));
  window_ = guard_.WaitForWindow({"TFrmain", ""});
  ASSERT_NE(window_, nullptr) << LastError();
  EXPECT_TRUE(WaitUntil([this] { return IsShown(window_); }));
  list_ = WaitForControl(window_, "LstPrgsStart");
  ASSERT_NE(list_, nullptr) << LastError();
  // The entry being read keeps its caption only, and nothing is listed after it.
  const Rows rows = ListRows(list_);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back(), (std::vector<std::string>{"VelmoraE2E Bad", "", ""}));
  HWND tree = WaitForControl(window_, "TreeActiveX");
  ASSERT_NE(tree, nullptr) << LastError();
  EXPECT_EQ(Send(tree, TVM_GETCOUNT).value_or(-1), 0);
}

}  // namespace
}  // namespace velmora::probe
