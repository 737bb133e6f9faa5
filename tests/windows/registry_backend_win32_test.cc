#include "platform/registry_backend_win32.h"

#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/unique_handle_win32.h"
#include "raw_registry_value.h"

namespace velmora::platform {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

// A key of its own under HKCU for each test, removed with everything in it afterwards.
class ScratchKey {
 public:
  ScratchKey()
      : relative_("Software\\VelmoraTest\\" + std::to_string(::GetCurrentProcessId()) + "-" +
                  std::to_string(next_++) + "-" + std::to_string(::GetTickCount())) {}
  ~ScratchKey() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, relative_.c_str());
    // Fails, as it should, while another run still has keys there.
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VelmoraTest");
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // As the program spells paths: from the root of the hive, with a leading backslash.
  std::string path() const { return "\\" + relative_; }
  const std::string& relative() const { return relative_; }

 private:
  static inline int next_ = 0;
  std::string relative_;
};

class RegistryWin32Test : public ::testing::Test {
 protected:
  // The scratch key itself, created.
  std::unique_ptr<RegistryKey> Create() {
    auto key = registry_.OpenKey(RootKey::kCurrentUser, scratch_.path(), /*create=*/true);
    EXPECT_NE(key, nullptr);
    return key;
  }

  // Stores data the way another program might, bypassing the port.
  void SetRaw(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data) {
    HKEY opened = nullptr;
    ASSERT_EQ(
        ::RegOpenKeyExA(HKEY_CURRENT_USER, scratch_.relative().c_str(), 0, KEY_SET_VALUE, &opened),
        ERROR_SUCCESS);
    UniqueKey key(opened);
    ASSERT_EQ(test_support::WriteRawValue(key.get(), name, type, data), ERROR_SUCCESS);
  }

  // The value names in the order the registry's own enumeration gives them.
  std::vector<std::string> RawValueNames() {
    HKEY opened = nullptr;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, scratch_.relative().c_str(), 0, KEY_READ, &opened),
              ERROR_SUCCESS);
    UniqueKey key(opened);
    std::vector<std::string> names;
    std::string buffer(1 << 16, '\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(buffer.size());
      if (::RegEnumValueA(key.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
        break;
      }
      names.emplace_back(buffer.data(), length);
    }
    return names;
  }

  ScratchKey scratch_;
  Win32RegistryBackend registry_;
};

TEST_F(RegistryWin32Test, OpensOnlyExistingKeysUnlessCreating) {
  EXPECT_EQ(registry_.OpenKey(RootKey::kCurrentUser, scratch_.path(), /*create=*/false), nullptr);

  // Creation makes the missing parents too.
  const std::string child = scratch_.path() + "\\Options\\Inner";
  ASSERT_NE(registry_.OpenKey(RootKey::kCurrentUser, child, /*create=*/true), nullptr);

  for (const std::string& path : {scratch_.path(), scratch_.path() + "\\", child + "\\"}) {
    SCOPED_TRACE(path);
    EXPECT_NE(registry_.OpenKey(RootKey::kCurrentUser, path, /*create=*/false), nullptr);
    EXPECT_NE(registry_.OpenKey(RootKey::kCurrentUser, path, /*create=*/true), nullptr);
  }
}

TEST_F(RegistryWin32Test, BackslashAloneOpensTheRootOfEitherHive) {
  auto user = registry_.OpenKey(RootKey::kCurrentUser, "\\", /*create=*/false);
  ASSERT_NE(user, nullptr);
  EXPECT_THAT(user->SubkeyNames(), Contains("Software"));

  auto machine = registry_.OpenKey(RootKey::kLocalMachine, "\\Software\\", /*create=*/false);
  ASSERT_NE(machine, nullptr);
  EXPECT_THAT(machine->SubkeyNames(), Contains("Microsoft"));
}

TEST_F(RegistryWin32Test, WritesReadBackExactly) {
  auto key = Create();
  ASSERT_NE(key, nullptr);
  struct Case {
    std::string name;
    RegistryValue expected;
    bool (*write)(RegistryKey&, const std::string&);
  };
  const Case cases[] = {
      {"Text",
       {ValueType::kString, {'O', 'n', 0}},
       [](RegistryKey& k, const std::string& n) { return k.WriteString(n, "On"); }},
      {"Empty",
       {ValueType::kString, {0}},
       [](RegistryKey& k, const std::string& n) { return k.WriteString(n, ""); }},
      {"Accented",
       {ValueType::kString, {'c', 'a', 'f', 0xE9, 0}},
       [](RegistryKey& k, const std::string& n) { return k.WriteString(n, "caf\xE9"); }},
      {"Zero",
       {ValueType::kDword, {0, 0, 0, 0}},
       [](RegistryKey& k, const std::string& n) { return k.WriteDword(n, 0); }},
      {"Order",
       {ValueType::kDword, {0x44, 0x33, 0x22, 0x11}},
       [](RegistryKey& k, const std::string& n) { return k.WriteDword(n, 0x11223344); }},
      {"Max",
       {ValueType::kDword, {0xFF, 0xFF, 0xFF, 0xFF}},
       [](RegistryKey& k, const std::string& n) { return k.WriteDword(n, 0xFFFFFFFF); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.write(*key, c.name));
    EXPECT_TRUE(key->HasValue(c.name));
    EXPECT_EQ(key->ReadValue(c.name), c.expected);
  }

  // Overwriting replaces type and data; a second handle to the key sees it.
  ASSERT_TRUE(key->WriteString("Order", "now text"));
  auto again = registry_.OpenKey(RootKey::kCurrentUser, scratch_.path(), /*create=*/false);
  ASSERT_NE(again, nullptr);
  const auto value = again->ReadValue("order");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, ValueType::kString);
  EXPECT_EQ(std::string(value->data.begin(), value->data.end()), std::string("now text", 9));
}

