// The registry adapter in both views of 64-bit Windows, read as text by the registry class as
// the auto-start inventory reads Run values.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry_backend_win32.h"
#include "platform/unique_handle_win32.h"
#include "raw_registry_value.h"
#include "registry/registry.h"

namespace velmora::platform {
namespace {

constexpr REGSAM ViewFlag(RegistryView view) {
  return view == RegistryView::k32Bit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

// A key of its own below the machine's software key, the part of the registry that has two
// views; removed from both afterwards.
class MachineScratchKey {
 public:
  MachineScratchKey()
      : name_(std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount())) {}
  ~MachineScratchKey() {
    for (const char* parent : {"Software\\VelmoraTest", "Software\\Wow6432Node\\VelmoraTest"}) {
      const std::string key = std::string(parent) + "\\" + name_;
      ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
      // Fails, as it should, while another run still has keys there.
      ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, parent);
    }
  }
  MachineScratchKey(const MachineScratchKey&) = delete;
  MachineScratchKey& operator=(const MachineScratchKey&) = delete;

  // As the program spells it, the same in either view.
  std::string path() const { return "\\Software\\VelmoraTest\\" + name_; }
  // Where the 32-bit view keeps it, as the 64-bit view sees it.
  std::string stored_32bit_path() const { return "\\Software\\Wow6432Node\\VelmoraTest\\" + name_; }

  // Stores data the way another program might, bypassing the port.
  void SetRaw(RegistryView view, const std::string& name, DWORD type,
              const std::vector<std::uint8_t>& data) const {
    HKEY opened = nullptr;
    const std::string relative = path().substr(1);
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, relative.c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE | ViewFlag(view), nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    UniqueKey key(opened);
    ASSERT_EQ(test_support::WriteRawValue(key.get(), name, type, data), ERROR_SUCCESS);
  }

 private:
  std::string name_;
};

std::string ViewName(RegistryView view) {
  return view == RegistryView::k32Bit ? "32-bit view" : "64-bit view";
}

TEST(RegistryViewsWin32Test, TheViewsAreSeparateAndThe32BitOneLivesBelowWow6432Node) {
  Win32RegistryBackend backend;
  ASSERT_TRUE(backend.Is64BitWindows()) << "a 64-bit program runs on 64-bit Windows only";
  MachineScratchKey scratch;
  for (RegistryView view : {RegistryView::k32Bit, RegistryView::k64Bit}) {
    auto key = backend.OpenKeyInView(RootKey::kLocalMachine, scratch.path(), true, view);
    ASSERT_NE(key, nullptr) << ViewName(view);
    ASSERT_TRUE(key->WriteString("Where", ViewName(view)));
  }
  const struct {
    std::string path;
    RegistryView view;
    const char* expected;
  } reads[] = {
      {scratch.path(), RegistryView::k32Bit, "32-bit view"},
      {scratch.path(), RegistryView::k64Bit, "64-bit view"},
      {scratch.stored_32bit_path(), RegistryView::k64Bit, "32-bit view"},
  };
  for (const auto& read : reads) {
    SCOPED_TRACE(read.path + " in the " + ViewName(read.view));
    registry::Registry registry(backend);
    registry.SetRootKey(RootKey::kLocalMachine);
    registry.SetView(read.view);
    ASSERT_TRUE(registry.OpenKey(read.path, /*can_create=*/false));
    EXPECT_EQ(registry.ReadString("Where"), read.expected);
  }
  // The program's own view is the 64-bit one.
  auto own = backend.OpenKey(RootKey::kLocalMachine, scratch.path(), /*create=*/false);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->ReadValue("Where"),
            (RegistryValue{ValueType::kString,
                           {'6', '4', '-', 'b', 'i', 't', ' ', 'v', 'i', 'e', 'w', 0}}));

  // A key that exists in one view only cannot be opened in the other without creating it.
  const std::string only_32 = scratch.path() + "\\Only32";
  ASSERT_NE(backend.OpenKeyInView(RootKey::kLocalMachine, only_32, true, RegistryView::k32Bit),
            nullptr);
  EXPECT_EQ(backend.OpenKeyInView(RootKey::kLocalMachine, only_32, false, RegistryView::k64Bit),
            nullptr);
}

// What each type of data reads as, in either view: text up to its first NUL and unexpanded,
// empty data as the empty text, anything else an error naming the value.
TEST(RegistryViewsWin32Test, EachTypeReadsAsTextOrIsAnErrorInBothViews) {
  struct Case {
    const char* name;
    DWORD type;
    std::vector<std::uint8_t> data;
    const char* text;  // nullptr: "Invalid data type"
  };
  const Case cases[] = {
      {"Terminated", REG_SZ, {'a', 'b', 0}, "ab"},
      {"Unterminated", REG_SZ, {'a', 'b', 'c'}, "abc"},
      {"EmbeddedNul", REG_SZ, {'a', 0, 'b', 0}, "a"},
      {"EmptyString", REG_SZ, {}, ""},
      {"Expand", REG_EXPAND_SZ, {'%', 'W', 'I', 'N', 'D', 'I', 'R', '%', 0}, "%WINDIR%"},
      {"Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}, nullptr},
      {"Dword", REG_DWORD, {1, 0, 0, 0}, nullptr},
      {"Binary", REG_BINARY, {0xA5}, nullptr},
      {"EmptyBinary", REG_BINARY, {}, ""},
      {"NoneEmpty", REG_NONE, {}, ""},
      {"NoneWithData", REG_NONE, {7}, nullptr},
  };
  Win32RegistryBackend backend;
  for (RegistryView view : {RegistryView::k32Bit, RegistryView::k64Bit}) {
    SCOPED_TRACE(ViewName(view));
    MachineScratchKey scratch;
    for (const Case& c : cases) scratch.SetRaw(view, c.name, c.type, c.data);
    registry::Registry registry(backend);
    registry.SetRootKey(RootKey::kLocalMachine);
    registry.SetView(view);
    ASSERT_TRUE(registry.OpenKey(scratch.path(), /*can_create=*/false));
    EXPECT_EQ(registry.GetValueNames().size(), std::size(cases));
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      if (c.text != nullptr) {
        EXPECT_EQ(registry.ReadString(c.name), c.text);
      } else {
        try {
          registry.ReadString(c.name);
          ADD_FAILURE() << "read as text";
        } catch (const registry::RegistryError& error) {
          EXPECT_EQ(std::string(error.what()),
                    std::string("Invalid data type for '") + c.name + "'");
        }
      }
    }
    EXPECT_EQ(registry.ReadString("Missing"), "");
  }
}

}  // namespace
}  // namespace velmora::platform
