#include "search/tree_walk.h"

#include <utility>
#include <vector>

namespace velmora::search {

SearchPattern SplitPattern(const std::string& pattern, const platform::PathSyntax& syntax) {
  const std::size_t split = pattern.find_last_of(syntax.directory_ends);
  const std::size_t name_start = split == std::string::npos ? 0 : split + 1;
  return {pattern.substr(0, name_start), pattern.substr(name_start)};
}

bool IsEnterable(const platform::DirectoryEntry& entry) {
  return (entry.attributes & platform::kAttributeDirectory) != 0 &&
         !platform::ExcludedBySearchMask(entry.attributes, platform::kAttributeDirectory) &&
         !entry.name.empty() && entry.name[0] != '.';
}

TreeWalk::TreeWalk(platform::FileSystem& files, std::string wildcard, std::uint32_t mask,
                   platform::NameFilter wanted)
    : files_(files),
      wildcard_(std::move(wildcard)),
      mask_(mask),
      wanted_(wanted),
      subdirectories_from_first_search_(platform::MaskExcludesNothing(mask)) {}

void TreeWalk::Walk(const std::string& directory, WalkVisitor& visitor) {
  visitor.EnterDirectory(directory);
  const char separator = files_.path_syntax().separator;

  std::vector<std::string> subdirectories;
  if (auto search = files_.StartSparingSearch(directory, wildcard_, mask_, wanted_)) {
    platform::DirectoryEntry entry;
    while (search->Next(entry)) {
      visitor.Examine(directory, entry);
      if (subdirectories_from_first_search_ && IsEnterable(entry)) {
        subdirectories.push_back(std::move(entry.name));
      }
    }
  } else {
    visitor.SearchFailed(directory);
  }
  visitor.Listed(directory);

  if (subdirectories_from_first_search_) {
    for (const std::string& name : subdirectories) Walk(directory + name + separator, visitor);
  } else if (auto search =
                 files_.StartSearch(directory, wildcard_, platform::kAttributeDirectory)) {
    platform::DirectoryEntry entry;
    while (search->Next(entry)) {
      if (IsEnterable(entry)) Walk(directory + entry.name + separator, visitor);
    }
  }

  visitor.LeaveDirectory(directory);
}

}  // namespace velmora::search
