#include "platform/file_system_posix.h"

#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>

#include <cstring>
#include <optional>
#include <utility>

#include "platform/dos_attributes_posix.h"
#include "platform/wildcard.h"

namespace velmora::platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

// The root of a mounted file system (or of the whole tree) has no "." and ".." on the platform.
bool IsFileSystemRoot(const std::string& directory, const struct stat& self) {
  struct stat parent;
  const std::string parent_path = (directory.empty() ? std::string("./") : directory) + "..";
  if (::stat(parent_path.c_str(), &parent) != 0) return true;
  return parent.st_dev != self.st_dev || parent.st_ino == self.st_ino;
}

class PosixDirectorySearch : public DirectorySearch {
 public:
  // A sparing search reads the words of plain files only where `wanted` accepts the name.
  PosixDirectorySearch(UniqueDir dir, std::string directory, std::string wildcard,
                       std::uint32_t mask, bool dot_entries, bool sparing, NameFilter wanted,
                       std::shared_ptr<OpenDirectories> open_directories)
      : dir_(std::move(dir)),
        directory_(std::move(directory)),
        wildcard_(std::move(wildcard)),
        mask_(mask),
        sparing_(sparing && MaskExcludesNothing(mask)),
        wanted_(wanted),
        dots_left_(dot_entries ? 2 : 0),
        open_directories_(std::move(open_directories)) {
    open_directories_->push_back({&directory_, ::dirfd(dir_.get())});
  }
  ~PosixDirectorySearch() override {
    for (auto open = open_directories_->end(); open != open_directories_->begin();) {
      if ((--open)->path == &directory_) {
        open_directories_->erase(open);
        break;
      }
    }
  }
  PosixDirectorySearch(const PosixDirectorySearch&) = delete;
  PosixDirectorySearch& operator=(const PosixDirectorySearch&) = delete;

  // Looks ahead once, so that a search whose every entry is passed over fails to start.
  bool Start() {
    pending_.emplace();
    if (!Fetch(*pending_)) pending_.reset();
    return pending_.has_value();
  }

  bool Next(DirectoryEntry& entry) override {
    if (pending_) {
      entry = std::move(*pending_);
      pending_.reset();
      return true;
    }
    return Fetch(entry);
  }

 private:
  bool Fetch(DirectoryEntry& entry) {
    while (dots_left_ > 0) {
      const char* name = dots_left_-- == 2 ? "." : "..";
      if (Yield(name, DT_DIR, entry)) return true;
    }
    while (const struct dirent* found = ::readdir(dir_.get())) {
      const std::string_view name = found->d_name;
      if (name == "." || name == "..") continue;  // yielded first, where the platform has them
      if (Yield(name, found->d_type, entry)) return true;
    }
    return false;
  }

  // Regular files, devices, pipes and sockets; links and unknown types may be directories.
  static bool SurelyNoDirectory(unsigned char type) {
    return type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN;
  }

  bool Yield(std::string_view name, unsigned char type, DirectoryEntry& entry) {
    if (!MatchesWildcard(wildcard_, name)) return false;
    if (sparing_ && SurelyNoDirectory(type) && (wanted_ == nullptr || !wanted_(name))) {
      entry.name.assign(name);
      entry.attributes = 0;
      entry.attributes_read = false;
      return true;
    }
    path_.assign(directory_).append(name);
    std::uint32_t attributes =
        path_.size() < PosixFileSystem::kPathLimit
            ? ReadDosAttributesAt(::dirfd(dir_.get()), path_.c_str() + directory_.size(), path_)
            : kInvalidAttributes;
    // Gone or out of reach since it was listed: the listing's own type still tells what it was.
    if (attributes == kInvalidAttributes) {
      attributes = type == DT_DIR ? kAttributeDirectory : kAttributeArchive;
    }
    if (ExcludedBySearchMask(attributes, mask_)) return false;
    entry.name.assign(name);
    entry.attributes = attributes;
    entry.attributes_read = true;
    return true;
  }

  UniqueDir dir_;
  const std::string directory_;
  const std::string wildcard_;
  const std::uint32_t mask_;
  const bool sparing_;
  const NameFilter wanted_;
  int dots_left_;
  std::optional<DirectoryEntry> pending_;
  std::string path_;
  const std::shared_ptr<OpenDirectories> open_directories_;
};

}  // namespace

bool PosixFileSystem::EnterDescent(const std::string& directory, dev_t device, ino_t inode) {
  // Directories whose paths do not lead here were left by the walk.
  const auto leads_here = [&directory](const std::string& earlier) {
    return directory.compare(0, earlier.size(), earlier) == 0;
  };
  while (!descent_.empty() && !leads_here(descent_.back().path)) descent_.pop_back();
  const bool searched_again = !descent_.empty() && descent_.back().path == directory;
  for (std::size_t i = 0; i + (searched_again ? 1 : 0) < descent_.size(); ++i) {
    if (descent_[i].device == device && descent_[i].inode == inode) return false;
  }
  if (!searched_again) descent_.push_back({directory, device, inode});
  return true;
}

std::unique_ptr<DirectorySearch> PosixFileSystem::StartSearch(const std::string& directory,
                                                              const std::string& wildcard,
                                                              std::uint32_t mask) {
  return Start(directory, wildcard, mask, false, nullptr);
}

std::unique_ptr<DirectorySearch> PosixFileSystem::StartSparingSearch(const std::string& directory,
                                                                     const std::string& wildcard,
                                                                     std::uint32_t mask,
                                                                     NameFilter wanted) {
  return Start(directory, wildcard, mask, true, wanted);
}

std::unique_ptr<DirectorySearch> PosixFileSystem::Start(const std::string& directory,
                                                        const std::string& wildcard,
                                                        std::uint32_t mask, bool sparing,
                                                        NameFilter wanted) {
  if (directory.size() + wildcard.size() >= kPathLimit) return nullptr;
  UniqueDir dir(::opendir(directory.empty() ? "." : directory.c_str()));
  if (!dir) return nullptr;
  struct stat self;
  if (::fstat(::dirfd(dir.get()), &self) != 0) return nullptr;
  if (!EnterDescent(directory, self.st_dev, self.st_ino)) return nullptr;
  auto search = std::make_unique<PosixDirectorySearch>(std::move(dir), directory, wildcard, mask,
                                                       !IsFileSystemRoot(directory, self), sparing,
                                                       wanted, open_directories_);
  if (!search->Start()) return nullptr;
  return search;
}

std::uint32_t PosixFileSystem::QueryAttributes(const std::string& path) {
  if (path.size() >= kPathLimit) return kInvalidAttributes;
  // An entry of a directory being searched, as the engine asks for each entry it is given.
  const std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash + 1 < path.size()) {
    const std::string_view parent(path.data(), slash + 1);
    for (auto open = open_directories_->rbegin(); open != open_directories_->rend(); ++open) {
      if (*open->path == parent)
        return ReadDosAttributesAt(open->fd, path.c_str() + slash + 1, path);
    }
  }
  return ReadDosAttributes(path);
}

std::string PosixFileSystem::SearchFailureReason(const std::string& directory) {
  if (directory.size() >= kPathLimit) return std::strerror(ENAMETOOLONG);
  UniqueDir dir(::opendir(directory.empty() ? "." : directory.c_str()));
  if (!dir) return std::strerror(errno);
  return {};
}

}  // namespace velmora::platform
