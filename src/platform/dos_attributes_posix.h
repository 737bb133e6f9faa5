#ifndef VELMORA_PLATFORM_DOS_ATTRIBUTES_POSIX_H_
#define VELMORA_PLATFORM_DOS_ATTRIBUTES_POSIX_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform {

// The attribute word of the entry at `path`, with the platform's bit values. Where the file
// system keeps DOS attributes they are used: the "user.DOSATTRIB" extended attribute as Wine
// and Samba write it, or the FAT attribute ioctl on vfat. Otherwise they are derived: directory
// 16, archive 32 for everything else, read-only when no one may write, hidden when the name
// starts with "." (but "." and ".." themselves are not hidden). The directory bit always
// follows the entry's real type. A symbolic link gives its target's word plus the reparse-point
// bit, as a link does on Windows; a dangling one counts as a file. kInvalidAttributes when the
// entry cannot be examined.
std::uint32_t ReadDosAttributes(const std::string& path);

// The same word for the entry `name` of the open directory `directory_fd`, whose full path is
// `path`. The kernel then resolves one name instead of every component of the path, which
// halves what a word costs in a deep tree; the answer is the one ReadDosAttributes(path) gives
// while `path` still leads into that directory.
std::uint32_t ReadDosAttributesAt(int directory_fd, const char* name, const std::string& path);

// The word at the start of a "user.DOSATTRIB" value: "0x" and hexadecimal digits, which both
// Wine's plain text and Samba's binary record begin with. Empty when there is none.
std::optional<std::uint32_t> ParseDosAttribValue(std::string_view value);

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_DOS_ATTRIBUTES_POSIX_H_
