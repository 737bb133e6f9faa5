#ifndef VELMORA_TESTS_FAKES_FAKE_FILES_H_
#define VELMORA_TESTS_FAKES_FAKE_FILES_H_

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_attributes.h"
#include "platform/files.h"

namespace velmora::fakes {

// The calls of the files port, to make one of them fail.
enum class FileCall {
  kList,
  kInspect,
  kSetAttributes,
  kSetModifiedTime,
  kRemoveFile,
  kRemoveEmptyDirectory,
  kRename,
  kRead,
  kCreate,
  kMakeFolder,
};

// An in-memory set of drives that refuses what Windows refuses: removing a read-only file or
// directory, removing a directory that holds anything, renaming onto an existing name or to
// another drive, writing to a write-protected medium, creating a file that exists or whose
// folder does not. Names are compared ignoring the case of A to Z and kept as they were given.
// The ANSI code page is modelled as Latin-1: code units above 0xFF list as "?". Every drive
// root ("E:\\") exists.
class FakeFiles : public platform::Files {
 public:
  void AddFile(const platform::NativePath& path, const std::string& bytes = "x",
               std::uint32_t attributes = platform::kAttributeArchive, std::uint64_t modified = 0);
  void AddFolder(const platform::NativePath& path,
                 std::uint32_t attributes = platform::kAttributeDirectory);

  // From now on `call` on `path` fails with `reason` (the path as the call is given it).
  void Fail(FileCall call, const platform::NativePath& path, const std::string& reason) {
    failures_[{call, Fold(path)}] = reason;
  }
  // The drive's medium refuses every change.
  void WriteProtect(char16_t drive) { write_protected_.insert(drive); }

  bool Has(const platform::NativePath& path) const { return entries_.count(Fold(path)) != 0; }
  // The stored name of the entry at `path` (as created), its word and its bytes.
  platform::NativePath StoredPath(const platform::NativePath& path) const;
  std::uint32_t Attributes(const platform::NativePath& path) const;
  std::string Bytes(const platform::NativePath& path) const;
  std::uint64_t Modified(const platform::NativePath& path) const;
  // The stored names in `folder` (with its trailing backslash), in order.
  std::vector<platform::NativePath> Names(const platform::NativePath& folder) const;

  std::string ListFolder(const platform::NativePath& folder,
                         std::vector<platform::FolderEntry>& entries) override;
  std::string Inspect(const platform::NativePath& path, platform::FileFacts& facts) override;
  std::string SetAttributes(const platform::NativePath& path, std::uint32_t attributes) override;
  std::string SetModifiedTime(const platform::NativePath& path, std::uint64_t modified) override;
  std::string RemoveFile(const platform::NativePath& path) override;
  std::string RemoveEmptyDirectory(const platform::NativePath& path) override;
  std::string Rename(const platform::NativePath& from, const platform::NativePath& to) override;
  std::string ReadWholeFile(const platform::NativePath& path, std::string& bytes) override;
  std::string CreateNewFile(const platform::NativePath& path, const std::string& bytes) override;
  std::string MakeFolder(const platform::NativePath& path) override;

  // The listed form of a name under the modelled code page.
  static std::string Listed(const std::u16string& name);

  // Platform texts the fake answers with.
  static constexpr char kNotFound[] = "The system cannot find the file specified";
  static constexpr char kPathNotFound[] = "The system cannot find the path specified";
  static constexpr char kAccessDenied[] = "Access is denied";
  static constexpr char kNotEmpty[] = "The directory is not empty";
  static constexpr char kExists[] = "The file exists";
  static constexpr char kAlreadyExists[] = "Cannot create a file when that file already exists";
  static constexpr char kOtherDrive[] = "The system cannot move the file to a different disk drive";
  static constexpr char kWriteProtected[] = "The media is write protected";
  static constexpr char kInvalidDirectory[] = "The directory name is invalid";

 private:
  struct Entry {
    platform::NativePath path;
    std::uint32_t attributes;
    std::string bytes;
    std::uint64_t modified;
  };

  static std::u16string Fold(const std::u16string& path);
  static platform::NativePath ParentOf(const platform::NativePath& path);
  const std::string* Failure(FileCall call, const platform::NativePath& path) const;
  const Entry* Find(const platform::NativePath& path) const;
  bool IsFolder(const platform::NativePath& path) const;
  bool Protected(const platform::NativePath& path) const {
    return !path.empty() && write_protected_.count(path[0]) != 0;
  }
  // Why an entry cannot be made at `path`; empty when it can.
  std::string CannotCreate(const platform::NativePath& path) const;

  std::map<std::u16string, Entry> entries_;  // by folded path
  std::map<std::pair<FileCall, std::u16string>, std::string> failures_;
  std::set<char16_t> write_protected_;
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_FILES_H_
