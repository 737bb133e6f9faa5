#ifndef VELMORA_REGISTRY_REGISTRY_H_
#define VELMORA_REGISTRY_REGISTRY_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/registry_backend.h"

namespace velmora::registry {

// Raised when a value cannot be written or read as asked; its text is shown to the user.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The program's one way into the registry: a root key, at most one open key at a time (always
// with full access), and typed reads and writes of its values. Made for one operation and
// dropped at its end; the open key is closed with it.
class Registry {
 public:
  explicit Registry(platform::RegistryBackend& backend) : backend_(backend) {}

  void SetRootKey(platform::RootKey root) { root_ = root; }
  // Keys opened from now on are opened in this view of a 64-bit system, not the program's own.
  void SetView(platform::RegistryView view) { view_ = view; }

  // Opens a key by a path from the root of the hive ("\Software\..."); closes the key opened
  // before. False when it cannot be opened (or created, with can_create).
  bool OpenKey(const std::string& path, bool can_create);
  void CloseKey() { key_.reset(); }

  // Nothing when no key is open: a key that cannot be opened yields nothing.
  std::vector<std::string> GetValueNames() const;
  std::vector<std::string> GetKeyNames() const;
  bool ValueExists(const std::string& name) const;

  // The value as text: missing or empty data is the empty text, a string value its text up to
  // the first NUL; any other type is a RegistryError "Invalid data type for '<name>'".
  std::string ReadString(const std::string& name) const;

  // Each raises RegistryError "Failed to set data for '<name>'" when the value is not written.
  void WriteString(const std::string& name, const std::string& text);
  void WriteInteger(const std::string& name, std::uint32_t value);

  // False when nothing was deleted (no such value, no rights, no open key).
  bool DeleteValue(const std::string& name);

 private:
  platform::RegistryBackend& backend_;
  platform::RootKey root_ = platform::RootKey::kCurrentUser;
  std::optional<platform::RegistryView> view_;
  std::unique_ptr<platform::RegistryKey> key_;
};

}  // namespace velmora::registry

#endif  // VELMORA_REGISTRY_REGISTRY_H_
