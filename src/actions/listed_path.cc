#include "actions/listed_path.h"

#include <algorithm>
#include <vector>

#include "platform/file_attributes.h"

namespace velmora::actions {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::vector<std::string> Names(const std::string& below_root) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= below_root.size()) {
    const std::size_t end = std::min(below_root.find('\\', start), below_root.size());
    names.push_back(below_root.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

platform::NativePath FolderOf(const platform::NativePath& path) {
  return path.substr(0, path.find_last_of(u'\\') + 1);
}

platform::NativePath NameOf(const platform::NativePath& path) {
  return path.substr(path.find_last_of(u'\\') + 1);
}

ResolvedPath ResolveListedPath(platform::Files& files, const std::string& listed_path) {
  ResolvedPath resolved;
  if (listed_path.size() < 4 || !IsDriveLetter(listed_path[0]) || listed_path[1] != ':' ||
      listed_path[2] != '\\') {
    resolved.error = "it is not a path below a drive's root";
    return resolved;
  }
  const std::vector<std::string> names = Names(listed_path.substr(3));
  platform::NativePath current{static_cast<char16_t>(listed_path[0]), u':', u'\\'};
  std::vector<platform::FolderEntry> entries;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool last = i + 1 == names.size();
    if (names[i].empty()) {
      resolved.error = "it is not a path below a drive's root";
      return resolved;
    }
    if (std::string reason = files.ListFolder(current, entries); !reason.empty()) {
      resolved.error = reason;
      return resolved;
    }
    const platform::FolderEntry* match = nullptr;
    int matches = 0;
    for (const platform::FolderEntry& entry : entries) {
      if (entry.listed_name != names[i]) continue;
      if (!last && !(entry.attributes & platform::kAttributeDirectory)) continue;
      match = &entry;
      ++matches;
    }
    if (matches == 0) {
      resolved.error = last ? "it is no longer there" : "its folder is no longer there";
      return resolved;
    }
    if (matches > 1) {
      resolved.error = std::to_string(matches) + " entries of " +
                       (last ? "its folder" : "a folder on its path") + " are listed as \"" +
                       names[i] + "\", so none of them was touched";
      return resolved;
    }
    current += match->name;
    if (!last) current += u'\\';
    resolved.attributes = match->attributes;
  }
  resolved.path = current;
  return resolved;
}

}  // namespace velmora::actions
