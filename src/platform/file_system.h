#ifndef VELMORA_PLATFORM_FILE_SYSTEM_H_
#define VELMORA_PLATFORM_FILE_SYSTEM_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_attributes.h"

namespace velmora::platform {

// How a file system writes paths: the separator put between a directory and a name, and the
// characters after which a pattern's file-name part begins.
struct PathSyntax {
  char separator;
  std::string_view directory_ends;
};
inline constexpr PathSyntax kWindowsPathSyntax{'\\', "\\:"};
inline constexpr PathSyntax kPosixPathSyntax{'/', "/"};

// One entry as a directory search yields it: the long name exactly as stored (case kept) and
// the attribute word delivered with it.
struct DirectoryEntry {
  std::string name;
  std::uint32_t attributes = 0;
};

// A directory search in progress; destroying it closes the search.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // Fills `entry` with the next entry that the mask does not exclude; false at the end.
  virtual bool Next(DirectoryEntry& entry) = 0;
};

// Read-only access to the files of the drives.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual const PathSyntax& path_syntax() const = 0;

  // Starts a search of `directory` (empty, or ending with a separator or ":") for the names
  // that `wildcard` matches; "*.*" matches every name, with or without a full stop. Entries
  // that ExcludedBySearchMask(attributes, mask) rules out are passed over. Entries come in the
  // platform's own order, with "." and ".." where the platform yields them. Null when the
  // search cannot start: nothing matches, the directory cannot be read, the path is invalid or
  // too long, or every entry is passed over.
  virtual std::unique_ptr<DirectorySearch> StartSearch(const std::string& directory,
                                                       const std::string& wildcard,
                                                       std::uint32_t mask) = 0;

  // The attribute word of the file or directory at `path`, freshly read; kInvalidAttributes
  // when it cannot be read.
  virtual std::uint32_t QueryAttributes(const std::string& path) = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_FILE_SYSTEM_H_
