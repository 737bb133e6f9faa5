#include "fakes/fake_registry_backend.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::fakes {
namespace {

using platform::RegistryValue;
using platform::ValueType;

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(const std::string& text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), Fold);
  return folded;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Fold(x) == Fold(y); });
}

std::vector<std::string> Segments(const std::string& path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) segments.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return segments;
}

// Node is FakeRegistryBackend's, const or not.
template <typename NodeT>
NodeT* ChildOf(NodeT& node, const std::string& name) {
  for (auto& child : node.subkeys) {
    if (SameName(child->name, name)) return child.get();
  }
  return nullptr;
}

template <typename Values>
auto FindValue(Values& values, const std::string& name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const auto& entry) { return SameName(entry.first, name); });
}

RegistryValue StringData(const std::string& text) {
  RegistryValue value{ValueType::kString, std::vector<std::uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  return value;
}

RegistryValue DwordData(std::uint32_t number) {
  RegistryValue value{ValueType::kDword, {}};
  for (int shift = 0; shift < 32; shift += 8) {
    value.data.push_back(static_cast<std::uint8_t>(number >> shift));
  }
  return value;
}

}  // namespace

class FakeRegistryBackend::Key : public platform::RegistryKey {
 public:
  Key(FakeRegistryBackend& registry, Node& node, std::string canonical)
      : registry_(registry), node_(node), canonical_(std::move(canonical)) {
    ++registry_.open_key_count_;
  }
  ~Key() override { --registry_.open_key_count_; }

  std::vector<std::string> ValueNames() const override {
    std::vector<std::string> names;
    for (const auto& entry : node_.values) names.push_back(entry.first);
    registry_.ListedNames();
    return names;
  }

  std::vector<std::string> SubkeyNames() const override {
    std::vector<std::string> names;
    for (const auto& subkey : node_.subkeys) names.push_back(subkey->name);
    registry_.ListedNames();
    return names;
  }

  bool HasValue(const std::string& name) const override {
    return FindValue(node_.values, name) != node_.values.end();
  }

  std::optional<RegistryValue> ReadValue(const std::string& name) const override {
    const auto found = FindValue(node_.values, name);
    if (found == node_.values.end()) return std::nullopt;
    return found->second;
  }

  bool WriteString(const std::string& name, const std::string& text) override {
    return Write(name, StringData(text));
  }

  bool WriteDword(const std::string& name, std::uint32_t value) override {
    return Write(name, DwordData(value));
  }

  bool DeleteValue(const std::string& name) override {
    if (ReadOnly()) return false;
    const auto found = FindValue(node_.values, name);
    if (found == node_.values.end()) return false;
    node_.values.erase(found);
    return true;
  }

 private:
  bool ReadOnly() const { return registry_.read_only_.count(canonical_) != 0; }

  bool Write(const std::string& name, RegistryValue value) {
    if (ReadOnly()) return false;
    const auto found = FindValue(node_.values, name);
    if (found != node_.values.end()) {
      found->second = std::move(value);
    } else {
      node_.values.emplace_back(name, std::move(value));
    }
    return true;
  }

  FakeRegistryBackend& registry_;
  Node& node_;
  std::string canonical_;
};

FakeRegistryBackend::FakeRegistryBackend() = default;
FakeRegistryBackend::~FakeRegistryBackend() = default;

std::unique_ptr<platform::RegistryKey> FakeRegistryBackend::OpenKey(RootKey root,
                                                                    const std::string& path,
                                                                    bool create) {
  open_calls_.push_back(OpenCall{root, path, create, std::nullopt});
  const RegistryView own =
      system_ == System::k32BitProgramOn64BitWindows ? RegistryView::k32Bit : RegistryView::k64Bit;
  return Open(root, StoredPath(root, path, own), create);
}

std::unique_ptr<platform::RegistryKey> FakeRegistryBackend::OpenKeyInView(RootKey root,
                                                                          const std::string& path,
                                                                          bool create,
                                                                          RegistryView view) {
  open_calls_.push_back(OpenCall{root, path, create, view});
  return Open(root, StoredPath(root, path, view), create);
}

std::string FakeRegistryBackend::StoredPath(RootKey root, const std::string& path,
                                            RegistryView view) const {
  if (system_ == System::k32BitWindows || root != RootKey::kLocalMachine ||
      view == RegistryView::k64Bit) {
    return path;
  }
  const std::vector<std::string> segments = Segments(path);
  if (segments.empty() || Folded(segments[0]) != "software") return path;
  if (segments.size() > 1 && Folded(segments[1]) == "wow6432node") return path;
  std::string stored = "\\" + segments[0] + "\\Wow6432Node";
  for (std::size_t i = 1; i < segments.size(); ++i) stored += "\\" + segments[i];
  return stored;
}

