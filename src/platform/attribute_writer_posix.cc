#include "platform/attribute_writer_posix.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/dos_attributes_posix.h"
#include "platform/file_attributes.h"

namespace velmora::platform {
namespace {

constexpr char kDosAttribName[] = "user.DOSATTRIB";
constexpr std::uint32_t kSettable =
    kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeArchive;

std::string Reason(int error) { return std::strerror(error); }

std::string SetOnFat(const std::string& path, std::uint32_t attributes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return Reason(errno);
  std::uint32_t word = 0;
  std::string reason;
  if (::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &word) != 0) {
    reason = Reason(errno);
  } else {
    word = (word & ~kSettable) | (attributes & kSettable);
    if (::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &word) != 0) reason = Reason(errno);
  }
  ::close(fd);
  return reason;
}

// Whether a stored value is nothing but the hexadecimal word (Wine's form, maybe with a NUL).
bool IsPlainWord(std::string_view value) {
  if (!ParseDosAttribValue(value)) return false;
  std::size_t end = 2;
  while (end < value.size() && std::isxdigit(static_cast<unsigned char>(value[end]))) ++end;
  return end == value.size() || (end + 1 == value.size() && value[end] == '\0');
}

}  // namespace

std::string PosixAttributeWriter::SetAttributes(const std::string& path, std::uint32_t attributes) {
  struct stat status;
  if (::lstat(path.c_str(), &status) != 0) return Reason(errno);
  if (S_ISLNK(status.st_mode)) return "a symbolic link is not changed";

  char value[1024];
  const ssize_t length = ::getxattr(path.c_str(), kDosAttribName, value, sizeof value);
  if (length < 0 && errno == ENOTSUP) {
    struct statfs file_system;
    if (::statfs(path.c_str(), &file_system) == 0 && file_system.f_type == MSDOS_SUPER_MAGIC) {
      return SetOnFat(path, attributes);
    }
    return "this file system keeps no DOS attributes";
  }
  if (length < 0 && errno != ENODATA) return Reason(errno);
  std::uint32_t kept = 0;
  if (length >= 0) {
    const std::string_view stored(value, static_cast<std::size_t>(length));
    if (!IsPlainWord(stored))
      return "its attributes are kept in a record this tool does not rewrite";
    kept = *ParseDosAttribValue(stored) & ~kSettable;
  }
  char word[16];
  const int written = std::snprintf(word, sizeof word, "0x%x", kept | (attributes & kSettable));
  if (::setxattr(path.c_str(), kDosAttribName, word, static_cast<std::size_t>(written), 0) != 0) {
    return Reason(errno);
  }
  return {};
}

}  // namespace velmora::platform
