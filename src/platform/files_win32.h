#ifndef VELMORA_PLATFORM_FILES_WIN32_H_
#define VELMORA_PLATFORM_FILES_WIN32_H_

#include "platform/files.h"

namespace velmora::platform {

// The wide file calls with "\\?\" paths, so that a name is never trimmed of its trailing dots
// and blanks nor taken for a device (CON, NUL, COM1 ...), whatever a stick calls its files.
class Win32Files : public Files {
 public:
  std::string ListFolder(const NativePath& folder, std::vector<FolderEntry>& entries) override;
  std::string Inspect(const NativePath& path, FileFacts& facts) override;
  std::string SetAttributes(const NativePath& path, std::uint32_t attributes) override;
  std::string SetModifiedTime(const NativePath& path, std::uint64_t modified) override;
  std::string RemoveFile(const NativePath& path) override;
  std::string RemoveEmptyDirectory(const NativePath& path) override;
  std::string Rename(const NativePath& from, const NativePath& to) override;
  std::string ReadWholeFile(const NativePath& path, std::string& bytes) override;
  std::string CreateNewFile(const NativePath& path, const std::string& bytes) override;
  std::string MakeFolder(const NativePath& path) override;
};

// The user's local application-data folder ("C:\Users\me\AppData\Local"); empty when the
// platform has none.
NativePath LocalApplicationDataFolder();

// The current time in the ticks of FileFacts::modified.
std::uint64_t SystemTimeTicks();

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_FILES_WIN32_H_
