#ifndef VELMORA_TESTS_NATIVE_TEMP_TREE_POSIX_H_
#define VELMORA_TESTS_NATIVE_TEMP_TREE_POSIX_H_

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora::platform {

// A fresh directory under the system's temporary directory, removed with all it holds.
class TempTree {
 public:
  TempTree() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/velmora-XXXXXX";
    root_ = ::mkdtemp(pattern.data()) ? pattern + "/" : std::string();
  }
  ~TempTree() {
    if (root_.empty()) return;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             root_, std::filesystem::directory_options::skip_permission_denied, ignored)) {
      if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
        ::chmod(entry.path().c_str(), 0755);
      }
    }
    std::filesystem::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& root() const { return root_; }
  std::string File(const std::string& relative, mode_t mode = 0644) const {
    const std::string path = root_ + relative;
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, mode);
    EXPECT_GE(fd, 0) << path;
    ::close(fd);
    ::chmod(path.c_str(), mode);
    return path;
  }
  std::string Directory(const std::string& relative) const {
    const std::string path = root_ + relative;
    EXPECT_EQ(::mkdir(path.c_str(), 0755), 0) << path;
    return path;
  }
  std::string Link(const std::string& relative, const std::string& target) const {
    const std::string path = root_ + relative;
    EXPECT_EQ(::symlink(target.c_str(), path.c_str()), 0) << path;
    return path;
  }

 private:
  std::string root_;
};

inline bool SetDosAttrib(const std::string& path, std::string_view value) {
  return ::setxattr(path.c_str(), "user.DOSATTRIB", value.data(), value.size(), 0) == 0;
}

}  // namespace velmora::platform

#endif  // VELMORA_TESTS_NATIVE_TEMP_TREE_POSIX_H_
