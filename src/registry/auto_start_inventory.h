#ifndef VELMORA_REGISTRY_AUTO_START_INVENTORY_H_
#define VELMORA_REGISTRY_AUTO_START_INVENTORY_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/registry_backend.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"

namespace velmora::registry {

inline constexpr char kRunKeyPath[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kMachineRunKeyPath[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kActiveSetupPath[] =
    "\\SOFTWARE\\Microsoft\\Active Setup\\Installed Components";

// The ActiveX tree's node texts and pictures (indices into its image list).
inline constexpr char kActiveXRootText[] = "Activex Installed on this computer";
inline constexpr int kActiveXRootImage = 4;
inline constexpr int kComponentImage = 2;
inline constexpr int kStubPathImage = 3;

// One Run key as the start-up list shows it.
struct RunKey {
  platform::RootKey root;
  const char* path;
  // None: the program's own view. The current user's key is shared by both views.
  std::optional<platform::RegistryView> view;
  // The "System Key" column of its entries.
  const char* text;
};

// The Run keys in listing order: the current user's, then the machine's. On 64-bit Windows
// the machine's key exists once per view, and 32-bit programs, most of what a stick plants,
// start from the 32-bit one: both are listed, the 64-bit view first, whichever build runs.
std::vector<RunKey> RunKeys(const platform::RegistryBackend& backend);

// Appends one start-up entry per Run value and the ActiveX tree of the Active Setup components
// with a start-up command; clears neither. A value that is neither empty nor text ends the
// listing with a RegistryError; the entry being read keeps its caption only.
void LoadAutoStartInventory(platform::RegistryBackend& backend, ui::ListView& list,
                            ui::TreeView& tree);

// Deletes the value `name` from every Run key that is listed, whichever it was listed from.
// Failures are silent: a new listing shows what is left.
void DeleteAutoStartValue(platform::RegistryBackend& backend, const std::string& name);

}  // namespace velmora::registry

#endif  // VELMORA_REGISTRY_AUTO_START_INVENTORY_H_
