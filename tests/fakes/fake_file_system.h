#ifndef VELMORA_TESTS_FAKES_FAKE_FILE_SYSTEM_H_
#define VELMORA_TESTS_FAKES_FAKE_FILE_SYSTEM_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace velmora::fakes {

// An in-memory tree of named entries with attribute words, searched the way the platform
// does: entries in the order they were added, the exclusion rule applied, "." and ".." first
// in every directory that is not a root, and an empty search counting as one that failed.
// Paths are written with the syntax's separator ("E:\\photos\\Setup.exe"); roots are the
// directories that were never added as entries ("E:\\").
class FakeFileSystem : public platform::FileSystem {
 public:
  explicit FakeFileSystem(const platform::PathSyntax& syntax = platform::kWindowsPathSyntax)
      : syntax_(syntax) {}

  // Adds an entry under its parent directory, which must have been added (or be a root).
  void Add(const std::string& path, std::uint32_t attributes);
  void AddFile(const std::string& path, std::uint32_t attributes = platform::kAttributeArchive) {
    Add(path, attributes);
  }
  void AddDirectory(const std::string& path,
                    std::uint32_t attributes = platform::kAttributeDirectory) {
    Add(path, attributes);
  }
  // From now on the attribute query of `path` answers `attributes`, whatever the search says.
  void SetQueriedAttributes(const std::string& path, std::uint32_t attributes) {
    queried_overrides_[path] = attributes;
  }
  // Searches of this directory (written with its trailing separator) fail to start.
  void MakeUnreadable(const std::string& directory) { unreadable_.insert(directory); }
  // Whether non-root directories yield "." and ".." (some file systems do not).
  void set_dot_entries(bool on) { dot_entries_ = on; }

  const platform::PathSyntax& path_syntax() const override { return syntax_; }
  std::unique_ptr<platform::DirectorySearch> StartSearch(const std::string& directory,
                                                         const std::string& wildcard,
                                                         std::uint32_t mask) override;
  std::uint32_t QueryAttributes(const std::string& path) override;

  // Every attribute query, in order, and every search that was asked for as directory + mask.
  const std::vector<std::string>& queries() const { return queries_; }
  const std::vector<std::string>& searches() const { return searches_; }
  // Searches started and not yet closed.
  int open_searches() const { return *open_searches_; }
  // Runs inside every attribute query, before it answers: lets a test look at the world as the
  // engine left it right before examining an entry.
  std::function<void(const std::string& path)> on_query;

 private:
  struct Entry {
    std::string name;
    std::uint32_t attributes;
  };

  std::string ParentOf(const std::string& path) const;
  bool IsRoot(const std::string& directory) const { return !attributes_.count(Trimmed(directory)); }
  std::string Trimmed(const std::string& directory) const;

  platform::PathSyntax syntax_;
  std::map<std::string, std::vector<Entry>> children_;  // directory with separator -> entries
  std::map<std::string, std::uint32_t> attributes_;     // path of every added entry
  std::map<std::string, std::uint32_t> queried_overrides_;
  std::set<std::string> unreadable_;
  bool dot_entries_ = true;
  std::vector<std::string> queries_;
  std::vector<std::string> searches_;
  std::shared_ptr<int> open_searches_ = std::make_shared<int>(0);
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_FILE_SYSTEM_H_
