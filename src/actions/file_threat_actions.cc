#include "actions/file_threat_actions.h"

#include "actions/listed_path.h"
#include "platform/entry_removal.h"
#include "platform/file_attributes.h"

namespace velmora::actions {
namespace {

using platform::kAttributeDirectory;
using platform::kAttributeHidden;
using platform::kAttributeSystem;
using platform::NativePath;

ActionOutcome Failed(const std::string& what, const std::string& listed_path,
                     const std::string& reason) {
  return {false, "Could not " + what + " " + listed_path + ": " + reason + "."};
}

}  // namespace

std::string RenamedEnding(int attempt) {
  return attempt > 1 ? ".velmora" + std::to_string(attempt) : ".velmora";
}

std::u16string RenamedName(const std::u16string& name, int attempt) {
  const std::string ending = RenamedEnding(attempt);
  return name + std::u16string(ending.begin(), ending.end());
}

ActionOutcome FileThreatActions::Apply(ThreatAction action, const std::string& listed_path) {
  if (action == ThreatAction::kIgnore) return {};
  static constexpr const char* kVerbs[] = {"delete", "rename", "quarantine"};
  const char* verb = kVerbs[static_cast<int>(action)];
  const ResolvedPath resolved = ResolveListedPath(files_, listed_path);
  if (!resolved.error.empty()) return Failed(verb, listed_path, resolved.error);
  switch (action) {
    case ThreatAction::kDelete:
      return Delete(listed_path, resolved.path, resolved.attributes);
    case ThreatAction::kRename:
      return Rename(listed_path, resolved.path, resolved.attributes);
    default:
      return Quarantine(listed_path, resolved.path, resolved.attributes);
  }
}

ActionOutcome FileThreatActions::Delete(const std::string& listed_path, const NativePath& path,
                                        std::uint32_t attributes) {
  if (std::string reason = platform::RemoveEntry(files_, path, attributes); !reason.empty()) {
    return Failed("delete", listed_path, reason);
  }
  return {};
}

ActionOutcome FileThreatActions::Rename(const std::string& listed_path, const NativePath& path,
                                        std::uint32_t attributes) {
  const NativePath folder = FolderOf(path);
  const NativePath name = NameOf(path);
  for (int attempt = 1; attempt <= kRenameTries; ++attempt) {
    const NativePath renamed = folder + RenamedName(name, attempt);
    platform::FileFacts facts;
    if (files_.Inspect(renamed, facts).empty()) continue;  // taken
    if (std::string reason = files_.Rename(path, renamed); !reason.empty()) {
      return Failed("rename", listed_path, reason);
    }
    if (attributes & (kAttributeHidden | kAttributeSystem)) {
      const std::uint32_t visible = attributes & ~(kAttributeHidden | kAttributeSystem);
      if (std::string reason = files_.SetAttributes(renamed, visible); !reason.empty()) {
        // The ending is ASCII, so the new name lists as the old one with it.
        return {false, "Renamed " + listed_path + " to " + listed_path + RenamedEnding(attempt) +
                           ", but could not make it visible: " + reason + "."};
      }
    }
    return {};
  }
  const std::string listed_name = listed_path.substr(listed_path.find_last_of('\\') + 1);
  return Failed("rename", listed_path,
                "every name up to \"" + listed_name + RenamedEnding(kRenameTries) + "\" is taken");
}

ActionOutcome FileThreatActions::Quarantine(const std::string& listed_path, const NativePath& path,
                                            std::uint32_t attributes) {
  if (attributes & kAttributeDirectory) {
    return Failed("quarantine", listed_path, "it is a folder, and only files are quarantined");
  }
  if (store_ == nullptr) return Failed("quarantine", listed_path, "there is no quarantine");
  const quarantine::StoredItem stored = store_->Add(path);
  if (!stored.error.empty()) return Failed("quarantine", listed_path, stored.error);
  return {};
}

}  // namespace velmora::actions
