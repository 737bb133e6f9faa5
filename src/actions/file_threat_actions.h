#ifndef VELMORA_ACTIONS_FILE_THREAT_ACTIONS_H_
#define VELMORA_ACTIONS_FILE_THREAT_ACTIONS_H_

#include <string>

#include "actions/threat_actions.h"
#include "platform/files.h"
#include "quarantine/quarantine_store.h"

namespace velmora::actions {

// The threat actions on the files themselves, through the files port. Each acts on the one
// entry the listed path stands for (see ResolveListedPath), by its stored name.
//  - Delete clears read-only, hidden and system, then removes the file, or the directory if it
//    is empty; never anything below it. A failure puts the attributes back.
//  - Rename gives the entry the first free name of "<name>.velmora", "<name>.velmora2", ... in
//    its folder, which no threat ending matches, and clears hidden and system.
//  - Quarantine moves a file into the store (null: there is none).
//  - Ignore leaves the file as it is.
class FileThreatActions : public ThreatActions {
 public:
  FileThreatActions(platform::Files& files, quarantine::QuarantineStore* store)
      : files_(files), store_(store) {}

  ActionOutcome Apply(ThreatAction action, const std::string& listed_path) override;

  // How many names Rename tries before it gives up.
  static constexpr int kRenameTries = 100;

 private:
  ActionOutcome Delete(const std::string& listed_path, const platform::NativePath& path,
                       std::uint32_t attributes);
  ActionOutcome Rename(const std::string& listed_path, const platform::NativePath& path,
                       std::uint32_t attributes);
  ActionOutcome Quarantine(const std::string& listed_path, const platform::NativePath& path,
                           std::uint32_t attributes);

  platform::Files& files_;
  quarantine::QuarantineStore* store_;
};

// What Rename appends to a name at attempt `attempt` (1 for the first): ".velmora", then
// ".velmora2", ".velmora3" ...; and the name it then tries.
std::string RenamedEnding(int attempt);
std::u16string RenamedName(const std::u16string& name, int attempt);

}  // namespace velmora::actions

#endif  // VELMORA_ACTIONS_FILE_THREAT_ACTIONS_H_