TEST_F(RegistryWin32Test, ReadsForeignDataWithoutInterpretingIt) {
  ASSERT_NE(Create(), nullptr);
  struct Case {
    std::string name;
    DWORD type;
    std::vector<std::uint8_t> data;
    ValueType expected;
  };
  const Case cases[] = {
      {"Unterminated", REG_SZ, {'a', 'b', 'c'}, ValueType::kString},
      {"ManyNuls", REG_SZ, {'a', 0, 'b', 0, 0}, ValueType::kString},
      {"Expand", REG_EXPAND_SZ, {'%', 'T', '%', 0}, ValueType::kExpandString},
      {"Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}, ValueType::kMultiString},
      {"ShortDword", REG_DWORD, {1, 2}, ValueType::kDword},
      {"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}, ValueType::kQword},
      {"NoData", REG_BINARY, {}, ValueType::kBinary},
      {"Binary", REG_BINARY, std::vector<std::uint8_t>(100000, 0xA5), ValueType::kBinary},
      {"BigEndian", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}, ValueType::kOther},
      {"None", REG_NONE, {7}, ValueType::kNone},
  };
  for (const Case& c : cases) SetRaw(c.name, c.type, c.data);

  auto key = registry_.OpenKey(RootKey::kCurrentUser, scratch_.path(), /*create=*/false);
  ASSERT_NE(key, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto value = key->ReadValue(c.name);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, c.expected);
    EXPECT_EQ(value->data, c.data);
  }
}

TEST_F(RegistryWin32Test, DefaultValueIsTheEmptyName) {
  auto key = Create();
  ASSERT_NE(key, nullptr);
  EXPECT_FALSE(key->HasValue(""));
  EXPECT_EQ(key->ReadValue(""), std::nullopt);

  ASSERT_TRUE(key->WriteString("", "default"));
  ASSERT_TRUE(key->WriteDword("Named", 1));
  EXPECT_TRUE(key->HasValue(""));
  EXPECT_EQ(key->ReadValue(""),
            (RegistryValue{ValueType::kString, {'d', 'e', 'f', 'a', 'u', 'l', 't', 0}}));
  EXPECT_THAT(key->ValueNames(), UnorderedElementsAre("", "Named"));

  EXPECT_TRUE(key->DeleteValue(""));
  EXPECT_FALSE(key->HasValue(""));
  EXPECT_THAT(key->ValueNames(), UnorderedElementsAre("Named"));
}

TEST_F(RegistryWin32Test, MissingValuesAreAbsent) {
  auto key = Create();
  ASSERT_NE(key, nullptr);
  EXPECT_THAT(key->ValueNames(), IsEmpty());
  EXPECT_THAT(key->SubkeyNames(), IsEmpty());
  EXPECT_FALSE(key->HasValue("Missing"));
  EXPECT_EQ(key->ReadValue("Missing"), std::nullopt);
  EXPECT_FALSE(key->DeleteValue("Missing"));

  ASSERT_TRUE(key->WriteDword("Once", 1));
  EXPECT_TRUE(key->DeleteValue("once"));
  EXPECT_FALSE(key->DeleteValue("Once"));
  EXPECT_EQ(key->ReadValue("Once"), std::nullopt);
}

TEST_F(RegistryWin32Test, ListsEveryNameWholeInTheRegistrysOrder) {
  auto key = Create();
  ASSERT_NE(key, nullptr);
  // Long names, the longest the registry allows among them, so no buffer can be one short.
  const std::vector<std::string> value_names = {
      "Zulu", "alpha", "", std::string(300, 'L'), std::string(16383, 'M'), "Mid"};
  for (const std::string& name : value_names) {
    ASSERT_TRUE(key->WriteDword(name, 1)) << name.size();
  }
  // Wine refuses key names well short of the 255 characters Windows allows.
  const std::vector<std::string> subkey_names = {"Beta", std::string(200, 'K'), "alpha"};
  for (const std::string& name : subkey_names) {
    ASSERT_NE(registry_.OpenKey(RootKey::kCurrentUser, scratch_.path() + "\\" + name, true),
              nullptr)
        << name.size();
  }

  const std::vector<std::string> listed = key->ValueNames();
  EXPECT_THAT(listed, UnorderedElementsAreArray(value_names));
  EXPECT_EQ(listed, RawValueNames());
  EXPECT_THAT(key->SubkeyNames(), UnorderedElementsAreArray(subkey_names));
}

}  // namespace
}  // namespace velmora::platform
