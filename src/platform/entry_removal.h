#ifndef VELMORA_PLATFORM_ENTRY_REMOVAL_H_
#define VELMORA_PLATFORM_ENTRY_REMOVAL_H_

#include <cstdint>
#include <string>

#include "platform/file_attributes.h"
#include "platform/files.h"

namespace velmora::platform {

// The bits that make a plain removal fail or hide an entry from the user: malware leaves them
// on its files for just that.
inline constexpr std::uint32_t kGuardingAttributes =
    kAttributeReadOnly | kAttributeHidden | kAttributeSystem;

// Removes the file, or the directory if it is empty (never what it holds), whose attribute
// word is `attributes`: read-only, hidden and system are cleared first, and put back when the
// removal fails, so a failure leaves the entry as it was. Returns why it failed, or empty.
inline std::string RemoveEntry(Files& files, const NativePath& path, std::uint32_t attributes) {
  const bool clear = (attributes & kGuardingAttributes) != 0;
  if (clear) {
    if (std::string reason = files.SetAttributes(path, attributes & ~kGuardingAttributes);
        !reason.empty()) {
      return reason;
    }
  }
  std::string reason = (attributes & kAttributeDirectory) ? files.RemoveEmptyDirectory(path)
                                                          : files.RemoveFile(path);
  if (!reason.empty() && clear) {
    if (const std::string undo = files.SetAttributes(path, attributes); !undo.empty()) {
      reason += " (and its attributes could not be put back: " + undo + ")";
    }
  }
  return reason;
}

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_ENTRY_REMOVAL_H_
