#include "registry/registry.h"

#include <algorithm>

namespace velmora::registry {

bool Registry::OpenKey(const std::string& path, bool can_create) {
  key_ = view_ ? backend_.OpenKeyInView(root_, path, can_create, *view_)
               : backend_.OpenKey(root_, path, can_create);
  return key_ != nullptr;
}

std::vector<std::string> Registry::GetValueNames() const {
  return key_ ? key_->ValueNames() : std::vector<std::string>{};
}

std::vector<std::string> Registry::GetKeyNames() const {
  return key_ ? key_->SubkeyNames() : std::vector<std::string>{};
}

bool Registry::ValueExists(const std::string& name) const { return key_ && key_->HasValue(name); }

std::string Registry::ReadString(const std::string& name) const {
  if (!key_) return {};
  const auto value = key_->ReadValue(name);
  if (!value || value->data.empty()) return {};
  if (value->type != platform::ValueType::kString &&
      value->type != platform::ValueType::kExpandString) {
    throw RegistryError("Invalid data type for '" + name + "'");
  }
  const auto end = std::find(value->data.begin(), value->data.end(), std::uint8_t{0});
  return std::string(value->data.begin(), end);
}

void Registry::WriteString(const std::string& name, const std::string& text) {
  if (!key_ || !key_->WriteString(name, text)) {
    throw RegistryError("Failed to set data for '" + name + "'");
  }
}

void Registry::WriteInteger(const std::string& name, std::uint32_t value) {
  if (!key_ || !key_->WriteDword(name, value)) {
    throw RegistryError("Failed to set data for '" + name + "'");
  }
}

bool Registry::DeleteValue(const std::string& name) { return key_ && key_->DeleteValue(name); }

}  // namespace velmora::registry