std::unique_ptr<platform::RegistryKey> FakeRegistryBackend::Open(RootKey root,
                                                                 const std::string& path,
                                                                 bool create) {
  std::string canonical = Canonical(root, path);
  if (unopenable_.count(canonical) != 0) return nullptr;
  Node* node = Find(root, path, create);
  if (node == nullptr) return nullptr;
  return std::make_unique<Key>(*this, *node, std::move(canonical));
}

void FakeRegistryBackend::CreateKey(RootKey root, const std::string& path) {
  Find(root, path, /*create=*/true);
}

void FakeRegistryBackend::SetValue(RootKey root, const std::string& path, const std::string& name,
                                   RegistryValue value) {
  auto& values = Find(root, path, /*create=*/true)->values;
  const auto found = FindValue(values, name);
  if (found != values.end()) {
    found->second = std::move(value);
  } else {
    values.emplace_back(name, std::move(value));
  }
}

void FakeRegistryBackend::SetString(RootKey root, const std::string& path, const std::string& name,
                                    const std::string& text) {
  SetValue(root, path, name, StringData(text));
}

void FakeRegistryBackend::SetDword(RootKey root, const std::string& path, const std::string& name,
                                   std::uint32_t value) {
  SetValue(root, path, name, DwordData(value));
}

void FakeRegistryBackend::RemoveValue(RootKey root, const std::string& path,
                                      const std::string& name) {
  Node* node = Find(root, path, /*create=*/false);
  if (node == nullptr) return;
  const auto found = FindValue(node->values, name);
  if (found != node->values.end()) node->values.erase(found);
}

bool FakeRegistryBackend::KeyExists(RootKey root, const std::string& path) const {
  return Find(root, path) != nullptr;
}

std::optional<platform::RegistryValue> FakeRegistryBackend::Value(RootKey root,
                                                                  const std::string& path,
                                                                  const std::string& name) const {
  const Node* node = Find(root, path);
  if (node == nullptr) return std::nullopt;
  const auto found = FindValue(node->values, name);
  if (found == node->values.end()) return std::nullopt;
  return found->second;
}

std::optional<std::string> FakeRegistryBackend::StringValue(RootKey root, const std::string& path,
                                                            const std::string& name) const {
  const auto value = Value(root, path, name);
  if (!value || (value->type != ValueType::kString && value->type != ValueType::kExpandString)) {
    return std::nullopt;
  }
  const auto end = std::find(value->data.begin(), value->data.end(), 0);
  return std::string(value->data.begin(), end);
}

std::optional<std::uint32_t> FakeRegistryBackend::DwordValue(RootKey root, const std::string& path,
                                                             const std::string& name) const {
  const auto value = Value(root, path, name);
  if (!value || value->type != ValueType::kDword || value->data.size() != 4) return std::nullopt;
  std::uint32_t number = 0;
  for (int i = 3; i >= 0; --i) number = number << 8 | value->data[i];
  return number;
}

void FakeRegistryBackend::SetUnopenable(RootKey root, const std::string& path, bool unopenable) {
  if (unopenable) {
    unopenable_.insert(Canonical(root, path));
  } else {
    unopenable_.erase(Canonical(root, path));
  }
}

void FakeRegistryBackend::SetReadOnly(RootKey root, const std::string& path, bool read_only) {
  if (read_only) {
    read_only_.insert(Canonical(root, path));
  } else {
    read_only_.erase(Canonical(root, path));
  }
}

const FakeRegistryBackend::Node* FakeRegistryBackend::Find(RootKey root,
                                                           const std::string& path) const {
  const Node* node = root == RootKey::kLocalMachine ? &local_machine_ : &current_user_;
  for (const std::string& segment : Segments(path)) {
    node = ChildOf(*node, segment);
    if (node == nullptr) return nullptr;
  }
  return node;
}

FakeRegistryBackend::Node* FakeRegistryBackend::Find(RootKey root, const std::string& path,
                                                     bool create) {
  Node* node = root == RootKey::kLocalMachine ? &local_machine_ : &current_user_;
  for (const std::string& segment : Segments(path)) {
    Node* child = ChildOf(*node, segment);
    if (child == nullptr) {
      if (!create) return nullptr;
      child = node->subkeys.emplace_back(std::make_unique<Node>()).get();
      child->name = segment;
    }
    node = child;
  }
  return node;
}

std::string FakeRegistryBackend::Canonical(RootKey root, const std::string& path) {
  std::string canonical = root == RootKey::kLocalMachine ? "HKLM" : "HKCU";
  for (const std::string& segment : Segments(path)) canonical += "\\" + Folded(segment);
  return canonical;
}

}  // namespace velmora::fakes
