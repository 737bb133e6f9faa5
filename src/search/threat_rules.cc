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
std::string_view FirstEnding(std::string_view name,
                             const std::array<std::string_view, N>& endings) {
  for (std::string_view ending : endings) {
    if (EndsWithFolded(name, ending)) return ending;
  }
  return {};
}

}  // namespace

std::string_view FindAlwaysThreatEnding(std::string_view name) {
  return FirstEnding(name, kAlwaysThreatEndings);
}

std::string_view FindHiddenThreatEnding(std::string_view name) {
  return FirstEnding(name, kHiddenThreatEndings);
}

ThreatMatch MatchThreat(std::string_view name, std::int32_t attributes) {
  if (const std::string_view ending = FindAlwaysThreatEnding(name); !ending.empty()) {
    return {ThreatRule::kAlwaysThreatEnding, ending};
  }
  if (IsHiddenThreatAttribute(attributes)) {
    if (const std::string_view ending = FindHiddenThreatEnding(name); !ending.empty()) {
      return {ThreatRule::kHiddenThreatEnding, ending};
    }
  }
  return {};
}

bool IsHiddenThreatAttribute(std::int32_t attributes) {
  return std::find(kHiddenThreatAttributes.begin(), kHiddenThreatAttributes.end(), attributes) !=
         kHiddenThreatAttributes.end();
}

}  // namespace velmora::search
