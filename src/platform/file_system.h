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
// the attribute word delivered with it. A sparing search (FileSystem::StartSparingSearch) may
// leave the word of a plain file unread: `attributes` then holds only what the listing itself
// tells (never the directory bit) and `attributes_read` is false.
struct DirectoryEntry {
  std::string name;
  std::uint32_t attributes = 0;
  bool attributes_read = true;
};

// Names whose attribute words a caller of a sparing search will look at.
using NameFilter = bool (*)(std::string_view name);

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

  // StartSearch for callers that judge names before attributes. Where reading an entry's word
  // costs more than listing it, the word is read only where something needs it: every word
  // when the mask can exclude entries, the word of every directory (and of every entry that may
  // be one), and that of each plain file whose name `wanted` accepts (none when null). The rest
  // come with attributes_read false. Adapters whose listing delivers the words anyway deliver
  // them all.
  virtual std::unique_ptr<DirectorySearch> StartSparingSearch(const std::string& directory,
                                                              const std::string& wildcard,
                                                              std::uint32_t mask,
                                                              NameFilter wanted) {
    static_cast<void>(wanted);
    return StartSearch(directory, wildcard, mask);
  }

  // The attribute word of the file or directory at `path`, freshly read; kInvalidAttributes
  // when it cannot be read.
  virtual std::uint32_t QueryAttributes(const std::string& path) = 0;

  // Why `directory` cannot be searched, as the platform words it ("Permission denied"); empty
  // when it can be listed, even if a search of it yields nothing. For reporting only: searches
  // never depend on it.
  virtual std::string SearchFailureReason(const std::string& directory) {
    static_cast<void>(directory);
    return {};
  }
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_FILE_SYSTEM_H_
