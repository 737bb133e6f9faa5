#ifndef VELMORA_PLATFORM_REGISTRY_BACKEND_H_
#define VELMORA_PLATFORM_REGISTRY_BACKEND_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::platform {

// The hives the program reads and writes.
enum class RootKey { kCurrentUser, kLocalMachine };

// 64-bit Windows keeps two views of most of the machine's software key: 64-bit programs see
// one, 32-bit programs the other (stored below "Wow6432Node"). A program of either kind can
// ask for either view; on 32-bit Windows there is only one and the choice is ignored.
enum class RegistryView { k32Bit, k64Bit };

// The kinds of registry data; kOther covers every type the program has no use for.
enum class ValueType {
  kNone,
  kString,
  kExpandString,
  kDword,
  kBinary,
  kMultiString,
  kQword,
  kOther
};

// A value's type and its data exactly as stored. Nothing is interpreted: string data normally
// ends in one NUL but may have none or several, and a kDword need not be four bytes long.
struct RegistryValue {
  ValueType type = ValueType::kNone;
  std::vector<std::uint8_t> data;

  bool operator==(const RegistryValue& other) const {
    return type == other.type && data == other.data;
  }
  bool operator!=(const RegistryValue& other) const { return !(*this == other); }
};

// An open key, with full access. Destroying it closes it. Names and text are 8-bit ANSI; the
// empty name is the key's unnamed default value.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // In the order the registry enumerates them; empty when they cannot be listed.
  virtual std::vector<std::string> ValueNames() const = 0;
  virtual std::vector<std::string> SubkeyNames() const = 0;

  virtual bool HasValue(const std::string& name) const = 0;
  // Empty when the value does not exist or cannot be read.
  virtual std::optional<RegistryValue> ReadValue(const std::string& name) const = 0;

  // Each true on success. WriteString stores the text and one terminating NUL.
  virtual bool WriteString(const std::string& name, const std::string& text) = 0;
  virtual bool WriteDword(const std::string& name, std::uint32_t value) = 0;
  // False also when there was no such value.
  virtual bool DeleteValue(const std::string& name) = 0;
};

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // Opens the key at path below root, for full access. The path is taken from the root of the
  // hive and begins with a backslash, e.g. "\\Software\\Vendor\\"; a trailing backslash is
  // allowed and "\\" alone is the root itself. With create, missing keys along the path are
  // created. Null when the key cannot be opened (or created).
  virtual std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path,
                                               bool create) = 0;
  // The same in the given view rather than the running program's own.
  virtual std::unique_ptr<RegistryKey> OpenKeyInView(RootKey root, const std::string& path,
                                                     bool create, RegistryView view) = 0;

  // Whether the system is 64-bit Windows, where the two views differ.
  virtual bool Is64BitWindows() const = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_REGISTRY_BACKEND_H_
