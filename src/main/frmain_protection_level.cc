// The registry page's protection-level panel: the slider picks a level and the memo describes
// it. Nothing else reads the level; the check boxes beside it only tick.
#include <array>
#include <string>

#include "main/frmain.h"

namespace velmora::main {
namespace {

// What each slider position, top to bottom, says about its level.
const std::array<std::string, 3>& ProtectionLevelDescriptions() {
  static const std::array<std::string, 3> descriptions = {
      "\nHigh Security Level can Protect the registry 100 % and delete any new Programs",
      "\nA Medium Security ! Registry Protection anti Virus and malware The program will ask the "
      "user's permission to accept the new program or Delete it",
      "\nLow Security Registry Protection Anti Virus This option will alert user's when new "
      "software install in regedit  ",
  };
  return descriptions;
}

}  // namespace

void TFrmain::LevelSecureChange(ui::TrackBar& /*sender*/) {
  const int position = LevelSecure.position();
  const auto& descriptions = ProtectionLevelDescriptions();
  if (position < 0 || position >= static_cast<int>(descriptions.size())) return;
  MemDescription.SetText(descriptions[static_cast<std::size_t>(position)]);
}

}  // namespace velmora::main
