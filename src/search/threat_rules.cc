#include "search/threat_rules.h"

#include <algorithm>

#include "ui/ascii_case.h"

namespace velmora::search {

bool EndsWithFolded(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  // Every entry of a scan meets every ending; most differ in their last character already.
  if (!ending.empty() && ui::FoldAsciiLetter(name.back()) != ending.back()) return false;
  const std::string_view tail = name.substr(name.size() - ending.size());
  return std::equal(tail.begin(), tail.end(), ending.begin(),
                    [](char n, char e) { return ui::FoldAsciiLetter(n) == e; });
}

namespace {

template <std::size_t N>
bool EndsWithAny(std::string_view name, const std::array<std::string_view, N>& endings) {
  return std::any_of(endings.begin(), endings.end(),
                     [name](std::string_view ending) { return EndsWithFolded(name, ending); });
}

}  // namespace

bool HasAlwaysThreatEnding(std::string_view name) {
  return EndsWithAny(name, kAlwaysThreatEndings);
}

bool HasHiddenThreatEnding(std::string_view name) {
  return EndsWithAny(name, kHiddenThreatEndings);
}

bool IsHiddenThreatAttribute(std::int32_t attributes) {
  return std::find(kHiddenThreatAttributes.begin(), kHiddenThreatAttributes.end(), attributes) !=
         kHiddenThreatAttributes.end();
}

}  // namespace velmora::search
