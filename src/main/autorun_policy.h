#ifndef VELMORA_MAIN_AUTORUN_POLICY_H_
#define VELMORA_MAIN_AUTORUN_POLICY_H_

#include <cstdint>

namespace velmora::main {

// The current user's AutoRun policy, switched from the tray menu. The menu's state is read
// from the value in the "Policies" key itself.
inline constexpr char kAutoRunPolicyKey[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\";
// Windows itself reads the policy from this subkey, so the switch writes it there too: the
// value above alone would leave AutoRun on while the menu says it is off.
inline constexpr char kAutoRunExplorerPolicyKey[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr char kNoDriveAutoRunValue[] = "NoDriveAutoRun";
// One bit per drive letter, A (bit 0) to Z (bit 25): AutoRun off on every drive.
inline constexpr std::uint32_t kNoAutoRunOnAnyDrive = 0x3FFFFFF;

// The tray menu item's two states. The menu gives the item its hot key when it pops up, so
// the click handler sees the caption with the ampersand.
inline constexpr char kDisableAutoRunCaption[] = "Desable AutoRun Drive";
inline constexpr char kDisableAutoRunCaptionAtClick[] = "&Desable AutoRun Drive";
inline constexpr char kEnableAutoRunCaption[] = "Enable Autorun Drive";
inline constexpr int kDisableAutoRunImage = 2;
inline constexpr int kEnableAutoRunImage = 3;

}  // namespace velmora::main

#endif  // VELMORA_MAIN_AUTORUN_POLICY_H_
