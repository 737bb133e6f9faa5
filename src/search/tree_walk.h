#ifndef VELMORA_SEARCH_TREE_WALK_H_
#define VELMORA_SEARCH_TREE_WALK_H_

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace velmora::search {

// The attribute mask both callers of the guard's scan pass: read-only, hidden, system, volume
// label, directory and archive, so every entry is examined.
inline constexpr std::uint32_t kAllEntriesMask = 63;

// A search pattern such as E:\*.*: the directory part, up to and including the last separator
// or ":" of the syntax, and the wildcard after it.
struct SearchPattern {
  std::string directory;
  std::string wildcard;
};
SearchPattern SplitPattern(const std::string& pattern, const platform::PathSyntax& syntax);

// What a walk tells the code that judges its entries, directory by directory. Directories are
// written as searched: ending with the separator (or empty, or "E:").
class WalkVisitor {
 public:
  virtual ~WalkVisitor() = default;
  // Before the directory's first search starts.
  virtual void EnterDirectory(const std::string& directory) { static_cast<void>(directory); }
  // The directory's first search did not start: nothing to list, or nothing it can list.
  virtual void SearchFailed(const std::string& directory) { static_cast<void>(directory); }
  // Each entry of the first search, in the platform's order, "." and ".." included.
  virtual void Examine(const std::string& directory, const platform::DirectoryEntry& entry) = 0;
  // The first search has ended; the subdirectories are walked next.
  virtual void Listed(const std::string& directory) { static_cast<void>(directory); }
  // The directory and everything below it have been walked.
  virtual void LeaveDirectory(const std::string& directory) { static_cast<void>(directory); }
};

// Whether the walk enters the directory of this entry, as a search with the directory mask
// yields it: a directory neither hidden, system nor volume label, whose name does not begin
// with a full stop (which also keeps "." and ".." out).
bool IsEnterable(const platform::DirectoryEntry& entry);

// The engine's walk of a tree, depth first: the first search of each directory uses the
// caller's mask and yields every entry to the visitor; then each enterable subdirectory is
// walked in turn. Where the mask already yields every entry that a search with the directory
// mask would, the subdirectories are taken from the first search and each directory is
// listed once; otherwise a second search with the directory mask picks them.
class TreeWalk {
 public:
  // `wanted` names the plain files whose attribute words the visitor reads from the entries
  // (see FileSystem::StartSparingSearch): null when it reads none.
  TreeWalk(platform::FileSystem& files, std::string wildcard, std::uint32_t mask,
           platform::NameFilter wanted);
  TreeWalk(const TreeWalk&) = delete;
  TreeWalk& operator=(const TreeWalk&) = delete;

  void Walk(const std::string& directory, WalkVisitor& visitor);

 private:
  platform::FileSystem& files_;
  const std::string wildcard_;
  const std::uint32_t mask_;
  const platform::NameFilter wanted_;
  const bool subdirectories_from_first_search_;
};

}  // namespace velmora::search

#endif  // VELMORA_SEARCH_TREE_WALK_H_
