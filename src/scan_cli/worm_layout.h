#ifndef VELMORA_SCAN_CLI_WORM_LAYOUT_H_
#define VELMORA_SCAN_CLI_WORM_LAYOUT_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace velmora::scan_cli {

// The rules of the layouts shortcut worms leave behind, as reported.
inline constexpr char kShortcutMirrorsHiddenFolder[] = "shortcut-mirrors-hidden-folder";
inline constexpr char kRootOfShortcutsOverHiddenFolders[] = "root-of-shortcuts-over-hidden-folders";
inline constexpr char kShortcutRunsFromStick[] = "shortcut-runs-from-stick";

struct LayoutFinding {
  std::string rule;
  std::string path;
  std::uint32_t attributes = 0;
  std::string related;
};

// What one directory's listing shows.
struct LayoutVerdict {
  std::vector<LayoutFinding> findings;
  // Hidden or system folders that the worm hid from their owner (not links, not the system's
  // own folders, not a folder that holds what the shortcuts run), as full paths with their
  // words.
  std::vector<platform::DirectoryEntry> hidden_user_folders;
};

// The first bytes of a file (up to a limit), or nothing when it cannot be read.
using ReadFileHead = std::function<std::optional<std::string>(const std::string& path)>;
// Reads with the C++ library, which takes the same 8-bit paths as the file-system port.
std::optional<std::string> ReadFileHeadFromDisk(const std::string& path);

// Judges the entries of `directory` ("." and ".." left out, every word read) under the tree
// that starts at `root`: shortcuts named like hidden folders beside them, a root whose only
// visible entries are shortcuts over hidden folders, shortcuts whose target or arguments run a
// program or script that lies on the same stick (looked up through `files`). The guard's rules
// are not asked: these layouts are reported beside them.
LayoutVerdict CheckWormLayout(const std::string& directory, const std::string& root,
                              const std::vector<platform::DirectoryEntry>& entries,
                              platform::FileSystem& files, const ReadFileHead& read);

}  // namespace velmora::scan_cli

#endif  // VELMORA_SCAN_CLI_WORM_LAYOUT_H_
