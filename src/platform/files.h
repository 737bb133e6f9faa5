#ifndef VELMORA_PLATFORM_FILES_H_
#define VELMORA_PLATFORM_FILES_H_

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::platform {

// A path exactly as the file system stores it, in UTF-16 code units: a drive letter, a colon
// and backslash-separated names ("E:\\photos\\caf\u00e9.vbs"). Names keep what the platform's
// path rules would change: trailing dots and blanks, reserved device names, any code unit.
using NativePath = std::u16string;

// One entry of a folder: its stored name, and that name as an ANSI directory search yields it
// (converted through the code page the platform's ANSI file calls use, "?" where it cannot).
struct FolderEntry {
  std::u16string name;
  std::string listed_name;
  std::uint32_t attributes = 0;
};

// What one file or directory is now.
struct FileFacts {
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  // Last write, in 100-nanosecond ticks since 1601-01-01 UTC.
  std::uint64_t modified = 0;
};

// Changes to the files of the drives, made only on the user's command. Paths are taken
// exactly: no name is trimmed, expanded or read as a device. Each call returns why it could
// not do what it says, in the platform's words ("Access is denied"), or empty when it did.
class Files {
 public:
  virtual ~Files() = default;

  // The entries of `folder` (a drive root ends with its backslash), without "." and "..".
  virtual std::string ListFolder(const NativePath& folder, std::vector<FolderEntry>& entries) = 0;
  virtual std::string Inspect(const NativePath& path, FileFacts& facts) = 0;
  // Gives the entry the read-only, hidden, system and archive bits of `attributes`.
  virtual std::string SetAttributes(const NativePath& path, std::uint32_t attributes) = 0;
  virtual std::string SetModifiedTime(const NativePath& path, std::uint64_t modified) = 0;
  virtual std::string RemoveFile(const NativePath& path) = 0;
  // Removes a directory only when it is empty.
  virtual std::string RemoveEmptyDirectory(const NativePath& path) = 0;
  // Renames within one volume; fails when an entry of the new name exists.
  virtual std::string Rename(const NativePath& from, const NativePath& to) = 0;
  virtual std::string ReadWholeFile(const NativePath& path, std::string& bytes) = 0;
  // Creates a file that must not exist yet, with these bytes; a part written is removed again.
  virtual std::string CreateNewFile(const NativePath& path, const std::string& bytes) = 0;
  // Creates a directory; one that exists already is no failure.
  virtual std::string MakeFolder(const NativePath& path) = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_FILES_H_
