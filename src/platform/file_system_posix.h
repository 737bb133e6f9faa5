#ifndef VELMORA_PLATFORM_FILE_SYSTEM_POSIX_H_
#define VELMORA_PLATFORM_FILE_SYSTEM_POSIX_H_

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace velmora::platform {

// The file systems of a POSIX machine (a mounted stick, say), searched the way the platform's
// own search works: every entry with its attribute word (see ReadDosAttributes), "." and ".."
// first in every directory but the root of a mounted file system, the wildcard matched by
// MatchesWildcard.
//
// Symbolic links to directories are searched like any directory, as reparse points are on the
// platform, but the walk always ends: a directory already on the current descent path (same
// device and inode) cannot be searched again, and no search or query of a path of kPathLimit
// bytes or more starts. The descent path is the chain of directories searched so far whose
// paths lead to the one asked for, so a depth-first walk needs to tell this class nothing.
// A directory whose search is open: its path as searched and its descriptor.
struct OpenDirectory {
  const std::string* path;
  int fd;
};
using OpenDirectories = std::vector<OpenDirectory>;

class PosixFileSystem : public FileSystem {
 public:
  static constexpr std::size_t kPathLimit = 4096;

  const PathSyntax& path_syntax() const override { return kPosixPathSyntax; }
  std::unique_ptr<DirectorySearch> StartSearch(const std::string& directory,
                                               const std::string& wildcard,
                                               std::uint32_t mask) override;
  // Reading a word costs a status query and an extended-attribute read per entry, several
  // times what listing it costs, so plain files (as the listing's type tells) are spared.
  std::unique_ptr<DirectorySearch> StartSparingSearch(const std::string& directory,
                                                      const std::string& wildcard,
                                                      std::uint32_t mask,
                                                      NameFilter wanted) override;
  // An entry of a directory whose search is still open is looked up by its name in that
  // directory, as the search reads it: the same answer for a fraction of the cost.
  std::uint32_t QueryAttributes(const std::string& path) override;
  std::string SearchFailureReason(const std::string& directory) override;

 private:
  struct SearchedDirectory {
    std::string path;
    dev_t device;
    ino_t inode;
  };
  // False when the directory is on the descent path already; otherwise it joins the path.
  bool EnterDescent(const std::string& directory, dev_t device, ino_t inode);
  std::unique_ptr<DirectorySearch> Start(const std::string& directory, const std::string& wildcard,
                                         std::uint32_t mask, bool sparing, NameFilter wanted);

  std::vector<SearchedDirectory> descent_;
  // The open searches' directories, innermost last, each with its descriptor; shared with the
  // searches, which add and remove themselves.
  std::shared_ptr<OpenDirectories> open_directories_ = std::make_shared<OpenDirectories>();
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_FILE_SYSTEM_POSIX_H_
