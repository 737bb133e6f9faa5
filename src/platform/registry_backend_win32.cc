#include "platform/registry_backend_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/unique_handle_win32.h"

namespace velmora::platform {
namespace {

// Value names are at most 16383 characters, but an ANSI name in a multi-byte code page can
// take twice as many bytes as its character count, which is what the key reports.
constexpr DWORD kMaxNameBuffer = 1 << 16;

ValueType TypeOf(DWORD type) {
  switch (type) {
    case REG_NONE:
      return ValueType::kNone;
    case REG_SZ:
      return ValueType::kString;
    case REG_EXPAND_SZ:
      return ValueType::kExpandString;
    case REG_DWORD:
      return ValueType::kDword;
    case REG_BINARY:
      return ValueType::kBinary;
    case REG_MULTI_SZ:
      return ValueType::kMultiString;
    case REG_QWORD:
      return ValueType::kQword;
    default:
      return ValueType::kOther;
  }
}

// The registry API wants the path below the root: no leading backslash, and no trailing one
// either, which not every registry implementation accepts. Empty means the root itself.
std::string SubkeyPath(const std::string& path) {
  const std::size_t first = path.find_first_not_of('\\');
  if (first == std::string::npos) return std::string();
  const std::size_t last = path.find_last_not_of('\\');
  return path.substr(first, last - first + 1);
}

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(UniqueKey key) : key_(std::move(key)) {}

  std::vector<std::string> ValueNames() const override { return Names(/*values=*/true); }
  std::vector<std::string> SubkeyNames() const override { return Names(/*values=*/false); }

  bool HasValue(const std::string& name) const override {
    return ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  std::optional<RegistryValue> ReadValue(const std::string& name) const override {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between asking its size and reading it; a few retries cover that.
    for (int attempt = 0; attempt < 8; ++attempt) {
      if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return std::nullopt;
      // Never a null buffer: that would turn the read back into a size query.
      std::vector<std::uint8_t> data(std::max<DWORD>(size, 1));
      DWORD length = static_cast<DWORD>(data.size());
      status = ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, data.data(), &length);
      if (status == ERROR_SUCCESS) {
        // The size asked for may overstate ANSI string data; the read says what it took.
        data.resize(std::min<DWORD>(length, static_cast<DWORD>(data.size())));
        return RegistryValue{TypeOf(type), std::move(data)};
      }
      size = std::max(length, static_cast<DWORD>(data.size()) * 2);
    }
    return std::nullopt;
  }

  bool WriteString(const std::string& name, const std::string& text) override {
    return Write(name, REG_SZ, text.c_str(), text.size() + 1);
  }

  bool WriteDword(const std::string& name, std::uint32_t value) override {
    const DWORD data = value;
    return Write(name, REG_DWORD, &data, sizeof data);
  }

  bool DeleteValue(const std::string& name) override {
    return ::RegDeleteValueA(key_.get(), name.c_str()) == ERROR_SUCCESS;
  }

 private:
  bool Write(const std::string& name, DWORD type, const void* data, std::size_t size) {
    return ::RegSetValueExA(key_.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                            static_cast<DWORD>(size)) == ERROR_SUCCESS;
  }

  std::vector<std::string> Names(bool values) const {
    DWORD max_subkey = 0;
    DWORD max_value_name = 0;
    if (::RegQueryInfoKeyA(key_.get(), nullptr, nullptr, nullptr, nullptr, &max_subkey, nullptr,
                           nullptr, &max_value_name, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return {};
    }
    std::string buffer((values ? max_value_name : max_subkey) + 1, '\0');
    std::vector<std::string> names;
    DWORD index = 0;
    for (;;) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LSTATUS status = values ? ::RegEnumValueA(key_.get(), index, buffer.data(), &length,
                                                      nullptr, nullptr, nullptr, nullptr)
                                    : ::RegEnumKeyExA(key_.get(), index, buffer.data(), &length,
                                                      nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_SUCCESS) {
        names.emplace_back(buffer.data(), length);
        ++index;
      } else if (status == ERROR_MORE_DATA && buffer.size() < kMaxNameBuffer) {
        // A longer name than the key reported (multi-byte ANSI, or added meanwhile).
        buffer.resize(buffer.size() * 2);
      } else {
        // ERROR_NO_MORE_ITEMS, or a failure part-way: keep what was listed.
        break;
      }
    }
    return names;
  }

  UniqueKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32RegistryBackend::OpenKey(RootKey root, const std::string& path,
                                                           bool create) {
  return Open(root, path, create, 0);
}

std::unique_ptr<RegistryKey> Win32RegistryBackend::OpenKeyInView(RootKey root,
                                                                 const std::string& path,
                                                                 bool create, RegistryView view) {
  return Open(root, path, create, view == RegistryView::k32Bit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
}

bool Win32RegistryBackend::Is64BitWindows() const {
#ifdef _WIN64
  return true;  // a 64-bit program runs on nothing else
#else
  BOOL emulated = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &emulated) && emulated;
#endif
}

std::unique_ptr<RegistryKey> Win32RegistryBackend::Open(RootKey root, const std::string& path,
                                                        bool create, unsigned long view_flag) {
  const HKEY hive = root == RootKey::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  const std::string subkey = SubkeyPath(path);
  const REGSAM access = KEY_ALL_ACCESS | view_flag;
  HKEY opened = nullptr;
  // With an empty subkey both calls hand out a new handle to the root itself, which can be
  // closed like any other.
  const LSTATUS status =
      create ? ::RegCreateKeyExA(hive, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                 nullptr, &opened, nullptr)
             : ::RegOpenKeyExA(hive, subkey.c_str(), 0, access, &opened);
  UniqueKey key(opened);
  if (status != ERROR_SUCCESS || !key) return nullptr;
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

}  // namespace velmora::platform
