#include "registry/auto_start_inventory.h"

#include <string>
#include <vector>

#include "registry/registry.h"

namespace velmora::registry {
namespace {

using platform::RegistryView;
using platform::RootKey;

constexpr char kMachineText[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void OpenRunKey(Registry& registry, const RunKey& key, bool can_create) {
  registry.SetRootKey(key.root);
  if (key.view) registry.SetView(*key.view);
  registry.OpenKey(key.path, can_create);
}

void ListRunKey(platform::RegistryBackend& backend, const RunKey& key, ui::ListView& list) {
  Registry registry(backend);
  OpenRunKey(registry, key, /*can_create=*/false);
  for (const std::string& name : registry.GetValueNames()) {
    std::string command;
    try {
      command = registry.ReadString(name);
    } catch (const RegistryError&) {
      list.AddItem({name, {}, -1, false});  // what was read so far stays listed
      throw;
    }
    list.AddItem({name, {command, key.text}, -1, false});
  }
}

void ListActiveX(platform::RegistryBackend& backend, ui::TreeView& tree) {
  Registry registry(backend);
  registry.SetRootKey(RootKey::kLocalMachine);
  registry.OpenKey(kActiveSetupPath, /*can_create=*/true);
  const std::vector<std::string> components = registry.GetKeyNames();
  registry.CloseKey();

  const int root = tree.AddNode(-1, kActiveXRootText, kActiveXRootImage);
  bool any = false;
  for (const std::string& component : components) {
    registry.OpenKey(std::string(kActiveSetupPath) + "\\" + component, /*can_create=*/true);
    if (!registry.ValueExists("StubPath")) continue;
    const std::string stub_path = registry.ReadString("StubPath");
    if (stub_path.empty()) continue;
    const int node = tree.AddNode(root, component, kComponentImage);
    tree.AddNode(node, stub_path, kStubPathImage);
    any = true;
  }
  if (any) tree.Expand(root, /*recursive=*/true);
}

}  // namespace

std::vector<RunKey> RunKeys(const platform::RegistryBackend& backend) {
  std::vector<RunKey> keys = {
      {RootKey::kCurrentUser, kRunKeyPath, std::nullopt,
       "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"}};
  if (!backend.Is64BitWindows()) {
    keys.push_back({RootKey::kLocalMachine, kMachineRunKeyPath, std::nullopt, kMachineText});
    return keys;
  }
  keys.push_back({RootKey::kLocalMachine, kMachineRunKeyPath, RegistryView::k64Bit, kMachineText});
  keys.push_back(
      {RootKey::kLocalMachine, kMachineRunKeyPath, RegistryView::k32Bit,
       "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"});
  return keys;
}

void LoadAutoStartInventory(platform::RegistryBackend& backend, ui::ListView& list,
                            ui::TreeView& tree) {
  for (const RunKey& key : RunKeys(backend)) ListRunKey(backend, key, list);
  ListActiveX(backend, tree);
}

void DeleteAutoStartValue(platform::RegistryBackend& backend, const std::string& name) {
  for (const RunKey& key : RunKeys(backend)) {
    Registry registry(backend);
    OpenRunKey(registry, key, /*can_create=*/true);
    registry.DeleteValue(name);
  }
}

}  // namespace velmora::registry
