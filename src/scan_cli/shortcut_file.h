#ifndef VELMORA_SCAN_CLI_SHORTCUT_FILE_H_
#define VELMORA_SCAN_CLI_SHORTCUT_FILE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::scan_cli {

// What a shell shortcut (.lnk) says it starts, as far as the scan needs it. Texts are UTF-8
// where the file stores UTF-16, the stored bytes otherwise; parts the file lacks are empty.
struct Shortcut {
  std::string target;  // the local base path followed by the common path suffix
  std::string relative_path;
  std::string working_directory;
  std::string arguments;
};

// Shortcuts are small; a file named like one but larger is read only this far.
inline constexpr std::size_t kShortcutReadLimit = 64 * 1024;

// Reads the bytes of a shortcut file: its header, link information and string data (the
// shell's item list is skipped). Empty when the bytes are not a shortcut; every offset and
// count is checked against the bytes given, so a damaged or hostile file yields what can be
// read of it or nothing.
std::optional<Shortcut> ParseShortcut(std::string_view bytes);

}  // namespace velmora::scan_cli

#endif  // VELMORA_SCAN_CLI_SHORTCUT_FILE_H_
