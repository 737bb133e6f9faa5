#include "platform/dos_attributes_posix.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>

#include "platform/file_attributes.h"

namespace velmora::platform {
namespace {

constexpr char kDosAttribName[] = "user.DOSATTRIB";

// The name the entry goes by: "dir/sub/." is sub, "dir/sub/.." is dir.
std::string_view EffectiveName(std::string_view path) {
  int skip = 0;
  while (!path.empty()) {
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    path = slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      ++skip;
      continue;
    }
    if (skip == 0) return name;
    --skip;
  }
  return {};
}

// getxattrat(2), Linux 6.13 and later: an extended attribute of a name in an open directory.
// Its number is the same on every architecture; older C headers do not know it yet.
#if defined(__linux__) && !defined(SYS_getxattrat)
#define SYS_getxattrat 464
#endif

#ifdef SYS_getxattrat
struct XattrArgs {  // struct xattr_args of <linux/xattr.h>
  std::uint64_t value;
  std::uint32_t size;
  std::uint32_t flags;
};

// Cleared on the first kernel that does not have the call; every later read takes the path.
std::atomic<bool> relative_xattr_reads{true};
#endif

// Follows a link, as getxattr does.
ssize_t GetDosAttrib(int directory_fd, const char* name, const std::string& path, char* value,
                     std::size_t size) {
#ifdef SYS_getxattrat
  if (directory_fd != AT_FDCWD && relative_xattr_reads.load(std::memory_order_relaxed)) {
    XattrArgs args{reinterpret_cast<std::uintptr_t>(value), static_cast<std::uint32_t>(size), 0};
    const long length =
        ::syscall(SYS_getxattrat, directory_fd, name, 0, kDosAttribName, &args, sizeof args);
    if (length >= 0 || (errno != ENOSYS && errno != EPERM)) return length;
    // ENOSYS: an older kernel; EPERM: a sandbox that filters calls it does not know.
    relative_xattr_reads.store(false, std::memory_order_relaxed);
  }
#endif
  static_cast<void>(directory_fd);
  static_cast<void>(name);
  return ::getxattr(path.c_str(), kDosAttribName, value, size);
}

// `unsupported` tells whether the file system keeps no extended attributes at all.
std::optional<std::uint32_t> StoredInExtendedAttribute(int directory_fd, const char* name,
                                                       const std::string& path, bool& unsupported) {
  // Samba's record is well under this; a longer value is not one we could read anyway.
  char value[1024];
  const ssize_t length = GetDosAttrib(directory_fd, name, path, value, sizeof value);
  if (length < 0) {
    unsupported = errno == ENOTSUP;
    return std::nullopt;
  }
  return ParseDosAttribValue(std::string_view(value, static_cast<std::size_t>(length)));
}

std::optional<std::uint32_t> StoredOnFat(const std::string& path) {
  struct statfs file_system;
  if (::statfs(path.c_str(), &file_system) != 0 || file_system.f_type != MSDOS_SUPER_MAGIC) {
    return std::nullopt;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::uint32_t attributes = 0;
  const int result = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &attributes);
  ::close(fd);
  if (result != 0) return std::nullopt;
  return attributes;
}

}  // namespace

std::optional<std::uint32_t> ParseDosAttribValue(std::string_view value) {
  if (value.size() < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) {
    return std::nullopt;
  }
  std::uint32_t word = 0;
  std::size_t digits = 0;
  for (std::size_t i = 2; i < value.size() && digits < 8; ++i, ++digits) {
    const char c = value[i];
    int nibble;
    if (c >= '0' && c <= '9') {
      nibble = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      nibble = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      nibble = c - 'A' + 10;
    } else {
      break;
    }
    word = (word << 4) | static_cast<std::uint32_t>(nibble);
  }
  if (digits == 0) return std::nullopt;
  return word;
}

std::uint32_t ReadDosAttributes(const std::string& path) {
  return ReadDosAttributesAt(AT_FDCWD, path.c_str(), path);
}

std::uint32_t ReadDosAttributesAt(int directory_fd, const char* name, const std::string& path) {
  struct stat status;
  if (::fstatat(directory_fd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return kInvalidAttributes;
  const bool link = S_ISLNK(status.st_mode);
  if (link) {
    struct stat target;
    if (::fstatat(directory_fd, name, &target, 0) == 0) status = target;
  }
  const bool directory = S_ISDIR(status.st_mode);

  bool unsupported = false;
  std::optional<std::uint32_t> stored =
      StoredInExtendedAttribute(directory_fd, name, path, unsupported);
  if (!stored && unsupported) stored = StoredOnFat(path);

  std::uint32_t word;
  if (stored) {
    word = *stored & ~(kAttributeDirectory | kAttributeReparsePoint);
  } else {
    word = directory ? 0 : kAttributeArchive;
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) word |= kAttributeReadOnly;
    const std::string_view effective_name = EffectiveName(path);
    if (!effective_name.empty() && effective_name[0] == '.') word |= kAttributeHidden;
  }
  if (directory) word |= kAttributeDirectory;
  if (link) word |= kAttributeReparsePoint;
  return word;
}

}  // namespace velmora::platform
