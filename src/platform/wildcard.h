#ifndef VELMORA_PLATFORM_WILDCARD_H_
#define VELMORA_PLATFORM_WILDCARD_H_

#include <cstddef>
#include <string_view>

namespace velmora::platform {

// Whether `name` matches a directory-search wildcard the way the platform's search does: "*"
// stands for any run of characters, "?" for any one, letters A to Z match either case, and
// "*.*" matches every name, with or without a full stop. For file systems that have no search
// of their own.
inline bool MatchesWildcard(std::string_view wildcard, std::string_view name) {
  if (wildcard == "*.*" || wildcard == "*") return true;
  const auto fold = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  std::size_t w = 0;
  std::size_t n = 0;
  // Where the last "*" was, and the name position it currently stands in for.
  std::size_t star = std::string_view::npos;
  std::size_t star_match = 0;
  while (n < name.size()) {
    if (w < wildcard.size() && wildcard[w] == '*') {
      star = w++;
      star_match = n;
    } else if (w < wildcard.size() && (wildcard[w] == '?' || fold(wildcard[w]) == fold(name[n]))) {
      ++w;
      ++n;
    } else if (star != std::string_view::npos) {
      w = star + 1;
      n = ++star_match;
    } else {
      return false;
    }
  }
  while (w < wildcard.size() && wildcard[w] == '*') ++w;
  return w == wildcard.size();
}

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_WILDCARD_H_
