#ifndef VELMORA_PLATFORM_FILE_SYSTEM_WIN32_H_
#define VELMORA_PLATFORM_FILE_SYSTEM_WIN32_H_

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace velmora::platform {

// The drives as FindFirstFileA, FindNextFileA and GetFileAttributesA see them: ANSI paths,
// limited to MAX_PATH, so the platform itself ends every descent.
class Win32FileSystem : public FileSystem {
 public:
  const PathSyntax& path_syntax() const override { return kWindowsPathSyntax; }
  std::unique_ptr<DirectorySearch> StartSearch(const std::string& directory,
                                               const std::string& wildcard,
                                               std::uint32_t mask) override;
  std::uint32_t QueryAttributes(const std::string& path) override;
  std::string SearchFailureReason(const std::string& directory) override;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_FILE_SYSTEM_WIN32_H_
