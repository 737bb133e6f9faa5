#ifndef VELMORA_ACTIONS_THREAT_ACTIONS_H_
#define VELMORA_ACTIONS_THREAT_ACTIONS_H_

#include <string>

namespace velmora::actions {

// What the user chose on the threat-action menu for one listed file.
enum class ThreatAction { kDelete, kRename, kQuarantine, kIgnore };

// How one action on a listed file ended.
struct ActionOutcome {
  // False when the file was not handled as asked (gone, locked, no rights, ambiguous name...).
  bool done = true;
  // When not done: a sentence for the user naming the path and the system's reason.
  std::string message;
};

// What the threat actions do to the file a threat entry names. The main window decides which
// entry and what happens to the lists; this decides what happens on disk.
class ThreatActions {
 public:
  virtual ~ThreatActions() = default;
  // `listed_path` is the entry's caption: the full path as the scan listed it, in the ANSI
  // code page, so a name the code page cannot hold arrives with "?" in it.
  virtual ActionOutcome Apply(ThreatAction action, const std::string& listed_path) = 0;
};

}  // namespace velmora::actions

#endif  // VELMORA_ACTIONS_THREAT_ACTIONS_H_
