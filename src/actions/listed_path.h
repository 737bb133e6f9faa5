#ifndef VELMORA_ACTIONS_LISTED_PATH_H_
#define VELMORA_ACTIONS_LISTED_PATH_H_

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace velmora::actions {

// The one entry on disk that a listed path stands for.
struct ResolvedPath {
  platform::NativePath path;
  std::uint32_t attributes = 0;
  // Why no single entry was found; empty when one was.
  std::string error;
};

// Finds the entry a threat list's caption names. The caption is the scan's ANSI form of the
// path: a name the code page cannot hold arrives with "?" (or a look-alike letter) in it, and
// an ANSI call on it would fail or, worse, match as a wildcard. So each folder on the way is
// listed by its stored names, and the entry taken is the one whose name converts to the
// caption's; when several do, none is taken. Only paths on a drive ("E:\...") below its root
// are resolved.
ResolvedPath ResolveListedPath(platform::Files& files, const std::string& listed_path);

// The folder part of a native path, with its backslash, and the last name.
platform::NativePath FolderOf(const platform::NativePath& path);
platform::NativePath NameOf(const platform::NativePath& path);

}  // namespace velmora::actions

#endif  // VELMORA_ACTIONS_LISTED_PATH_H_
